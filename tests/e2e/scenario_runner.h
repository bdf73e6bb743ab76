// Carries out a scenario's steps on a machine (under Wine or natively) and counts what failed.
//
// Steps (one a line; %PROGRAMS%, %TEMP%, %CONTENT% and %SCENARIOS% stand for those folders):
//   reset                      delete the Office/Word keys and both dictionary lists,
//                              the product's folders, stray vsq temporary files
//   reg FILE.reg               import (next to the scenario)
//   mkdir PATH | clean PATH    make afresh | remove a folder
//   lock PATH                  make a file one the program cannot write, until the run ends
//   program EDITION            quorvel (default), standard or professional
//   plant NAME...              the next launch runs a copy of the program in a folder of its own,
//                              beside a stand-in DLL (planted.dll) for each name, which Wine takes
//                              from there first, as Windows does with a DLL that is not a known DLL
//                              (run-scenario.sh tells Wine so, from this line); skipped natively
//   launch                     start it; wait for the window and its first paint
//   title TEXT                 the window title
//   page N                     wait for page N, then check every control and its place
//   shot NAME [| same OTHER]   screenshot of the window (NAME.png, NAME.txt), pixel for pixel the
//                              picture OTHER when given (check_screens.py); skipped without a screen
//   text ID TEXT | textfile ID CONTENT-FILE   a control's text
//   type ID TEXT | click ID | command ID | close   input: text typed, a button pressed,
//                              WM_COMMAND, the close box
//   message CAPTION | TEXT [| icon | exclamation]   a message box (with an icon, the
//                              exclamation mark where the machine can tell): check it, press OK
//   browse ID PATH|ok|cancel [| STATUS]   press Browse and answer the chooser
//   exit CODE                  wait for the program to end with that code
//   file PATH | size N   /  file PATH | same CONTENT-FILE   /  absent PATH
//   files FOLDER ... end       exactly these names in the folder
//   log PATH ... end           the file's bytes: each line ends in CR LF ("$" ends a line)
//   values KEY ... end         exactly these NAME=DATA REG_SZ values   /  nokey KEY
//                              (the registry as the program under test sees it)
//   link LNK | TARGET | DESCRIPTION   the shell link read back
//   pieces FOLDER\PREFIX | CONTENT-FILE   a split dictionary against the whole one
//   notemp                     no vsq* file in the temporary folder
//   planted                    no stand-in was loaded; one that Wine's own DLLs import, and so load
//                              before the program's first instruction, is reported, not failed
//   tamper PATH                overwrite with stale bytes (to see a file replaced)
//   say TEXT | show-folder PATH | show-file PATH | show-values KEY   print
#pragma once
#include <map>
#include <string>
#include <vector>

#include "scenario_machine.h"
#include "scenario_script.h"

struct RunnerSettings {
  std::string scenarioFolder;  // Windows path of the scenario's folder
  std::string contentFolder;   // Windows path of resources/content
  std::vector<std::string> editions;  // those the machine can launch
  std::string program = "quorvel";    // the one launched until a "program" step says otherwise
};

class ScenarioRunner {
 public:
  ScenarioRunner(ScenarioMachine& machine, const RunnerSettings& settings);
  // Runs every step; the number of failed checks.
  int Run(const std::vector<ScenarioStep>& steps);

 private:
  void Step(const ScenarioStep& step);
  void Fail(const std::string& what);
  void Check(bool ok, const std::string& failure);
  // Fails with WHAT "actual", expected "expected" when the two differ.
  void Expect(const std::string& what, const std::string& actual, const std::string& expected);
  std::string Expand(const std::string& text) const;
  // A block's lines expanded; trimmed ones without the blank lines.
  std::vector<std::string> BlockLines(const std::vector<std::string>& block, bool trimmed) const;

  // The names of the vsq* files in the temporary folder.
  std::vector<std::string> TemporaryFiles();
  void Reset();
  void Plant(const std::string& names);
  void Launch();
  void WaitForPage(int page);
  void ExpectText(int id, const std::string& text, bool fromFile);
  void Message(const std::string& args);
  void Exit(int expected);
  void CheckFile(const std::string& args);
  void CheckFolderList(const std::string& folder, const std::vector<std::string>& block);
  void CheckLog(const std::string& path, const std::vector<std::string>& block);
  // Without a block: the key must not exist.
  void CheckValues(const std::string& key, const std::vector<std::string>* block);
  void CheckLink(const std::string& args);
  void CheckPieces(const std::string& args);
  void CheckPlanted();
  void Tamper(const std::string& path);
  void ShowFolder(const std::string& path, const std::string& indent);
  void ShowFile(const std::string& path);
  void ShowValues(const std::string& key);

  ScenarioMachine& machine;
  RunnerSettings settings;
  std::string program;
  bool launched = false;
  bool checkingOnly = false;  // only whether each step is known
  int failures = 0;
  std::vector<std::string> locked;  // files a "lock" step made immutable
  bool planted = false;              // "plant" put stand-in DLLs beside the program
  int currentLine = 0;
  int page = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  double clickTime = 0;
};
