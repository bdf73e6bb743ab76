// Writing an expanded dictionary as numbered pieces for Word 95 and 97.
#pragma once
#include "install/install_log.h"
#include "platform/win32_types.h"

bool SplitDictionary(INT source, const char* folder, const char* prefix, DWORD pieceSize, DWORD lineUnit,
                     InstallLog* log);
