// The whole program on the portable machine in a test: its globals as at process start, the
// edition's resources, the portable shell and the recording window system. Shared by the shell
// and page tests.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "install/install_sequence.h"
#include "office/office_info.h"
#include "pages/control_ids.h"
#include "pages/folder_page.h"
#include "pages/wizard_page.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "tests/support/test_machine.h"

class WizardWorld : public TestMachine {
 public:
  WizardWorld() { c.MakeFolder("Program Files"); }
  ~WizardWorld() override {
    for (WizardPage*& page : g_pages) {
      delete page;
      page = nullptr;
    }
  }

  // Registry content in the form a .reg file holds it.
  void LoadRegistry(const std::string& text) { ASSERT_TRUE(registry.LoadRegText(text)); }

  // Runs the program to its end over the scripted input pushed so far.
  int Run() { return SetupMain(reinterpret_cast<HINSTANCE>(uintptr_t{0x400000})); }

  HWND Main() const {
    const RecordedWindow* main = windows.MainWindow();
    return main ? main->handle : nullptr;
  }
  // The live child control of the main window with this identifier.
  const RecordedWindow* Control(int id) const { return windows.FindChild(Main(), id); }
  std::string Text(HWND window) const {
    const RecordedWindow* found = windows.Window(window);
    return found ? found->text : std::string("<none>");
  }
};

inline std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}
inline std::string DrawingText(const RecordedDrawing& d) {
  return d.operation + " " + d.detail + " " + RectText(d.rect);
}
