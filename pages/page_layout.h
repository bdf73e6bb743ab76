// The wizard's layout, stated once: where each control of a page sits and how it is made, and the
// navigation buttons' captions on each page. The pages and the shell make their controls from it; the
// end-to-end checks compare what the program shows with it.
#pragma once
#include "platform/win32_types.h"

struct ControlPlace {
  int id;
  const char* className;  // "BUTTON" or "EDIT"
  const char* text;       // what it is made with
  DWORD exStyle;
  DWORD style;  // as made; shown later
  int left, top, width, height;  // in the main window's client area
};

struct PageCaptions {
  const char* back;  // on the finish page the button keeps the folder page's caption, greyed out
  const char* next;
};
// By page number, 1 to 4.
extern const PageCaptions kPageCaptions[5];

// The navigation buttons' strip along the bottom of the client area; the page area is the rest.
constexpr int kNavigationStripHeight = 48;
constexpr int kMostPageControls = 6;
// The controls of page 1 to 4, the two navigation buttons first, laid out for a page area of width by
// height above the navigation strip (scrollWidth: the system's vertical scroll bar); how many there are.
int LayOutPage(int page, int width, int height, int scrollWidth, ControlPlace places[kMostPageControls]);
// The one control with this identifier on its page, laid out as LayOutPage does.
ControlPlace PlaceOf(int page, int id, int width, int height, int scrollWidth);
