// The scenario machine natively: the setup program in this process over the portable machine, drive Z:
// standing for the host's root (where the scenarios and the content files are, as under Wine). Each
// launch is a new process of the program: a fresh window system, the edition's resources, the program's
// globals as at start, SetupMain on a thread of its own. Whenever its message loop waits for input, the
// program hands over to the scenario, which reads what it shows and gives it the next input (one side
// runs at a time). Message boxes and the folder chooser are answered from the scenario's steps.
#pragma once
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/portable/machine.h"
#include "scenario_machine.h"

class NativeMachine : public ScenarioMachine {
 public:
  // editions: name -> resources of its setup program.
  explicit NativeMachine(const std::map<std::string, const ResourceTable*>& editions);
  ~NativeMachine() override;

  PortableMachine portable;
  // Called with each new process's window system before the program starts (observers, settings).
  std::function<void(RecordingWindowSystem&, CallLog&)> onNewProcess;
  // Call once the drives are mapped: the Programs and temporary folders the steps name.
  void TakeFolders();

  bool DeleteKeyTree(HKEY root, const char* key, std::string&) override {
    portable.registry.DeleteKeyTree(root, key);  // false only when there was no such key
    return true;
  }
  bool ImportRegFile(const std::string& path, std::string& error) override;
  bool RemoveTree(const std::string& path) override;
  bool MakeFolders(const std::string& path) override { return PortableMachine::MakeFolders(path); }
  // A locked file is held open by another program that lets nobody write it.
  bool Lock(const std::string& path, bool locked, std::string& error) override;
  bool Exists(const std::string& path) override;
  bool ReadFileBytes(const std::string& path, std::string& bytes) override { return portable.ReadFile(path, &bytes); }
  bool WriteFileBytes(const std::string& path, const std::string& bytes) override;
  bool ListFolder(const std::string& path, std::vector<std::string>& names) override;
  bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) override {
    return ReadRegistryValues(portable.registry, key, values);
  }
  bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) override;

  // The program runs in this process: it loads no DLLs.
  bool Plant(const std::string&, const std::vector<std::string>&, std::string&) override { return false; }
  std::vector<std::string> PlantedLoads() override { return {}; }
  bool Launch(const std::string& edition, std::string& error) override;
  bool Running() override;
  MainWindowInfo MainWindow() override;
  std::vector<ControlInfo> Controls() override;
  bool Await(unsigned timeoutMs, const std::function<bool()>& done) override;
  bool ControlText(int id, std::string& text) override;
  int LinesShown(int) override { return -1; }
  bool Click(int id) override { return Give({ScriptedInput::ClickControl, id, {}, {}}); }
  bool Command(int id) override { return Give({ScriptedInput::PostCommand, id, {}, {}}); }
  bool TypeText(int id, const std::string& text) override { return Give({ScriptedInput::TypeText, id, text, {}}); }
  bool CloseBox() override { return Give({ScriptedInput::CloseBox, 0, {}, {}}); }
  bool TakeMessageBox(MessageBoxInfo& box, std::string& error) override;
  std::vector<std::string> Browse(int id, const std::string& choice, const std::string* status) override;
  bool WaitForExit(int& exitCode) override;
  void Kill() override;
  std::string Leftovers() override { return leftovers; }
  bool Shot(const std::string&, int, const std::string&, std::string& error) override {
    error.clear();
    return false;
  }

 private:
  // Input for the program, carried out once it runs again; false while a message box no step took is up.
  bool Give(const ScriptedInput& input);
  // The scenario's side: lets the program run with the input given until it waits again or ends.
  void Settle();
  // The program's side, when its message loop waits: hands over until the scenario resumes it.
  void Yield();
  // After the program's thread ended: joins it and notes what it left unreleased.
  void Finish();
  bool Alive();  // the program's thread has not ended
  // A message box shown and not yet taken by a step (the program would still be held up by it).
  bool BoxUp();
  std::string HostPath(const std::string& path) const;

  std::map<std::string, const ResourceTable*> editions;
  std::map<std::string, HANDLE> locks;
  std::thread program;
  std::mutex mutex;
  std::condition_variable turn;
  bool programsTurn = false, running = false, stopping = false, given = false;
  int exitCode = 0;
  size_t boxesTaken = 0;
  std::string leftovers;
};
