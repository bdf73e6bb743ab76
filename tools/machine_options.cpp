#include "tools/machine_options.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>

#include "platform/ascii_case.h"

const char kMachineUsage[] =
    "  --drive X=HOSTDIR   drive X: stands for the existing host folder HOSTDIR (repeatable; C: is needed)\n"
    "  --reg FILE          the machine's registry, a .reg file (default: an empty registry)\n"
    "  --out FILE          where the registry is written afterwards\n"
    "  --edition NAME      Standard, Professional or Quorvel (default: this build's edition)\n"
    "  --programs PATH     the Start menu's Programs folder (default C:\\WINDOWS\\Start Menu\\Programs;\n"
    "                      made when missing; an empty text: no Programs folder)\n"
    "  --temp PATH         the temporary folder (default C:\\WINDOWS\\TEMP)\n";

bool TakeOptionValue(int argc, char** argv, int* i, std::string* value, std::string* error) {
  if (*i + 1 >= argc) {
    *error = std::string(argv[*i]) + " needs a value";
    return false;
  }
  *value = argv[++*i];
  return true;
}

bool ParseMachineOption(int argc, char** argv, int* i, MachineOptions* options, std::string* error) {
  std::string option = argv[*i];
  std::string* value = option == "--reg"        ? &options->reg
                       : option == "--out"      ? &options->out
                       : option == "--edition"  ? &options->edition
                       : option == "--programs" ? &options->programs
                       : option == "--temp"     ? &options->temp
                                                : nullptr;
  std::string text;
  if ((value == nullptr && option != "--drive") || !TakeOptionValue(argc, argv, i, &text, error)) return false;
  if (value != nullptr) {
    *value = text;
    return true;
  }
  if (text.size() < 3 || text[1] != '=' || !std::isalpha(static_cast<unsigned char>(text[0]))) {
    *error = "--drive takes X=HOSTDIR, not " + text;
    return false;
  }
  options->drives.emplace_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))), text.substr(2));
  return true;
}

const ResourceTable* EditionResources(const std::string& name) {
  if (name.empty()) return &BuiltInResources();
  for (const ResourceTable* table : {&StandardResources(), &ProfessionalResources(), &QuorvelResources()}) {
    if (EqualAsciiNoCase(table->edition, name.c_str())) return table;
  }
  return nullptr;
}

bool SetUpMachine(const MachineOptions& options, PortableMachine* machine, std::string* error) {
  bool haveC = false;
  for (const auto& drive : options.drives) {
    struct stat info;
    if (stat(drive.second.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      *error = "the host folder " + drive.second + " for drive " + drive.first + ": is not there";
      return false;
    }
    machine->files.MapDrive(drive.first, drive.second);
    haveC = haveC || drive.first == 'C';
  }
  if (!haveC) {
    *error = "drive C: must be given (--drive C=HOSTDIR)";
    return false;
  }
  machine->files.SetTempFolder(options.temp);
  std::string regError;
  if (!options.reg.empty() && !machine->registry.LoadRegFile(options.reg, &regError)) {
    *error = "cannot read the registry file " + options.reg + ": " + regError;
    return false;
  }
  // A machine without a Programs folder is one the install must cope with: no shortcuts then.
  if (!options.programs.empty() && !machine->MakeProgramsFolder())
    std::fprintf(stderr, "the Programs folder %s cannot be made; no shortcuts\n", options.programs.c_str());
  return true;
}

bool SaveMachineRegistry(const MachineOptions& options, PortableMachine* machine, std::string* error) {
  const std::string& out = !options.out.empty() ? options.out : options.reg;
  if (out.empty() || machine->registry.SaveRegFile(out)) return true;
  *error = "cannot write the registry to " + out;
  return false;
}
