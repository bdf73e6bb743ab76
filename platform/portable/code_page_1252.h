// The ANSI code page 1252 the program's texts are held in, against UTF-16.
#pragma once
#include <cstdint>

// The UTF-16 unit for one byte of the code page.
char16_t WideFromAnsi(unsigned char byte);
// The byte of the code page for a code point; '?' where the code page has none.
char AnsiFromWide(uint32_t codePoint);
