// Names with a number in them ("custom3.dic", "12"), written without the C
// library's formatted printing, which would bring its floating-point
// conversions into setup.exe.
#pragma once
#include <cstddef>

// Writes before, the decimal digits of number and after into out, terminated.
// Returns the length written, or -1 (out then empty, when capacity > 0) when it
// does not fit in capacity bytes with the terminator.
int FormatNumberedName(char* out, std::size_t capacity, const char* before, unsigned long number, const char* after);
