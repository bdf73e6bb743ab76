#include "pages/page_layout.h"

#include "pages/control_ids.h"

const PageCaptions kPageCaptions[5] = {
    {"", ""}, {"E&xit", "&Next"}, {"&Back", "I &Accept"}, {"&Back", "&Install"}, {"&Back", "&Finish"}};

namespace {

constexpr DWORD kDefPushButton = WS_CHILD | BS_DEFPUSHBUTTON;
constexpr DWORD kEditStyle = WS_CHILD | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kLicenceStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
constexpr int kButtonHeight = 36;
constexpr int kRowHeight = 32;

int Least(int a, int b) { return a < b ? a : b; }

}  // namespace

int LayOutPage(int page, int w, int h, int scrollWidth, ControlPlace places[kMostPageControls]) {
  // The navigation strip below the page area: two buttons, until the client is 600 wide a quarter of it each.
  int button = Least(w / 4, 150);
  int count = 0;
  places[count++] = {kBackButtonId, "BUTTON", "Do &not accept", 0, kDefPushButton, w / 2 - (4 * button) / 3, h,
                     button, kButtonHeight};
  places[count++] = {kNextButtonId, "BUTTON", "&Accept", 0, WS_CHILD | BS_PUSHBUTTON, w / 2 + button / 3, h, button,
                     kButtonHeight};
  int browse = Least(w / 5, 150);
  switch (page) {
    case 1:
      // Just right of the web address in the acknowledgement picture.
      places[count++] = {kLinkButtonId, "BUTTON", "", WS_EX_TRANSPARENT, kDefPushButton, (w - 372) / 2 + 324, 190, 14,
                         14};
      break;
    case 2:
      places[count++] = {kLicenceEditId, "EDIT", "", 0, kLicenceStyle, 16, 16, w - scrollWidth - 8, h - 32};
      break;
    case 3:
      // A row for each folder, 72 apart: its Browse button and its edit.
      places[count++] = {kDictionaryBrowseId, "BUTTON", "B&rowse", 0, kDefPushButton, w - browse - 16, 40, browse,
                         kRowHeight};
      places[count++] = {kInstallBrowseId, "BUTTON", "B&rowse", 0, kDefPushButton, w - browse - 16, 112, browse,
                         kRowHeight};
      places[count++] = {kDictionaryEditId, "EDIT", "", 0, kEditStyle, 16, 40, w - browse - 48, kRowHeight};
      places[count++] = {kInstallEditId, "EDIT", "", 0, kEditStyle, 16, 112, w - browse - 48, kRowHeight};
      break;
    case 4:
      places[count++] = {kReadmeButtonId, "BUTTON", "&View Readme", WS_EX_TRANSPARENT, kDefPushButton, (w - 120) / 2,
                         279, 120, kButtonHeight};
      break;
    default:
      break;
  }
  return count;
}

ControlPlace PlaceOf(int page, int id, int width, int height, int scrollWidth) {
  ControlPlace places[kMostPageControls];
  int count = LayOutPage(page, width, height, scrollWidth, places);
  for (int i = 0; i < count; ++i)
    if (places[i].id == id) return places[i];
  return places[0];
}
