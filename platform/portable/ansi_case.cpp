#include "platform/portable/ansi_case.h"

unsigned char FoldAnsiCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  // Accented small letters 0xE0..0xFE fold to 0xC0..0xDE, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {  // s, oe, z with caron and y with diaeresis
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

bool EqualAnsiNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAnsiCase(static_cast<unsigned char>(a[i])) != FoldAnsiCase(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}
