// Turning a carried item into an installed file.
#pragma once
#include "install/install_log.h"

bool ExpandItem(const char* itemName, const char* folder, const char* fileName, InstallLog* log, bool split);
bool InstallDictionary(const char* itemName, const char* fileName, const char* piecePrefix, InstallLog* log);
