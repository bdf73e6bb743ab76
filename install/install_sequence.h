// The install: the folders it writes into, its one entry point and what it achieved.
#pragma once
#include "install/edition.h"
#include "platform/path_helpers.h"
#include "platform/win32_types.h"

// The folder texts as the folder page hands them over; once the product folder is made,
// g_installFolder names it (View Readme and the shortcuts rely on that).
extern char g_dictionaryFolder[kPathCapacity];
extern char g_installFolder[kPathCapacity];
// Word's folders, read from the registry as the install starts.
extern char g_templatesFolder[kPathCapacity];
extern char g_startupFolder[kPathCapacity];

// What the last install achieved, for the finish page.
struct InstallOutcome {
  bool ran;      // an install has run in this process
  int failures;  // rows and shortcuts not written completely (the log is not one of them)
};
extern InstallOutcome g_installOutcome;

// True when an install ran and everything in it was written.
bool InstallSucceeded();

enum class InstallResult {
  Ready,                 // the folders are checked and the Vessora folder is made: the rest can follow
  Installed,             // every row and shortcut was written
  InstalledWithErrors,   // it ran to its end; the log, when it could be written, names what was not
  FoldersUnusable,       // a folder text is empty, or a path built from it would not fit: nothing was done
  ProductFolderNotMade,  // the Vessora folder could not be made in the install folder: nothing else was done
};

// The first step of an install, the only one that can refuse it: takes the two folder texts into
// g_dictionaryFolder and g_installFolder (texts longer than a path count as unusable), checks that every path
// built from them fits, and makes the Vessora folder, which g_installFolder then names. Ready, or a refusal
// with nothing written.
InstallResult PrepareInstall(Edition edition, const char* dictionaryFolder, const char* installFolder);
// The rest of the install that PrepareInstall last made ready, of the edition given there: reads Word's folders,
// writes the log, the table's rows and the shortcuts. FoldersUnusable, with nothing done, when none is ready.
InstallResult CompleteInstall();
// Both steps in one call.
InstallResult InstallEdition(Edition edition, const char* dictionaryFolder, const char* installFolder);

// What the user is told of a refused install (the message box's caption and text); null for one that is ready
// or ran.
struct Refusal {
  const char* caption;
  const char* text;
};
const Refusal* RefusalOf(InstallResult result);

// The folder page's defaults, each into kPathCapacity bytes: the registered custom.dic's folder, else the
// newest Office's program folder, one trailing backslash removed (empty when neither is known); and
// C:\Program Files.
void GetDefaultFolders(char* dictionaryFolder, char* installFolder);

// Puts the install's globals back as they are at start-up, the two folder texts emptied.
void ResetInstallState();
