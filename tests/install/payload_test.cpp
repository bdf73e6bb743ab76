#include "install/payload.h"

#include <gtest/gtest.h>

#include <fstream>

#include "install/split_dictionary.h"
#include "tests/support/test_machine.h"
#include "install/install_sequence.h"

namespace {

class PayloadTest : public ::testing::Test, protected LoggedMachine {
 protected:
  PayloadTest() { world.MakeFolders("C:\\Product"); }
};

TEST_F(PayloadTest, CompressedAndPlainItemsAreInstalledExpandedUnderTheGivenName) {
  EXPECT_TRUE(ExpandItem("README.HT_", "C:\\Product", "Readme.htm", &log, false));
  world.testLz.reportCapitals = true;  // the same name, whatever its case
  EXPECT_TRUE(ExpandItem("LICENSE.TXT", "C:\\Product\\", "License.txt", &log, false));
  EXPECT_EQ(world.Bytes("C:\\Product\\Readme.htm"), ExpandedContent("README.HT_"));
  EXPECT_EQ(world.Bytes("C:\\Product\\License.txt"), ExpandedContent("LICENSE.TXT"));
  EXPECT_EQ(LogText(),
            "C:\\Product\\Readme.htm - installed.\r\n"
            "C:\\Product\\License.txt - installed.\r\n");
  EXPECT_TRUE(world.TempFilesLeft().empty());
  EXPECT_EQ(world.files.OpenHandleCount(), 0u);
}

TEST_F(PayloadTest, MissingItemIsSkippedSilently) {
  EXPECT_EQ(ExpandPayloadItem("LUNVERA.DI_", "C:\\Product", "Lunvera.dic", &log, false), ExpandStatus::ItemMissing);
  EXPECT_TRUE(ExpandItem("LUNVERA.DI_", "C:\\Product", "Lunvera.dic", &log, false));
  EXPECT_EQ(LogText(), "");
  EXPECT_FALSE(world.Exists("C:\\Product\\Lunvera.dic"));
}

TEST_F(PayloadTest, EachFailureGetsItsErrorLineAndLeavesNoFileBehind) {
  // A folder that is not there, and no folder at all, which never becomes the current folder.
  EXPECT_FALSE(ExpandItem("README.HT_", "C:\\Missing", "Readme.htm", &log, false));
  EXPECT_FALSE(ExpandItem("VESSORA.JP_", "", "Vessora.jpg", &log, false));
  // An item cut short is not installed.
  std::string cut = world.testResources.Item("README.HT_");
  world.testResources.SetItem("README.HT_", cut.substr(0, cut.size() / 2));
  EXPECT_FALSE(ExpandItem("README.HT_", "C:\\Product", "Readme.htm", &log, false));
  world.testResources.SetItem("README.HT_", cut);
  // Held open without sharing: the LZ library makes Readme.ht_ instead, which must not stay; a
  // Readme.ht_ that was there before stays as it was.
  HANDLE held = world.files.CreateFileA("C:\\Product\\Readme.htm", GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  for (bool before : {false, true}) {
    if (before) std::ofstream(world.HostPath("C:\\Product\\Readme.ht_")) << "kept";
    EXPECT_FALSE(ExpandItem("README.HT_", "C:\\Product", "Readme.htm", &log, false));
    EXPECT_EQ(world.Bytes("C:\\Product\\Readme.ht_"), before ? "kept" : "(no file)");
  }
  world.files.CloseHandle(held);
  // The temporary file is made but cannot be opened for writing; its contents cannot be written whole; there
  // is no temporary folder (a drive that is not there).
  world.faulty.FailCreate(world.faulty.Creates() + 2);
  EXPECT_FALSE(ExpandItem("FENMOOR.GI_", "C:\\Product", "Fenmoor.gif", &log, false));
  world.faulty.FailWrite(world.faulty.Writes() + 1);
  EXPECT_FALSE(ExpandItem("FENMOOR.GI_", "C:\\Product", "Fenmoor.gif", &log, false));
  world.files.SetTempFolder("Q:\\TEMP");
  EXPECT_FALSE(ExpandItem("FENMOOR.GI_", "C:\\Product", "Fenmoor.gif", &log, false));

  const std::string product = "Error writing C:\\Product\\Readme.htm Could not write file. \r\n\r\n";
  const std::string temporary = "Error writing Fenmoor.gif Could not write temporary file. \r\n\r\n";
  EXPECT_EQ(LogText(), "Error writing C:\\Missing\\Readme.htm Could not write file. \r\n\r\n"
                       "Error writing Vessora.jpg Could not write file. \r\n\r\n" +
                           product + product + product + temporary + temporary + temporary);
  EXPECT_FALSE(world.Exists("C:\\Vessora.jpg"));
  EXPECT_FALSE(world.Exists("C:\\Product\\Fenmoor.gif"));
  EXPECT_TRUE(world.TempFilesLeft().empty());
}

TEST_F(PayloadTest, WholeDictionaryIsRegisteredOnlyWhenWritten) {
  ASSERT_TRUE(world.Prepare("office2000.reg", {"C:\\Dict"}));
  std::snprintf(g_dictionaryFolder, sizeof g_dictionaryFolder, "C:\\Dict");
  EXPECT_TRUE(InstallDictionary("VSQQUOR.DI_", "vsqquor.dic", "vsqquor", &log));
  // Into a folder that is not there: nothing is registered.
  std::snprintf(g_dictionaryFolder, sizeof g_dictionaryFolder, "C:\\Gone");
  world.testResources.SetItem("OTHER.DI_", world.testResources.Item("VSQQUOR.DI_"));
  EXPECT_FALSE(InstallDictionary("OTHER.DI_", "other.dic", "other", &log));
  EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER),
            (std::vector<std::string>{"1=C:\\Dict\\custom.dic", "2=C:\\Other\\words.dic", "3=C:\\Dict\\vsqquor.dic"}));
  EXPECT_EQ(world.DictionaryEntries(HKEY_LOCAL_MACHINE),
            (std::vector<std::string>{"1=C:\\Dict\\custom.dic", "2=C:\\Dict\\vsqquor.dic"}));
  EXPECT_EQ(LogText(),
            "C:\\Dict\\vsqquor.dic - installed.\r\n"
            "Error writing C:\\Gone\\other.dic Could not write file. \r\n\r\n");
}

TEST_F(PayloadTest, ExpandedSizeComesFromTheItemHeader) {
  EXPECT_EQ(ItemExpandedSize("README.HT_"), ExpandedContent("README.HT_").size());
  EXPECT_EQ(ItemExpandedSize("LICENSE.TXT"), world.testResources.Item("LICENSE.TXT").size());
  EXPECT_EQ(ItemExpandedSize("VSQQUOR.DI_"), 34722u);
  EXPECT_EQ(ItemExpandedSize("NOT.THERE"), 0u);
}

}  // namespace
