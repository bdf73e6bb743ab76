#include "pages/wizard_page.h"

#include <cstdint>

#include "platform/platform.h"

RECT WizardPage::pageArea = {0, 0, 0, 0};

void WizardPage::Paint(HWND, HDC) {}
void WizardPage::Create(HWND) {}
void WizardPage::Destroy() {}
WizardPage::~WizardPage() = default;

void WizardPage::SetPageArea(RECT area) { pageArea = area; }
const RECT& WizardPage::PageArea() { return pageArea; }
int WizardPage::PageWidth() { return pageArea.right - pageArea.left; }
int WizardPage::PageHeight() { return pageArea.bottom - pageArea.top; }

HWND WizardPage::CreateControl(HWND parent, DWORD exStyle, const char* className, const char* text, DWORD style,
                               int left, int top, int width, int height, int id) {
  return g_platform.windows->CreateWindowExA(exStyle, className, text, style, left, top, width, height, parent,
                                             reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), g_instance,
                                             nullptr);
}

void WizardPage::DestroyControl(HWND& control) {
  if (control != nullptr) g_platform.windows->DestroyWindow(control);
  control = nullptr;
}
