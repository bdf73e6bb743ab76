// The wizard's page objects: each draws its page and owns its child controls while current.
#pragma once
#include "platform/win32_types.h"

class WizardPage {
 public:
  virtual void Paint(HWND window, HDC dc);
  virtual void Create(HWND parent);
  virtual void Destroy();
  virtual ~WizardPage();

  static void SetPageArea(RECT area);
  static const RECT& PageArea();

 private:
  static RECT pageArea;
};
