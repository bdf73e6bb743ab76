// libFuzzer target for SZDD expansion: any bytes, with or without a header, must expand
// without leaving a buffer, within the format's bound, the same in chunks as in one go,
// and what comes out (when small) must survive compression and expansion unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "resources/szdd_decoder.h"
#include "resources/szdd_encoder.h"
#include "resources/szdd_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Half of the inputs get a valid header so that the fuzzer spends its time in the stream.
  std::vector<uint8_t> input;
  if (data[0] & 1) {
    input.resize(kSzddHeaderSize);
    SzddHeader header;
    header.expandedLength = data[0];
    WriteSzddHeader(header, input.data());
    input.insert(input.end(), data + 1, data + size);
  } else {
    input.assign(data, data + size);
  }
  std::vector<uint8_t> whole;
  if (!ExpandSzdd(input.data(), input.size(), &whole)) return 0;
  if (!HasSzddSignature(input.data(), input.size())) {
    if (whole != input) abort();
    return 0;
  }
  size_t body = input.size() - kSzddHeaderSize;
  if (whole.size() > body * 9 + kSzddMaxMatch) abort();

  SzddDecoder decoder;
  std::vector<uint8_t> pieces;
  size_t at = kSzddHeaderSize;
  size_t step = 1 + data[size - 1] % 5;
  for (;;) {
    uint8_t out[7];
    size_t used = 0;
    size_t give = std::min(step, input.size() - at);
    size_t produced = decoder.Decode(input.data() + at, give, &used, out, 1 + at % 7);
    if (used > give || produced > 7) abort();
    at += used;
    pieces.insert(pieces.end(), out, out + produced);
    if (at == input.size() && produced == 0) break;
  }
  if (pieces != whole) abort();

  // Compression is the slow half; small outputs keep the fuzzer's pace up.
  if (whole.size() > 1024) return 0;
  std::vector<uint8_t> packed, again;
  if (!CompressSzdd(whole.data(), whole.size(), 'x', &packed)) abort();
  if (!ExpandSzdd(packed.data(), packed.size(), &again) || again != whole) abort();
  return 0;
}
