// The scenario machine under Wine: the real setup.exe of each edition, started in the prefix and driven
// from outside as a user drives it (its main window, its controls, message boxes and the folder chooser);
// the prefix's files, registry and links read through the Win32 API.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "scenario_machine.h"

class WineMachine : public ScenarioMachine {
 public:
  // programs: edition -> Windows path of its setup.exe; outputHost: host folder for the pictures.
  WineMachine(const std::map<std::string, std::string>& programs, const std::string& outputHost);
  ~WineMachine() override;

  bool DeleteKeyTree(HKEY root, const char* key, std::string& error) override;
  bool ImportRegFile(const std::string& path, std::string& error) override;
  bool RemoveTree(const std::string& path) override;
  bool MakeFolders(const std::string& path) override;
  bool Lock(const std::string& path, bool locked, std::string& error) override;
  bool Exists(const std::string& path) override;
  bool ReadFileBytes(const std::string& path, std::string& bytes) override;
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
  bool ListFolder(const std::string& path, std::vector<std::string>& names) override;
  bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) override;
  bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) override;

  bool Plant(const std::string& edition, const std::vector<std::string>& dlls, std::string& error) override;
  std::vector<std::string> PlantedLoads() override;
  bool Launch(const std::string& edition, std::string& error) override;
  bool Running() override { return process.hProcess && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
  MainWindowInfo MainWindow() override;
  std::vector<ControlInfo> Controls() override;
  bool Await(unsigned timeoutMs, const std::function<bool()>& done) override;
  bool ControlText(int id, std::string& text) override;
  int LinesShown(int id) override;
  bool Click(int id) override;
  bool Command(int id) override { return main && PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  bool TypeText(int id, const std::string& text) override;
  bool CloseBox() override { return main && PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }
  bool TakeMessageBox(MessageBoxInfo& box, std::string& error) override;
  std::vector<std::string> Browse(int id, const std::string& choice, const std::string* status) override;
  bool WaitForExit(int& exitCode) override;
  void Kill() override;
  std::string Leftovers() override { return ""; }
  bool Shot(const std::string& name, int page, const std::string& sameAs, std::string& error) override;

 private:
  // A visible top-level window of the program of that class (and owner, when given), or null.
  HWND FindWindowOf(const char* className, HWND owner) const;
  HWND Control(int id) const { return main ? GetDlgItem(main, id) : nullptr; }

  std::map<std::string, std::string> programs;
  std::string outputHost;
  std::string plantFolder;        // where "plant" put the program and the stand-ins
  PROCESS_INFORMATION process{};  // the program the last launch started
  HWND main = nullptr;            // its main window
};
