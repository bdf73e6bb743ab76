// The scenario machine under Wine: the real setup.exe of each edition, started in the prefix and driven
// from outside as a user drives it; the prefix's files, registry and links read through the Win32 API.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scenario_machine.h"
#include "wizard_probe.h"

class WineMachine : public ScenarioMachine {
 public:
  // programs: edition -> Windows path of its setup.exe; outputHost: host folder for the pictures.
  WineMachine(const std::map<std::string, std::string>& programs, const std::string& outputHost);

  bool ResetOfficeKeys(std::string& error) override;
  bool ImportRegFile(const std::string& path, std::string& error) override;
  bool RemoveTree(const std::string& path) override;
  bool MakeFolders(const std::string& path) override;
  bool Lock(const std::string& path, bool locked, std::string& error) override;
  bool Exists(const std::string& path) override;
  bool ReadFileBytes(const std::string& path, std::string& bytes) override;
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
  bool FileSize(const std::string& path, unsigned long long& size) override;
  bool ListFolder(const std::string& path, std::vector<std::string>& names) override;
  bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) override;
  bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) override;

  bool Plant(const std::string& edition, const std::vector<std::string>& dlls, std::string& error) override;
  std::vector<std::string> PlantedLoads() override;
  bool Launch(const std::string& edition, std::string& error) override;
  bool Running() override { return probe && probe->Running(); }
  MainWindowInfo MainWindow() override;
  std::vector<ControlInfo> Controls() override { return probe->Controls(); }
  bool Await(unsigned timeoutMs, const std::function<bool()>& done) override;
  bool ControlText(int id, std::string& text) override;
  int LinesShown(int id) override;
  bool Click(int id) override { return probe->Click(id); }
  bool Command(int id) override { return probe->Command(id); }
  bool TypeText(int id, const std::string& text) override { return probe->TypeText(id, text); }
  bool CloseBox() override { return probe->CloseBox(); }
  bool TakeMessageBox(MessageBoxInfo& box, std::string& error) override;
  std::vector<std::string> Browse(int id, const std::string& choice, const std::string* status) override;
  bool WaitForExit(int& exitCode) override;
  void Kill() override { probe->Kill(); }
  std::string Leftovers() override { return ""; }
  bool Shot(const std::string& name, int page, const std::string& sameAs, std::string& error) override;

 private:
  std::map<std::string, std::string> programs;
  std::string outputHost;
  // Every launch of the run; the last one is the program being driven.
  std::vector<std::unique_ptr<WizardProbe>> launches;
  WizardProbe* probe = nullptr;
  std::string plantFolder;  // where "plant" put the program and the stand-ins
};
