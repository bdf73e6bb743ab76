// Compression into SZDD: an optimal parse, so the output is the smallest the format allows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Compresses size bytes into a complete SZDD file (14-byte header and stream) with
// replacedChar in byte 9. False, with out cleared, when the data do not fit the header's
// 32-bit length.
bool CompressSzdd(const uint8_t* data, size_t size, char replacedChar, std::vector<uint8_t>* out);
