// Which Office versions the registry shows, and where Word's folders are. The registry probe checks every
// lookup of each scenario as loaded against its .expected file (tests/office/data); these tests change them.
#include "office/office_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/path_helpers.h"
#include "office_fixture.h"

namespace {

const char kInstallDefault[] = "C:\\Program Files\\Microsoft Office\\Templates\\";

const std::string kFailed = "(failed) " + std::string(kInstallDefault);

class OfficeInfoTest : public OfficeFixture {
 protected:
  // A lookup into a kPathCapacity output on the heap holding the install's default text, so that a lookup
  // that fails can be seen to leave it alone ("(failed) " before it) and any overrun is reported.
  enum Lookup { kOffice, kTemplates, kStartup };
  static std::string Folder(Lookup lookup, DWORD version = 0) {
    std::vector<char> out(kPathCapacity, '#');
    std::memcpy(out.data(), kInstallDefault, sizeof kInstallDefault);
    bool found = lookup == kOffice      ? g_officeInfo.GetOfficeFolder(out.data(), kPathCapacity)
                 : lookup == kTemplates ? g_officeInfo.GetTemplatesFolder(out.data(), kPathCapacity, version)
                                        : g_officeInfo.GetStartupFolder(out.data(), kPathCapacity, version);
    return (found ? "" : "(failed) ") + std::string(out.data(), strnlen(out.data(), out.size()));
  }
  // What DetectVersions finds: "count current oldest".
  static std::string Detect() {
    int count = g_officeInfo.DetectVersions();
    return std::to_string(count) + " " + std::to_string(g_officeInfo.CurrentVersion()) + " " +
           std::to_string(g_officeInfo.OldestVersion());
  }
};

TEST_F(OfficeInfoTest, NothingInstalled) {
  LoadScenario("none.reg");
  EXPECT_EQ("0 0 7", Detect());
  // Every lookup fails and leaves the caller's text as it was, for versions beside those the report asks for.
  for (DWORD version : {0u, 6u, 11u, 0xFFFFFFFFu}) {  // 0: the current version when none is found
    EXPECT_EQ(kFailed, Folder(kTemplates, version)) << version;
    EXPECT_EQ(kFailed, Folder(kStartup, version)) << version;
  }
}

TEST_F(OfficeInfoTest, WordNinetyFiveReadsItsOwnKeys) {
  LoadScenario("word95.reg");
  EXPECT_EQ("1 7 7", Detect());
  LoadText(
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Office\\95\\FileNew\\LocalTemplates]\n"
      "\"USER-DOT-PATH\"=\"C:\\\\MSOFFICE\\\\Templates\"\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Word\\7.0\\Options]\n"
      "\"STARTUP-PATH\"=\"C:\\\\MSOFFICE\\\\WINWORD\\\\STARTUP\"\n");
  EXPECT_EQ("C:\\MSOFFICE\\Templates", Folder(kTemplates, 7));
  EXPECT_EQ("C:\\MSOFFICE\\WINWORD\\STARTUP", Folder(kStartup, 7));
  LoadText(
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Office\\95\\FileNew\\SharedTemplates]\n"
      "\"WORKGROUP-DOT-PATH\"=\"N:\\\\Group\"\n");
  EXPECT_EQ("N:\\Group", Folder(kTemplates, 7));
}

TEST_F(OfficeInfoTest, TemplatesFallBackToTheProgramFolderOfTheCurrentVersion) {
  LoadText(
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Office\\9.0\\Common\\InstallRoot]\n"
      "\"Path\"=\"C:\\\\Office 2000\\\\\"\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\9.0\\Common\\General]\n"
      "\"Other\"=\"C:\\\\Not\\\\Used\"\n");
  EXPECT_EQ("1 9 9", Detect());
  EXPECT_EQ("C:\\Office 2000\\", Folder(kTemplates, 9));
  // A value that is there but empty is a folder found, and an empty one.
  LoadText("[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\9.0\\Common\\General]\n\"UserTemplates\"=\"\"\n");
  EXPECT_EQ("", Folder(kTemplates, 9));
}

