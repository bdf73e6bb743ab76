// Prints what Office discovery finds in a .reg scenario, over the in-memory registry
// and a drive map whose C: is a fresh temporary folder.
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/registry.h"
#include "tests/support/host_folder.h"
#include "tests/support/office_report.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: office_probe_native SCENARIO.reg [FOLDERS.txt]\n");
    return 2;
  }
  PortableRegistry registry;
  if (!registry.LoadRegFile(argv[1])) {
    std::fprintf(stderr, "office_probe_native: cannot load %s\n", argv[1]);
    return 1;
  }
  HostFolder drive;
  if (drive.Path().empty()) {
    std::fprintf(stderr, "office_probe_native: cannot make a temporary folder\n");
    return 1;
  }
  PortableFileSystem files;
  files.MapDrive('C', drive.Path());
  g_platform.registry = &registry;
  g_platform.fileSystem = &files;
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) {
    std::fprintf(stderr, "office_probe_native: cannot read %s\n", argv[2]);
    return 1;
  }
  PrintOfficeReport(stdout);
  return 0;
}
