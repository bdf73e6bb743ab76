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

ControlPlace WizardPage::Place(int page, int id, int scrollWidth) {
  return PlaceOf(page, id, PageWidth(), PageHeight(), scrollWidth);
}

HWND WizardPage::CreateControl(HWND parent, const ControlPlace& place) {
  return g_platform.windows->CreateWindowExA(place.exStyle, place.className, place.text, place.style, place.left,
                                             place.top, place.width, place.height, parent,
                                             reinterpret_cast<HMENU>(static_cast<intptr_t>(place.id)), g_instance,
                                             nullptr);
}

void WizardPage::DestroyControl(HWND& control) {
  if (control != nullptr) g_platform.windows->DestroyWindow(control);
  control = nullptr;
}
