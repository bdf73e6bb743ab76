// The install of one edition run natively, without the wizard: what setup would do to a
// machine described by a .reg file and host folders standing for its drives. It probes
// Office as the program does at start-up, takes the folder page's default folders unless
// others are given, runs the install, prints the log and writes back the changed registry.
#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "install/edition.h"
#include "install/install_sequence.h"
#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "office/path_helpers.h"
#include "pages/folder_page.h"
#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/lz_library.h"
#include "platform/portable/registry.h"
#include "platform/portable/resource_store.h"
#include "platform/portable/shell_services.h"
#include "platform/portable/window_system.h"
#include "resources/resource_table.h"

namespace {

const char kUsage[] =
    "usage: setup_install --drive C=HOSTDIR [options]\n"
    "  --edition NAME            Standard, Professional or Quorvel (default Quorvel)\n"
    "  --reg FILE                the machine's registry, a .reg file (default: an empty registry)\n"
    "  --drive X=HOSTDIR         drive X: stands for the existing host folder HOSTDIR (repeatable; C: is needed)\n"
    "  --dictionary-folder PATH  the dictionary folder (default: the folder of the registered custom.dic,\n"
    "                            else the Office folder, as the folder page offers)\n"
    "  --install-folder PATH     the folder the Vessora folder is made in (default C:\\Program Files)\n"
    "  --programs PATH           the Start menu's Programs folder (default C:\\WINDOWS\\Start Menu\\Programs;\n"
    "                            made when missing; an empty text: no Programs folder)\n"
    "  --temp PATH               the temporary folder (default C:\\WINDOWS\\TEMP)\n"
    "  --out FILE                where the changed registry is written (default: back into --reg)\n"
    "Exit status: 0 installed, 3 installed with errors, 1 refused or failed to start, 2 usage.\n";

bool Fail(const std::string& message) {
  std::fprintf(stderr, "setup_install: %s\n", message.c_str());
  return false;
}

struct Options {
  std::string edition = "Quorvel";
  std::string reg, out;
  std::vector<std::pair<char, std::string>> drives;
  std::string dictionaryFolder, installFolder = "C:\\Program Files";
  bool dictionaryGiven = false;
  std::string programs = "C:\\WINDOWS\\Start Menu\\Programs";
  std::string temp;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--help" || option == "-h") return false;
    if (i + 1 >= argc) return Fail("option " + option + " needs a value");
    std::string value = argv[++i];
    if (option == "--edition") {
      options->edition = value;
    } else if (option == "--reg") {
      options->reg = value;
    } else if (option == "--out") {
      options->out = value;
    } else if (option == "--drive") {
      if (value.size() < 3 || value[1] != '=' || !std::isalpha(static_cast<unsigned char>(value[0])))
        return Fail("--drive takes X=HOSTDIR, not " + value);
      options->drives.push_back({value[0], value.substr(2)});
    } else if (option == "--dictionary-folder") {
      options->dictionaryFolder = value;
      options->dictionaryGiven = true;
    } else if (option == "--install-folder") {
      options->installFolder = value;
    } else if (option == "--programs") {
      options->programs = value;
    } else if (option == "--temp") {
      options->temp = value;
    } else {
      return Fail("unknown option " + option);
    }
  }
  return true;
}

const ResourceTable* EditionTable(const std::string& name) {
  if (strcasecmp(name.c_str(), "Standard") == 0) return &StandardResources();
  if (strcasecmp(name.c_str(), "Professional") == 0) return &ProfessionalResources();
  if (strcasecmp(name.c_str(), "Quorvel") == 0) return &QuorvelResources();
  return nullptr;
}

