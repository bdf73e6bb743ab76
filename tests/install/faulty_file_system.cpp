#include "faulty_file_system.h"

bool FaultyFileSystem::NextCreateFails() {
  ++creates;
  if (creates != failCreateAt) return false;
  injected = true;
  return true;
}

UINT FaultyFileSystem::GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) {
  if (NextCreateFails()) {
    if (name != nullptr) name[0] = '\0';
    return 0;
  }
  return inner->GetTempFileNameA(folder, prefix, unique, name);
}

HANDLE FaultyFileSystem::CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security, DWORD disposition,
                                     DWORD flags, HANDLE templateFile) {
  if (NextCreateFails()) return INVALID_HANDLE_VALUE;
  HANDLE file = inner->CreateFileA(path, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE && path != nullptr) paths[file] = path;
  return file;
}

BOOL FaultyFileSystem::CreateDirectoryA(LPCSTR path, void* security) {
  if (NextCreateFails()) return FALSE;
  return inner->CreateDirectoryA(path, security);
}

BOOL FaultyFileSystem::WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) {
  ++writes;
  if (writes != failWriteAt) return inner->WriteFile(file, data, count, written, overlapped);
  injected = true;
  auto known = paths.find(file);
  failedWritePath = known != paths.end() ? known->second : std::string("?");
  DWORD half = 0;
  if (count / 2 > 0) inner->WriteFile(file, data, count / 2, &half, overlapped);
  if (written != nullptr) *written = half;
  return FALSE;
}
