// The install of one edition run natively, without the wizard: what setup would do to a
// machine described by a .reg file and host folders standing for its drives. It probes
// Office as the program does at start-up, takes the folder page's default folders unless
// others are given, runs the install, prints the log and writes back the changed registry.
#include <cstdio>
#include <string>

#include "install/edition.h"
#include "install/install_log.h"
#include "install/install_sequence.h"
#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "platform/path_helpers.h"
#include "tools/machine_options.h"

namespace {

const char kUsage[] =
    "usage: setup_install --drive C=HOSTDIR [options]\n"
    "%s"
    "  --dictionary-folder PATH  the dictionary folder (default: the folder of the registered custom.dic,\n"
    "                            else the Office folder, as the folder page offers)\n"
    "  --install-folder PATH     the folder the Vessora folder is made in (default C:\\Program Files)\n"
    "The changed registry goes to --out, else back into --reg.\n"
    "Exit status: 0 installed, 3 installed with errors, 1 refused or failed to start, 2 usage.\n";

int Fail(const std::string& message, int status) {
  std::fprintf(stderr, "setup_install: %s\n", message.c_str());
  return status;
}

void PrintDictionaryList(PortableMachine* machine, HKEY root, const char* rootName) {
  std::vector<std::string> entries = machine->StringValues(root, kCustomDictionariesKey);
  std::printf(entries.empty() ? "  %s: no custom dictionary list\n" : "  %s:\n", rootName);
  for (const std::string& entry : entries) std::printf("    %s\n", entry.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  MachineOptions options;
  std::string dictionaryFolder, installFolder, error;
  bool dictionaryGiven = false, installGiven = false;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (ParseMachineOption(argc, argv, &i, &options, &error)) continue;
    bool dictionary = option == "--dictionary-folder";
    if (error.empty() && (dictionary || option == "--install-folder") &&
        TakeOptionValue(argc, argv, &i, dictionary ? &dictionaryFolder : &installFolder, &error)) {
      (dictionary ? dictionaryGiven : installGiven) = true;
      continue;
    }
    if (error.empty() && option != "--help" && option != "-h") error = "unknown option " + option;
    if (!error.empty()) std::fprintf(stderr, "setup_install: %s\n", error.c_str());
    std::fprintf(error.empty() ? stdout : stderr, kUsage, kMachineUsage);
    return error.empty() ? 0 : 2;
  }
  const ResourceTable* table = EditionResources(options.edition);
  if (table == nullptr) return Fail("unknown edition " + options.edition + " (Standard, Professional or Quorvel)", 2);
  PortableMachine machine(*table, options.programs.c_str());
  if (!SetUpMachine(options, &machine, &error)) return Fail(error, 1);

  int found = g_officeInfo.DetectVersions();
  std::printf("Office versions found: %d (newest %u, oldest %u)\n", found, g_officeInfo.CurrentVersion(),
              found > 0 ? g_officeInfo.OldestVersion() : 0u);

  // The folder page's defaults, unless given.
  char dictionary[kPathCapacity], install[kPathCapacity];
  GetDefaultFolders(dictionary, install);
  if (!dictionaryGiven) dictionaryFolder = dictionary;
  if (!installGiven) installFolder = install;
  Edition edition = GetEdition();
  std::printf("Edition: %s\nDictionary folder: %s\nInstall folder: %s\n\n", table->edition, dictionaryFolder.c_str(),
              installFolder.c_str());

  if (const Refusal* refusal = RefusalOf(InstallEdition(edition, dictionaryFolder.c_str(), installFolder.c_str()))) {
    std::printf("%s: %s\n", refusal->caption, refusal->text);
    return 1;
  }

  std::string logPath = std::string(g_installFolder) + "\\" + kInstallLogFileName, log;
  machine.ReadFile(logPath, &log);
  std::printf("---- %s\n%s----\n\nCustom dictionaries after the install:\n", logPath.c_str(), log.c_str());
  PrintDictionaryList(&machine, HKEY_CURRENT_USER, "HKEY_CURRENT_USER");
  PrintDictionaryList(&machine, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE");
  if (!SaveMachineRegistry(options, &machine, &error)) Fail(error, 1);
  std::printf("\n%s (%d failed)\n", InstallSucceeded() ? "Installation complete." : "Installation finished with errors.",
              g_installOutcome.failures);
  return InstallSucceeded() ? 0 : 3;
}
