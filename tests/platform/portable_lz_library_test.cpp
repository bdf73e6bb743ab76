// The portable LZ library: lz32's contract over the FileSystem service, so drive maps
// and injected faults reach it.
#include "platform/portable/lz_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "resources/szdd_encoder.h"
#include "tests/resources/test_files.h"
#include "tests/support/test_machine.h"

namespace {

using Bytes = std::vector<uint8_t>;

class PortableLzLibraryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(lz.OpenHandleCount(), 0u);
    EXPECT_EQ(world.files.OpenHandleCount(), 0u);
  }
  void Put(const std::string& name, const Bytes& bytes) { WriteHostFile(drive / name, bytes); }
  Bytes Packed(const Bytes& data, char replaced = 'x') {
    Bytes out;
    CompressSzdd(data.data(), data.size(), replaced, &out);
    return out;
  }
  INT Open(const char* path, WORD style) {
    std::string copy = path;
    return lz.LZOpenFileA(&copy[0], &ofs, style);
  }
  // Copies source to destination through the library; the result of LZCopy.
  LONG Copy(const char* from, const char* to) {
    INT source = Open(from, OF_READ);
    INT destination = Open(to, OF_CREATE | OF_WRITE);
    LONG result = source >= 0 && destination >= 0 ? lz.LZCopy(source, destination) : LONG(-100);
    if (source >= 0) lz.LZClose(source);
    if (destination >= 0) lz.LZClose(destination);
    return result;
  }

  TestMachine world;  // C: on a host folder, and in g_platform a file system that fails on request
  HostFolder& drive = world.c;
  FaultyFileSystem& failing = world.faulty;
  PortableLzLibrary lz;
  OFSTRUCT ofs;
};

TEST_F(PortableLzLibraryTest, CopyExpandsSzddAndPassesOtherFilesThrough) {
  Bytes readme = Content("Readme.htm"), licence = Content("License.txt"), cut = Packed(readme);
  cut.resize(11);
  Put("License.out", Bytes(5000, 'z'));  // longer: a create replaces it whole
  struct Case {
    std::string stored, from, to;
    Bytes bytes, copied;
  };
  // The last two, shorter than a header and a header cut short, are plain files, as lz32 has them.
  for (const Case& c : {Case{"README.HT_", "c:\\readme.ht_", "Readme.htm", Packed(readme, 'm'), readme},
                        Case{"LICENSE.TXT", "C:\\LICENSE.TXT", "License.out", licence, licence},
                        Case{"tiny", "C:\\tiny", "tiny.out", {'S', 'Z'}, {'S', 'Z'}},
                        Case{"cut", "C:\\cut", "cut.out", cut, cut}}) {
    Put(c.stored, c.bytes);
    EXPECT_EQ(Copy(c.from.c_str(), ("C:\\" + c.to).c_str()), LONG(c.copied.size())) << c.from;
    EXPECT_EQ(ReadHostFile(drive / c.to), c.copied) << c.from;
  }
}

TEST_F(PortableLzLibraryTest, ReadsInChunksOfAnySizeUntilTheEnd) {
  Bytes dictionary = Content("vsqquor.dic");
  Put("VSQQUOR.DI_", Packed(dictionary, 'c'));
  INT file = Open("C:\\VSQQUOR.DI_", OF_READ);
  ASSERT_GE(file, 0);
  Bytes got;
  char chunk[4099];
  for (INT want = 1;; want = want % 4099 + 97) {
    INT n = lz.LZRead(file, chunk, want);
    ASSERT_GE(n, 0);
    if (n == 0) break;
    ASSERT_LE(n, want);
    got.insert(got.end(), chunk, chunk + n);
  }
  EXPECT_EQ(got, dictionary);
  EXPECT_EQ(lz.LZRead(file, chunk, 10), 0);
  lz.LZClose(file);
}

