// Writes the product's shortcuts through the portable shell into a host folder standing for
// drive C:, and prints one line per link: host path of the link, target, description.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "install/shortcuts.h"
#include "platform/portable/machine.h"
#include "resources/resource_table.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_links HOST_FOLDER\n");
    return 2;
  }
  mkdir(argv[1], 0777);
  PortableMachine machine(BuiltInResources());
  PortableFileSystem& files = machine.files;
  files.MapDrive('C', argv[1]);
  for (const char* folder : {"C:\\Program Files", "C:\\Program Files\\Vessora", "C:\\T\xebmplates"})
    files.CreateDirectoryA(folder, nullptr);
  std::ofstream(std::string(argv[1]) + "/Program Files/Vessora/Readme.htm", std::ios::binary) << "<html></html>";
  if (!machine.MakeProgramsFolder()) return 1;

  char folder[260] = "";
  if (!CreateProgramsSubfolder("\\Vessora", folder)) return 1;
  struct Link {
    const char* name;
    const char* target;
    const char* description;
  } links[] = {
      {"Readme.lnk", "C:\\Program Files\\Vessora\\Readme.htm", "Readme for Vessora spell checker"},
      {"Install Folder.lnk", "C:\\Program Files\\Vessora", "Vessora install folder"},
      {"Add Autocorrect Entries.lnk", "C:\\T\xebmplates\\vsqauto1.dot", "Adds macron autocorrect entries into Word"},
  };
  for (const Link& link : links) {
    std::string path = std::string(folder) + "\\" + link.name;
    if (FAILED(CreateShortcut(link.target, path.c_str(), link.description))) return 1;
    std::string host;
    if (!files.HostPath(path.c_str(), &host)) return 1;
    std::printf("%s|%s|%s\n", host.c_str(), link.target, link.description);
  }
  return 0;
}
