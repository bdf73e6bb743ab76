// The LZ expansion library (lz32): reads SZDD files expanded, other files as they are.
#pragma once
#include "platform/win32_types.h"

class LzLibrary {
 public:
  virtual ~LzLibrary() = default;
  // Opens a file: OF_READ to read (expanding SZDD), OF_CREATE|OF_WRITE to create or truncate. Handle >= 0, or LZERROR_*.
  virtual INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) = 0;
  // Reads up to count expanded bytes: the number read, 0 at the end, negative on error.
  virtual INT LZRead(INT file, char* buffer, INT count) = 0;
  // Expands the whole source into the destination: bytes written, or negative on error.
  virtual LONG LZCopy(INT source, INT destination) = 0;
  // Closes a handle from LZOpenFileA.
  virtual void LZClose(INT file) = 0;
};
