#include "resources/szdd_encoder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "resources/szdd_format.h"

namespace {

constexpr unsigned kHashBits = 16;
constexpr int32_t kNone = -1;

unsigned Hash3(const uint8_t* p) { return ((p[0] << 8) ^ (p[1] << 4) ^ p[2] ^ (p[0] >> 3) << 13) & ((1u << kHashBits) - 1); }

// For every position, the longest match the decoder can copy (up to 18 bytes and never past
// the end) and the nearest distance that gives it. The decoder sees a history of 4,096 blanks
// before the data, and a copy may overlap the bytes it produces, so matching runs over one
// buffer of blanks followed by the data, with distances 1 to 4,096.
void FindLongestMatches(const uint8_t* data, size_t size, std::vector<uint8_t>* lengths,
                        std::vector<uint16_t>* distances) {
  std::vector<uint8_t> ext(kSzddWindowSize + size, kSzddWindowFill);
  if (size != 0) std::memcpy(ext.data() + kSzddWindowSize, data, size);
  std::vector<int32_t> head(size_t(1) << kHashBits, kNone);
  std::vector<int32_t> prev(ext.size(), kNone);
  lengths->assign(size, 0);
  distances->assign(size, 0);
  size_t inserted = 0;
  auto insertUpTo = [&](size_t end) {
    for (; inserted < end && inserted + 2 < ext.size(); ++inserted) {
      unsigned h = Hash3(&ext[inserted]);
      prev[inserted] = head[h];
      head[h] = static_cast<int32_t>(inserted);
    }
  };
  for (size_t i = 0; i < size; ++i) {
    size_t current = kSzddWindowSize + i;
    insertUpTo(current);
    size_t limit = std::min<size_t>(kSzddMaxMatch, size - i);
    if (limit < kSzddMinMatch) continue;
    const uint8_t* target = &ext[current];
    size_t oldest = current - kSzddWindowSize;
    size_t best = 0;
    size_t bestDistance = 0;
    for (int32_t j = head[Hash3(target)]; j != kNone && size_t(j) >= oldest; j = prev[j]) {
      const uint8_t* source = &ext[size_t(j)];
      size_t n = 0;
      while (n < limit && source[n] == target[n]) ++n;
      if (n > best) {
        best = n;
        bestDistance = current - size_t(j);
        if (best == limit) break;
      }
    }
    if (best >= kSzddMinMatch) {
      (*lengths)[i] = static_cast<uint8_t>(best);
      (*distances)[i] = static_cast<uint16_t>(bestDistance - 1);  // 0..4095 stands for 1..4096
    }
  }
}

}  // namespace

bool CompressSzdd(const uint8_t* data, size_t size, char replacedChar, std::vector<uint8_t>* out) {
  out->clear();
  if (size > std::numeric_limits<uint32_t>::max()) return false;
  if (data == nullptr) size = 0;
  std::vector<uint8_t> lengths;
  std::vector<uint16_t> distances;
  FindLongestMatches(data, size, &lengths, &distances);

  // cost[i*8+m]: fewest bytes for data[i..] when m items of the current control byte are
  // used already (m = 0: the next item starts a new control byte). Counting the control
  // bytes exactly, not as a ninth bit per item, makes the result the true minimum.
  std::vector<uint32_t> cost((size + 1) * 8, 0);
  std::vector<uint8_t> choice(size * 8, 1);
  for (size_t i = size; i-- > 0;) {
    for (unsigned m = 0; m < 8; ++m) {
      uint32_t opening = m == 0 ? 1 : 0;
      unsigned next = (m + 1) & 7;
      uint32_t best = opening + 1 + cost[(i + 1) * 8 + next];
      uint8_t bestLength = 1;
      for (unsigned len = kSzddMinMatch; len <= lengths[i]; ++len) {
        uint32_t c = opening + 2 + cost[(i + len) * 8 + next];
        if (c < best) {
          best = c;
          bestLength = static_cast<uint8_t>(len);
        }
      }
      cost[i * 8 + m] = best;
      choice[i * 8 + m] = bestLength;
    }
  }

  out->resize(kSzddHeaderSize);
  SzddHeader header;
  header.replacedChar = replacedChar;
  header.expandedLength = static_cast<uint32_t>(size);
  WriteSzddHeader(header, out->data());
  out->reserve(kSzddHeaderSize + cost[0]);
  size_t controlAt = 0;
  unsigned m = 0;
  for (size_t i = 0; i < size;) {
    if (m == 0) {
      controlAt = out->size();
      out->push_back(0);
    }
    uint8_t len = choice[i * 8 + m];
    if (len == 1) {
      (*out)[controlAt] |= static_cast<uint8_t>(1u << m);
      out->push_back(data[i]);
    } else {
      unsigned distance = distances[i] + 1u;
      unsigned source = (kSzddFirstPosition + i - distance) & kSzddWindowMask;
      out->push_back(static_cast<uint8_t>(source & 0xFF));
      out->push_back(static_cast<uint8_t>(((source >> 4) & 0xF0) | (len - kSzddMinMatch)));
    }
    i += len;
    m = (m + 1) & 7;
  }
  return true;
}