TEST_F(OfficeInfoTest, TemplatesAndStartupFallBackWhereTheirKeysAreMissing) {
  LoadScenario("office97_xp.reg");
  EXPECT_EQ("2 10 8", Detect());
  // Without its shared templates key, version 8 reads the local templates key's default value.
  registry.DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\SharedTemplates");
  EXPECT_EQ("C:\\Program Files\\Microsoft Office\\Templates", Folder(kTemplates, 8));
  // No STARTUP-PATH and no STARTUP folder yet: the template folder stands in.
  EXPECT_EQ("C:\\Documents and Settings\\Ann\\Application Data\\Microsoft\\Templates", Folder(kStartup, 10));
  // The folder is found whatever the case of its name; the result has no trailing backslash.
  drive.MakeFolder("Program Files/Microsoft Office XP/Office10/Startup");
  EXPECT_EQ("C:\\Program Files\\Microsoft Office XP\\Office10\\STARTUP", Folder(kStartup, 10));
  // A file of that name is not a folder.
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office");
  LoadScenario("office2000.reg");
  g_officeInfo.Reset();
  EXPECT_EQ("1 9 9", Detect());
  registry.DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\9.0\\Word\\Options");
  EXPECT_EQ(kFailed, Folder(kStartup, 9));  // no options key: no fallback at all
  LoadText("[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\9.0\\Word\\Options]\n");
  drive.WriteFile("Program Files/Microsoft Office/Office/STARTUP", "not a folder");
  EXPECT_EQ("C:\\Shared\\Templates", Folder(kStartup, 9));
}

TEST_F(OfficeInfoTest, StartupFallbackRefusesAJoinThatWouldNotFit) {
  // A program folder of 255 characters: with "\STARTUP" it would pass 259, so the template folder serves.
  std::string folder = "C:\\" + std::string(252, 'o');
  LoadText("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot]\n\"Path\"=\"C:\\\\" +
           std::string(252, 'o') + "\"\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\10.0\\Word\\Options]\n");
  EXPECT_EQ("1 10 10", Detect());
  EXPECT_EQ(folder, Folder(kOffice));
  // What a join cut to 259 characters would name exists, so cutting would be seen.
  drive.MakeFolder(std::string(252, 'o') + "/STA");
  EXPECT_EQ(folder, Folder(kStartup, 10));
}

TEST_F(OfficeInfoTest, ValuesOfAnyTypeAreReadAsTerminatedTextOrNotAtAll) {
  LoadScenario("odd_values.reg");
  EXPECT_EQ("3 9 7", Detect());
  // Word 95's folder has no terminating zero, Office 97's is a number: each comes back terminated.
  g_officeInfo.Reset();
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\9.0");
  EXPECT_EQ("2 8 7", Detect());
  EXPECT_EQ("ABC", Folder(kOffice));
  g_officeInfo.Reset();
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\8.0");
  EXPECT_EQ("1 7 7", Detect());
  EXPECT_EQ("C:\\WINWORD", Folder(kOffice));
  // Only XP's 261-byte folder is left: not an install.
  g_officeInfo.Reset();
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Word");
  EXPECT_EQ("0 0 7", Detect());
}

TEST_F(OfficeInfoTest, DataThatCannotBeTerminatedInsideTheOutputCountsAsMissing) {
  // 260 bytes without a zero: nothing left for the terminator, so not installed.
  std::string full = "\"Path\"=hex(1):78";  // 'x'
  for (DWORD i = 1; i < kPathCapacity; ++i) full += ",78";
  LoadText("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot]\n" + full + "\n");
  EXPECT_EQ("0 0 7", Detect());

  // With a smaller output the same rule holds for its own capacity.
  LoadText("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Office\\9.0\\Common\\InstallRoot]\n\"Path\"=\"C:\\\\O\"\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\9.0\\Common\\General]\n"
           "\"SharedTemplates\"=hex:41,42,43,44\n");
  EXPECT_EQ("1 9 9", Detect());
  // "ABCD" has no zero: it needs 5 bytes, and so does the fallback "C:\O".
  std::vector<char> small(4, '#');
  EXPECT_FALSE(g_officeInfo.GetTemplatesFolder(small.data(), 4, 9));
  EXPECT_EQ(std::string(4, '#'), std::string(small.begin(), small.end()));
  std::vector<char> five(5, '#');
  EXPECT_TRUE(g_officeInfo.GetTemplatesFolder(five.data(), 5, 9));
  EXPECT_STREQ("ABCD", five.data());
}

}  // namespace
