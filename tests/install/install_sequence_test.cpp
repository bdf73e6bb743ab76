// The whole install over the portable machine where no scenario reaches: missing start-up and Programs
// folders, drive roots, code pages, texts too long for their paths. What the installs of each edition
// write, again or over a locked file, is stated by the scenarios in tests/e2e/scenarios.
#include "install/install_sequence.h"

#include <gtest/gtest.h>

#include "office/office_info.h"
#include "tests/support/test_machine.h"

namespace {

TEST(WholeInstall, MissingStartupAndProgramsFoldersGiveErrorsNotFilesInTheCurrentFolder) {
  TestMachine world(EditionProfessional);
  ASSERT_TRUE(world.Prepare("no_office.reg", {"C:\\Dict", "C:\\Program Files\\Microsoft Office\\Templates"}));
  world.shell.SetProgramsFolder("");
  ASSERT_TRUE(world.Install("C:\\Dict"));
  std::string log = world.LogText();
  for (std::string name : {"vsq.dot", "Add Autocorrect Entries.lnk", "Readme.lnk", "Install Folder.lnk"})
    EXPECT_NE(log.find("Error writing " + name + " Could not write file. \r\n\r\n"), std::string::npos) << name;
  EXPECT_EQ(log.find("Installation complete."), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 36), "Installation finished with errors.\r\n");
  EXPECT_EQ(g_installOutcome.failures, 4);
  EXPECT_FALSE(InstallSucceeded());
  for (const char* stray : {"C:\\vsq.dot", "C:\\Readme.lnk"}) EXPECT_FALSE(world.Exists(stray)) << stray;
  // Everything else went in.
  for (std::string file : {"Dict\\lunve3.dic", "Dict\\vsquni1.dic", "Program Files\\Vessora\\vowelconvrt.gif"})
    EXPECT_TRUE(world.Exists("C:\\" + file)) << file;
}

TEST(WholeInstall, ProductFolderIsFormedFromTheChosenFolder) {
  TestMachine world;
  ASSERT_TRUE(world.Prepare("office2000.reg", {"C:\\Dict", "C:\\Program Files"}));
  ASSERT_TRUE(world.Install("C:\\Dict", "D:"));
  EXPECT_STREQ(g_installFolder, "D:\\Vessora");
  EXPECT_TRUE(world.Exists("D:\\Vessora\\InstallLog.txt"));
  // Under code page 932 the last byte of "\x95\\" is part of the character, not a separator: one is added.
  ASSERT_TRUE(world.shell.SetCodePage(932));
  world.MakeFolders("D:\\\x95\\");
  ASSERT_TRUE(world.Install("C:\\Dict", "D:\\\x95\\"));
  EXPECT_STREQ(g_installFolder, "D:\\\x95\\\\Vessora");
}

TEST(WholeInstall, FolderTextsTooLongForTheirPathsAreRefusedBeforeAnythingIsWritten) {
  struct Case {
    Edition edition;
    size_t longestInstall;  // typed characters, no trailing backslash
  };
  // The product folder must hold InstallLog.txt, and vowelconvrt.gif in the Professional edition.
  for (Case c : {Case{EditionQuorvel, 236}, Case{EditionProfessional, 235}}) {
    TestMachine world(c.edition);
    std::string longest = "C:\\" + std::string(c.longestInstall - 3, 'p');
    ASSERT_TRUE(world.Prepare("office2000.reg", {"C:\\Dict", longest}));
    EXPECT_FALSE(world.Install("C:\\Dict", longest + "q"));
    EXPECT_FALSE(world.Install("C:\\Dict", longest + "q\\"));
    EXPECT_FALSE(world.Exists(longest + "q"));
    ASSERT_TRUE(world.Install("C:\\Dict", longest + "\\"));
    ASSERT_TRUE(world.Install("C:\\Dict", longest));
    EXPECT_TRUE(world.Exists(longest + "\\Vessora\\InstallLog.txt"));
    // The LZ library opens no path that long: every row of the product folder is an error.
    EXPECT_NE(world.LogText().find("Error writing " + longest + "\\Vessora\\Readme.htm Could not"), std::string::npos);
  }
  // The dictionary folder must hold vsqquor.dic whole (Word 2000), or vsqquor1.dic (Word 97).
  TestMachine world(EditionQuorvel);
  ASSERT_TRUE(world.Prepare("office2000.reg", {"C:\\Program Files"}));
  std::string dictionary = "C:\\" + std::string(244, 'd');
  EXPECT_TRUE(world.Install(dictionary));
  EXPECT_FALSE(world.Install(dictionary + "e"));
  world.LoadScenario("office97.reg");
  EXPECT_FALSE(world.Install(dictionary));
  EXPECT_FALSE(world.Install("", "C:\\Program Files"));
  EXPECT_FALSE(world.Install("C:\\Dict", ""));
}

TEST(Edition, StringTwoNamesItWhateverItsCase) {
  TestMachine world;
  struct Case {
    const char* name;
    Edition edition;
  };
  for (const Case& c : {Case{"Professional", EditionProfessional}, Case{"PROFESSIONAL", EditionProfessional},
                        Case{"quorvel", EditionQuorvel}, Case{"Standard", EditionStandard},
                        Case{"Professionals", EditionStandard}, Case{"", EditionStandard}}) {
    world.testResources.SetString(2, c.name);
    EXPECT_EQ(GetEdition(), c.edition) << c.name;
  }
  world.testResources.RemoveString(2);
  EXPECT_EQ(GetEdition(), EditionStandard);
}

}  // namespace
