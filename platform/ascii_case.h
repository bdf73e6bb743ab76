// ASCII letters without regard to case: A-Z and a-z fold together, every other byte stays
// as it is. (Names compared as Windows compares them, in the code page, are another
// thing: platform/portable/ansi_case.h.)
#pragma once

// The lower-case form of an ASCII letter; any other byte as it is.
inline char FoldAsciiCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether two texts are equal without regard to ASCII case.
inline bool EqualAsciiNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (FoldAsciiCase(*a) != FoldAsciiCase(*b)) return false;
    if (*a == '\0') return true;
  }
}
