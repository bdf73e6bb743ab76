// What both native front ends take to describe the machine they run on: drives, registry,
// edition, Programs and temporary folders, and where the changed registry goes.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/portable/machine.h"
#include "resources/resource_table.h"

struct MachineOptions {
  std::vector<std::pair<char, std::string>> drives;  // letter (upper case), host folder
  std::string reg, out, edition;
  std::string programs = kDefaultProgramsFolder;
  std::string temp = kDefaultTempFolder;
};

extern const char kMachineUsage[];

// The value after option argv[*i] into *value, moving *i onto it; false with *error set when there is none.
bool TakeOptionValue(int argc, char** argv, int* i, std::string* value, std::string* error);
// Takes argv[*i] and its value when it is a machine option (moving *i past the value): true. False when it is
// not one of them, or (with *error set) when its value is missing or malformed.
bool ParseMachineOption(int argc, char** argv, int* i, MachineOptions* options, std::string* error);
// The resources of the named edition (either case); the build's own for an empty name; null when unknown.
const ResourceTable* EditionResources(const std::string& name);
// Maps the drives (each host folder must exist, C: must be given), sets the temporary folder, loads the
// registry and makes the Programs folder; false with *error set when the machine cannot be made.
bool SetUpMachine(const MachineOptions& options, PortableMachine* machine, std::string* error);
// Writes the registry where --out (else --reg) says; false with *error set when it cannot be written.
bool SaveMachineRegistry(const MachineOptions& options, PortableMachine* machine, std::string* error);
