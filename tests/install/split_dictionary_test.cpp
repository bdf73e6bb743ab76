#include "install/split_dictionary.h"

#include <gtest/gtest.h>

#include "tests/support/test_machine.h"

namespace {

std::string TenByteLines(size_t size) {
  std::string text;
  for (size_t line = 0; text.size() < size; ++line) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "w%07zu\r\n", line % 10000000);
    text += buffer;
  }
  text.resize(size);
  return text;
}

// A machine with C:\Dict and no Office.
struct Splitter : LoggedMachine {
  Splitter() { EXPECT_TRUE(world.Prepare("no_office.reg", {"C:\\Dict"})); }
  // Splits text into the folder, its pieces named with the prefix.
  bool Split(const std::string& text, long failAt = -1, DWORD expected = kUnknownLength,
             const char* folder = "C:\\Dict", const char* prefix = "lunve") {
    INT source = world.testLz.AddSource(text, failAt);
    bool result = SplitDictionary(source, folder, prefix, 64000, 1, &log, expected);
    world.testLz.LZClose(source);
    return result;
  }
};

TEST(SplitDictionary, EachPieceEndsAtTheFirstLineFeedAfterWholeBlocksAndCountsOnlyWhenWrittenWhole) {
  const std::string dict = "C:\\Dict\\lunve";
  struct Case {
    const char* what;
    std::string text;
    long failAt;  // a read error once this many bytes have been delivered
    DWORD promised;
    const char* folder;
    int failCreate, failWrite;  // counted from the split's own first creation and write (the log's four first)
    std::vector<size_t> whole;  // the sizes of the pieces written whole, logged and registered
    size_t files;               // lunve1.dic, lunve2.dic... there up to the first one missing
    std::string error;          // the path of the error line that ends the series ("" for none)
  } cases[] = {
      {"three pieces and the rest", TenByteLines(200000), -1, kUnknownLength, "C:\\Dict", 0, 0,
       {64770, 64770, 64770, 5690}, 4, ""},
      // The line feed after the 64768 bytes is the data's last byte.
      {"a line feed closing the last piece", TenByteLines(64770), -1, 64770, "C:\\Dict", 0, 0, {64770, 0}, 2, ""},
      {"a line feed exactly at the block boundary", std::string(64767, 'a') + "\n" + "bcd\r\n" + "tail\r\n", -1,
       kUnknownLength, "C:\\Dict", 0, 0, {64773, 6}, 2, ""},
      {"a small dictionary", TenByteLines(34722), -1, 34722, "C:\\Dict", 0, 0, {34722}, 1, ""},
      {"a read error", TenByteLines(200000), 100000, kUnknownLength, "C:\\Dict", 0, 0, {64770}, 2, dict + "2.dic"},
      {"data shorter than promised", TenByteLines(30000), -1, 34722, "C:\\Dict", 0, 0, {}, 1, dict + "1.dic"},
      {"the second piece cannot be created", TenByteLines(200000), -1, kUnknownLength, "C:\\Dict", 2, 0, {64770}, 1,
       dict + "2.dic"},
      // Piece 1: eight block writes, then the line phase one byte at a time; its second byte fails.
      {"a failed write in the line phase", TenByteLines(200000), -1, kUnknownLength, "C:\\Dict", 0, 4 + 8 + 2, {}, 1,
       dict + "1.dic"},
      {"no folder: never the current folder", TenByteLines(1000), -1, kUnknownLength, "", 0, 0, {}, 0, "lunve1.dic"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Splitter split;
    TestMachine& world = split.world;
    if (c.failCreate) world.faulty.FailCreate(world.faulty.Creates() + c.failCreate);
    if (c.failWrite) world.faulty.FailWrite(world.faulty.Writes() + c.failWrite);
    EXPECT_EQ(split.Split(c.text, c.failAt, c.promised, c.folder), c.error.empty());
    std::string log = kSplitHeader, joined, bytes;
    std::vector<std::string> entries;
    std::vector<size_t> sizes;
    size_t files = 0;
    for (; world.ReadFile(dict + std::to_string(files + 1) + ".dic", &bytes); ++files)
      if (files < c.whole.size()) {
        sizes.push_back(bytes.size());
        joined += bytes;
      }
    for (size_t n = 1; n <= c.whole.size(); ++n) {
      log += dict + std::to_string(n) + ".dic - installed\r\n";
      entries.push_back(std::to_string(n) + "=" + dict + std::to_string(n) + ".dic");
    }
    if (!c.error.empty()) log += "Error writing " + c.error + " Could not write file. \r\n\r\n";
    EXPECT_EQ(sizes, c.whole);
    EXPECT_EQ(files, c.files);
    EXPECT_EQ(joined, c.error.empty() ? c.text : c.text.substr(0, joined.size()));
    EXPECT_EQ(split.LogText(), log);
    EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER), entries);
    EXPECT_FALSE(world.Exists("C:\\lunve1.dic"));
    EXPECT_EQ(world.files.OpenHandleCount(), 0u);
  }
}

TEST(SplitDictionary, EachDictionaryGetsItsHeaderAndNumbersFromOne) {
  Splitter split;
  EXPECT_TRUE(split.Split(TenByteLines(100)));
  EXPECT_TRUE(split.Split(TenByteLines(200), -1, kUnknownLength, "C:\\Dict\\", "vsquni"));
  EXPECT_EQ(split.LogText(), std::string(kSplitHeader) + "C:\\Dict\\lunve1.dic - installed\r\n" + kSplitHeader +
                         "C:\\Dict\\vsquni1.dic - installed\r\n");
}

}  // namespace
