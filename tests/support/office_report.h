// What Office discovery and the custom-dictionary list find through g_platform,
// printed the same way whichever registry and file system serve it, so that the
// Win32 services under Wine and the portable ones can be compared line by line.
#pragma once
#include <cstdio>
#include <string>

// Makes each Windows folder listed in a text file (one a line, every missing level).
// A file that cannot be read gives false; an empty name gives true.
bool MakeScenarioFolders(const std::string& listFile);

// Runs the discovery, then registers C:\New\a.dic, and prints every answer and both lists.
void PrintOfficeReport(FILE* out);
