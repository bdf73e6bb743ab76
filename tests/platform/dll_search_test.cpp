// The start-up's DLL search over a kernel32 that has both calls, one, or neither, and
// over system-folder reports that do not fit.
#include "platform/win32/dll_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Kernel32 {
  bool setDefault, setDefaultWorks, setDllDirectory;  // which calls are exported, and whether the first works
  std::string systemFolder;
  UINT reported;  // what GetSystemDirectoryA returns when not 0; nothing is written then
  std::string unloadable;
} g_kernel;
std::vector<std::string> g_calls;

BOOL WINAPI FakeSetDefault(DWORD flags) {
  g_calls.push_back("SetDefaultDllDirectories " + std::to_string(flags));
  return g_kernel.setDefaultWorks;
}
BOOL WINAPI FakeSetDllDirectory(LPCSTR folder) {
  g_calls.push_back("SetDllDirectoryA \"" + std::string(folder) + "\"");
  return TRUE;
}
DllSearchCalls::AnyFunction FakeExport(const char* name) {
  std::string wanted = name;
  if (wanted == "SetDefaultDllDirectories" && g_kernel.setDefault)
    return reinterpret_cast<DllSearchCalls::AnyFunction>(FakeSetDefault);
  if (wanted == "SetDllDirectoryA" && g_kernel.setDllDirectory)
    return reinterpret_cast<DllSearchCalls::AnyFunction>(FakeSetDllDirectory);
  return nullptr;
}
// As Windows does: a buffer too small gets nothing, and the size it would need is returned.
UINT WINAPI FakeSystemDirectory(LPSTR buffer, UINT size) {
  UINT length = static_cast<UINT>(g_kernel.systemFolder.size());
  if (g_kernel.reported != 0 || length >= size) return g_kernel.reported != 0 ? g_kernel.reported : length + 1;
  buffer[g_kernel.systemFolder.copy(buffer, length)] = '\0';
  return length;
}
HMODULE WINAPI FakeLoad(LPCSTR path, HANDLE file, DWORD flags) {
  g_calls.push_back("LoadLibraryExA " + std::string(path) + " " + std::to_string(flags) + (file ? " with a file" : ""));
  return g_kernel.unloadable == path ? nullptr : reinterpret_cast<HMODULE>(uintptr_t{0x10000});
}

// The loads of the names that fit beside the folder in a path, and the calls before them.
std::vector<std::string> Calls(std::vector<std::string> first, const std::string& folder, size_t room = 259) {
  for (std::string name : {"comctl32.dll", "uxtheme.dll", "msimg32.dll"})
    if (folder.size() + 1 + name.size() <= room) first.push_back("LoadLibraryExA " + folder + "\\" + name + " 8");
  return first;
}

TEST(DllSearch, EachWindowsTakesItsBranchAndNoReportOverrunsTheBuffer) {
  const std::string folder = "C:\\WINDOWS\\system32", roomForAll(246, 'S'), roomForTwo(247, 'S');
  const std::string setDefault = "SetDefaultDllDirectories 2048", noCurrent = "SetDllDirectoryA \"\"";
  const struct {
    const char* windows;
    Kernel32 kernel;
    std::vector<std::string> calls;
  } cases[] = {
      {"8, or 7 with its update", {true, true, true, folder, 0, ""}, Calls({setDefault}, folder)},
      {"a SetDefaultDllDirectories that fails", {true, false, true, folder, 0, ""}, Calls({setDefault, noCurrent}, folder)},
      {"XP SP1 to 7", {false, false, true, folder, 0, ""}, Calls({noCurrent}, folder)},
      {"2000, XP before SP1", {false, false, false, folder, 0, ""}, Calls({}, folder)},
      {"a comctl32 that does not load", {false, false, false, folder, 0, folder + "\\comctl32.dll"}, Calls({}, folder)},
      {"a long system folder", {false, false, false, roomForAll, 0, ""}, Calls({}, roomForAll)},
      {"a folder with no room for comctl32", {false, false, false, roomForTwo, 0, ""}, Calls({}, roomForTwo)},
      {"the longest system folder", {false, false, false, std::string(259, 'S'), 0, ""}, {}},
      {"a system folder too long", {false, false, false, std::string(260, 'S'), 0, ""}, {}},
      {"no system folder", {false, false, false, "", 0, ""}, {}},
      {"a report past the buffer", {false, false, false, folder, 0xFFFFFFFFu, ""}, {}},
  };
  for (const auto& c : cases) {
    g_kernel = c.kernel;
    g_calls.clear();
    RestrictDllSearch({FakeExport, FakeSystemDirectory, FakeLoad});
    EXPECT_EQ(g_calls, c.calls) << c.windows;
  }
}

}  // namespace
