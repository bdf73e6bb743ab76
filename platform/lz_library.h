// The LZ expansion library (lz32): reads SZDD files expanded, other files as they are.
#pragma once
#include <cstddef>

#include "platform/win32_types.h"

class LzLibrary {
 public:
  virtual ~LzLibrary() = default;
  // Opens a file: OF_READ to read (expanding SZDD), OF_CREATE|OF_WRITE to create or truncate. Handle >= 0, or LZERROR_*.
  // A name it cannot open is tried as LzFallbackName; reOpenBuf->szPathName tells the full path opened. Paths of
  // OFS_MAXPATHNAME (128) characters or more are refused.
  virtual INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) = 0;
  // Reads up to count expanded bytes: the number read, 0 at the end, negative on error.
  virtual INT LZRead(INT file, char* buffer, INT count) = 0;
  // Expands the whole source into the destination: bytes written, or negative on error.
  virtual LONG LZCopy(INT source, INT destination) = 0;
  // Closes a handle from LZOpenFileA.
  virtual void LZClose(INT file) = 0;
};

// The name lz32 opens instead of one it cannot open, for a create as for a read: the file's compressed
// name, whose extension (what follows the first dot behind the last backslash) has its last character
// replaced by '_' ("Readme.htm" gives "Readme.ht_"), or a '_' added when it is shorter than three
// characters; a name without an extension gets "._". False when out (capacity bytes) cannot hold it.
bool LzFallbackName(const char* name, char* out, size_t capacity);
