// Word's list of custom dictionaries under both registry roots.
#pragma once
#include "platform/win32_types.h"

// The list key, the same under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
extern const char kCustomDictionariesKey[];

bool ContainsNoCase(const char* text, const char* part);
DWORD FindDictionaryEntry(HKEY root, char* out, DWORD capacity, const char* fileName);
DWORD LookupDictionaryPath(char* out, DWORD capacity, const char* fileName, bool preferMachine);
bool SetDictionaryEntry(HKEY root, const char* path, DWORD number);
bool RegisterDictionary(const char* path, const char* fileName);
bool GetDefaultDictionaryFolder(char* out, DWORD capacity);
