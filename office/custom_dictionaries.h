// Word's list of custom dictionaries under both registry roots.
#pragma once
#include "platform/win32_types.h"

// The list key, the same under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
extern const char kCustomDictionariesKey[];

// Whether part occurs in text, ASCII letters compared without regard to case; false for a null argument.
bool ContainsNoCase(const char* text, const char* part);
// Looks through root's list for an entry whose path contains fileName: its number, with the path copied into
// out when it fits capacity; else the number after the highest in use (1 for an empty list); 0 when the list
// is missing.
DWORD FindDictionaryEntry(HKEY root, char* out, DWORD capacity, const char* fileName);
// The registered path of fileName with a folder in front of it, from HKCU then HKLM (HKLM first when
// preferMachine), into out; its entry number, or 0 when neither root has one.
DWORD LookupDictionaryPath(char* out, DWORD capacity, const char* fileName, bool preferMachine);
// Writes entry number (its decimal name) = path under root's existing list; false when the list is missing,
// the number is 0 or too long for a name, or the path too long to read back.
bool SetDictionaryEntry(HKEY root, const char* path, DWORD number);
// Registers path under HKLM, then HKCU, each under fileName's own entry or the next free number; true
// when either root took it.
bool RegisterDictionary(const char* path, const char* fileName);
// The folder (with its trailing backslash) of the registered custom.dic, HKLM first; false when none is
// registered with a folder, or the folder does not fit capacity.
bool GetDefaultDictionaryFolder(char* out, DWORD capacity);
