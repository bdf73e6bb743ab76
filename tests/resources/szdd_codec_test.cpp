// The SZDD codec: expansion exactly as the format gives it, on any input without
// leaving its buffers; compression that round-trips and is as small as the format allows.
#include <gtest/gtest.h>
#include <mspack.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "resources/szdd_decoder.h"
#include "resources/szdd_encoder.h"
#include "resources/szdd_format.h"
#include "tests/resources/test_files.h"
#include "tests/support/host_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Compress(const Bytes& data, char replaced = 'x') {
  Bytes out;
  EXPECT_TRUE(CompressSzdd(data.data(), data.size(), replaced, &out));
  return out;
}

Bytes Expand(const Bytes& packed) {
  Bytes out;
  EXPECT_TRUE(ExpandSzdd(packed.data(), packed.size(), &out));
  return out;
}

Bytes Stream(std::initializer_list<uint8_t> body) {
  Bytes packed(kSzddHeaderSize);
  SzddHeader header;
  WriteSzddHeader(header, packed.data());
  packed.insert(packed.end(), body);
  return packed;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A random block of the window's length twice: repeats at the farthest a reference reaches.
Bytes RepeatedBlock(std::mt19937& random, int alphabet) {
  Bytes block(kSzddWindowSize);
  for (auto& b : block) b = static_cast<uint8_t>(random() % alphabet);
  Bytes twice = block;
  twice.insert(twice.end(), block.begin(), block.end());
  return twice;
}

// libmspack, an independent expander, on a compressed file.
Bytes ExpandWithMspack(const Bytes& packed) {
  HostFolder folder;
  std::string in = folder / "in._", out = folder / "out";
  WriteHostFile(in, packed);
  msszdd_decompressor* d = mspack_create_szdd_decompressor(nullptr);
  int error = d->decompress(d, in.c_str(), out.c_str());
  mspack_destroy_szdd_decompressor(d);
  EXPECT_EQ(error, MSPACK_ERR_OK);
  return ReadHostFile(out);
}

// A greedy parse (longest match, else literal) over the same history the decoder sees:
// the optimal parse may never be larger.
size_t GreedySize(const Bytes& data) {
  Bytes ext(kSzddWindowSize, ' ');
  ext.insert(ext.end(), data.begin(), data.end());
  size_t items = 0, bytes = 0;
  for (size_t i = 0; i < data.size();) {
    size_t best = 0, limit = std::min<size_t>(kSzddMaxMatch, data.size() - i);
    for (size_t d = 1; d <= kSzddWindowSize; ++d) {
      size_t n = 0;
      while (n < limit && ext[kSzddWindowSize + i - d + n] == data[i + n]) ++n;
      best = std::max(best, n);
    }
    bool reference = best >= kSzddMinMatch;
    bytes += reference ? 2 : 1;
    i += reference ? best : 1;
    ++items;
  }
  return kSzddHeaderSize + bytes + (items + 7) / 8;
}

TEST(SzddExpansion, FollowsTheFormatBitByBit) {
  // Control 0x05: literal 'A', a reference to 4080 (the 'A' just written) for 3 bytes,
  // which overlaps what it writes, then literal 'B'.
  EXPECT_EQ(Expand(Stream({0x05, 'A', 0xF0, 0xF0, 'B'})), Text("AAAAB"));
  // A reference into the untouched window gives blanks: position 0, 18 bytes.
  EXPECT_EQ(Expand(Stream({0x00, 0x00, 0x0F})), Bytes(18, ' '));
  // The high four bits of the second byte are the position's bits 8 to 11, the low four
  // the length less 3: 0xF0, 0xF2 is position 0xFF0 = 4080, length 5.
  EXPECT_EQ(Expand(Stream({0x03, 'x', 'y', 0xF0, 0xF2})), Text("xyxyxyx"));
  // The header's length is a claim, not a limit: expansion runs to the end of the data.
  Bytes packed = Stream({0xFF, 'a', 'b', 'c'});
  packed[10] = 1;
  EXPECT_EQ(Expand(packed), Text("abc"));
}

TEST(SzddExpansion, PassesOtherDataThroughAndRefusesACutHeader) {
  Bytes plain = Text("SZDD is not enough: the signature has eight bytes");
  SzddHeader header;
  Bytes out;
  EXPECT_TRUE(ExpandSzdd(plain.data(), plain.size(), &out, &header));
  EXPECT_EQ(out, plain);
  EXPECT_TRUE(ExpandSzdd(nullptr, 0, &out));
  EXPECT_TRUE(out.empty());
  Bytes cut = Compress(Text("hello")), tail;
  cut.resize(12);
  EXPECT_FALSE(ExpandSzdd(cut.data(), cut.size(), &tail));
}

TEST(SzddExpansion, TruncatedStreamsGiveAPrefixAndNothingMore) {
  Bytes original = Content("Readme.htm");
  Bytes packed = Compress(original);
  for (size_t cut = kSzddHeaderSize; cut <= packed.size(); cut += 7) {
    Bytes out;
    ASSERT_TRUE(ExpandSzdd(packed.data(), cut, &out));
    ASSERT_LE(out.size(), original.size());
    ASSERT_TRUE(std::equal(out.begin(), out.end(), original.begin())) << "cut at " << cut;
  }
}

TEST(SzddExpansion, NothingButReferencesGivesTheLargestExpansionTheFormatAllows) {
  // The fuzzer holds every other input to this bound: 18 bytes for every two, plus a control byte's worth.
  Bytes packed = Stream({});
  for (int group = 0; group < 100; ++group) {
    packed.push_back(0x00);
    for (int i = 0; i < 8; ++i) packed.insert(packed.end(), {0x12, 0x3F});
  }
  EXPECT_EQ(Expand(packed).size(), 100u * 8 * 18);
}

TEST(SzddExpansion, ChunkedDecodingMatchesWholeDecoding) {
  Bytes packed = Compress(Content("vsqquor.dic"));
  Bytes whole = Expand(packed);
  std::mt19937 random(7);
  SzddDecoder decoder;
  Bytes pieces;
  size_t at = kSzddHeaderSize;
  while (at < packed.size() || decoder.Pending()) {
    size_t give = std::min<size_t>(random() % 5, packed.size() - at);
    uint8_t out[3];
    size_t used = 0;
    size_t produced = decoder.Decode(packed.data() + at, give, &used, out, random() % 4);
    ASSERT_LE(used, give);
    at += used;
    pieces.insert(pieces.end(), out, out + produced);
    if (at == packed.size() && produced == 0 && !decoder.Pending()) break;
  }
  EXPECT_EQ(pieces, whole);
}

TEST(SzddCompression, RoundTripsTheContentWithItsHeader) {
  for (const PayloadFile& file : PayloadFiles()) {
    Bytes original = Content(file.file);
    ASSERT_FALSE(original.empty()) << file.file;
    char replaced = file.file[std::strlen(file.file) - 1];
    Bytes packed = Compress(original, replaced);
    SzddHeader header;
    ASSERT_TRUE(ReadSzddHeader(packed.data(), packed.size(), &header));
    EXPECT_EQ(header.method, 'A');
    EXPECT_EQ(header.replacedChar, replaced);
    EXPECT_EQ(header.expandedLength, original.size());
    EXPECT_EQ(Expand(packed), original) << file.file;
  }
}

TEST(SzddCompression, RoundTripsRandomAndAwkwardData) {
  std::mt19937 random(1234);
  std::vector<Bytes> cases = {{}, Text("a"), Text("ab"), Text("   "), Bytes(4096, ' '), Bytes(5000, 0)};
  for (size_t size : {17, 18, 19, 4079, 4080, 4081, 4095, 4096, 4097, 8192, 20000}) {
    for (int alphabet : {2, 4, 256}) {
      Bytes data(size);
      for (auto& b : data) b = static_cast<uint8_t>(random() % alphabet + (alphabet == 2 ? ' ' : 0));
      cases.push_back(data);
    }
  }
  cases.push_back(RepeatedBlock(random, 256));
  for (const Bytes& data : cases) EXPECT_EQ(Expand(Compress(data)), data) << "size " << data.size();
}

TEST(SzddCompression, UsesTheInitialBlanksAndNeverLosesToAGreedyParse) {
  // 36 blanks: two references into the window's initial blanks and one control byte.
  EXPECT_EQ(Compress(Bytes(36, ' ')).size(), kSzddHeaderSize + 1 + 4);
  // Each item no larger than its own bytes: nothing repeats, so all literals.
  Bytes distinct = Text("abcdefgh");
  EXPECT_EQ(Compress(distinct).size(), kSzddHeaderSize + 1 + 8);
  std::mt19937 random(99);
  for (int round = 0; round < 40; ++round) {
    Bytes data(200 + random() % 600);
    for (auto& b : data) b = static_cast<uint8_t>("ab c"[random() % 4]);
    EXPECT_LE(Compress(data).size(), GreedySize(data));
  }
  Bytes text = Content("License.txt");
  EXPECT_LE(Compress(text).size(), GreedySize(text));
}

TEST(SzddCompression, IndependentExpandersAgree) {
  std::mt19937 random(5);
  for (const Bytes& data : {Content("vsqquor.dic"), Content("qvlunvera.dot"), Content("Fenmoor.gif"),
                            RepeatedBlock(random, 3)})
    EXPECT_EQ(ExpandWithMspack(Compress(data)), data);
}

}  // namespace
