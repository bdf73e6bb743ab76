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
  // The page area's width W and height H, from which every page lays itself out.
  static int PageWidth();
  static int PageHeight();

 protected:
  // Creates one child control of the main window, not yet shown; null when it cannot be made.
  static HWND CreateControl(HWND parent, DWORD exStyle, const char* className, const char* text, DWORD style,
                            int left, int top, int width, int height, int id);
  // Destroys a control the page holds, if any, and forgets its handle.
  static void DestroyControl(HWND& control);

 private:
  static RECT pageArea;
};
