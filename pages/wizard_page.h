// The wizard's page objects: each draws its page and owns its child controls while current.
#pragma once
#include "pages/page_layout.h"
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
  // Where the layout puts a control of the page, in the current page area.
  static ControlPlace Place(int page, int id, int scrollWidth = 0);
  // Creates one child control of the main window where its place says, not yet shown; null when it cannot be made.
  static HWND CreateControl(HWND parent, const ControlPlace& place);

 protected:
  // Destroys a control the page holds, if any, and forgets its handle.
  static void DestroyControl(HWND& control);

 private:
  static RECT pageArea;
};
