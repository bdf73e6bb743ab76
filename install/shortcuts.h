// The product's folder and shortcuts in the Start menu's Programs folder.
#pragma once
#include "platform/win32_types.h"

// outFolder (kPathCapacity bytes) := the Programs folder followed by name (which starts with a backslash),
// made if missing and announced to the shell. False, with outFolder untouched, when the Programs folder is
// not found or the joined path would not fit.
bool CreateProgramsSubfolder(const char* name, char* outFolder);
// Saves a shell link at linkPath to target with description; the COM result of the last step attempted.
HRESULT CreateShortcut(const char* target, const char* linkPath, const char* description);
