// Word's list of custom dictionaries: finding, numbering and writing entries.
#include "office/custom_dictionaries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "office/path_helpers.h"
#include "office_fixture.h"

namespace {

class CustomDictionariesTest : public OfficeFixture {
 protected:
  // The list under a root as name=data pairs in index order; "(no key)" when it is missing.
  std::vector<std::pair<std::string, std::string>> List(HKEY root) {
    std::vector<std::pair<std::string, std::string>> entries;
    HKEY key = nullptr;
    if (registry.RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      return {{"(no key)", ""}};
    for (DWORD index = 0;; ++index) {
      char name[64];
      BYTE data[600];
      DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
      if (registry.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
      std::string text(reinterpret_cast<char*>(data), dataSize);
      if (type == REG_SZ && !text.empty() && text.back() == '\0') text.pop_back();
      entries.emplace_back(name, text);
    }
    registry.RegCloseKey(key);
    return entries;
  }
  void MakeList(HKEY root, const std::string& values) {
    LoadText(std::string("[") + (root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE") + "\\" +
             kCustomDictionariesKey + "]\n" + values);
  }
  using Entries = std::vector<std::pair<std::string, std::string>>;
};

TEST(ContainsNoCase, ComparesAsciiLettersWithoutCase) {
  EXPECT_TRUE(ContainsNoCase("D:\\OLD\\A.DIC", "a.dic"));
  EXPECT_TRUE(ContainsNoCase("C:\\Proof\\MyCustom.Dic", "custom.dic"));  // anywhere in the path
  EXPECT_TRUE(ContainsNoCase("anything", ""));
  EXPECT_TRUE(ContainsNoCase("", ""));
  EXPECT_FALSE(ContainsNoCase("custom.di", "custom.dic"));
  EXPECT_FALSE(ContainsNoCase("custom_dic", "custom.dic"));
  // Only A-Z and a-z fold; other bytes compare as they are.
  EXPECT_FALSE(ContainsNoCase("\xC4.dic", "\xE4.dic"));
  EXPECT_TRUE(ContainsNoCase("x\xE4.DIC", "\xE4.dic"));
  EXPECT_FALSE(ContainsNoCase(nullptr, "a"));
  EXPECT_FALSE(ContainsNoCase("a", nullptr));
}

// A registry that notes the roots opened for setting values, and whose list goes away after its first
// entry has been read when told to.
class WatchedRegistry : public Registry {
 public:
  explicit WatchedRegistry(Registry* inner) : inner(inner) {}
  LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) override {
    if (access & KEY_SET_VALUE) openedToSet.push_back(root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU");
    return inner->RegOpenKeyExA(root, subKey, options, access, result);
  }
  LONG RegQueryValueExA(HKEY key, LPCSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) override {
    return inner->RegQueryValueExA(key, name, reserved, type, data, size);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataSize) override {
    ++enumCalls;
    if (vanishing && index > 0) return ERROR_KEY_DELETED;
    return inner->RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }
  LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override {
    return inner->RegSetValueExA(key, name, reserved, type, data, size);
  }
  LONG RegCloseKey(HKEY key) override { return inner->RegCloseKey(key); }

  Registry* inner;
  bool vanishing = false;
  int enumCalls = 0;
  std::vector<std::string> openedToSet;
};

TEST_F(CustomDictionariesTest, RegisteringIntoAnEmptyUserListWritesEntryOne) {
  MakeList(HKEY_CURRENT_USER, "");
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\a.dic", "a.dic"));  // the machine has no list: that write fails
  EXPECT_EQ((Entries{{"1", "C:\\Dic\\a.dic"}}), List(HKEY_CURRENT_USER));
  EXPECT_EQ((Entries{{"(no key)", ""}}), List(HKEY_LOCAL_MACHINE));
  // The value is a REG_SZ with its terminator.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(HKEY_CURRENT_USER, kCustomDictionariesKey, 0, KEY_READ, &key));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, registry.RegQueryValueExA(key, "1", nullptr, &type, nullptr, &size));
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
  EXPECT_EQ(std::strlen("C:\\Dic\\a.dic") + 1, size);
  registry.RegCloseKey(key);
}

TEST_F(CustomDictionariesTest, NewEntriesTakeTheNumberAfterTheHighestAndExistingOnesAreReplaced) {
  LoadScenario("dictionaries.reg");
  // User list 1, 2, 7: a new file gets 8; gaps are not filled.
  char out[kPathCapacity] = "unchanged";
  EXPECT_EQ(8u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "new.dic"));
  EXPECT_STREQ("unchanged", out);
  // Machine list 3 (D:\OLD\A.DIC) and 5x, which reads as 5.
  EXPECT_EQ(3u, FindDictionaryEntry(HKEY_LOCAL_MACHINE, out, kPathCapacity, "a.dic"));
  EXPECT_STREQ("D:\\OLD\\A.DIC", out);

  WatchedRegistry watched(&registry);
  g_platform.registry = &watched;
  EXPECT_TRUE(RegisterDictionary("C:\\New\\a.dic", "a.dic"));
  g_platform.registry = &registry;
  EXPECT_EQ(watched.openedToSet, (std::vector<std::string>{"HKLM", "HKCU"}));  // the machine's list first
  EXPECT_EQ((Entries{{"3", "C:\\New\\a.dic"}, {"5x", "C:\\Dic\\five.dic"}}), List(HKEY_LOCAL_MACHINE));
  EXPECT_EQ((Entries{{"1", "C:\\Dic\\one.dic"}, {"2", "C:\\Dic\\two.dic"}, {"7", "C:\\Dic\\seven.dic"},
                     {"8", "C:\\New\\a.dic"}}),
            List(HKEY_CURRENT_USER));
  // A second registration of the same file reuses both numbers.
  EXPECT_TRUE(RegisterDictionary("E:\\Again\\A.dic", "a.dic"));
  EXPECT_EQ("E:\\Again\\A.dic", List(HKEY_LOCAL_MACHINE)[0].second);
  EXPECT_EQ(4u, List(HKEY_CURRENT_USER).size());
  EXPECT_EQ("E:\\Again\\A.dic", List(HKEY_CURRENT_USER)[3].second);
  // A new file on the machine side goes after 5x.
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\b.dic", "b.dic"));
  EXPECT_EQ("6", List(HKEY_LOCAL_MACHINE)[2].first);
}

TEST_F(CustomDictionariesTest, OnlyNumberedStringValuesTakePart) {
  MakeList(HKEY_CURRENT_USER,
           "\"Extra\"=\"C:\\\\Extra\\\\a.dic\"\n"
           "\"0\"=\"C:\\\\Zero\\\\a.dic\"\n"
           "\"4\"=hex(2):43,3a,5c,61,2e,64,69,63,00\n"
           "\"9\"=hex:43,3a,5c,61,2e,64,69,63,00\n"
           "\"6\"=dword:00000001\n"
           "\" +2\"=\"C:\\\\Two\\\\b.dic\"\n");
  char out[kPathCapacity] = "";
  // None of them matches a.dic or counts: " +2" reads as 2 and is the highest.
  EXPECT_EQ(3u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "a.dic"));
  EXPECT_STREQ("", out);
  EXPECT_EQ(2u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "B.DIC"));
  EXPECT_STREQ("C:\\Two\\b.dic", out);
}

TEST_F(CustomDictionariesTest, TheFirstMatchInIndexOrderWinsAndANewEntryFollowsTheHighestNotTheLast) {
  MakeList(HKEY_CURRENT_USER, "\"4\"=\"C:\\\\First\\\\mycustom.dic\"\n\"2\"=\"C:\\\\Second\\\\custom.dic\"\n");
  char out[kPathCapacity] = "";
  EXPECT_EQ(4u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "custom.dic"));
  EXPECT_STREQ("C:\\First\\mycustom.dic", out);
  EXPECT_EQ(5u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "other.dic"));
}

