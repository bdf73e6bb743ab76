// Watching and driving a running setup.exe from outside, as a user's input would:
// its main window, its child controls, message boxes and the folder chooser.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "host_paths.h"
#include "scenario_machine.h"

class WizardProbe {
 public:
  ~WizardProbe();

  // Starts the program in its own folder, as when it is opened from there.
  bool Launch(const std::string& exePath, std::string& error);
  // How many starts Wine refused before this one went through.
  int Retries() const { return retries; }
  // Waits for the main window of class "LunveraSetup" that belongs to the process.
  bool WaitForMainWindow(DWORD timeoutMs);
  // Waits until the first paint has set the left button's caption "E&xit".
  bool WaitForFirstPaint(DWORD timeoutMs);
  // Waits until the screen shows the client area's black frame with white inside
  // it, at all four corners: the paint has reached the display.
  bool WaitForFrameOnScreen(DWORD timeoutMs) const;
  // Milliseconds since the process was started.
  double Elapsed() const { return NowMs() - startedMs; }

  HWND Main() const { return main; }
  bool Running() const;

  std::vector<ControlInfo> Controls() const;
  HWND Control(int id) const;
  // The text through WM_GETTEXT (edit controls keep their text to themselves).
  static std::string TextOf(HWND window);
  // The window's caption through GetWindowText, which never waits for the program.
  static std::string CaptionOf(HWND window);

  // A button press the way the mouse gives it: BM_CLICK, posted so that a modal
  // box opened by the command does not hold this program up.
  bool Click(int id);
  bool Command(int id);
  bool TypeText(int id, const std::string& text);
  bool CloseBox();

  // A dialog (class "#32770") of the program owned by the main window, or null.
  HWND FindOwnedDialog() const;
  HWND WaitForOwnedDialog(DWORD timeoutMs) const;
  bool WaitForDialogGone(HWND dialog, DWORD timeoutMs) const;
  // Every child of a dialog, for reading its texts.
  static std::vector<ControlInfo> ChildrenOf(HWND window);
  static bool PressDialogButton(HWND dialog, int id);
  // Selects a folder in the shell's folder chooser (BFFM_SETSELECTIONA with the
  // path placed in the program's own memory) and reports whether it was sent.
  bool SelectInChooser(HWND chooser, const std::string& path);

  bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
  void Kill();

 private:
  // A visible top-level window of the process of that class (and owner, when given), or null.
  HWND FindWindowOf(const char* className, HWND owner) const;

  PROCESS_INFORMATION processInfo{};
  HWND main = nullptr;
  double startedMs = 0;
  int retries = 0;
};
