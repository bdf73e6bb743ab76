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

class SplitDictionaryTest : public ::testing::Test {
 protected:
  SplitDictionaryTest() {
    EXPECT_TRUE(world.Prepare("no_office.reg", {"C:\\Dict", "C:\\Log"}));
    log.Open("C:\\Log");
  }
  // Splits text into the folder, its pieces named with the prefix.
  bool Split(const std::string& text, long failAt = -1, DWORD expected = kUnknownLength,
             const char* folder = "C:\\Dict", const char* prefix = "lunve") {
    INT source = world.testLz.AddSource(text, failAt);
    bool result = SplitDictionary(source, folder, prefix, 64000, 1, &log, expected);
    world.testLz.LZClose(source);
    return result;
  }
  std::string LogText() {
    log.Close();
    return world.Bytes("C:\\Log\\InstallLog.txt");
  }
  // The sizes of C:\Dict\lunve1.dic, lunve2.dic... up to the first one missing; their bytes in turn in joined.
  std::vector<size_t> PieceSizes() {
    std::vector<size_t> sizes;
    joined.clear();
    std::string bytes;
    for (int n = 1; world.ReadFile("C:\\Dict\\lunve" + std::to_string(n) + ".dic", &bytes); ++n) {
      sizes.push_back(bytes.size());
      joined += bytes;
    }
    return sizes;
  }

  TestMachine world;
  InstallLog log;
  std::string joined;
};

TEST_F(SplitDictionaryTest, PiecesEndAtTheFirstLineFeedAfterWholeBlocks) {
  std::string text = TenByteLines(200000);
  EXPECT_TRUE(Split(text));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770, 64770, 64770, 5690}));
  EXPECT_EQ(joined, text);
  EXPECT_EQ(LogText(), std::string(kSplitHeader) +
                         "C:\\Dict\\lunve1.dic - installed\r\n"
                         "C:\\Dict\\lunve2.dic - installed\r\n"
                         "C:\\Dict\\lunve3.dic - installed\r\n"
                         "C:\\Dict\\lunve4.dic - installed\r\n");
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER),
            (std::vector<std::string>{"1=C:\\Dict\\lunve1.dic", "2=C:\\Dict\\lunve2.dic", "3=C:\\Dict\\lunve3.dic",
                                      "4=C:\\Dict\\lunve4.dic"}));
  EXPECT_EQ(world.files.OpenHandleCount(), 0u);
}

TEST_F(SplitDictionaryTest, ALineFeedClosingTheLastPieceGivesOneMoreEmptyPiece) {
  // 64770 bytes: the line feed after the 64768 bytes is the data's last byte.
  std::string text = TenByteLines(64770);
  EXPECT_TRUE(Split(text, -1, static_cast<DWORD>(text.size())));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770, 0}));
  EXPECT_NE(LogText().find("C:\\Dict\\lunve2.dic - installed\r\n"), std::string::npos);
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER),
            (std::vector<std::string>{"1=C:\\Dict\\lunve1.dic", "2=C:\\Dict\\lunve2.dic"}));
}

TEST_F(SplitDictionaryTest, ALineFeedExactlyAtTheBlockBoundaryDoesNotEndThePiece) {
  std::string text = std::string(64767, 'a') + "\n" + "bcd\r\n" + "tail\r\n";
  Split(text);
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64773, 6}));
  EXPECT_EQ(joined, text);
}

TEST_F(SplitDictionaryTest, SmallDictionaryIsOnePieceIntoAFolderWithoutTrailingBackslash) {
  EXPECT_TRUE(Split(TenByteLines(34722), -1, 34722));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{34722}));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) + "C:\\Dict\\lunve1.dic - installed\r\n");
}

TEST_F(SplitDictionaryTest, ReadErrorEndsTheSeriesWithAnErrorAndNoRegistration) {
  EXPECT_FALSE(Split(TenByteLines(200000), 100000));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) +
                         "C:\\Dict\\lunve1.dic - installed\r\n"
                         "Error writing C:\\Dict\\lunve2.dic Could not write file. \r\n\r\n");
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER), (std::vector<std::string>{"1=C:\\Dict\\lunve1.dic"}));
  EXPECT_FALSE(world.Exists("C:\\Dict\\lunve3.dic"));
}

TEST_F(SplitDictionaryTest, DataShorterThanPromisedIsNotInstalled) {
  EXPECT_FALSE(Split(TenByteLines(30000), -1, 34722));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) + "Error writing C:\\Dict\\lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_TRUE(world.DictionaryEntries(HKEY_CURRENT_USER).empty());
}

TEST_F(SplitDictionaryTest, PieceThatCannotBeCreatedOrWrittenIsReportedAndEndsTheSeries) {
  // The second piece's creation fails.
  world.faulty.FailCreate(world.faulty.Creates() + 2);
  EXPECT_FALSE(Split(TenByteLines(200000)));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) +
                         "C:\\Dict\\lunve1.dic - installed\r\n"
                         "Error writing C:\\Dict\\lunve2.dic Could not write file. \r\n\r\n");
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770}));
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER), (std::vector<std::string>{"1=C:\\Dict\\lunve1.dic"}));
}

TEST_F(SplitDictionaryTest, FailedWriteInTheLinePhaseLeavesThePieceUnregistered) {
  // Piece 1: eight block writes, then the line phase one byte at a time; fail its second byte.
  world.faulty.FailWrite(world.faulty.Writes() + 4 + 8 + 2);
  EXPECT_FALSE(Split(TenByteLines(200000)));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) + "Error writing C:\\Dict\\lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_TRUE(world.DictionaryEntries(HKEY_CURRENT_USER).empty());
}

TEST_F(SplitDictionaryTest, EmptyFolderNeverWritesIntoTheCurrentFolder) {
  EXPECT_FALSE(Split(TenByteLines(1000), -1, kUnknownLength, ""));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) + "Error writing lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_FALSE(world.Exists("C:\\lunve1.dic"));
}

TEST_F(SplitDictionaryTest, EachDictionaryGetsItsHeaderAndNumbersFromOne) {
  EXPECT_TRUE(Split(TenByteLines(100)));
  EXPECT_TRUE(Split(TenByteLines(200), -1, kUnknownLength, "C:\\Dict\\", "vsquni"));
  EXPECT_EQ(LogText(), std::string(kSplitHeader) + "C:\\Dict\\lunve1.dic - installed\r\n" + kSplitHeader +
                         "C:\\Dict\\vsquni1.dic - installed\r\n");
}

}  // namespace
