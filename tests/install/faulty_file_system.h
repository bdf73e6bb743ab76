// A file system that passes every call to another one, except that it fails the Nth
// creation (CreateFileA, GetTempFileNameA, CreateDirectoryA) or the Nth WriteFile.
#pragma once
#include <map>
#include <string>

#include "platform/file_system.h"

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem* inner) : inner(inner) {}

  // 0 never fails; counting starts at 1 with the next call.
  void FailCreate(int n) { failCreateAt = n; }
  void FailWrite(int n) { failWriteAt = n; }
  int Creates() const { return creates; }
  int Writes() const { return writes; }
  bool Injected() const { return injected; }
  // The path of the file whose write was made to fail ("" until then).
  const std::string& FailedWritePath() const { return failedWritePath; }

  DWORD GetFileAttributesA(LPCSTR path) override { return inner->GetFileAttributesA(path); }
  DWORD GetTempPathA(DWORD capacity, LPSTR buffer) override { return inner->GetTempPathA(capacity, buffer); }
  UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) override;
  HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                     HANDLE templateFile) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) override {
    return inner->ReadFile(file, buffer, count, read, overlapped);
  }
  // A failing write stores the first half of the bytes, as a full disk would, and reports failure.
  BOOL WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) override;
  DWORD SetFilePointer(HANDLE file, LONG distance, LONG* high, DWORD method) override {
    return inner->SetFilePointer(file, distance, high, method);
  }
  DWORD GetFileSize(HANDLE file, DWORD* high) override { return inner->GetFileSize(file, high); }
  BOOL CloseHandle(HANDLE object) override {
    paths.erase(object);
    return inner->CloseHandle(object);
  }
  BOOL CreateDirectoryA(LPCSTR path, void* security) override;
  BOOL DeleteFileA(LPCSTR path) override { return inner->DeleteFileA(path); }

 private:
  bool NextCreateFails();

  FileSystem* inner;
  int failCreateAt = 0;
  int failWriteAt = 0;
  int creates = 0;
  int writes = 0;
  bool injected = false;
  std::map<HANDLE, std::string> paths;
  std::string failedWritePath;
};
