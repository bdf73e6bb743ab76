// The forward command of the wizard and the install it runs on the folder page.
#pragma once
#include "install/edition.h"
#include "platform/win32_types.h"

extern char g_templatesFolder[260];
extern char g_startupFolder[260];

// What the last install achieved, for the finish page.
struct InstallOutcome {
  bool ran;      // an install has run in this process
  int failures;  // rows, shortcuts and the log itself not written completely
};
extern InstallOutcome g_installOutcome;

// True when an install ran and everything in it was written.
bool InstallSucceeded();

void GoNext(HWND window);
void RunInstall(HWND window);

// The steps RunInstall is made of, for callers that run an install without the wizard.
// Both folder texts are given, and every path the install builds from them fits its buffer.
bool InstallFoldersUsable(Edition edition);
// productFolder (260 bytes) := chosenFolder, a backslash unless it ends in one, and "Vessora"; the folder is
// made (its last level only). True when it exists afterwards.
bool MakeProductFolder(const char* chosenFolder, char* productFolder);
// Everything after the folder checks: Word's folders, the log, the table's rows and the shortcuts.
// g_installFolder must already name the product folder. Sets and returns g_installOutcome.
InstallOutcome InstallProduct(Edition edition);
// Puts the install's globals back as they are at start-up (the folder buffers of the pages excepted).
void ResetInstallState();
