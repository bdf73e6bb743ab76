// The wizard's two navigation buttons, the main window's painting and the Back command.
#pragma once
#include "platform/win32_types.h"

extern HWND g_backButton;
extern HWND g_nextButton;

void CreateNavigationButtons(HWND window);
void UpdateNavigationButtons();
void PaintMainWindow(HWND window);
void GoBack(HWND window);
