// The SZDD file format of the LZ expansion library: a 14-byte header, then
// LZSS data over a 4,096-byte window of blanks whose first write lands at 4,080.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kSzddHeaderSize = 14;
constexpr uint8_t kSzddMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr uint8_t kSzddMethodA = 'A';
constexpr unsigned kSzddWindowSize = 4096;
constexpr unsigned kSzddWindowMask = kSzddWindowSize - 1;
constexpr unsigned kSzddFirstPosition = kSzddWindowSize - 16;
constexpr uint8_t kSzddWindowFill = ' ';
constexpr unsigned kSzddMinMatch = 3;
constexpr unsigned kSzddMaxMatch = 18;

struct SzddHeader {
  uint8_t method = kSzddMethodA;
  char replacedChar = 0;
  uint32_t expandedLength = 0;
};

// True when data starts with the 8-byte signature (the header may still be short).
bool HasSzddSignature(const uint8_t* data, size_t size);
// Reads a complete header; false when the signature or any of its 14 bytes is missing.
bool ReadSzddHeader(const uint8_t* data, size_t size, SzddHeader* header);
// Writes the 14 header bytes into out (capacity at least kSzddHeaderSize).
void WriteSzddHeader(const SzddHeader& header, uint8_t* out);
