// The LZ expansion library on Windows: each member is the lz32 call of the same name.
#pragma once
#include "platform/lz_library.h"

class Win32LzLibrary : public LzLibrary {
 public:
  INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) override;
  INT LZRead(INT file, char* buffer, INT count) override;
  LONG LZCopy(INT source, INT destination) override;
  void LZClose(INT file) override;
};
