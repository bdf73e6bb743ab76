// What each wizard page shows: its controls with class, text, styles and place,
// worked out from the client size the platform reports for the main window.
#pragma once
#include "platform/win32_types.h"

#include <string>
#include <vector>

struct ExpectedControl {
  int id;
  const char* className;
  bool checkText;
  std::string text;
  DWORD style;    // as created, WS_VISIBLE added since every control is shown
  DWORD exStyle;
  RECT rect;      // left, top, right, bottom in client coordinates
  bool enabled;
};

struct PageCaptions {
  const char* left;
  const char* right;
};

// Captions of the two navigation buttons on page 1 to 4.
PageCaptions CaptionsOf(int page);

// clientWidth/clientHeight: the main window's client area; scrollWidth: SM_CXVSCROLL.
std::vector<ExpectedControl> ExpectedControls(int page, int clientWidth, int clientHeight, int scrollWidth);

RECT MakeRect(int left, int top, int width, int height);
std::string RectText(const RECT& r);
bool SameRect(const RECT& a, const RECT& b);
