// The program's entry, its globals and the main window's procedure.
#pragma once
#include "pages/wizard_page.h"
#include "platform/win32_types.h"

extern int g_screenWidth;
extern int g_screenHeight;
extern WizardPage* g_pages[5];
extern int g_currentPage;
extern RECT g_windowRect;
extern UINT_PTR g_timerId;

// The shared start-up, message loop and teardown; the Win32 WinMain and the native entry call it.
int SetupMain(HINSTANCE instance);
// The end of the run, once the message loop is over: deletes the page objects in page order, then
// uninitialises COM.
void Teardown();
void ReadScreenMetrics();
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HINSTANCE OpenDocument(HWND owner, const char* target);
