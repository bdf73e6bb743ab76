#include "resources/szdd_decoder.h"

#include <algorithm>
#include <cstring>

SzddDecoder::SzddDecoder() { Reset(); }

void SzddDecoder::Reset() {
  std::memset(window, kSzddWindowFill, sizeof window);
  position = kSzddFirstPosition;
  control = 0;
  bitsLeft = 0;
  haveFirst = false;
  first = 0;
  copyFrom = 0;
  copyLeft = 0;
}

size_t SzddDecoder::Decode(const uint8_t* input, size_t inputSize, size_t* consumed, uint8_t* output,
                           size_t capacity) {
  size_t in = 0;
  size_t out = 0;
  if (input == nullptr) inputSize = 0;
  if (output == nullptr) capacity = 0;
  // Locals keep the hot loop out of memory; they are stored back on every exit.
  unsigned pos = position;
  unsigned bits = control;
  unsigned left = bitsLeft;
  while (out < capacity) {
    if (copyLeft != 0) {
      size_t n = std::min<size_t>(copyLeft, capacity - out);
      for (size_t i = 0; i < n; ++i) {
        // One byte at a time: a reference may overlap the bytes it is writing.
        uint8_t b = window[copyFrom];
        copyFrom = (copyFrom + 1) & kSzddWindowMask;
        window[pos] = b;
        pos = (pos + 1) & kSzddWindowMask;
        output[out++] = b;
      }
      copyLeft -= static_cast<unsigned>(n);
      continue;
    }
    if (left == 0) {
      if (in >= inputSize) break;
      bits = input[in++];
      left = 8;
    }
    if (bits & 1) {
      if (in >= inputSize) break;
      uint8_t b = input[in++];
      window[pos] = b;
      pos = (pos + 1) & kSzddWindowMask;
      output[out++] = b;
    } else {
      if (!haveFirst) {
        if (in >= inputSize) break;
        first = input[in++];
        haveFirst = true;
      }
      if (in >= inputSize) break;
      uint8_t second = input[in++];
      haveFirst = false;
      copyFrom = first | (unsigned(second & 0xF0) << 4);
      copyLeft = (second & 0x0F) + kSzddMinMatch;
    }
    bits >>= 1;
    --left;
  }
  position = pos;
  control = bits;
  bitsLeft = left;
  if (consumed != nullptr) *consumed = in;
  return out;
}

bool ExpandSzdd(const uint8_t* data, size_t size, std::vector<uint8_t>* out, SzddHeader* header) {
  out->clear();
  if (data == nullptr) size = 0;
  SzddHeader found;
  if (!HasSzddSignature(data, size)) {
    found.method = 0;
    found.expandedLength = static_cast<uint32_t>(size);
    if (header != nullptr) *header = found;
    out->assign(data, data + size);
    return true;
  }
  if (!ReadSzddHeader(data, size, &found)) return false;
  if (header != nullptr) *header = found;
  const uint8_t* input = data + kSzddHeaderSize;
  size_t inputSize = size - kSzddHeaderSize;
  // Each input byte yields at most 9 output bytes (a reference of 18 from 2 bytes), so the
  // header's length is trusted for the first allocation only as far as the input allows.
  size_t bound = inputSize * 9 + kSzddMaxMatch;
  out->resize(std::min<size_t>(found.expandedLength, bound));
  if (out->empty()) out->resize(std::min<size_t>(bound, 4096));
  SzddDecoder decoder;
  size_t produced = 0;
  for (;;) {
    size_t used = 0;
    produced += decoder.Decode(input, inputSize, &used, out->data() + produced, out->size() - produced);
    input += used;
    inputSize -= used;
    if (produced < out->size() || (inputSize == 0 && !decoder.Pending())) break;
    out->resize(std::min(out->size() * 2, produced + bound));
  }
  out->resize(produced);
  return true;
}
