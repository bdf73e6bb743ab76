#include "platform/win32/file_system.h"

DWORD Win32FileSystem::GetFileAttributesA(LPCSTR path) { return ::GetFileAttributesA(path); }

DWORD Win32FileSystem::GetTempPathA(DWORD capacity, LPSTR buffer) { return ::GetTempPathA(capacity, buffer); }

UINT Win32FileSystem::GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  return ::GetTempFileNameA(folder, prefix, unique, tempFileName);
}

HANDLE Win32FileSystem::CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                                    DWORD flagsAndAttributes, HANDLE templateFile) {
  return ::CreateFileA(path, access, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(security), disposition,
                       flagsAndAttributes, templateFile);
}

BOOL Win32FileSystem::ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) {
  return ::ReadFile(file, buffer, count, read, static_cast<LPOVERLAPPED>(overlapped));
}

BOOL Win32FileSystem::WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) {
  return ::WriteFile(file, data, count, written, static_cast<LPOVERLAPPED>(overlapped));
}

DWORD Win32FileSystem::GetFileSize(HANDLE file, DWORD* sizeHigh) { return ::GetFileSize(file, sizeHigh); }

BOOL Win32FileSystem::CloseHandle(HANDLE object) { return ::CloseHandle(object); }

BOOL Win32FileSystem::CreateDirectoryA(LPCSTR path, void* security) {
  return ::CreateDirectoryA(path, static_cast<LPSECURITY_ATTRIBUTES>(security));
}

BOOL Win32FileSystem::DeleteFileA(LPCSTR path) { return ::DeleteFileA(path); }
