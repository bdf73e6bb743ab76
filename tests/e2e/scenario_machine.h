// What the scenario runner drives and reads back: a machine with the setup program on it. Under Wine the
// real setup.exe runs in the prefix and is driven from outside (WineMachine); natively the program runs
// in this process over the portable machine, and its message loop hands over to the scenario whenever
// it waits for input (NativeMachine). Paths are Windows paths, keys "HKCU\..." or "HKLM\...".
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32_types.h"

struct ControlInfo {
  std::string className;
  std::string text;
  DWORD style = 0;  // as GetWindowLong gives it: WS_VISIBLE and WS_DISABLED follow the state
  DWORD exStyle = 0;
  int id = 0;
  RECT rect{};  // in the main window's client coordinates
  bool enabled = false;
  bool visible = false;
};

struct MainWindowInfo {
  std::string title;
  RECT window{};  // on the screen
  int clientWidth = 0, clientHeight = 0, screenWidth = 0, screenHeight = 0;
  int scrollWidth = 0;  // SM_CXVSCROLL
  DWORD style = 0;
};

struct MessageBoxInfo {
  std::string caption, text;
  bool icon = false;
  // Which icon it is, where the machine can tell (under Wine the driver cannot read another process's icon).
  bool iconKnown = false;
  bool exclamation = false;  // the system's exclamation mark
};

struct RegistryValue {
  DWORD type = 0;
  std::string data;  // REG_SZ without its terminator; other types as raw bytes
};

struct LinkInfo {
  std::string target;
  std::string description;
};

class ScenarioMachine {
 public:
  virtual ~ScenarioMachine() = default;

  std::string programsFolder, tempFolder;  // without a trailing backslash

  // ---- The machine before and between runs of the program.
  // Deletes a registry key with everything under it; true when it is gone.
  virtual bool DeleteKeyTree(HKEY root, const char* key, std::string& error) = 0;
  virtual bool ImportRegFile(const std::string& path, std::string& error) = 0;
  // Deletes a file or a folder with everything in it; true when nothing is left.
  virtual bool RemoveTree(const std::string& path) = 0;
  virtual bool MakeFolders(const std::string& path) = 0;
  // Makes a file one the program cannot write (locked) or an ordinary file again, until the run ends.
  virtual bool Lock(const std::string& path, bool locked, std::string& error) = 0;

  // ---- What the program left, read back (and spoilt) as files, registry values and shell links.
  virtual bool Exists(const std::string& path) = 0;
  virtual bool ReadFileBytes(const std::string& path, std::string& bytes) = 0;  // false for a folder
  virtual bool WriteFileBytes(const std::string& path, const std::string& bytes) = 0;
  // Names of the files and folders directly inside a folder, sorted; false when it is no folder.
  virtual bool ListFolder(const std::string& path, std::vector<std::string>& names) = 0;
  // Every value of the key as the program sees it; false when the key does not open.
  virtual bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) = 0;
  virtual bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) = 0;

  // ---- The program.
  // The next launch runs the edition's program from a folder of its own, beside a stand-in for each of
  // these system DLLs, which the loader takes from there first, as Windows does with a DLL that is not
  // a known DLL. False with error set, or (error empty) where no DLLs are loaded.
  virtual bool Plant(const std::string& edition, const std::vector<std::string>& dlls, std::string& error) = 0;
  // The planted stand-ins the program loaded, as failures. One that the system's own DLLs import, and
  // so load before the program's first instruction, is reported instead.
  virtual std::vector<std::string> PlantedLoads() = 0;
  // Starts the setup program of an edition and waits for its window's first paint; false with error set.
  virtual bool Launch(const std::string& edition, std::string& error) = 0;
  virtual bool Running() = 0;
  virtual MainWindowInfo MainWindow() = 0;
  virtual std::vector<ControlInfo> Controls() = 0;
  // Until done says true or the time is up: under Wine it asks again and again; natively the program runs
  // until it waits for input, and done is asked once.
  virtual bool Await(unsigned timeoutMs, const std::function<bool()>& done) = 0;
  // The control's text (false when there is none) and how many lines it shows (-1: not known here).
  virtual bool ControlText(int id, std::string& text) = 0;
  virtual int LinesShown(int id) = 0;
  // Input as a user gives it: a button pressed, a command sent, text typed, the close box.
  virtual bool Click(int id) = 0;
  virtual bool Command(int id) = 0;
  virtual bool TypeText(int id, const std::string& text) = 0;
  virtual bool CloseBox() = 0;
  // Waits for the next message box of the program, reads it and answers OK; false with error set.
  virtual bool TakeMessageBox(MessageBoxInfo& box, std::string& error) = 0;
  // Presses a Browse button and answers the chooser: a path, "ok" (what it opened on) or "cancel"; checks
  // the status line when status is given. The failures, none when all went well.
  virtual std::vector<std::string> Browse(int id, const std::string& choice, const std::string* status) = 0;
  // Waits for the program to end; false when it did not.
  virtual bool WaitForExit(int& exitCode) = 0;
  virtual void Kill() = 0;
  // What the ended program left unreleased (handles, contexts, timers, COM objects); empty when nothing
  // or when this machine cannot tell.
  virtual std::string Leftovers() = 0;
  // A picture of the window as NAME.png in the output folder; false (error empty) where there is no screen.
  // With sameAs, the picture must be that earlier one's, pixel for pixel.
  virtual bool Shot(const std::string& name, int page, const std::string& sameAs, std::string& error) = 0;
};

// Every value of a key, read through anything with advapi32's calls (the prefix's registry, or the
// portable one); false when the key does not open.
template <class Store>
bool ReadRegistryValues(Store& store, const std::string& key, std::map<std::string, RegistryValue>& values) {
  // "HKCU\Software\..." or "HKEY_LOCAL_MACHINE\Software\..."
  size_t at = key.find('\\');
  std::string rootName = key.substr(0, at), path = at == std::string::npos ? "" : key.substr(at + 1);
  bool user = rootName == "HKCU" || rootName == "HKEY_CURRENT_USER";
  HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, handle;
  values.clear();
  if ((!user && rootName != "HKLM" && rootName != "HKEY_LOCAL_MACHINE") ||
      store.RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &handle) != 0)
    return false;
  std::vector<char> name(16384);
  std::vector<BYTE> data(65536);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
    LONG result = store.RegEnumValueA(handle, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_MORE_DATA) {
      // Too long to compare, yet still a value of the key.
      values[std::string(name.data(), nameLength)] = RegistryValue{type, "<more than 64 KB>"};
      continue;
    }
    if (result != 0) continue;
    std::string raw(reinterpret_cast<char*>(data.data()), dataLength);
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && !raw.empty() && raw.back() == '\0') raw.pop_back();
    values[std::string(name.data(), nameLength)] = RegistryValue{type, raw};
  }
  store.RegCloseKey(handle);
  return true;
}
