// Prints what Office discovery finds in a .reg scenario, over the in-memory registry
// and a drive map whose C: is a fresh temporary folder.
#include <cstdio>
#include <string>

#include "tests/support/office_report.h"
#include "tests/support/test_machine.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: office_probe_native SCENARIO.reg [FOLDERS.txt]\n");
    return 2;
  }
  TestMachine machine;  // in g_platform while it lives
  if (!machine.LoadRegFile(argv[1])) {
    std::fprintf(stderr, "office_probe_native: cannot load %s\n", argv[1]);
    return 1;
  }
  if (machine.c.Path().empty()) {
    std::fprintf(stderr, "office_probe_native: cannot make a temporary folder\n");
    return 1;
  }
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) {
    std::fprintf(stderr, "office_probe_native: cannot read %s\n", argv[2]);
    return 1;
  }
  PrintOfficeReport(stdout);
  return 0;
}
