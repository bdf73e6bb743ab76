// One page on its own: a parent window standing for the main window, the page area of a
// client of 594 by 413, and painting into a recorded context.
#pragma once
#include <string>
#include <vector>

#include "tests/shell/wizard_fixture.h"

class PageBench : public WizardWorld {
 public:
  explicit PageBench(int pageWidth = 594, int pageHeight = 365) {
    parent = windows.CreateWindowExA(0, "STATIC", "", 0, 0, 0, 600, 440, nullptr, nullptr, nullptr, nullptr);
    WizardPage::SetPageArea(RECT{0, 0, pageWidth, pageHeight});
  }

  // Paints the page and gives what it drew.
  std::vector<RecordedDrawing> Paint(WizardPage& page) {
    PAINTSTRUCT paint = {};
    windows.InvalidateRect(parent, nullptr, FALSE);
    HDC dc = windows.BeginPaint(parent, &paint);
    page.Paint(parent, dc);
    windows.EndPaint(parent, &paint);
    return windows.Paints().back().drawings;
  }

  // The page's live controls as their creation calls, in creation order.
  std::vector<std::string> Controls() const {
    std::vector<std::string> controls;
    for (const RecordedWindow* control : windows.Children(parent)) {
      controls.push_back(control->className + " \"" + control->text + "\" ex=" + HexText(control->exStyle) +
                         " style=" + HexText(control->style) + " " + std::to_string(control->rect.left) +
                         "," + std::to_string(control->rect.top) + " " + std::to_string(control->Width()) + "x" +
                         std::to_string(control->Height()) + " id=" + std::to_string(control->id) +
                         (control->visible ? " shown" : " hidden"));
    }
    return controls;
  }

  HWND parent = nullptr;
};
