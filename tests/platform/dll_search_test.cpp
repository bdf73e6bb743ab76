// The start-up's DLL search over a kernel32 that has both calls, one, or neither, and
// over system-folder reports that do not fit.
#include "platform/win32/dll_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Kernel32 {
  bool setDefault;  // SetDefaultDllDirectories is exported
  bool setDefaultWorks;
  bool setDllDirectory;  // SetDllDirectoryA is exported
  std::string systemFolder;
  UINT reported;  // what GetSystemDirectoryA returns when not 0; nothing is written then
  std::string unloadable;  // a DLL that does not load
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
  if (g_kernel.reported != 0) return g_kernel.reported;
  UINT length = static_cast<UINT>(g_kernel.systemFolder.size());
  if (length >= size) return length + 1;
  g_kernel.systemFolder.copy(buffer, length);
  buffer[length] = '\0';
  return length;
}
HMODULE WINAPI FakeLoad(LPCSTR path, HANDLE file, DWORD flags) {
  g_calls.push_back("LoadLibraryExA " + std::string(path) + " " + std::to_string(flags) +
                           (file ? " with a file" : ""));
  return g_kernel.unloadable == path ? nullptr : reinterpret_cast<HMODULE>(uintptr_t{0x10000});
}

std::vector<std::string> Preloads(const std::string& folder) {
  std::vector<std::string> calls;
  for (const char* name : {"comctl32.dll", "uxtheme.dll", "msimg32.dll"})
    calls.push_back("LoadLibraryExA " + folder + "\\" + name + " 8");
  return calls;
}
std::vector<std::string> Then(std::vector<std::string> first, const std::vector<std::string>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}

TEST(DllSearch, EachWindowsTakesItsBranchAndNoReportOverrunsTheBuffer) {
  const std::string folder = "C:\\WINDOWS\\system32", longest(259, 'S');
  const std::vector<std::string> setDefault = {"SetDefaultDllDirectories 2048"}, noCurrent = {"SetDllDirectoryA \"\""};
  const struct {
    const char* windows;
    Kernel32 kernel;
    std::vector<std::string> calls;
  } cases[] = {
      {"8, or 7 with its update", {true, true, true, folder, 0, ""}, Then(setDefault, Preloads(folder))},
      {"a SetDefaultDllDirectories that fails", {true, false, true, folder, 0, ""},
       Then(Then(setDefault, noCurrent), Preloads(folder))},
      {"XP SP1 to 7", {false, false, true, folder, 0, ""}, Then(noCurrent, Preloads(folder))},
      {"2000, XP before SP1", {false, false, false, folder, 0, ""}, Preloads(folder)},
      {"a comctl32 that does not load", {false, false, false, folder, 0, folder + "\\comctl32.dll"}, Preloads(folder)},
      {"the longest system folder", {false, false, false, longest, 0, ""}, Preloads(longest)},
      {"a system folder too long", {false, false, false, longest + "S", 0, ""}, {}},
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
