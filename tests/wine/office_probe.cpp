// Prints what Office discovery finds in a .reg scenario through the Win32 services:
// the scenario is written into the real registry first, by this program through the
// Registry interface, after the keys any scenario uses have been cleared.
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/portable/registry.h"
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
  PortableRegistry scenario;
  if (!scenario.LoadRegFile(argv[1])) return stop("cannot load", argv[1]);
  static Win32Registry registry;
  static Win32FileSystem files;
  g_platform.registry = &registry;
  g_platform.fileSystem = &files;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const char* key : kScenarioKeys) ::RegDeleteTreeA(root, key);
  auto createKey = [](HKEY root, const char* path, HKEY* key) {
    return ::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, key, nullptr);
  };
  if (!scenario.CopyTo(&registry, createKey)) return stop("the registry refused part of", argv[1]);
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) return stop("cannot read", argv[2]);
  PrintOfficeReport(stdout);
  return 0;
}
