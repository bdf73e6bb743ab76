#include "pages/wizard_page.h"

RECT WizardPage::pageArea = {0, 0, 0, 0};

void WizardPage::Paint(HWND, HDC) {}
void WizardPage::Create(HWND) {}
void WizardPage::Destroy() {}
WizardPage::~WizardPage() = default;

void WizardPage::SetPageArea(RECT area) { pageArea = area; }
const RECT& WizardPage::PageArea() { return pageArea; }
