// The carried content keeps the forms the program and its users rely on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "resources/sponsor.h"
#include "tests/resources/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The lines of a text that ends with CR LF (checked).
std::vector<std::string> CrLfLines(const Bytes& text) {
  std::vector<std::string> lines;
  std::string s(text.begin(), text.end());
  size_t at = 0;
  for (size_t end; (end = s.find("\r\n", at)) != std::string::npos; at = end + 2) lines.push_back(s.substr(at, end - at));
  EXPECT_EQ(at, s.size()) << "the text does not end with CR LF";
  return lines;
}

TEST(Content, QuorvelDictionaryHasItsShape) {
  Bytes dictionary = Content("vsqquor.dic");
  EXPECT_EQ(dictionary.size(), 34722u);
  std::vector<std::string> lines = CrLfLines(dictionary);
  EXPECT_EQ(lines.size(), 2185u);
  size_t phrases = 0;
  std::set<std::string> distinct;
  for (const std::string& line : lines) {
    EXPECT_GE(line.size(), 2u);
    EXPECT_LE(line.size(), 16u);
    distinct.insert(line);
    phrases += line.find(' ') != std::string::npos;
    for (unsigned char c : line) {
      EXPECT_TRUE((c >= 0x20 && c < 0x7F) || c == 0xE4 || c == 0xEB || c == 0xEF || c == 0xF6 || c == 0xFC)
          << "byte " << int(c) << " in " << line;
    }
  }
  EXPECT_EQ(distinct.size(), lines.size());
  EXPECT_GT(phrases * 2, lines.size()) << "most entries hold blanks";
}

TEST(Content, MainDictionarySplitsIntoAtLeastThreePieces) {
  Bytes dictionary = Content("Lunvera.dic");
  EXPECT_GT(dictionary.size(), 2u * 64768);
  for (const std::string& line : CrLfLines(dictionary)) EXPECT_FALSE(line.empty());
}

TEST(Content, LicenceIsPlainCrLfTextWithTabs) {
  Bytes licence = Content("License.txt");
  EXPECT_EQ(licence.size(), 3355u);
  std::vector<std::string> lines = CrLfLines(licence);
  EXPECT_EQ(lines.size(), 58u);
  std::string text(licence.begin(), licence.end());
  EXPECT_NE(text.find('\t'), std::string::npos);
  EXPECT_EQ(text.find('\0'), std::string::npos);
  // Only CR LF ends a line, and no line is wider than the licence control shows unwrapped.
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    size_t column = 0;  // a tab moves on to its stop
    for (char c : line) column = c == '\t' ? (column / 8 + 1) * 8 : column + 1;
    EXPECT_LE(column, 64u) << line;
  }
}

TEST(Content, ReadmeShowsTheImagesByRelativeNameAndLinksTheSponsor) {
  Bytes readme = Content("Readme.htm");
  EXPECT_EQ(readme.size(), 7227u);
  std::string html(readme.begin(), readme.end());
  EXPECT_NE(html.find("src=\"Fenmoor.gif\""), std::string::npos);
  EXPECT_NE(html.find("src=\"Vessora.jpg\""), std::string::npos);
  EXPECT_NE(html.find(std::string("href=\"") + kSponsorAddress + "\""), std::string::npos);
  EXPECT_EQ(html.rfind("</html>\r\n"), html.size() - 9);
  EXPECT_NE(std::string(kSponsorAddress).find(".example/"), std::string::npos);
}

TEST(Content, ImagesAreCompleteFilesOfTheirSizes) {
  Bytes gif = Content("Fenmoor.gif");
  EXPECT_EQ(gif.size(), 6079u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF87a");
  EXPECT_EQ(gif.back(), 0x3B);
  Bytes jpeg = Content("Vessora.jpg");
  EXPECT_EQ(jpeg.size(), 7859u);
  EXPECT_EQ(Bytes(jpeg.begin(), jpeg.begin() + 2), (Bytes{0xFF, 0xD8}));
  EXPECT_EQ(Bytes(jpeg.end() - 2, jpeg.end()), (Bytes{0xFF, 0xD9}));
  for (const char* name : {"unicode.gif", "vowelconvrt.gif", "ascii.gif"}) {
    Bytes other = Content(name);
    ASSERT_GT(other.size(), 6u) << name;
    EXPECT_EQ(std::string(other.begin(), other.begin() + 3), "GIF") << name;
  }
}

TEST(Content, TemplatesAreCompoundDocumentsWithAWordStream) {
  const Bytes signature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  for (const char* name : {"qvlunvera.dot", "vsq.dot", "vsqauto1.dot", "vsqauto2.dot", "vsqauto3.dot"}) {
    Bytes file = Content(name);
    ASSERT_GT(file.size(), 512u) << name;
    EXPECT_EQ(file.size() % 512, 0u) << name;
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), file.begin())) << name;
    // The directory names the WordDocument stream (UTF-16).
    std::string raw(file.begin(), file.end());
    EXPECT_NE(raw.find(std::string("W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0", 24)), std::string::npos) << name;
  }
  EXPECT_EQ(Content("qvlunvera.dot").size(), 36352u);
}

TEST(Content, ThanksPictureLeavesTheLinkButtonRightAfterTheAddress) {
  // Bitmap 111: 4 bits a pixel, bottom-up rows. The address's underline on line 2 runs up
  // to x = 321; the 14 x 14 button at (324, 32) covers only background.
  Bytes bmp = Content("thanks.bmp");
  ASSERT_EQ(bmp.size(), 14u + 40 + 64 + 188u * 125);
  auto pixel = [&](int x, int y) {
    size_t row = 14 + 40 + 64 + size_t(124 - y) * 188;
    uint8_t pair = bmp[row + x / 2];
    return x % 2 == 0 ? pair >> 4 : pair & 15;
  };
  const int white = 15;
  int lastInk = -1;
  for (int x = 0; x < 372; ++x)
    if (pixel(x, 46) != white) lastInk = x;
  EXPECT_EQ(lastInk, 321);
  for (int y = 32; y < 46; ++y)
    for (int x = 324; x < 338; ++x) EXPECT_EQ(pixel(x, y), white) << x << "," << y;
  // Something is written on each of the five lines.
  for (int top : {8, 31, 54, 77, 100}) {
    int ink = 0;
    for (int y = top; y < top + 16; ++y)
      for (int x = 0; x < 372; ++x) ink += pixel(x, y) != white;
    EXPECT_GT(ink, 100) << "line at " << top;
  }
}

}  // namespace
