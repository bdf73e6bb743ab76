// The wizard's two navigation buttons, the main window's painting and the Back and Next commands.
#pragma once
#include "platform/win32_types.h"

extern HWND g_backButton;
extern HWND g_nextButton;

// Makes the Back and Next buttons along the bottom of the main window's client area, shown, and sets the
// page area to the client above them.
void CreateNavigationButtons(HWND window);
// Sets the two buttons' captions (and greys Back on the finish page) for the current page.
void UpdateNavigationButtons();
// Paints the client white, the current page over it, and updates the buttons.
void PaintMainWindow(HWND window);
// The left-hand button: the previous page; on the welcome page the wizard closes; on the finish page a beep.
void GoBack(HWND window);
// The right-hand button: the next page; on the folder page the install (RunInstall); on the finish page the
// wizard closes.
void GoNext(HWND window);
// Installs into the folder page's two texts: a refused install shows its message box and stays on the folder
// page so the user can correct the texts; otherwise the finish page replaces the folder page, the install
// runs (only the Vessora folder is made before), and the window is repainted.
void RunInstall(HWND window);
