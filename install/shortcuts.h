// The product's folder and shortcuts in the Start menu's Programs folder.
#pragma once
#include "platform/win32_types.h"

bool CreateProgramsSubfolder(const char* name, char* outFolder);
HRESULT CreateShortcut(const char* target, const char* linkPath, const char* description);
