#include "page_layout.h"

#include "pages/control_ids.h"

#include <cstdio>

namespace {
const DWORD kDefPushButton = 0x40000001;  // WS_CHILD | BS_DEFPUSHBUTTON
const DWORD kPushButton = 0x40000000;     // WS_CHILD | BS_PUSHBUTTON
const DWORD kFolderEdit = 0x40800080;     // WS_CHILD | WS_BORDER | ES_AUTOHSCROLL
const DWORD kLicenceEdit = 0x40A00844;    // WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY
}  // namespace

RECT MakeRect(int left, int top, int width, int height) {
  RECT r{left, top, left + width, top + height};
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld %ldx%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
  return text;
}

PageCaptions CaptionsOf(int page) {
  switch (page) {
    case 1: return {"E&xit", "&Next"};
    case 2: return {"&Back", "I &Accept"};
    case 3: return {"&Back", "&Install"};
    default: return {"&Back", "&Finish"};
  }
}

std::vector<ExpectedControl> ExpectedControls(int page, int W, int H, int V) {
  // The navigation strip: two buttons of width b, 36 high, 48 above the bottom.
  int b = W / 4 < 150 ? W / 4 : 150;
  int half = W / 2;
  PageCaptions captions = CaptionsOf(page);
  bool backEnabled = page != 4;
  std::vector<ExpectedControl> controls = {
      {kBackButtonId, "Button", true, captions.left, kDefPushButton | (backEnabled ? 0u : static_cast<DWORD>(WS_DISABLED)), 0,
       MakeRect(half - (4 * b) / 3, H - 48, b, 36), backEnabled},
      {kNextButtonId, "Button", true, captions.right, kPushButton, 0, MakeRect(half + b / 3, H - 48, b, 36), true},
  };
  switch (page) {
    case 1:
      controls.push_back({kLinkButtonId, "Button", true, "", kDefPushButton, WS_EX_TRANSPARENT,
                          MakeRect((W - 372) / 2 + 324, 190, 14, 14), true});
      break;
    case 2:
      // The text is compared with the carried licence by the scenario.
      controls.push_back(
          {kLicenceEditId, "Edit", false, "", kLicenceEdit, 0, MakeRect(16, 16, W - V - 8, (H - 48) - 32), true});
      break;
    case 3: {
      int B = W / 5 < 150 ? W / 5 : 150;
      // A row for each folder, 72 apart: its Browse button and its edit.
      const int rows[][3] = {{kDictionaryBrowseId, kDictionaryEditId, 40}, {kInstallBrowseId, kInstallEditId, 112}};
      for (const auto& row : rows) {
        controls.push_back({row[0], "Button", true, "B&rowse", kDefPushButton, 0, MakeRect(W - B - 16, row[2], B, 32),
                            true});
        controls.push_back({row[1], "Edit", false, "", kFolderEdit, 0, MakeRect(16, row[2], W - B - 48, 32), true});
      }
      break;
    }
    case 4:
      controls.push_back({kReadmeButtonId, "Button", true, "&View Readme", kDefPushButton, WS_EX_TRANSPARENT,
                          MakeRect((W - 120) / 2, 279, 120, 36), true});
      break;
  }
  for (ExpectedControl& control : controls) control.style |= WS_VISIBLE;  // every control is shown
  return controls;
}
