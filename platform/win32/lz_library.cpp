#include "platform/win32/lz_library.h"

INT Win32LzLibrary::LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) {
  return ::LZOpenFileA(fileName, reOpenBuf, style);
}
INT Win32LzLibrary::LZRead(INT file, char* buffer, INT count) { return ::LZRead(file, buffer, count); }
LONG Win32LzLibrary::LZCopy(INT source, INT destination) { return ::LZCopy(source, destination); }
void Win32LzLibrary::LZClose(INT file) { ::LZClose(file); }
