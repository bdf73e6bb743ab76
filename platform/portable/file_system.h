// Files and folders without Windows: Windows paths are resolved through a drive
// map (a drive letter stands for a host folder), names are found without regard
// to case as Windows does, and open files are handles from a table.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

// The temporary folder of a machine nobody has told otherwise.
constexpr char kDefaultTempFolder[] = "C:\\WINDOWS\\TEMP";

class PortableFileSystem : public FileSystem {
 public:
  PortableFileSystem();
  ~PortableFileSystem() override;

  // Makes drive `letter` (either case) stand for hostFolder; an empty folder unmaps it.
  void MapDrive(char letter, const std::string& hostFolder);
  // The folder relative paths start from, a full Windows path ("C:\" until set).
  bool SetCurrentFolder(const std::string& windowsFolder);
  const std::string& CurrentFolder() const { return currentFolder; }
  // The folder GetTempPathA reports (a backslash is added when missing); kDefaultTempFolder until set.
  void SetTempFolder(const std::string& windowsFolder);
  // The host path a Windows path stands for; false for an unmapped drive, an invalid or too long path.
  // Existing components are matched without regard to case, missing ones are kept as given.
  bool HostPath(const char* windowsPath, std::string* hostPath) const;
  // The error code of the last failing call, as GetLastError would give it.
  DWORD LastError() const { return lastError; }
  // Number of handles still open (tests check that nothing leaks).
  size_t OpenHandleCount() const { return handles.size(); }

  DWORD GetFileAttributesA(LPCSTR path) override;
  DWORD GetTempPathA(DWORD capacity, LPSTR buffer) override;
  UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName) override;
  HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                     DWORD flagsAndAttributes, HANDLE templateFile) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) override;
  BOOL WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) override;
  DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) override;
  BOOL CloseHandle(HANDLE object) override;
  BOOL CreateDirectoryA(LPCSTR path, void* security) override;
  BOOL DeleteFileA(LPCSTR path) override;

 private:
  struct OpenFile {
    int descriptor;
    DWORD access;  // GENERIC_READ and/or GENERIC_WRITE
    DWORD share;   // FILE_SHARE_* granted to later opens
    dev_t device;  // identity of the file, for sharing checks
    ino_t inode;
  };

  // A Windows path made absolute: drive letter and the components below the root.
  struct WindowsPath {
    char drive = 0;
    std::vector<std::string> components;
    bool endsInSeparator = false;
  };
  // Sets the last error and gives back the failure result, for the members' many early returns.
  template <typename T>
  T Fail(DWORD error, T result) const {
    lastError = error;
    return result;
  }
  // Both set lastError when they fail.
  bool ParseWindowsPath(const char* path, WindowsPath* parsed) const;
  bool ResolveParsed(const WindowsPath& parsed, std::string* hostPath) const;
  bool Resolve(const char* path, WindowsPath* parsed, std::string* hostPath);
  bool EnsureTempFolder();
  bool SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share) const;
  bool IsOpen(dev_t device, ino_t inode, DWORD* sharedWith) const;
  OpenFile* FindHandle(HANDLE handle);

  std::map<char, std::string> drives;
  std::string currentFolder;
  std::string tempFolder;
  std::map<uintptr_t, OpenFile> handles;
  uintptr_t nextHandle;
  UINT nextUnique;
  mutable DWORD lastError;
};

