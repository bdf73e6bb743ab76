#include "install/shortcuts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/link_fields.h"
#include "tests/support/test_machine.h"

namespace {

const char kPrograms[] = "C:\\WINDOWS\\Start Menu\\Programs";

TEST(ProgramsSubfolder, IsMadeInTheProgramsFolderAndAnnouncedEveryTimeWhenThereIsOne) {
  TestMachine world;
  char folder[260] = "";
  ASSERT_TRUE(CreateProgramsSubfolder("\\Vessora", folder));
  EXPECT_STREQ(folder, "C:\\WINDOWS\\Start Menu\\Programs\\Vessora");
  EXPECT_TRUE(world.Exists(folder));
  ASSERT_TRUE(CreateProgramsSubfolder("\\Vessora", folder));  // the second install reuses it
  ASSERT_EQ(world.shell.ChangeNotices().size(), 2u);
  for (const auto& notice : world.shell.ChangeNotices()) {
    EXPECT_EQ(notice.eventId, SHCNE_MKDIR);
    EXPECT_EQ(notice.flags, static_cast<UINT>(SHCNF_PATHA));
    EXPECT_EQ(notice.path, folder);
  }
  // Without a Programs folder nothing is made or announced, and the buffer stays.
  world.shell.SetProgramsFolder("C:\\Nowhere\\Programs");
  char kept[260] = "kept";
  EXPECT_FALSE(CreateProgramsSubfolder("\\Vessora", kept));
  EXPECT_STREQ(kept, "kept");
  EXPECT_EQ(world.shell.ChangeNotices().size(), 2u);
  EXPECT_FALSE(world.Exists("C:\\Nowhere"));
  EXPECT_EQ(world.shell.LiveItemLists(), 0u);
  EXPECT_EQ(world.shell.AllocatorReferences(), 0);
}

TEST(Shortcut, SavesALinkFileWithTargetDescriptionAndFolderAttribute) {
  TestMachine world;
  world.c.WriteFile("Program Files/Vessora/Readme.htm", "<html></html>");
  world.files.CreateDirectoryA("C:\\WINDOWS\\Start Menu\\Programs\\Vessora", nullptr);

  std::string links = std::string(kPrograms) + "\\Vessora\\";
  EXPECT_EQ(CreateShortcut("C:\\Program Files\\Vessora\\Readme.htm", (links + "Readme.lnk").c_str(),
                           "Readme for Vessora spell checker"),
            S_OK);
  EXPECT_EQ(CreateShortcut("C:\\Program Files\\Vessora", (links + "Install Folder.lnk").c_str(),
                           "Vessora install folder"),
            S_OK);
  EXPECT_EQ(world.shell.LiveLinkObjects(), 0);

  LinkFields file = ReadLink(world.Bytes(links + "Readme.lnk"));
  EXPECT_TRUE(file.whole) << "a terminal block ends the file";
  EXPECT_EQ(file.headerSize, 0x4Cu);
  EXPECT_EQ(file.clsid, std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  EXPECT_EQ(file.flags & 0x6u, 0x6u);
  EXPECT_EQ(file.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(file.fileSize, 13u);
  EXPECT_EQ(file.localBasePathUnicode, file.localBasePath);
  // Each link's path, description and folder attribute, lnkinfo reads (lnkinfo/check_links.sh).
  EXPECT_TRUE(ReadLink(world.Bytes(links + "Install Folder.lnk")).whole);
}

TEST(Shortcut, FailuresWriteNothingAndReleaseEverything) {
  TestMachine world;
  EXPECT_TRUE(FAILED(CreateShortcut("C:\\x", "C:\\No Folder\\x.lnk", "d")));
  world.shell.SetShellLinkAvailable(false);
  EXPECT_TRUE(FAILED(CreateShortcut("C:\\x", (std::string(kPrograms) + "\\x.lnk").c_str(), "d")));
  world.shell.SetShellLinkAvailable(true);
  // The link file cannot be written whole: no cut-off link stays behind.
  world.faulty.FailWrite(world.faulty.Writes() + 1);
  EXPECT_TRUE(FAILED(CreateShortcut("C:\\x", (std::string(kPrograms) + "\\y.lnk").c_str(), "d")));
  EXPECT_FALSE(world.Exists(std::string(kPrograms) + "\\x.lnk"));
  EXPECT_FALSE(world.Exists(std::string(kPrograms) + "\\y.lnk"));
  EXPECT_EQ(world.shell.LiveLinkObjects(), 0);
  EXPECT_TRUE(world.shell.SavedLinks().empty());
}

}  // namespace
