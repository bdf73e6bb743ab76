// The whole install over the portable machine where no scenario reaches: the Professional edition twice
// over Office 97, missing start-up and Programs folders, drive roots, texts too long for their paths.
// What a default install of each edition writes is stated by the scenarios in tests/e2e/scenarios.
#include "install/install_sequence.h"

#include <gtest/gtest.h>

#include <cstring>

#include "office/office_info.h"
#include "tests/support/test_machine.h"

namespace {

const char kTemplates2000[] = "C:\\WINDOWS\\Application Data\\Microsoft\\Templates";
const char kTemplates97[] = "C:\\Program Files\\Microsoft Office\\Templates";
const char kShortcuts[] = "C:\\WINDOWS\\Start Menu\\Programs\\Vessora\\";

const std::string kProduct = "C:\\Program Files\\Vessora";

// Each shortcut saved: its name in the product's Programs folder (else its whole path), target and description.
std::vector<std::string> Links(const TestMachine& world) {
  std::vector<std::string> links;
  for (const PortableShellServices::SavedLink& link : world.shell.SavedLinks()) {
    bool ours = link.linkPath.compare(0, std::strlen(kShortcuts), kShortcuts) == 0;
    links.push_back(link.linkPath.substr(ours ? std::strlen(kShortcuts) : 0) + " -> " + link.target + " | " +
                    link.description);
  }
  return links;
}

TEST(WholeInstall, SecondInstallReplacesLogAndShortcutsAndReusesRegistryNumbers) {
  for (const auto& [scenario, templates] : {std::pair<const char*, std::string>{"office2000.reg", kTemplates2000},
                                            {"office97.reg", kTemplates97}}) {
    SCOPED_TRACE(scenario);
    TestMachine world(EditionProfessional);
    ASSERT_TRUE(world.Prepare(scenario, {"C:\\Dict", kTemplates2000, kTemplates97,
                                         "C:\\Program Files\\Microsoft Office\\Office\\STARTUP",
                                         "C:\\WINDOWS\\Application Data\\Microsoft\\Word\\STARTUP"}));
    ASSERT_TRUE(world.Install("C:\\Dict"));
    EXPECT_TRUE(InstallSucceeded());
    // Each shortcut's target is in the folder it belongs to.
    EXPECT_EQ(Links(world), (std::vector<std::string>{
                                "Add Autocorrect Entries.lnk -> " + templates +
                                    "\\vsqauto1.dot | Adds macron autocorrect entries into Word",
                                "Readme.lnk -> " + kProduct + "\\Readme.htm | Readme for Vessora spell checker",
                                "Install Folder.lnk -> " + kProduct + " | Vessora install folder"}));
    // Temporary files carry the product's prefix.
    EXPECT_EQ(world.faulty.tempPrefixes, std::vector<std::string>(world.faulty.tempPrefixes.size(), "vsq"));
    std::string firstLog = world.LogText();
    std::vector<std::string> user = world.DictionaryEntries(HKEY_CURRENT_USER);
    std::vector<std::string> machine = world.DictionaryEntries(HKEY_LOCAL_MACHINE);
    std::string firstLink = world.Bytes(std::string(kShortcuts) + "Add Autocorrect Entries.lnk");
    ASSERT_NE(firstLink, "(no file)");

    ASSERT_TRUE(world.Install("C:\\Dict"));
    EXPECT_EQ(world.LogText(), firstLog);
    EXPECT_EQ(world.DictionaryEntries(HKEY_CURRENT_USER), user);
    EXPECT_EQ(world.DictionaryEntries(HKEY_LOCAL_MACHINE), machine);
    EXPECT_EQ(world.Bytes(std::string(kShortcuts) + "Add Autocorrect Entries.lnk"), firstLink);
    EXPECT_EQ(world.shell.SavedLinks().size(), 6u);
    EXPECT_EQ(world.shell.ChangeNotices().size(), 2u);
    EXPECT_TRUE(world.TempFilesLeft().empty());

    // An earlier log that cannot be replaced (open elsewhere, no sharing for writes) loses only this record.
    HANDLE held = world.files.CreateFileA((kProduct + "\\InstallLog.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    world.files.DeleteFileA((kProduct + "\\Readme.htm").c_str());
    EXPECT_EQ(InstallEdition(EditionProfessional, "C:\\Dict", "C:\\Program Files"), InstallResult::Installed);
    EXPECT_EQ(world.Bytes(kProduct + "\\Readme.htm"), ExpandedContent("README.HT_"));
    EXPECT_EQ(world.LogText(), firstLog);
    world.files.CloseHandle(held);
  }
}

TEST(WholeInstall, MissingStartupAndProgramsFoldersGiveErrorsNotFilesInTheCurrentFolder) {
  TestMachine world(EditionProfessional);
  ASSERT_TRUE(world.Prepare("no_office.reg", {"C:\\Dict", kTemplates97}));
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
  ASSERT_TRUE(world.Install("C:\\Dict", "C:\\Program Files\\"));
  EXPECT_EQ(g_installFolder, kProduct);
  ASSERT_TRUE(world.Install("C:\\Dict", "D:"));
  EXPECT_STREQ(g_installFolder, "D:\\Vessora");
  EXPECT_TRUE(world.Exists("D:\\Vessora\\InstallLog.txt"));
  // Under code page 932 the last byte of "\x95\\" is part of the character, not a separator: one is added.
  ASSERT_TRUE(world.shell.SetCodePage(932));
  world.MakeFolders("D:\\\x95\\");
  ASSERT_TRUE(world.Install("C:\\Dict", "D:\\\x95\\"));
  EXPECT_STREQ(g_installFolder, "D:\\\x95\\\\Vessora");
  // A parent that does not exist: no folder, nothing written.
  EXPECT_FALSE(world.Install("C:\\Dict", "C:\\No Such\\Parent"));
  EXPECT_FALSE(world.Exists("C:\\No Such"));
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
