// Files and folders, as the kernel32 calls the program makes.
#pragma once
#include "platform/win32_types.h"

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Attributes of a file or folder (FILE_ATTRIBUTE_DIRECTORY for folders), INVALID_FILE_ATTRIBUTES when absent.
  virtual DWORD GetFileAttributesA(LPCSTR path) = 0;
  // The temporary folder, ending in a backslash; its length, or 0 on failure (or the needed size when too small).
  virtual DWORD GetTempPathA(DWORD capacity, LPSTR buffer) = 0;
  // Forms a unique name prefix+hex+".tmp" in folder, creates the empty file when unique is 0; the number used, 0 on failure.
  virtual UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName) = 0;
  // Opens or creates a file; INVALID_HANDLE_VALUE on failure.
  virtual HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                             DWORD flagsAndAttributes, HANDLE templateFile) = 0;
  // Reads up to count bytes; TRUE with *read = 0 at the end of the file.
  virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) = 0;
  // Writes count bytes; FALSE when the handle is bad or the bytes could not all be written.
  virtual BOOL WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) = 0;
  // The size of an open file (low 32 bits), INVALID_FILE_SIZE on failure.
  virtual DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) = 0;
  // Closes a handle from CreateFileA.
  virtual BOOL CloseHandle(HANDLE object) = 0;
  // Makes one folder level; FALSE when it exists already or its parent is missing.
  virtual BOOL CreateDirectoryA(LPCSTR path, void* security) = 0;
  // Removes a file.
  virtual BOOL DeleteFileA(LPCSTR path) = 0;
};