TEST_F(CustomDictionariesTest, EntriesTooLongToReadArePassedOver) {
  std::string longName(24, '9');  // 24 characters: one more than the name room
  std::string longPath = "C:\\" + std::string(253, 'p') + "\\a.dic";  // 263 bytes with its terminator
  MakeList(HKEY_CURRENT_USER, "\"" + longName + "\"=\"C:\\\\Long\\\\a.dic\"\n\"5\"=\"" + "C:\\\\" +
                                  std::string(253, 'p') + "\\\\a.dic\"\n\"2\"=\"C:\\\\Short\\\\a.dic\"\n");
  ASSERT_EQ(3u, List(HKEY_CURRENT_USER).size());
  char out[kPathCapacity] = "";
  EXPECT_EQ(2u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "a.dic"));
  EXPECT_STREQ("C:\\Short\\a.dic", out);
  EXPECT_EQ(3u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "none.dic"));
}

TEST_F(CustomDictionariesTest, PathsWithoutTerminatorAreTerminatedOrPassedOver) {
  MakeList(HKEY_CURRENT_USER, "");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(HKEY_CURRENT_USER, kCustomDictionariesKey, 0, KEY_SET_VALUE, &key));
  std::string fits = "C:\\" + std::string(250, 'f') + "\\x.dic";  // 259 bytes, no zero: room for one
  std::string full = fits + "c";                                  // 260 bytes, no zero: no room
  registry.RegSetValueExA(key, "3", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()), 260);
  registry.RegSetValueExA(key, "1", 0, REG_SZ, reinterpret_cast<const BYTE*>(fits.data()), 259);
  registry.RegCloseKey(key);
  std::vector<char> out(kPathCapacity, '#');
  EXPECT_EQ(1u, FindDictionaryEntry(HKEY_CURRENT_USER, out.data(), kPathCapacity, "x.dic"));
  EXPECT_EQ(fits, out.data());
  EXPECT_EQ(2u, FindDictionaryEntry(HKEY_CURRENT_USER, out.data(), kPathCapacity, "other.dic"));
}

