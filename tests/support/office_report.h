// What Office discovery and the custom-dictionary list find through g_platform,
// printed the same way whichever registry and file system serve it, so that the
// Win32 services under Wine and the portable ones can be compared line by line.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/registry.h"

// One value of Word's custom dictionary list: its name, its type and its whole data.
struct ListValue {
  std::string name;
  DWORD type;
  std::string data;
};
// The list under root through g_platform, value by value in index order; false when there is no list.
bool ReadDictionaryList(HKEY root, std::vector<ListValue>* values);

// Makes each Windows folder listed in a text file (one a line, every missing level).
// A file that cannot be read gives false; an empty name gives true.
bool MakeScenarioFolders(const std::string& listFile);

// Runs the discovery, then registers C:\New\a.dic, and prints every answer and both lists.
void PrintOfficeReport(FILE* out);
