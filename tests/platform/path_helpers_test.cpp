// Splitting and joining paths: every installed file is named through these.
#include "platform/path_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/test_machine.h"

namespace {

// The four components of a path as "drive|folder|fileName|extension".
std::string SplitOf(const char* path) {
  char drive[kDriveCapacity], folder[kComponentCapacity], fileName[kComponentCapacity], extension[kComponentCapacity];
  SplitPath(path, drive, folder, fileName, extension);
  return std::string(drive) + "|" + folder + "|" + fileName + "|" + extension;
}

// An output of exactly kPathCapacity bytes on the heap, so that any write past it is reported.
struct PathBuffer {
  std::vector<char> bytes = std::vector<char>(kPathCapacity, '#');
  char* data() { return bytes.data(); }
  std::string text() const { return std::string(bytes.data(), strnlen(bytes.data(), bytes.size())); }
};

// MakeFilePath into a PathBuffer: what the output holds, after "(refused) " when the path is refused.
std::string FilePath(const std::string& folder, const std::string& name) {
  PathBuffer out;
  bool made = MakeFilePath(out.data(), folder.c_str(), name.c_str());
  return (made ? "" : "(refused) ") + out.text();
}

TEST(SplitPath, TakesPathsApartIntoTheirFourComponents) {
  struct Case {
    const char *path, *expected;
  } cases[] = {
      {"C:\\a.b\\c", "C:|\\a.b\\|c|"},
      {"archive.tar.gz", "||archive.tar|.gz"},
      {"C:\\Program Files\\Setup\\Readme.htm", "C:|\\Program Files\\Setup\\|Readme|.htm"},
      {"d:/mixed\\seps/file.txt", "d:|/mixed\\seps/|file|.txt"},
      {"C:", "C:|||"},
      {"C:name.ext", "C:||name|.ext"},
      {"folder\\", "|folder\\||"},
      {".profile", "|||.profile"},
      {"name.", "||name|."},
      {"\\\\server\\share\\x.y", "|\\\\server\\share\\|x|.y"},
      {"", "|||"},
      {"c", "||c|"},  // one character: no drive, and nothing read past it
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, SplitOf(c.path)) << c.path;
}

TEST(SplitPath, FillsOnlyTheOutputsGivenAndCutsEachToItsRoom) {
  char folder[kComponentCapacity];
  SplitPath("C:\\dir\\file.txt", nullptr, folder, nullptr, nullptr);
  EXPECT_STREQ("\\dir\\", folder);
  SplitPath(nullptr, nullptr, folder, nullptr, nullptr);
  EXPECT_STREQ("", folder);

  // Heap outputs of exactly their room: any write past them is reported.
  std::string longFolder = "\\" + std::string(300, 'f') + "\\";
  std::string path = "C:" + longFolder + std::string(270, 'n') + "." + std::string(280, 'e');
  std::vector<char> drive(kDriveCapacity), dir(kComponentCapacity), name(kComponentCapacity), ext(kComponentCapacity);
  SplitPath(path.c_str(), drive.data(), dir.data(), name.data(), ext.data());
  EXPECT_STREQ("C:", drive.data());
  EXPECT_EQ(longFolder.substr(0, 255), dir.data());
  EXPECT_EQ(std::string(255, 'n'), name.data());
  EXPECT_EQ("." + std::string(254, 'e'), ext.data());
  EXPECT_FALSE(PathComponentsFit(path.c_str()));
  EXPECT_TRUE(PathComponentsFit(("C:\\" + std::string(253, 'f') + "\\x").c_str()));
}

TEST(SplitPath, StepsOverTheTwoByteCharactersOfTheCodePage) {
  // In code page 932 "\x95\\" is one character, its second byte a backslash; in 1252 two.
  TestMachine world;  // its shell in g_platform until the test ends, however it ends
  struct Case {
    UINT codePage;
    const char *path, *split, *joined;  // joined: the path as a folder with a.txt in it, "" when refused
  } cases[] = {
      {932, "C:\\dir\\\x95\\", "C:|\\dir\\|\x95\\|", "C:\\dir\\\x95\\\\a.txt"},
      {1252, "C:\\dir\\\x95\\", "C:|\\dir\\\x95\\||", "C:\\dir\\\x95\\a.txt"},
      {932, "\x83:\\.x\\\x83", "|\x83:\\.x\\|\x83|", ""},  // a lone lead byte at the end
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(world.shell.SetCodePage(c.codePage));
    EXPECT_EQ(c.split, SplitOf(c.path)) << c.codePage;
    PathBuffer joined, made;
    EXPECT_EQ(*c.joined != '\0', MakeFilePath(joined.data(), c.path, "a.txt")) << c.codePage;
    EXPECT_EQ(*c.joined != '\0', MakePath(made.data(), nullptr, c.path, "a", "txt")) << c.codePage;
    EXPECT_EQ(std::string(c.joined) + "|" + c.joined, joined.text() + "|" + made.text()) << c.codePage;
    EXPECT_EQ(c.codePage == 1252, EndsInBackslash(c.path)) << c.codePage;
  }
}

TEST(MakePath, JoinsWhateverComponentsAreGiven) {
  struct Case {
    const char *drive, *folder, *fileName, *extension, *expected;
  } cases[] = {
      {"C:", "\\dir\\", "file", ".txt", "C:\\dir\\file.txt"},
      {"C", "dir", "file", "txt", "C:dir\\file.txt"},
      {"C:", "/dir/", "file", "", "C:/dir/file"},
      {nullptr, nullptr, "file", nullptr, "file"},
      {"", "", "", "", ""},
      {"D:", "\\", nullptr, nullptr, "D:\\"},
  };
  for (const Case& c : cases) {
    PathBuffer out;
    EXPECT_TRUE(MakePath(out.data(), c.drive, c.folder, c.fileName, c.extension));
    EXPECT_EQ(c.expected, out.text());
  }
}

TEST(MakeFilePath, PutsOneBackslashBetweenFolderAndFileName) {
  struct Case {
    const char *folder, *name, *expected;
  } cases[] = {
      {"C:\\Program Files\\Setup", "Readme.htm", "C:\\Program Files\\Setup\\Readme.htm"},
      {"C:\\Program Files\\Setup\\", "Readme.htm", "C:\\Program Files\\Setup\\Readme.htm"},
      {"C:", "Readme.htm", "C:\\Readme.htm"},
      {"", "Readme.htm", "Readme.htm"},
      {"C:\\My.Folder", "a.b.c", "C:\\My.Folder\\a.b.c"},
      {"C:\\Vessora", "sub\\file.txt", "C:\\Vessora\\file.txt"},  // only the name of a name counts
      {"C:\\Vessora", "D:\\other\\file", "C:\\Vessora\\file"},
      {"C:/Vessora/", "file.txt", "C:/Vessora/\\file.txt"},  // only a backslash ends a folder
      {"relative", "x.dic", "relative\\x.dic"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, FilePath(c.folder, c.name)) << c.folder;
  // The output may be the folder itself.
  char same[kPathCapacity] = "C:\\Vessora";
  EXPECT_TRUE(MakeFilePath(same, same, "InstallLog.txt"));
  EXPECT_STREQ("C:\\Vessora\\InstallLog.txt", same);
}

TEST(MakeFilePath, RefusesAPathThatWouldNotFitInsteadOfCuttingIt) {
  // 259 characters fit the 260-byte output; one more is refused, leaving the output empty.
  std::string folder = "C:\\" + std::string(240, 'f');
  std::string fits = std::string(259 - folder.size() - 1 - 4, 'n') + ".dic";
  EXPECT_EQ(259u, (folder + "\\" + fits).size());
  EXPECT_EQ(folder + "\\" + fits, FilePath(folder, fits));

  // Refused too: a folder that alone fills the buffer, with or without its backslash, and a folder component
  // of 256, longer than its room, which would be cut into another folder although the joined path is short.
  std::string full = "C:\\" + std::string(256, 'f');
  for (const std::pair<std::string, std::string>& refused : std::vector<std::pair<std::string, std::string>>{
           {folder, "n" + fits}, {folder, std::string(300, 'x') + ".dic"}, {full, "a"}, {full + "\\", ""},
           {"C:\\" + std::string(254, 'd') + "\\", "a"}})
    EXPECT_EQ("(refused) ", FilePath(refused.first, refused.second)) << refused.first.size();

  char tooLong[kPathCapacity];
  std::string drive = "C:";
  EXPECT_FALSE(MakePath(tooLong, drive.c_str(), std::string(250, 'd').c_str(), std::string(10, 'n').c_str(), "x"));
  EXPECT_STREQ("", tooLong);
}

}  // namespace
