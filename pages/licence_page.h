// The licence page: the carried LICENSE.TXT in a read-only text control.
#pragma once
#include "pages/wizard_page.h"

class LicencePage : public WizardPage {
 public:
  void Create(HWND parent) override;
  void Destroy() override;

  HWND licenceEdit = nullptr;
};
