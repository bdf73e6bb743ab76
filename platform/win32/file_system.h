// Files and folders on Windows: each member is the kernel32 call of the same name.
#pragma once
#include "platform/file_system.h"

class Win32FileSystem : public FileSystem {
 public:
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
};
