// The welcome and finish pages: pictures from the resources and one small button each.
#pragma once
#include "pages/wizard_page.h"

void DrawHeaderPictures(HWND window, HDC dc);

class WelcomePage : public WizardPage {
 public:
  void Paint(HWND window, HDC dc) override;
  void Create(HWND parent) override;
  void Destroy() override;
  ~WelcomePage() override;

  HWND linkButton = nullptr;
};

class FinishPage : public WizardPage {
 public:
  void Paint(HWND window, HDC dc) override;
  void Create(HWND parent) override;
  void Destroy() override;
  ~FinishPage() override;

  HWND viewReadmeButton = nullptr;
};
