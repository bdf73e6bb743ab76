#include "resources/szdd_format.h"

#include <cstring>

bool HasSzddSignature(const uint8_t* data, size_t size) {
  return data != nullptr && size >= sizeof kSzddMagic && std::memcmp(data, kSzddMagic, sizeof kSzddMagic) == 0;
}

bool ReadSzddHeader(const uint8_t* data, size_t size, SzddHeader* header) {
  if (!HasSzddSignature(data, size) || size < kSzddHeaderSize) return false;
  header->method = data[8];
  header->replacedChar = static_cast<char>(data[9]);
  header->expandedLength = uint32_t(data[10]) | uint32_t(data[11]) << 8 | uint32_t(data[12]) << 16 |
                           uint32_t(data[13]) << 24;
  return true;
}

void WriteSzddHeader(const SzddHeader& header, uint8_t* out) {
  std::memcpy(out, kSzddMagic, sizeof kSzddMagic);
  out[8] = header.method;
  out[9] = static_cast<uint8_t>(header.replacedChar);
  for (int i = 0; i < 4; ++i) out[10 + i] = static_cast<uint8_t>(header.expandedLength >> (8 * i));
}
