#include "wine_machine.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "host_paths.h"
#include "install_checks.h"
#include "prefix_state.h"

WineMachine::WineMachine(const std::map<std::string, std::string>& p, const std::string& out)
    : programs(p), outputHost(out) {
  programsFolder = ::ProgramsFolder();
  tempFolder = ::TempFolder();
}

bool WineMachine::ResetOfficeKeys(std::string& error) { return ::ResetOfficeKeys(error); }
bool WineMachine::ImportRegFile(const std::string& path, std::string& error) { return ::ImportRegFile(path, error); }
bool WineMachine::RemoveTree(const std::string& path) { return ::RemoveTree(path); }
bool WineMachine::MakeFolders(const std::string& path) { return ::MakeFolders(path); }
bool WineMachine::Lock(const std::string& path, bool locked, std::string& error) {
  return SetImmutable(path, locked, error);
}
bool WineMachine::Exists(const std::string& path) { return ::Exists(path); }
bool WineMachine::ReadFileBytes(const std::string& path, std::string& bytes) { return ::ReadFileBytes(path, bytes); }
bool WineMachine::WriteFileBytes(const std::string& path, const std::string& bytes) {
  return ::WriteFileBytes(path, bytes);
}
bool WineMachine::FileSize(const std::string& path, unsigned long long& size) { return ::FileSize(path, size); }
bool WineMachine::ListFolder(const std::string& path, std::vector<std::string>& names) {
  return ::ListFolder(path, names);
}
bool WineMachine::ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) {
  return ::ReadValues(key, values);
}
bool WineMachine::ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) {
  return ::ReadShellLink(path, link, error);
}

bool WineMachine::Launch(const std::string& edition, std::string& error) {
  launches.push_back(std::make_unique<WizardProbe>());
  probe = launches.back().get();
  if (!probe->Launch(programs[edition], error)) return false;
  if (probe->Retries()) Print("  (Wine refused " + std::to_string(probe->Retries()) + " start(s) before this one)");
  error = "no window of class LunveraSetup appeared";
  if (!probe->WaitForMainWindow(30000)) return false;
  double windowTime = probe->Elapsed();
  error = "the first paint did not set the caption E&xit";
  if (!probe->WaitForFirstPaint(30000)) return false;
  double paintTime = probe->Elapsed();
  bool onScreen = probe->WaitForFrameOnScreen(10000);
  char line[160];
  std::snprintf(line, sizeof line, "  TIMING window %.1f ms, first-paint %.1f ms, on-screen %.1f ms", windowTime,
                paintTime, onScreen ? probe->Elapsed() : -1.0);
  Print(line);
  error = "the client area's frame did not show on the screen";
  return onScreen;
}

MainWindowInfo WineMachine::MainWindow() {
  MainWindowInfo info;
  HWND main = probe->Main();
  RECT client{};
  info.title = WizardProbe::CaptionOf(main);
  GetWindowRect(main, &info.window);
  GetClientRect(main, &client);
  info.clientWidth = client.right;
  info.clientHeight = client.bottom;
  info.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  info.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  info.scrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  info.style = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE));
  return info;
}

bool WineMachine::Await(unsigned timeoutMs, const std::function<bool()>& done) { return WaitUntil(timeoutMs, 5, done); }

bool WineMachine::ControlText(int id, std::string& text) {
  HWND control = probe->Control(id);
  if (control) text = WizardProbe::TextOf(control);
  return control != nullptr;
}

int WineMachine::LinesShown(int id) {
  HWND control = probe->Control(id);
  DWORD_PTR shown = 0;
  if (!control || (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) == 0 ||
      !SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown))
    return -1;
  return static_cast<int>(shown);
}

bool WineMachine::TakeMessageBox(MessageBoxInfo& box, std::string& error) {
  HWND dialog = probe->WaitForOwnedDialog(15000);
  error = "no message box owned by the main window appeared";
  if (!dialog) return false;
  box.caption = WizardProbe::CaptionOf(dialog);
  for (const ControlInfo& c : WizardProbe::ChildrenOf(dialog)) {
    if (!SameNoCase(c.className, "Static") || !c.visible) continue;
    if ((c.style & SS_TYPEMASK) == SS_ICON) {
      box.icon = true;
    } else if (!c.text.empty()) {
      box.text = c.text;
    }
  }
  error = "the message box did not close on OK";
  if (!WizardProbe::PressDialogButton(dialog, IDOK) || !probe->WaitForDialogGone(dialog, 10000)) return false;
  error.clear();
  return true;
}

std::vector<std::string> WineMachine::Browse(int id, const std::string& choice, const std::string* status) {
  std::vector<std::string> failures;
  if (!probe->Click(id)) return {"no Browse button " + std::to_string(id)};
  HWND chooser = nullptr;
  WaitUntil(15000, 10, [&] {
    HWND dialog = probe->FindOwnedDialog();
    if (dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) chooser = dialog;
    return chooser != nullptr;
  });
  if (!chooser) return {"the folder chooser did not open"};
  Print("  folder chooser " + Quoted(WizardProbe::CaptionOf(chooser)) + " open");
  if (status) {
    // The program sets the status line when the chooser reports that it is ready.
    std::vector<std::string> texts;
    bool seen = WaitUntil(2000, 20, [&] {
      texts.clear();
      for (const ControlInfo& c : WizardProbe::ChildrenOf(chooser))
        if (SameNoCase(c.className, "Static")) texts.push_back(c.text);
      return std::find(texts.begin(), texts.end(), *status) != texts.end();
    });
    if (!seen) {
      for (std::string& text : texts) text = Quoted(text);
      failures.push_back("the chooser's status line does not read " + Quoted(*status) + "; its texts:" + Listed(texts));
    }
  }
  if (choice != "ok" && choice != "cancel") {
    if (!probe->SelectInChooser(chooser, choice)) failures.push_back("cannot select " + choice + " in the chooser");
    Sleep(200);
  }
  // "ok" takes whatever the chooser selected when it opened.
  WizardProbe::PressDialogButton(chooser, choice == "cancel" ? IDCANCEL : IDOK);
  if (!probe->WaitForDialogGone(chooser, 10000)) failures.push_back("the folder chooser did not close");
  return failures;
}

bool WineMachine::WaitForExit(int& exitCode) {
  DWORD code = 0;
  if (!probe->WaitForExit(30000, code)) return false;
  exitCode = static_cast<int>(code);
  return true;
}

bool WineMachine::Shot(const std::string& name, int page, std::string& error) {
  HWND main = probe->Main();
  // The paint that set the captions has run; wait for the display to show it.
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  probe->WaitForFrameOnScreen(3000);
  Sleep(150);
  RECT window, client;
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  std::string host = outputHost + "/" + name + ".png";
  if (!CaptureScreen(window, host, error)) return false;
  // Where the client area lies in the picture, for the picture checks.
  std::string info = "page " + std::to_string(page) + "\nclient " + std::to_string(origin.x - window.left) + " " +
                     std::to_string(origin.y - window.top) + " " + std::to_string(client.right) + " " +
                     std::to_string(client.bottom) + "\n";
  std::string infoPath = HostToWindows(outputHost + "/" + name + ".txt");
  error = "cannot write " + infoPath;
  if (!::WriteFileBytes(infoPath, info)) return false;
  Print("  saved " + host);
  return true;
}