// Copies text into a 260-byte folder buffer; false when it does not fit.
bool SetFolder(char* buffer, const std::string& text) {
  if (text.size() >= static_cast<size_t>(kPathCapacity)) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

void RemoveOneTrailingBackslash(char* text) {
  size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\\') text[length - 1] = '\0';
}

void PrintDictionaryList(PortableRegistry* registry, HKEY root, const char* rootName) {
  HKEY key = nullptr;
  if (registry->RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    std::printf("  %s: no custom dictionary list\n", rootName);
    return;
  }
  std::printf("  %s:\n", rootName);
  for (DWORD index = 0;; ++index) {
    char name[64], data[kPathCapacity + 1];
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
    LONG result = registry->RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                          &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    data[dataSize < sizeof data ? dataSize : sizeof data - 1] = '\0';
    std::printf("    %s = %s\n", name, data);
  }
  registry->RegCloseKey(key);
}

int Run(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const ResourceTable* table = EditionTable(options.edition);
  if (table == nullptr) {
    Fail("unknown edition " + options.edition + " (Standard, Professional or Quorvel)");
    return 2;
  }

  PortableFileSystem files;
  bool haveC = false;
  for (const auto& drive : options.drives) {
    struct stat info;
    if (stat(drive.second.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      Fail("the host folder " + drive.second + " for drive " + drive.first + ": is not there");
      return 1;
    }
    files.MapDrive(drive.first, drive.second);
    if (drive.first == 'C' || drive.first == 'c') haveC = true;
  }
  if (!haveC) {
    Fail("drive C: must be given (--drive C=HOSTDIR)");
    return 2;
  }
  if (!options.temp.empty()) files.SetTempFolder(options.temp);

  PortableRegistry registry;
  std::string regError;
  if (!options.reg.empty() && !registry.LoadRegFile(options.reg, &regError)) {
    Fail("cannot read the registry file " + options.reg + ": " + regError);
    return 1;
  }
  PortableResourceStore resources(*table);
  PortableLzLibrary lz;
  PortableShellServices shell(options.programs.c_str());
  RecordingWindowSystem windows;
  g_platform = Platform{&registry, &files, &lz, &resources, &shell, &windows};
  if (!options.programs.empty() && !shell.MakeProgramsFolder())
    std::fprintf(stderr, "setup_install: the Programs folder %s cannot be made; no shortcuts\n",
                 options.programs.c_str());

  int found = g_officeInfo.DetectVersions();
  std::printf("Office versions found: %d (newest %u, oldest %u)\n", found, g_officeInfo.CurrentVersion(),
              found > 0 ? g_officeInfo.OldestVersion() : 0u);

  // The folder page's defaults.
  char dictionary[kPathCapacity] = "";
  if (options.dictionaryGiven) {
    if (!SetFolder(dictionary, options.dictionaryFolder)) {
      Fail("the dictionary folder is longer than a path can be");
      return 1;
    }
  } else if (GetDefaultDictionaryFolder(dictionary, kPathCapacity) ||
             g_officeInfo.GetOfficeFolder(dictionary, kPathCapacity)) {
    RemoveOneTrailingBackslash(dictionary);
  }
  if (!SetFolder(g_dictionaryFolder, dictionary) || !SetFolder(g_installFolder, options.installFolder)) {
    Fail("a folder is longer than a path can be");
    return 1;
  }
  Edition edition = GetEdition();
  std::printf("Edition: %s\nDictionary folder: %s\nInstall folder: %s\n\n",
              edition == EditionProfessional ? "Professional" : edition == EditionQuorvel ? "Quorvel" : "Standard",
              g_dictionaryFolder, g_installFolder);

  if (!InstallFoldersUsable(edition)) {
    std::printf("Install Directories Not Specified: Please make sure you have enterd the file locations\n");
    return 1;
  }
  char product[kPathCapacity];
  if (!MakeProductFolder(g_installFolder, product)) {
    std::printf("Install Directory Not Created: Could not create the Vessora folder in the chosen location. "
                "Please choose another folder.\n");
    return 1;
  }
  std::memcpy(g_installFolder, product, sizeof product);
  InstallOutcome outcome = InstallProduct(edition);

  std::string logPath = std::string(g_installFolder) + "\\InstallLog.txt";
  std::string hostLog;
  std::printf("---- %s\n", logPath.c_str());
  if (files.HostPath(logPath.c_str(), &hostLog)) {
    std::ifstream in(hostLog, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::fwrite(text.str().data(), 1, text.str().size(), stdout);
  }
  std::printf("----\n\nCustom dictionaries after the install:\n");
  PrintDictionaryList(&registry, HKEY_CURRENT_USER, "HKEY_CURRENT_USER");
  PrintDictionaryList(&registry, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE");

  std::string out = !options.out.empty() ? options.out : options.reg;
  if (!out.empty()) {
    if (registry.SaveRegFile(out))
      std::printf("\nRegistry written to %s\n", out.c_str());
    else
      Fail("cannot write the registry to " + out);
  }
  std::printf("\n%s (%d failed)\n",
              outcome.failures == 0 ? "Installation complete." : "Installation finished with errors.", outcome.failures);
  return outcome.failures == 0 ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) { return Run(argc, argv); }