TEST_F(CustomDictionariesTest, NumbersThatCannotBeWrittenAreRefused) {
  MakeList(HKEY_CURRENT_USER, "\"9999998\"=\"C:\\\\Dic\\\\x.dic\"\n");
  MakeList(HKEY_LOCAL_MACHINE, "\"9999999\"=\"C:\\\\Dic\\\\x.dic\"\n");
  // 9999999 has seven digits and fits; 10000000 would not, and is never cut to another name.
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\y.dic", "y.dic"));
  EXPECT_EQ("9999999", List(HKEY_CURRENT_USER)[1].first);
  EXPECT_EQ(1u, List(HKEY_LOCAL_MACHINE).size());
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\z.dic", "z.dic"));
  EXPECT_EQ(2u, List(HKEY_CURRENT_USER).size());
  EXPECT_EQ(1u, List(HKEY_LOCAL_MACHINE).size());

  // The highest number there is: no number after it, and nothing written as 0 or 1.
  MakeList(HKEY_CURRENT_USER, "\"4294967295\"=\"C:\\\\Dic\\\\w.dic\"\n\"99999999999\"=\"C:\\\\Dic\\\\v.dic\"\n");
  char out[kPathCapacity] = "";
  EXPECT_EQ(0xFFFFFFFFu, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "new.dic"));
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\new.dic", "new.dic"));
  EXPECT_EQ(4u, List(HKEY_CURRENT_USER).size());

  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 0));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 10000000));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, nullptr, 12));
  EXPECT_EQ(4u, List(HKEY_CURRENT_USER).size());
  EXPECT_TRUE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 12));
  EXPECT_EQ((std::pair<std::string, std::string>("12", "C:\\Dic\\n.dic")), List(HKEY_CURRENT_USER).back());
}

