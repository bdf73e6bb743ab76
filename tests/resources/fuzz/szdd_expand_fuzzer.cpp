// libFuzzer target for SZDD expansion: any bytes, with or without a header, must expand
// without leaving a buffer, within the format's bound, the same in chunks as in one go,
// and what comes out (when small, for some inputs) must survive compression and expansion unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string_view>
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

  // The same in chunks of 1 to 5 bytes into room for 1 to 7, straight into one buffer (cheaper than appending).
  SzddDecoder decoder;
  std::vector<uint8_t> pieces(whole.size() + 7);
  size_t at = kSzddHeaderSize, made = 0, step = 1 + data[size - 1] % 5;
  for (;;) {
    size_t used = 0, give = std::min(step, input.size() - at), room = 1 + at % 7;
    size_t produced = decoder.Decode(input.data() + at, give, &used, pieces.data() + made, room);
    made += produced;
    if (used > give || produced > room || made > whole.size()) abort();
    at += used;
    if (at == input.size() && produced == 0) break;
  }
  if (made != whole.size() || !std::equal(whole.begin(), whole.end(), pieces.begin())) abort();

  // Compression costs far more than expansion: only outputs of up to 256 bytes of one input in 64 go round
  // through it, picked by a hash of all its bytes (one byte would be kept by mutations and soon pick most).
  if (whole.size() > 256 || std::hash<std::string_view>{}({reinterpret_cast<const char*>(data), size}) % 64 != 0)
    return 0;
  std::vector<uint8_t> packed, again;
  if (!CompressSzdd(whole.data(), whole.size(), 'x', &packed)) abort();
  if (!ExpandSzdd(packed.data(), packed.size(), &again) || again != whole) abort();
  return 0;
}
