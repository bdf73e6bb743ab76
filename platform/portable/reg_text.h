// The .reg text a Windows user knows, read and written without a registry behind it:
// "REGEDIT4" and "Windows Registry Editor Version 5.00" (ANSI, UTF-8, or UTF-16 with its
// byte order mark, as regedit exports it). Strings are held as code page 1252 bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_types.h"

// A predefined root, by its long and short names; value is the system's own HKEY constant.
struct RegRoot {
  const char* longName;
  const char* shortName;
  uintptr_t value;
};
// The roots, in the order regedit writes them.
const std::vector<RegRoot>& RegRoots();

struct RegValue {
  std::string name;  // empty: the default value
  DWORD type;
  std::vector<BYTE> data;  // exactly as stored, terminator or not
};

// One change a .reg text makes, in the order of the text.
struct RegChange {
  enum Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue } kind;
  uintptr_t root;
  std::string path;  // below the root, without leading or trailing backslashes
  RegValue value;    // the value set or removed (name only for a removal)
};

// The changes a .reg text makes. False when it is not well formed: *error then says where
// and what ("line 4: a value before any [key]") and *changes is left as it was.
bool ParseRegText(const std::string& text, std::vector<RegChange>* changes, std::string* error);

// One key's section of a .reg text.
struct RegKeyText {
  uintptr_t root;
  std::string path;  // empty: the root itself
  std::vector<RegValue> values;
};

// REGEDIT4 text (CR LF lines) with a section for each key, in the order given.
std::string FormatRegText(const std::vector<RegKeyText>& keys);