TEST_F(CustomDictionariesTest, NothingIsRegisteredWhereNoListExists) {
  EXPECT_EQ(0u, FindDictionaryEntry(HKEY_CURRENT_USER, nullptr, 0, "a.dic"));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\a.dic", 1));
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\a.dic", "a.dic"));
  EXPECT_EQ((Entries{{"(no key)", ""}}), List(HKEY_CURRENT_USER));
  EXPECT_EQ((Entries{{"(no key)", ""}}), List(HKEY_LOCAL_MACHINE));
  MakeList(HKEY_LOCAL_MACHINE, "");
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\a.dic", "a.dic"));
  EXPECT_EQ((Entries{{"1", "C:\\Dic\\a.dic"}}), List(HKEY_LOCAL_MACHINE));
  EXPECT_EQ((Entries{{"(no key)", ""}}), List(HKEY_CURRENT_USER));
}

TEST_F(CustomDictionariesTest, AListThatCannotBeReadFurtherEndsTheWalk) {
  MakeList(HKEY_CURRENT_USER, "\"4\"=\"C:\\\\Dic\\\\a.dic\"\n\"9\"=\"C:\\\\Dic\\\\b.dic\"\n");
  WatchedRegistry vanishing(&registry);
  vanishing.vanishing = true;
  g_platform.registry = &vanishing;
  char out[kPathCapacity] = "";
  EXPECT_EQ(5u, FindDictionaryEntry(HKEY_CURRENT_USER, out, kPathCapacity, "b.dic"));
  EXPECT_EQ(2, vanishing.enumCalls);
  g_platform.registry = &registry;
}

TEST_F(CustomDictionariesTest, LookupPrefersTheRootAskedForAndWantsAFolder) {
  LoadScenario("office97_xp.reg");
  char out[kPathCapacity];
  EXPECT_EQ(1u, LookupDictionaryPath(out, kPathCapacity, "custom.dic", true));
  EXPECT_STREQ("C:\\Program Files\\Common Files\\Microsoft Shared\\Proof\\custom.dic", out);
  EXPECT_EQ(1u, LookupDictionaryPath(out, kPathCapacity, "custom.dic", false));
  EXPECT_STREQ("C:\\Documents and Settings\\Ann\\Proof\\CUSTOM.DIC", out);
  EXPECT_EQ(0u, LookupDictionaryPath(out, kPathCapacity, "missing.dic", true));
}

TEST_F(CustomDictionariesTest, DefaultFolderIsTheFolderOfTheRegisteredCustomDic) {
  char folder[kPathCapacity] = "unchanged";
  // Both lists: the machine's wins.
  LoadScenario("office97_xp.reg");
  EXPECT_TRUE(GetDefaultDictionaryFolder(folder, kPathCapacity));
  EXPECT_STREQ("C:\\Program Files\\Common Files\\Microsoft Shared\\Proof\\", folder);
  // The user's list only.
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, kCustomDictionariesKey);
  MakeList(HKEY_CURRENT_USER, "\"1\"=\"C:\\\\Windows\\\\Custom.dic\"\n");
  EXPECT_TRUE(GetDefaultDictionaryFolder(folder, kPathCapacity));
  EXPECT_STREQ("C:\\Windows\\", folder);
}

TEST_F(CustomDictionariesTest, NoDefaultFolderForABareNameOrNoEntry) {
  LoadScenario("word95.reg");  // custom.dic only as a bare name, or under entries that take no part
  char folder[kPathCapacity] = "unchanged";
  EXPECT_FALSE(GetDefaultDictionaryFolder(folder, kPathCapacity));
  EXPECT_STREQ("unchanged", folder);
  LoadScenario("none.reg");
  EXPECT_FALSE(GetDefaultDictionaryFolder(folder, kPathCapacity));
  // custom.dic somewhere inside a long folder name: the folder would be cut, so there is no default.
  MakeList(HKEY_LOCAL_MACHINE, "\"1\"=\"C:\\\\custom.dic" + std::string(244, 'x') + "\\\\a\"\n");
  EXPECT_FALSE(GetDefaultDictionaryFolder(folder, kPathCapacity));
  EXPECT_STREQ("unchanged", folder);
}

}  // namespace
