// The LZ expansion library on Windows: each member is the kernel32 call of the same name
// (lz32.dll's entries only forward to them).
#pragma once
#include "platform/lz_library.h"

class Win32LzLibrary : public LzLibrary {
 public:
  INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) override;
  INT LZRead(INT file, char* buffer, INT count) override;
  LONG LZCopy(INT source, INT destination) override;
  void LZClose(INT file) override;
};
