#include "pages/picture_pages.h"

#include <cstring>

#include "install/install_sequence.h"
#include "pages/control_ids.h"
#include "platform/platform.h"

namespace {

constexpr int kEmblem = 110;
constexpr int kLogo = 102;
constexpr int kAcknowledgement = 111;
constexpr int kCredit = 112;

const char* const kFinishText = "Installation complete.\n\nThank you for installing Vessora.";
const char* const kFinishWithErrorsText = "Installation finished with errors.\n\nSee InstallLog.txt in the Vessora folder.";

// Copies one bitmap of the program at its own size; each paint loads it afresh and lets it go again.
void DrawBitmap(HDC dc, int id, int left, int top, int width, int height) {
  WindowSystem* windows = g_platform.windows;
  HBITMAP bitmap = g_platform.resources->LoadBitmapA(g_instance, MAKEINTRESOURCEA(id));
  if (bitmap == nullptr) return;
  HDC memory = windows->CreateCompatibleDC(dc);
  if (memory != nullptr) {
    windows->SelectObject(memory, bitmap);
    windows->BitBlt(dc, left, top, width, height, memory, 0, 0, SRCCOPY);
    windows->DeleteDC(memory);
  }
  windows->DeleteObject(bitmap);
}

}  // namespace

void DrawHeaderPictures(HWND, HDC dc) {
  DrawBitmap(dc, kEmblem, WizardPage::PageWidth() - 180, 16, 164, 110);
  DrawBitmap(dc, kLogo, 16, 16, 328, 127);
}

void WelcomePage::Paint(HWND window, HDC dc) {
  DrawHeaderPictures(window, dc);
  DrawBitmap(dc, kAcknowledgement, (PageWidth() - 372) / 2, 158, 372, 125);
  DrawBitmap(dc, kCredit, (PageWidth() - 152) / 2, 292, 152, 39);
}

void WelcomePage::Create(HWND parent) {
  if (linkButton != nullptr) return;
  linkButton = CreateControl(parent, Place(1, kLinkButtonId));
  g_platform.windows->ShowWindow(linkButton, SW_SHOW);
}

void WelcomePage::Destroy() { DestroyControl(linkButton); }

WelcomePage::~WelcomePage() { Destroy(); }

void FinishPage::Paint(HWND window, HDC dc) {
  DrawHeaderPictures(window, dc);
  // Only an install that wrote everything may say it is complete.
  const char* text = InstallSucceeded() ? kFinishText : kFinishWithErrorsText;
  RECT area = {16, 183, PageWidth() - 16, 255};
  g_platform.windows->DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, DT_CENTER);
}

void FinishPage::Create(HWND parent) {
  if (viewReadmeButton != nullptr) return;
  viewReadmeButton = CreateControl(parent, Place(4, kReadmeButtonId));
  g_platform.windows->ShowWindow(viewReadmeButton, SW_SHOW);
}

void FinishPage::Destroy() { DestroyControl(viewReadmeButton); }

FinishPage::~FinishPage() { Destroy(); }
