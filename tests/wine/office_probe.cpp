// Prints what Office discovery finds in a .reg scenario through the Win32 services:
// the scenario's changes are made in the real registry first, by this program as regedit
// would make them, after the keys any scenario uses have been cleared.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "platform/portable/reg_text.h"
#include "platform/win32/file_system.h"
#include "platform/win32/registry.h"
#include "tests/support/office_report.h"

namespace {

// Every key a scenario may hold lies below one of these, under either root.
const char* const kScenarioKeys[] = {
    "Software\\Microsoft\\Word",
    "Software\\Microsoft\\Office",
    "Software\\Microsoft\\Microsoft Office",
    "Software\\Microsoft\\Shared Tools\\Proofing Tools",
};

// The changes of the .reg file at path, or false.
bool ReadScenario(const char* path, std::vector<RegChange>* changes) {
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string error;
  if (file.is_open() && !file.bad() && ParseRegText(text, changes, &error)) return true;
  std::fprintf(stderr, "office_probe: %s: %s\n", path, error.c_str());
  return false;
}

// Makes each change in the real registry (a value's key is there: its [key] line made it); false when one is
// refused.
bool MakeChanges(const std::vector<RegChange>& changes) {
  bool ok = true;
  for (const RegChange& change : changes) {
    HKEY root = reinterpret_cast<HKEY>(change.root), key = nullptr;
    const RegValue& value = change.value;
    if (change.kind == RegChange::kDeleteKey) {
      ::RegDeleteTreeA(root, change.path.c_str());
    } else if (::RegCreateKeyExA(root, change.path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) {
      ok = false;
    } else {
      if (change.kind == RegChange::kDeleteValue) ::RegDeleteValueA(key, value.name.c_str());
      if (change.kind == RegChange::kSetValue && ::RegSetValueExA(key, value.name.c_str(), 0, value.type,
                                                                  value.data.data(), DWORD(value.data.size())))
        ok = false;
      ::RegCloseKey(key);
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  auto stop = [](const char* what, const char* path) {
    std::fprintf(stderr, "office_probe: %s %s\n", what, path);
    return 1;
  };
  if (argc == 2 && std::strcmp(argv[1], "--ready") == 0) {
    std::printf("ready\n");  // run once so that Wine makes its prefix before the timed checks
    return 0;
  }
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: office_probe SCENARIO.reg [FOLDERS.txt]\n");
    return 2;
  }
  std::vector<RegChange> scenario;
  if (!ReadScenario(argv[1], &scenario)) return 1;
  static Win32Registry registry;
  static Win32FileSystem files;
  g_platform.registry = &registry;
  g_platform.fileSystem = &files;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const char* key : kScenarioKeys) ::RegDeleteTreeA(root, key);
  if (!MakeChanges(scenario)) return stop("the registry refused part of", argv[1]);
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) return stop("cannot read", argv[2]);
  PrintOfficeReport(stdout);
  return 0;
}
