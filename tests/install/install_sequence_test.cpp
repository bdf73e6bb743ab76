// The whole install over the portable machine where no scenario reaches: missing start-up and Programs
// folders, drive roots, code pages. What the installs of each edition write, again, over a locked file or
// into folders too long for their paths, is stated by the scenarios in tests/e2e/scenarios.
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
