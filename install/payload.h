// Turning a carried item into an installed file.
#pragma once
#include "install/install_log.h"
#include "platform/win32_types.h"

// What became of one item.
enum class ExpandStatus {
  Installed,    // written whole (or every piece written) and logged as installed
  ItemMissing,  // not carried by this build: nothing written, nothing logged
  Failed,       // not installed, or not completely: an error line is in the log
};

// Expands an item into folder\fileName, or (split) into numbered pieces named from the prefix in
// fileName. Logs " - installed." only for a destination written in full.
ExpandStatus ExpandPayloadItem(const char* itemName, const char* folder, const char* fileName, InstallLog* log,
                               bool split);

// As ExpandPayloadItem; false when the item was carried but not installed completely.
bool ExpandItem(const char* itemName, const char* folder, const char* fileName, InstallLog* log, bool split);
// One dictionary into g_dictionaryFolder: whole and registered for Word 2000 and later everywhere,
// else split into pieces. Registers only what was written. False when it was not installed completely.
bool InstallDictionary(const char* itemName, const char* fileName, const char* piecePrefix, InstallLog* log);

// The size of an item once expanded: the length in its SZDD header, else its stored size; 0 when not carried.
DWORD ItemExpandedSize(const char* itemName);

// Piece size and line unit every dictionary split uses.
constexpr DWORD kDictionaryPieceSize = 64000;
constexpr DWORD kDictionaryLineUnit = 1;
