// Writing an expanded dictionary as numbered pieces for Word 95 and 97.
#pragma once
#include "install/install_log.h"
#include "platform/win32_types.h"

// Bytes the source is read in while a piece is below its size.
constexpr DWORD kSplitBlockSize = 8096;
// Passed as expectedLength when the size of the expanded data is not known.
constexpr DWORD kUnknownLength = 0xFFFFFFFF;
// What the install log says before the pieces of each split dictionary, one write a line.
constexpr const char* kSplitHeaderLines[] = {
    "\r\nAn older Word version was detected. The dictionary was split:\r\n",
    "(you can reassemble the dictionary by typing: \r\n",
    "    COPY LUNVE*.DIC Vessora.dic\r\n",
    ")\r\n",
};

// Writes the data of source as pieces prefix1.dic, prefix2.dic, ... in folder, each ending at the first
// line feed after its whole blocks; registers and logs each piece written in full. A piece that cannot be
// created or written, a read error, or data shorter than expectedLength ends the series with an error line.
// True when every piece was written in full.
bool SplitDictionary(INT source, const char* folder, const char* prefix, DWORD pieceSize, DWORD lineUnit,
                     InstallLog* log, DWORD expectedLength = kUnknownLength);

// The most pieces a split of expandedLength bytes can give (a final empty piece included).
DWORD MaxPieceCount(DWORD expandedLength, DWORD pieceSize);
