// Expansion of SZDD data. The decoder is incremental so that a reader can
// feed it the compressed bytes in chunks of any size and take the expanded
// bytes in chunks of any size; it never reads or writes outside the buffers
// it is given, whatever the input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/szdd_format.h"

class SzddDecoder {
 public:
  SzddDecoder();
  // Back to the state before the first compressed byte (window of blanks).
  void Reset();
  // Expands from input (inputSize bytes) into output (capacity bytes). Stores how many
  // input bytes were taken in *consumed and returns how many bytes were produced. It stops
  // when the output is full or the input is used up; state carries over to the next call.
  size_t Decode(const uint8_t* input, size_t inputSize, size_t* consumed, uint8_t* output, size_t capacity);
  // True when a reference is half read or still being copied out.
  bool Pending() const { return copyLeft != 0 || haveFirst; }

 private:
  uint8_t window[kSzddWindowSize];
  unsigned position;   // next window position written
  unsigned control;    // control bits not yet used, lowest first
  unsigned bitsLeft;   // how many of them remain
  bool haveFirst;      // first byte of a reference read, second still to come
  uint8_t first;
  unsigned copyFrom;   // window position of the reference being copied
  unsigned copyLeft;   // bytes of it still to produce
};

// Expands a whole item: SZDD data (header and stream) into its bytes, anything without the
// signature copied unchanged. header, when not null, gets the item's header (defaults for a
// plain file). False only for a signature whose header is cut short.
bool ExpandSzdd(const uint8_t* data, size_t size, std::vector<uint8_t>* out, SzddHeader* header = nullptr);
