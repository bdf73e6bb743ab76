#include "install/shortcuts.h"

#include <cstring>

#include "platform/path_helpers.h"
#include "platform/platform.h"

namespace {

void FreeItemList(LPITEMIDLIST list) {
  if (list == nullptr) return;
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(g_platform.shell->SHGetMalloc(&allocator)) && allocator != nullptr) {
    allocator->Free(list);
    allocator->Release();
  }
}

}  // namespace

bool CreateProgramsSubfolder(const char* name, char* outFolder) {
  ShellServices* shell = g_platform.shell;
  LPITEMIDLIST list = nullptr;
  shell->SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &list);
  char programs[MAX_PATH] = "";
  bool found = list != nullptr && shell->SHGetPathFromIDListA(list, programs);
  FreeItemList(list);
  if (!found) return false;

  size_t programsLength = strnlen(programs, MAX_PATH - 1);
  size_t nameLength = std::strlen(name);
  if (programsLength + nameLength >= static_cast<size_t>(kPathCapacity)) return false;
  std::memcpy(outFolder, programs, programsLength);
  std::memcpy(outFolder + programsLength, name, nameLength + 1);

  // An existing folder is reused; the shell is told either way.
  g_platform.fileSystem->CreateDirectoryA(outFolder, nullptr);
  shell->SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, outFolder, nullptr);
  return true;
}

HRESULT CreateShortcut(const char* target, const char* linkPath, const char* description) {
  ShellServices* shell = g_platform.shell;
  IShellLinkA* link = nullptr;
  HRESULT result = shell->CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link));
  if (FAILED(result)) return result;
  if (link == nullptr) return E_FAIL;
  link->SetPath(target);
  link->SetDescription(description);

  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(result) || file == nullptr) {
    link->Release();
    return FAILED(result) ? result : E_FAIL;
  }
  WCHAR widePath[MAX_PATH];
  // A path that does not convert whole is not saved under some other name.
  if (shell->MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) > 0)
    result = file->Save(widePath, TRUE);
  else
    result = E_INVALIDARG;
  file->Release();
  link->Release();
  return result;
}
