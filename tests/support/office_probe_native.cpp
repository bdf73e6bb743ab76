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
  auto stop = [](const char* what, const char* path) {
    std::fprintf(stderr, "office_probe_native: %s %s\n", what, path);
    return 1;
  };
  TestMachine machine;  // in g_platform while it lives
  if (!machine.LoadRegFile(argv[1])) return stop("cannot load", argv[1]);
  if (machine.c.Path().empty()) return stop("cannot make a temporary folder", "");
  if (!MakeScenarioFolders(argc == 3 ? argv[2] : "")) return stop("cannot read", argv[2]);
  PrintOfficeReport(stdout);
  return 0;
}
