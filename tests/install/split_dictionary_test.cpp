#include "install/split_dictionary.h"

#include <gtest/gtest.h>

#include "tests/support/test_machine.h"

namespace {

const char kHeader[] =
    "\r\nAn older Word version was detected. The dictionary was split:\r\n"
    "(you can reassemble the dictionary by typing: \r\n"
    "    COPY LUNVE*.DIC Vessora.dic\r\n"
    ")\r\n";

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
    world.LoadScenario("no_office.reg");
    world.MakeFolder("C:\\Dict");
    world.MakeFolder("C:\\Log");
    log.Open("C:\\Log");
  }
  // Splits text into C:\Dict with prefix "lunve"; the log's text is returned in *logText.
  bool Split(const std::string& text, std::string* logText, long failAt = -1, DWORD expected = kUnknownLength,
             const char* folder = "C:\\Dict") {
    INT source = world.testLz.AddSource(text, failAt);
    bool result = SplitDictionary(source, folder, "lunve", 64000, 1, &log, expected);
    world.testLz.LZClose(source);
    log.Close();
    world.ReadFile("C:\\Log\\InstallLog.txt", logText);
    return result;
  }
  std::vector<size_t> PieceSizes() {
    std::vector<size_t> sizes;
    for (int n = 1;; ++n) {
      std::string bytes;
      if (!world.ReadFile("C:\\Dict\\lunve" + std::to_string(n) + ".dic", &bytes)) break;
      sizes.push_back(bytes.size());
    }
    return sizes;
  }
  std::string Piece(int n) {
    std::string bytes;
    world.ReadFile("C:\\Dict\\lunve" + std::to_string(n) + ".dic", &bytes);
    return bytes;
  }

  TestMachine world;
  InstallLog log;
};

TEST_F(SplitDictionaryTest, PiecesEndAtTheFirstLineFeedAfterWholeBlocks) {
  std::string text = TenByteLines(200000);
  std::string logText;
  EXPECT_TRUE(Split(text, &logText));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770, 64770, 64770, 5690}));
  EXPECT_EQ(Piece(1) + Piece(2) + Piece(3) + Piece(4), text);
  EXPECT_EQ(logText, std::string(kHeader) +
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
  std::string logText;
  EXPECT_TRUE(Split(text, &logText, -1, static_cast<DWORD>(text.size())));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770, 0}));
  EXPECT_NE(logText.find("C:\\Dict\\lunve2.dic - installed\r\n"), std::string::npos);
  EXPECT_EQ(world.DictionaryEntry(HKEY_CURRENT_USER, "2"), "C:\\Dict\\lunve2.dic");
}

TEST_F(SplitDictionaryTest, ALineFeedExactlyAtTheBlockBoundaryDoesNotEndThePiece) {
  std::string text = std::string(64767, 'a') + "\n" + "bcd\r\n" + "tail\r\n";
  std::string logText;
  Split(text, &logText);
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64773, 6}));
}

TEST_F(SplitDictionaryTest, SmallDictionaryIsOnePieceIntoAFolderWithoutTrailingBackslash) {
  std::string text = TenByteLines(34722);
  std::string logText;
  EXPECT_TRUE(Split(text, &logText, -1, 34722));
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{34722}));
  EXPECT_EQ(logText, std::string(kHeader) + "C:\\Dict\\lunve1.dic - installed\r\n");
}

TEST_F(SplitDictionaryTest, ReadErrorEndsTheSeriesWithAnErrorAndNoRegistration) {
  std::string text = TenByteLines(200000);
  std::string logText;
  EXPECT_FALSE(Split(text, &logText, 100000));
  EXPECT_EQ(logText, std::string(kHeader) +
                         "C:\\Dict\\lunve1.dic - installed\r\n"
                         "Error writing C:\\Dict\\lunve2.dic Could not write file. \r\n\r\n");
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER), (std::vector<std::string>{"1=C:\\Dict\\lunve1.dic"}));
  EXPECT_FALSE(world.Exists("C:\\Dict\\lunve3.dic"));
}

TEST_F(SplitDictionaryTest, DataShorterThanPromisedIsNotInstalled) {
  std::string logText;
  EXPECT_FALSE(Split(TenByteLines(30000), &logText, -1, 34722));
  EXPECT_EQ(logText, std::string(kHeader) + "Error writing C:\\Dict\\lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_TRUE(world.DictionaryEntries(HKEY_CURRENT_USER).empty());
}

TEST_F(SplitDictionaryTest, PieceThatCannotBeCreatedOrWrittenIsReportedAndEndsTheSeries) {
  std::string text = TenByteLines(200000);
  // The second piece's creation fails.
  world.faulty.FailCreate(world.faulty.Creates() + 2);
  std::string logText;
  EXPECT_FALSE(Split(text, &logText));
  EXPECT_EQ(logText, std::string(kHeader) +
                         "C:\\Dict\\lunve1.dic - installed\r\n"
                         "Error writing C:\\Dict\\lunve2.dic Could not write file. \r\n\r\n");
  EXPECT_EQ(PieceSizes(), (std::vector<size_t>{64770}));
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER).size(), 1u);
}

TEST_F(SplitDictionaryTest, FailedWriteInTheLinePhaseLeavesThePieceUnregistered) {
  std::string text = TenByteLines(200000);
  // Piece 1: eight block writes, then the line phase one byte at a time; fail its second byte.
  world.faulty.FailWrite(world.faulty.Writes() + 4 + 8 + 2);
  std::string logText;
  EXPECT_FALSE(Split(text, &logText));
  EXPECT_EQ(logText, std::string(kHeader) + "Error writing C:\\Dict\\lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_TRUE(world.DictionaryEntries(HKEY_CURRENT_USER).empty());
}

TEST_F(SplitDictionaryTest, EmptyFolderNeverWritesIntoTheCurrentFolder) {
  std::string logText;
  EXPECT_FALSE(Split(TenByteLines(1000), &logText, -1, kUnknownLength, ""));
  EXPECT_EQ(logText, std::string(kHeader) + "Error writing lunve1.dic Could not write file. \r\n\r\n");
  EXPECT_FALSE(world.Exists("C:\\lunve1.dic"));
}

TEST_F(SplitDictionaryTest, EachDictionaryGetsItsHeaderAndNumbersFromOne) {
  INT first = world.testLz.AddSource(TenByteLines(100));
  INT second = world.testLz.AddSource(TenByteLines(200));
  SplitDictionary(first, "C:\\Dict", "lunve", 64000, 1, &log);
  SplitDictionary(second, "C:\\Dict\\", "vsquni", 64000, 1, &log);
  world.testLz.LZClose(first);
  world.testLz.LZClose(second);
  log.Close();
  std::string logText;
  world.ReadFile("C:\\Log\\InstallLog.txt", &logText);
  EXPECT_EQ(logText, std::string(kHeader) + "C:\\Dict\\lunve1.dic - installed\r\n" + kHeader +
                         "C:\\Dict\\vsquni1.dic - installed\r\n");
}

}  // namespace
