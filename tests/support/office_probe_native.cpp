// Prints what Office discovery finds in a .reg scenario, over the in-memory registry
// and a drive map whose C: is a fresh temporary folder.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/registry.h"
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
  char pattern[] = "/tmp/vessora-probe-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("office_probe_native: mkdtemp");
    return 1;
  }
  PortableFileSystem files;
  files.MapDrive('C', pattern);
  g_platform.registry = &registry;
  g_platform.fileSystem = &files;
  int status = 0;
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) {
    std::fprintf(stderr, "office_probe_native: cannot read %s\n", argv[2]);
    status = 1;
  } else {
    PrintOfficeReport(stdout);
  }
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  return status;
}
