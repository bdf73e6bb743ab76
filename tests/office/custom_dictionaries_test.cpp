// Word's list of custom dictionaries: finding, numbering and writing entries.
#include "office/custom_dictionaries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/path_helpers.h"
#include "office_fixture.h"
#include "tests/support/office_report.h"

namespace {

using Entries = std::vector<std::string>;

class CustomDictionariesTest : public OfficeFixture {
 protected:
  // The list under a root as name=data in index order: text (a REG_SZ ending in a zero) without that zero, any
  // other data whole after "(type N) "; "(no key)" when the list is missing.
  Entries List(HKEY root) {
    std::vector<ListValue> values;
    if (!ReadDictionaryList(root, &values)) return {"(no key)"};
    Entries entries;
    for (const ListValue& value : values) {
      bool text = value.type == REG_SZ && !value.data.empty() && value.data.back() == '\0';
      std::string mark = text ? "" : "(type " + std::to_string(value.type) + ") ";
      entries.push_back(value.name + "=" + mark + value.data.substr(0, value.data.size() - (text ? 1 : 0)));
    }
    return entries;
  }
  void MakeList(HKEY root, const std::string& values) {
    LoadText(std::string("[") + (root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE") + "\\" +
             kCustomDictionariesKey + "]\n" + values);
  }
  // A lookup's number, then what it left in a kPathCapacity output on the heap that held "unchanged".
  template <typename Lookup>
  static std::string Out(Lookup lookup) {
    std::vector<char> out(kPathCapacity, '#');
    std::strcpy(out.data(), "unchanged");
    DWORD number = lookup(out.data());
    return std::to_string(number) + " " + std::string(out.data(), strnlen(out.data(), out.size()));
  }
  static std::string Find(HKEY root, const char* fileName) {
    return Out([&](char* out) { return FindDictionaryEntry(root, out, kPathCapacity, fileName); });
  }
  static std::string DefaultFolder() {
    return Out([](char* out) { return GetDefaultDictionaryFolder(out, kPathCapacity) ? 1u : 0u; });
  }
};

TEST(ContainsNoCase, ComparesAsciiLettersWithoutCase) {
  // Anywhere in the path; only A-Z and a-z fold, other bytes compare as they are.
  for (const auto& [text, sought, contains] : std::vector<std::tuple<const char*, const char*, bool>>{
           {"D:\\OLD\\A.DIC", "a.dic", true}, {"C:\\Proof\\MyCustom.Dic", "custom.dic", true}, {"anything", "", true},
           {"", "", true}, {"custom.di", "custom.dic", false}, {"custom_dic", "custom.dic", false},
           {"\xC4.dic", "\xE4.dic", false}, {"x\xE4.DIC", "\xE4.dic", true}, {nullptr, "a", false}, {"a", nullptr, false}})
    EXPECT_EQ(ContainsNoCase(text, sought), contains) << (text ? text : "null") << " / " << (sought ? sought : "null");
}

TEST_F(CustomDictionariesTest, NewEntriesTakeTheNumberAfterTheHighestAndExistingOnesAreReplaced) {
  LoadScenario("dictionaries.reg");
  // User list 1, 2, 7: a new file gets 8; gaps are not filled.
  EXPECT_EQ("8 unchanged", Find(HKEY_CURRENT_USER, "new.dic"));
  // Machine list 3 (D:\OLD\A.DIC) and 5x, which reads as 5.
  EXPECT_EQ("3 D:\\OLD\\A.DIC", Find(HKEY_LOCAL_MACHINE, "a.dic"));

  registry.openedToSet.clear();
  EXPECT_TRUE(RegisterDictionary("C:\\New\\a.dic", "a.dic"));
  EXPECT_EQ(registry.openedToSet, (std::vector<std::string>{"HKLM", "HKCU"}));  // the machine's list first
  // The lists it leaves are in dictionaries.expected. A second registration of the same file reuses both numbers.
  EXPECT_TRUE(RegisterDictionary("E:\\Again\\A.dic", "a.dic"));
  EXPECT_EQ((Entries{"3=E:\\Again\\A.dic", "5x=C:\\Dic\\five.dic"}), List(HKEY_LOCAL_MACHINE));
  EXPECT_EQ((Entries{"1=C:\\Dic\\one.dic", "2=C:\\Dic\\two.dic", "7=C:\\Dic\\seven.dic", "8=E:\\Again\\A.dic"}),
            List(HKEY_CURRENT_USER));
  // A new file on the machine side goes after 5x.
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\b.dic", "b.dic"));
  EXPECT_EQ("6=C:\\Dic\\b.dic", List(HKEY_LOCAL_MACHINE)[2]);
}

TEST_F(CustomDictionariesTest, OnlyNumberedStringValuesTakePart) {
  MakeList(HKEY_CURRENT_USER,
           "\"Extra\"=\"C:\\\\Extra\\\\a.dic\"\n"
           "\"0\"=\"C:\\\\Zero\\\\a.dic\"\n"
           "\"4\"=hex(2):43,3a,5c,61,2e,64,69,63,00\n"
           "\"9\"=hex:43,3a,5c,61,2e,64,69,63,00\n"
           "\"6\"=dword:00000001\n"
           "\" +2\"=\"C:\\\\Two\\\\b.dic\"\n");
  // None of them matches a.dic or counts: " +2" reads as 2 and is the highest.
  EXPECT_EQ("3 unchanged", Find(HKEY_CURRENT_USER, "a.dic"));
  EXPECT_EQ("2 C:\\Two\\b.dic", Find(HKEY_CURRENT_USER, "B.DIC"));
}

TEST_F(CustomDictionariesTest, TheFirstMatchInIndexOrderWinsAndANewEntryFollowsTheHighestNotTheLast) {
  MakeList(HKEY_CURRENT_USER, "\"4\"=\"C:\\\\First\\\\mycustom.dic\"\n\"2\"=\"C:\\\\Second\\\\custom.dic\"\n");
  EXPECT_EQ("4 C:\\First\\mycustom.dic", Find(HKEY_CURRENT_USER, "custom.dic"));
  EXPECT_EQ("5 unchanged", Find(HKEY_CURRENT_USER, "other.dic"));
}

TEST_F(CustomDictionariesTest, EntriesTooLongToReadArePassedOver) {
  std::string longName(24, '9');  // 24 characters: one more than the name room
  std::string longPath = "C:\\" + std::string(253, 'p') + "\\a.dic";  // 263 bytes with its terminator
  MakeList(HKEY_CURRENT_USER, "\"" + longName + "\"=\"C:\\\\Long\\\\a.dic\"\n\"5\"=\"" + "C:\\\\" +
                                  std::string(253, 'p') + "\\\\a.dic\"\n\"2\"=\"C:\\\\Short\\\\a.dic\"\n");
  ASSERT_EQ((Entries{longName + "=C:\\Long\\a.dic", "5=" + longPath, "2=C:\\Short\\a.dic"}), List(HKEY_CURRENT_USER));
  EXPECT_EQ("2 C:\\Short\\a.dic", Find(HKEY_CURRENT_USER, "a.dic"));
  EXPECT_EQ("3 unchanged", Find(HKEY_CURRENT_USER, "none.dic"));
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
  EXPECT_EQ("1 " + fits, Find(HKEY_CURRENT_USER, "x.dic"));
  EXPECT_EQ("2 unchanged", Find(HKEY_CURRENT_USER, "other.dic"));
}

TEST_F(CustomDictionariesTest, NumbersThatCannotBeWrittenAreRefused) {
  MakeList(HKEY_CURRENT_USER, "\"9999998\"=\"C:\\\\Dic\\\\x.dic\"\n");
  MakeList(HKEY_LOCAL_MACHINE, "\"9999999\"=\"C:\\\\Dic\\\\x.dic\"\n");
  // 9999999 has seven digits and fits; 10000000 would not, and is never cut to another name.
  EXPECT_TRUE(RegisterDictionary("C:\\Dic\\y.dic", "y.dic"));
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\z.dic", "z.dic"));
  EXPECT_EQ((Entries{"9999998=C:\\Dic\\x.dic", "9999999=C:\\Dic\\y.dic"}), List(HKEY_CURRENT_USER));
  EXPECT_EQ((Entries{"9999999=C:\\Dic\\x.dic"}), List(HKEY_LOCAL_MACHINE));

  // The highest number there is: no number after it, and nothing written as 0 or 1.
  MakeList(HKEY_CURRENT_USER, "\"4294967295\"=\"C:\\\\Dic\\\\w.dic\"\n\"99999999999\"=\"C:\\\\Dic\\\\v.dic\"\n");
  EXPECT_EQ("4294967295 unchanged", Find(HKEY_CURRENT_USER, "new.dic"));
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\new.dic", "new.dic"));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 0));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 10000000));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, nullptr, 12));
  EXPECT_EQ(4u, List(HKEY_CURRENT_USER).size());
  EXPECT_TRUE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\Dic\\n.dic", 12));
  EXPECT_EQ("12=C:\\Dic\\n.dic", List(HKEY_CURRENT_USER).back());
}

TEST_F(CustomDictionariesTest, RegisteringWritesEntryOneOfWhicheverEmptyListThereIsAndNothingWithoutOne) {
  EXPECT_EQ(0u, FindDictionaryEntry(HKEY_CURRENT_USER, nullptr, 0, "a.dic"));
  EXPECT_FALSE(SetDictionaryEntry(HKEY_CURRENT_USER, "C:\\a.dic", 1));
  EXPECT_FALSE(RegisterDictionary("C:\\Dic\\a.dic", "a.dic"));
  EXPECT_EQ((Entries{"(no key)"}), List(HKEY_LOCAL_MACHINE));
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (HKEY list : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) registry.DeleteKeyTree(list, kCustomDictionariesKey);
    MakeList(root, "");
    EXPECT_TRUE(RegisterDictionary("C:\\Dic\\a.dic", "a.dic"));  // the other root has no list: that write fails
    EXPECT_EQ((Entries{"1=C:\\Dic\\a.dic"}), List(root));
    EXPECT_EQ((Entries{"(no key)"}), List(root == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE));
  }
}

TEST_F(CustomDictionariesTest, AListThatCannotBeReadFurtherEndsTheWalk) {
  MakeList(HKEY_CURRENT_USER, "\"4\"=\"C:\\\\Dic\\\\a.dic\"\n\"9\"=\"C:\\\\Dic\\\\b.dic\"\n");
  registry.vanishing = true;
  registry.enumCalls = 0;
  EXPECT_EQ("5 unchanged", Find(HKEY_CURRENT_USER, "b.dic"));
  EXPECT_EQ(2, registry.enumCalls);
}

TEST_F(CustomDictionariesTest, DefaultFolderIsThatOfTheRegisteredCustomDicWhereItFits) {
  // Both lists, custom.dic only as a bare name or under entries that take no part, and no list:
  // office97_xp.expected, word95.expected and none.expected state the lookups.
  LoadScenario("office97_xp.reg");
  char out[kPathCapacity];
  EXPECT_EQ(0u, LookupDictionaryPath(out, kPathCapacity, "missing.dic", true));
  // The user's list only.
  registry.DeleteKeyTree(HKEY_LOCAL_MACHINE, kCustomDictionariesKey);
  MakeList(HKEY_CURRENT_USER, "\"1\"=\"C:\\\\Windows\\\\Custom.dic\"\n");
  EXPECT_EQ("1 C:\\Windows\\", DefaultFolder());
  // custom.dic somewhere inside a long folder name: the folder would be cut, so there is no default.
  registry.DeleteKeyTree(HKEY_CURRENT_USER, kCustomDictionariesKey);
  MakeList(HKEY_LOCAL_MACHINE, "\"1\"=\"C:\\\\custom.dic" + std::string(244, 'x') + "\\\\a\"\n");
  EXPECT_EQ("0 unchanged", DefaultFolder());
}

}  // namespace
