// Drives the real setup.exe through one scenario under Wine and checks what it did.
//   e2e_driver --scenario FILE --out FOLDER --content FOLDER --exe EDITION=PATH...
// Paths may be host paths (/...) or Windows paths. The exit status is the
// number of failed checks (capped at 100), 0 when all held.
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "scenario_runner.h"
#include "scenario_script.h"
#include "wine_machine.h"

int main(int argc, char** argv) {
  auto stop = [](const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 100;
  };
  std::string scenario, outputHost;
  std::map<std::string, std::string> programs;  // edition -> Windows path of its setup.exe
  RunnerSettings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i], value = argv[i + 1];
    if (name == "--scenario") {
      scenario = value;
    } else if (name == "--out") {
      outputHost = WindowsToHost(value);
    } else if (name == "--content") {
      settings.contentFolder = HostToWindows(value);
    } else if (name == "--exe") {
      size_t at = value.find('=');
      if (at == std::string::npos) continue;
      programs[value.substr(0, at)] = HostToWindows(value.substr(at + 1));
      settings.editions.push_back(value.substr(0, at));
    } else {
      return stop("unknown option " + name);
    }
  }
  if (scenario.empty() || outputHost.empty())
    return stop("usage: e2e_driver --scenario FILE --out FOLDER --content FOLDER --exe EDITION=PATH...");
  std::string windowsScenario = HostToWindows(scenario);
  settings.scenarioFolder = ParentOf(windowsScenario);

  std::vector<ScenarioStep> steps;
  std::string error;
  if (!LoadScenario(windowsScenario, steps, error)) return stop(error);
  CoInitialize(nullptr);
  WineMachine machine(programs, outputHost);
  machine.MakeFolders(HostToWindows(outputHost));
  ScenarioRunner runner(machine, settings);
  int failures = runner.Run(steps);
  CoUninitialize();
  std::printf("%s: %d failed check(s)\n", scenario.c_str(), failures);
  return failures > 100 ? 100 : failures;
}