TEST_F(PortableLzLibraryTest, ErrorsAreNegativeCodes) {
  EXPECT_EQ(Open("C:\\missing.di_", OF_READ), LZERROR_BADINHANDLE);
  EXPECT_EQ(Open("Q:\\unmapped.txt", OF_CREATE | OF_WRITE), LZERROR_BADINHANDLE);
  EXPECT_EQ(lz.LZOpenFileA(nullptr, &ofs, OF_READ), LZERROR_BADINHANDLE);

  Bytes unknown = Packed(Bytes(100, 'q'));
  unknown[8] = 'Q';  // a method other than A
  Put("unknown._", unknown);
  EXPECT_EQ(Open("C:\\unknown._", OF_READ), LZERROR_UNKNOWNALG);

  Put("a", Bytes{'a'});
  INT reader = Open("C:\\a", OF_READ);
  INT writer = Open("C:\\b", OF_CREATE | OF_WRITE);
  ASSERT_GE(reader, 0);
  ASSERT_GE(writer, 0);
  char byte;
  EXPECT_EQ(lz.LZRead(writer, &byte, 1), LZERROR_BADINHANDLE);
  EXPECT_EQ(lz.LZRead(12345, &byte, 1), LZERROR_BADINHANDLE);
  EXPECT_EQ(lz.LZRead(reader, &byte, -1), LZERROR_BADVALUE);
  EXPECT_EQ(lz.LZCopy(reader, reader), LZERROR_BADOUTHANDLE);
  EXPECT_EQ(lz.LZCopy(writer, writer), LZERROR_BADINHANDLE);
  lz.LZClose(reader);
  lz.LZClose(writer);
  lz.LZClose(reader);  // closing twice does nothing
}

TEST_F(PortableLzLibraryTest, FaultsOfTheFileSystemComeBackAsErrors) {
  Put("data._", Packed(Content("Fenmoor.gif"), 'f'));
  INT source = Open("C:\\data._", OF_READ);
  INT destination = Open("C:\\out.gif", OF_CREATE | OF_WRITE);
  ASSERT_GE(source, 0);
  ASSERT_GE(destination, 0);
  failing.failWrites = true;
  EXPECT_EQ(lz.LZCopy(source, destination), LZERROR_WRITE);
  failing.failWrites = false;
  lz.LZClose(source);
  source = Open("C:\\data._", OF_READ);
  ASSERT_GE(source, 0);
  failing.failReads = true;
  char chunk[64];
  EXPECT_EQ(lz.LZRead(source, chunk, sizeof chunk), LZERROR_READ);
  EXPECT_EQ(lz.LZCopy(source, destination), LZERROR_READ);
  EXPECT_EQ(Open("C:\\data._", OF_READ), LZERROR_READ);  // the header cannot be read
  failing.failReads = false;
  lz.LZClose(source);
  lz.LZClose(destination);
}

TEST_F(PortableLzLibraryTest, NamesThatCannotBeOpenedAreTriedAsCompressedNamesUpTo127Characters) {
  // As lz32: for a read or a create, a name that cannot be opened is tried as its compressed name,
  // and the reopen buffer tells the full path opened, which must fit it.
  Put("data.ht_", Bytes{'z'});
  drive.MakeFolder("busy.htm");  // in the way of a create
  std::string fits = "C:\\" + std::string(120, 'n') + ".txt";  // 127 characters
  struct Case {
    std::string name;
    WORD style;
    std::string opened;  // "" when refused
  } cases[] = {{"C:/data.htm", OF_READ, "C:\\data.ht_"}, {"C:\\busy.htm", OF_CREATE | OF_WRITE, "C:\\busy.ht_"},
               {fits, OF_CREATE | OF_WRITE, fits}, {fits, OF_READ, fits},
               {"C:\\m" + fits.substr(3), OF_CREATE | OF_WRITE, ""}, {"C:\\m" + fits.substr(3), OF_READ, ""}};
  for (const Case& c : cases) {
    INT file = Open(c.name.c_str(), c.style);
    EXPECT_EQ(file >= 0, !c.opened.empty()) << c.name;
    EXPECT_EQ(ofs.szPathName, c.opened) << c.name;
    EXPECT_EQ(ofs.cBytes, sizeof ofs);
    lz.LZClose(file);
  }
  EXPECT_FALSE(std::filesystem::exists(drive / ("m" + fits.substr(3))));
  char fallback[20];
  for (auto names : {std::pair<const char*, const char*>{"C:\\x.y\\readme.htm", "C:\\x.y\\readme.ht_"},
                     {"a.b", "a.b_"}, {"C:\\x.y\\none", "C:\\x.y\\none._"}, {"C:/x.y/none", "C:/x.y/non_"}}) {
    ASSERT_TRUE(LzFallbackName(names.first, fallback, sizeof fallback));
    EXPECT_STREQ(fallback, names.second);
  }
  EXPECT_FALSE(LzFallbackName("C:\\x.y\\none", fallback, 13)) << "no room for the terminator";
}

}  // namespace
