#include "install/install_log.h"

#include <gtest/gtest.h>

#include "tests/support/test_machine.h"

namespace {

class InstallLogTest : public ::testing::Test, protected LoggedMachine {};

TEST_F(InstallLogTest, WritesExactlyTheTextsGivenAndReplacesAnEarlierLog) {
  log.Write("an earlier log, longer than the one that replaces it\r\n");
  log.Close();
  {
    InstallLog again;
    again.Open("C:\\Log\\");  // a trailing backslash names the same file
    again.Write("Vessora Installation Log\r\n\r\n");
    again.Write("");
    again.Write("\xe4 caf\xe9\r\n");
    EXPECT_TRUE(again.IsOpen());
  }
  EXPECT_EQ(world.Bytes("C:\\Log\\InstallLog.txt"), "Vessora Installation Log\r\n\r\n\xe4 caf\xe9\r\n");
  EXPECT_EQ(world.files.OpenHandleCount(), 0u);
}

TEST_F(InstallLogTest, ClosedOrUncreatableLogIgnoresWrites) {
  InstallLog never;
  never.Write("nothing");
  never.Close();
  EXPECT_FALSE(never.IsOpen());

  InstallLog missing;
  missing.Open("C:\\No Such Folder");
  missing.Write("lost");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(world.Exists("C:\\No Such Folder"));
}

TEST_F(InstallLogTest, AShortWriteIsNotRetriedAndLaterWritesStillGoIn) {
  world.faulty.FailWrite(world.faulty.Writes() + 2);
  for (const char* text : {"one\r\n", "two\r\n", "three\r\n"}) log.Write(text);
  EXPECT_EQ(LogText(), "one\r\ntwthree\r\n");  // half of the failing write arrived
}

TEST_F(InstallLogTest, ErrorLineNamesTheFolderAndFile) {
  ASSERT_TRUE(world.shell.SetCodePage(932));  // where "\x95\\" is one character, ending in a byte 0x5C
  WriteErrorLine(&log, "D:\\Dict", "a.dic");
  WriteErrorLine(&log, "D:\\", "b.dic");
  WriteErrorLine(&log, "D:\\\x95\\", "c.dic");
  WriteErrorLine(&log, "", "vsq.dot");
  WriteErrorLine(&log, nullptr, "C:\\x\\Readme.lnk");
  EXPECT_EQ(LogText(),
            "Error writing D:\\Dict\\a.dic Could not write file. \r\n\r\n"
            "Error writing D:\\b.dic Could not write file. \r\n\r\n"
            "Error writing D:\\\x95\\\\c.dic Could not write file. \r\n\r\n"
            "Error writing vsq.dot Could not write file. \r\n\r\n"
            "Error writing C:\\x\\Readme.lnk Could not write file. \r\n\r\n");
}

}  // namespace
