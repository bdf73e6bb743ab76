#include "install/install_log.h"

#include <gtest/gtest.h>

#include "tests/support/test_machine.h"

namespace {

TEST(InstallLog, WritesExactlyTheTextsGivenAndReplacesAnEarlierLog) {
  TestMachine world;
  world.MakeFolder("C:\\Product");
  {
    InstallLog log;
    log.Open("C:\\Product");
    log.Write("first run\r\n");
  }
  {
    InstallLog log;
    log.Open("C:\\Product\\");  // a trailing backslash names the same file
    log.Write("Vessora Installation Log\r\n\r\n");
    log.Write("");
    log.Write("\xe4 caf\xe9\r\n");
    EXPECT_TRUE(log.IsOpen());
    EXPECT_FALSE(log.Failed());
  }
  std::string text;
  ASSERT_TRUE(world.ReadFile("C:\\Product\\InstallLog.txt", &text));
  EXPECT_EQ(text, "Vessora Installation Log\r\n\r\n\xe4 caf\xe9\r\n");
  EXPECT_EQ(world.files.OpenHandleCount(), 0u);
}

TEST(InstallLog, ClosedOrUncreatableLogIgnoresWritesAndSaysSo) {
  TestMachine world;
  InstallLog never;
  never.Write("nothing");
  never.Close();
  EXPECT_FALSE(never.IsOpen());
  EXPECT_FALSE(never.Failed());

  InstallLog missing;
  missing.Open("C:\\No Such Folder");
  missing.Write("lost");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_TRUE(missing.Failed());
  EXPECT_FALSE(world.Exists("C:\\No Such Folder"));
}

TEST(InstallLog, AShortWriteMarksTheRecordIncomplete) {
  TestMachine world;
  world.MakeFolder("C:\\Product");
  InstallLog log;
  log.Open("C:\\Product");
  world.faulty.FailWrite(world.faulty.Writes() + 2);
  log.Write("one\r\n");
  EXPECT_FALSE(log.Failed());
  log.Write("two\r\n");
  EXPECT_TRUE(log.Failed());
  log.Write("three\r\n");  // later writes are still tried
  log.Close();
  std::string text;
  ASSERT_TRUE(world.ReadFile("C:\\Product\\InstallLog.txt", &text));
  EXPECT_EQ(text, "one\r\ntwthree\r\n");  // half of the failing write arrived
}

TEST(InstallLog, ErrorLineNamesTheFolderAndFile) {
  TestMachine world;
  world.MakeFolder("C:\\Product");
  {
    InstallLog log;
    log.Open("C:\\Product");
    WriteErrorLine(&log, "D:\\Dict", "a.dic");
    WriteErrorLine(&log, "D:\\", "b.dic");
    WriteErrorLine(&log, "", "vsq.dot");
    WriteErrorLine(&log, nullptr, "C:\\x\\Readme.lnk");
  }
  std::string text;
  ASSERT_TRUE(world.ReadFile("C:\\Product\\InstallLog.txt", &text));
  EXPECT_EQ(text,
            "Error writing D:\\Dict\\a.dic Could not write file. \r\n\r\n"
            "Error writing D:\\b.dic Could not write file. \r\n\r\n"
            "Error writing vsq.dot Could not write file. \r\n\r\n"
            "Error writing C:\\x\\Readme.lnk Could not write file. \r\n\r\n");
}

}  // namespace
