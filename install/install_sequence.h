// The forward command of the wizard and the install it runs on the folder page.
#pragma once
#include "platform/win32_types.h"

extern char g_templatesFolder[260];
extern char g_startupFolder[260];

void GoNext(HWND window);
void RunInstall(HWND window);
