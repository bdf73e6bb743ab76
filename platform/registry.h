// The registry, as the advapi32 calls the program makes.
#pragma once
#include "platform/win32_types.h"

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens root\subKey with the given access; ERROR_SUCCESS and *result set, or an error code.
  virtual LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) = 0;
  // Reads a value (null or "" name = default value); *dataSize in: capacity, out: size. ERROR_MORE_DATA when it does not fit.
  virtual LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                DWORD* dataSize) = 0;
  // The value at index (0-based) with its name, type and data; ERROR_NO_MORE_ITEMS past the last.
  virtual LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                             DWORD* type, BYTE* data, DWORD* dataSize) = 0;
  // Creates or replaces a value; needs KEY_SET_VALUE access.
  virtual LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                              DWORD dataSize) = 0;
  // Closes a key opened or created above.
  virtual LONG RegCloseKey(HKEY key) = 0;
};
