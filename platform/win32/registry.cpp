#include "platform/win32/registry.h"

LONG Win32Registry::RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) {
  return ::RegOpenKeyExA(root, subKey, options, access, result);
}

LONG Win32Registry::RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                     DWORD* dataSize) {
  return ::RegQueryValueExA(key, valueName, reserved, type, data, dataSize);
}

LONG Win32Registry::RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                                  DWORD* type, BYTE* data, DWORD* dataSize) {
  return ::RegEnumValueA(key, index, valueName, valueNameSize, reserved, type, data, dataSize);
}

LONG Win32Registry::RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                   DWORD dataSize) {
  return ::RegSetValueExA(key, valueName, reserved, type, data, dataSize);
}

LONG Win32Registry::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }
