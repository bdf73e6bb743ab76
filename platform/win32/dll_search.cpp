#include "platform/win32/dll_search.h"

#include "platform/path_helpers.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
#ifndef LOAD_WITH_ALTERED_SEARCH_PATH
#define LOAD_WITH_ALTERED_SEARCH_PATH 0x00000008
#endif

namespace {

// comctl32 for the folder chooser; uxtheme and msimg32 for drawing windows and controls.
const char* const kPreloadedDlls[] = {"comctl32.dll", "uxtheme.dll", "msimg32.dll"};

}  // namespace

void RestrictDllSearch(const DllSearchCalls& calls) {
  // Neither call is in Windows 2000, so both are looked up rather than imported.
  using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD flags);
  using SetDllDirectoryACall = BOOL(WINAPI*)(LPCSTR folder);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(calls.kernel32Export("SetDefaultDllDirectories"));
  if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    auto setFolder = reinterpret_cast<SetDllDirectoryACall>(calls.kernel32Export("SetDllDirectoryA"));
    if (setFolder) setFolder("");
  }

  char folder[kPathCapacity], path[kPathCapacity];
  // A length of the capacity or more is the size a longer folder would need: nothing was written.
  UINT length = calls.getSystemDirectoryA(folder, kPathCapacity);
  if (length == 0 || length >= static_cast<UINT>(kPathCapacity)) return;
  // Its own imports are searched for from the system folder too. One that does not fit or load is left.
  for (const char* name : kPreloadedDlls)
    if (MakeFilePath(path, folder, name)) calls.loadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
