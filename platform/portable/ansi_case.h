// Comparing names without regard to case, as Windows does for file and registry names
// held in the ANSI code page 1252.
#pragma once
#include <string>

// The upper-case form of one code page 1252 byte.
unsigned char FoldAnsiCase(unsigned char c);
// Whether two names are equal without regard to case.
bool EqualAnsiNoCase(const std::string& a, const std::string& b);
