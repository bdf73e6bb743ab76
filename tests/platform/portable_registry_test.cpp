// The in-memory registry: .reg text in and out, and the advapi32 contracts the
// program's registry code is written against.
#include "platform/portable/registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/host_folder.h"

namespace {

constexpr LONG kErrorBadPathname = 161;

struct Read {
  LONG result;
  DWORD type;
  std::vector<BYTE> data;
};

class PortableRegistryTest : public ::testing::Test {
 protected:
  HKEY Open(HKEY root, const char* path, REGSAM access = KEY_QUERY_VALUE) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(root, path, 0, access, &key)) << path;
    return key;
  }
  Read Query(HKEY root, const char* path, const char* name) {
    Read read{ERROR_SUCCESS, 0, std::vector<BYTE>(512)};
    HKEY key = nullptr;
    read.result = registry.RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key);
    if (read.result != ERROR_SUCCESS) return read;
    DWORD size = static_cast<DWORD>(read.data.size());
    read.result = registry.RegQueryValueExA(key, name, nullptr, &read.type, read.data.data(), &size);
    read.data.resize(read.result == ERROR_SUCCESS ? size : 0);
    registry.RegCloseKey(key);
    return read;
  }
  static std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

  PortableRegistry registry;
};

const char kEveryForm[] =
    "REGEDIT4\r\n"
    "\r\n"
    "; the forms a .reg file can hold\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vessora Test]\r\n"
    "@=\"default text\"\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\Say \\\"hi\\\"\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Blob\"=hex:00,ff,10\r\n"
    "\"Expand\"=hex(2):25,54,45,4d,50,25,00\r\n"
    "\"Multi\"=hex(7):61,00,62,00,00\r\n"
    "\"Long\"=hex:01,02,03,\\\r\n"
    "  04,05\r\n"
    "\"Empty\"=\"\"\r\n"
    "\"Nothing\"=hex(0):\r\n"
    "\r\n"
    "[HKLM\\Software\\Empty Key]\r\n";

TEST_F(PortableRegistryTest, LoadsEveryValueFormOfRegText) {
  ASSERT_TRUE(registry.LoadRegText(kEveryForm));
  const char* key = "Software\\Vessora Test";
  struct Expected {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
  } expected[] = {
      {nullptr, REG_SZ, Bytes(std::string("default text", 13))},
      {"Path", REG_SZ, Bytes(std::string("C:\\Program Files\\Say \"hi\"", 26))},
      {"Count", REG_DWORD, {0x2a, 0, 0, 0}},
      {"Blob", REG_BINARY, {0x00, 0xff, 0x10}},
      {"Expand", REG_EXPAND_SZ, Bytes(std::string("%TEMP%", 7))},
      {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
      {"Long", REG_BINARY, {1, 2, 3, 4, 5}},
      {"Empty", REG_SZ, {0}},
      {"Nothing", REG_NONE, {}},
  };
  for (const Expected& value : expected) {
    Read read = Query(HKEY_CURRENT_USER, key, value.name);
    ASSERT_EQ(ERROR_SUCCESS, read.result) << (value.name ? value.name : "@");
    EXPECT_EQ(value.type, read.type) << (value.name ? value.name : "@");
    EXPECT_EQ(value.data, read.data) << (value.name ? value.name : "@");
  }
  EXPECT_EQ(ERROR_SUCCESS, registry.RegCloseKey(Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\empty key")));
}

TEST_F(PortableRegistryTest, UnicodeRegFilesCarryStringsAsUtf16) {
  // Version 5 text keeps hex(2) and hex(7) data in UTF-16; the ANSI calls see code page 1252.
  std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\U]\r\n"
      "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
      "\"Umlaut\"=hex(1):e4,00,00,00\r\n";
  ASSERT_TRUE(registry.LoadRegText(text));
  EXPECT_EQ(Bytes(std::string("%A%", 4)), Query(HKEY_CURRENT_USER, "Software\\U", "Expand").data);
  EXPECT_EQ(Bytes(std::string("\xE4", 2)), Query(HKEY_CURRENT_USER, "Software\\U", "Umlaut").data);

  // The same file saved as UTF-16 with its byte order mark, as regedit writes it.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\W]\r\n\"A\"=\"\xE4\"\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  ASSERT_TRUE(registry.LoadRegText(utf16));
  EXPECT_EQ(Bytes(std::string("\xE4", 2)), Query(HKEY_CURRENT_USER, "Software\\W", "A").data);
  EXPECT_EQ(0u, registry.OpenKeyCount());
}

TEST_F(PortableRegistryTest, DeletionLinesRemoveKeysAndValues) {
  ASSERT_TRUE(registry.LoadRegText(kEveryForm));
  HKEY held = Open(HKEY_CURRENT_USER, "Software\\Vessora Test", KEY_QUERY_VALUE | KEY_SET_VALUE);
  ASSERT_TRUE(registry.LoadRegText(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Software\\Vessora Test\\Sub]\n"
      "[-HKEY_CURRENT_USER\\Software\\VESSORA TEST]\n"
      "\"Ignored\"=\"under a removed key\"\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Kept]\n"
      "\"a\"=\"1\"\n"
      "\"b\"=\"2\"\n"
      "\"A\"=-\n"
      "\"never there\"=-\n"));
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Vessora Test", 0,
                                                         KEY_QUERY_VALUE, &key));
  EXPECT_EQ(nullptr, key);
  // A handle to a removed key fails every call but its close.
  DWORD size = 0;
  EXPECT_EQ(ERROR_KEY_DELETED, registry.RegQueryValueExA(held, "Path", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_KEY_DELETED, registry.RegSetValueExA(held, "x", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2));
  EXPECT_EQ(ERROR_SUCCESS, registry.RegCloseKey(held));

  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_LOCAL_MACHINE, "Software\\Kept", "a").result);
  EXPECT_EQ(Bytes(std::string("2", 2)), Query(HKEY_LOCAL_MACHINE, "Software\\Kept", "b").data);
  EXPECT_EQ(0u, registry.OpenKeyCount());
}

TEST_F(PortableRegistryTest, MalformedTextIsRefusedWholeWithItsLineAndChangesNothing) {
  ASSERT_TRUE(registry.LoadRegText("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Before]\n\"v\"=\"1\"\n"));
  const std::string before = registry.SaveRegText();
  const std::string key = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\A]\n\"v\"=";
  const std::string noHeader = "the text starts with neither REGEDIT4 nor Windows Registry Editor Version 5.00";
  const std::pair<std::string, std::string> bad[] = {
      {"", "line 1: " + noHeader},  // each text is followed by a key that must not be added either
      {"\n \n[HKEY_CURRENT_USER\\Software\\A]\n", "line 3: " + noHeader},
      {"REGEDIT5\n[HKEY_CURRENT_USER\\Software\\A]\n", "line 1: " + noHeader},
      {"REGEDIT4\n\"v\"=\"value before any key\"\n", "line 2: a value before any [key]"},
      {"REGEDIT4\n[HKEY_NOWHERE\\Software\\A]\n", "line 2: no root key called \"HKEY_NOWHERE\""},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\\A\n", "line 2: a key without its closing ]"},
      {"REGEDIT4\n[-HKEY_CURRENT_USER]\n", "line 2: a root key cannot be removed"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\\\Software]\n", "line 2: a key path cannot start with a backslash"},
      {"REGEDIT4\n[HKCU\\" + std::string(256, 'k') + "]\n", "line 2: a key name is longer than 255 characters"},
      {key + "\"unterminated\n", "line 3: a text value without its closing quote"},
      {key + "\"x\" trailing\n", "line 3: something follows the value"},
      {key + "dword:123456789\n", "line 3: a dword has at most 8 hex digits"},
      {key + "dword:\n", "line 3: a dword needs hex digits"},
      {key + "hex:0g\n", "line 3: hex bytes must be separated by commas"},
      {key + "hex:01 02\n", "line 3: hex bytes must be separated by commas"},
      {key + "hex:01,\\\n", "line 4: a hex list holds only hex bytes"},
      {key + "hex(2:00\n", "line 3: hex( needs a hex type and )"},
      {key + "text\n", "line 3: the data is neither \"text\", dword: nor hex:"},
      {"REGEDIT4\n[HKCU\\A]\nv=\"x\"\n", "line 3: neither a [key], a value nor a ; comment"},
      {"REGEDIT4\n[HKCU\\A]\n\"v\" \"x\"\n", "line 3: no = after the value name"},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"v\"=hex(2):41\n",
       "line 3: a string of a Unicode file needs an even number of bytes"},
  };
  for (const auto& text : bad) {
    std::string error;
    EXPECT_FALSE(registry.LoadRegText(text.first + "[HKEY_CURRENT_USER\\Software\\Added]\n", &error)) << text.first;
    EXPECT_EQ(error, text.second) << text.first;
    EXPECT_EQ(before, registry.SaveRegText()) << text.first;
  }
  std::string error;
  EXPECT_FALSE(registry.LoadRegText(key + "hex:01,\\\n  02,\\", &error));
  EXPECT_EQ(error, "line 4: the hex list goes on past the end of the text");
  EXPECT_FALSE(registry.LoadRegFile("/nonexistent/scenario.reg", &error));
  EXPECT_EQ(error, "it cannot be read");
}

TEST_F(PortableRegistryTest, SavedTextLoadsBackToTheSameRegistry) {
  ASSERT_TRUE(registry.LoadRegText(kEveryForm));
  // Values .reg text can only carry in hex: no terminator, a line break, an odd type, many bytes.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Odd", 0, nullptr, 0,
                                                    KEY_SET_VALUE, nullptr, &key, nullptr));
  std::vector<BYTE> many(300);
  for (size_t i = 0; i < many.size(); ++i) many[i] = static_cast<BYTE>(i * 7);
  registry.RegSetValueExA(key, "NoZero", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
  registry.RegSetValueExA(key, "Lines", 0, REG_SZ, reinterpret_cast<const BYTE*>("a\r\nb"), 5);
  registry.RegSetValueExA(key, "Q\"uo\\te", 0, 0x12345, reinterpret_cast<const BYTE*>("\1\2"), 2);
  registry.RegSetValueExA(key, "Many", 0, REG_BINARY, many.data(), static_cast<DWORD>(many.size()));
  registry.RegSetValueExA(key, "ShortDword", 0, REG_DWORD, many.data(), 3);
  registry.RegCloseKey(key);
  ASSERT_EQ(ERROR_SUCCESS, registry.RegSetValueExA(HKEY_CURRENT_USER, "RootValue", 0, REG_SZ,
                                                   reinterpret_cast<const BYTE*>("r"), 2));

  std::string saved = registry.SaveRegText();
  EXPECT_EQ(0u, saved.find("REGEDIT4\r\n"));
  for (std::string line : {"\"Count\"=dword:0000002a", "\"Path\"=\"C:\\\\Program Files\\\\Say \\\"hi\\\"\"",
                                  "\"NoZero\"=hex(1):61,62,63", "[HKEY_LOCAL_MACHINE\\Software\\Empty Key]"})
    EXPECT_NE(std::string::npos, saved.find(line + "\r\n")) << line;
  for (size_t start = 0, end; (end = saved.find("\r\n", start)) != std::string::npos; start = end + 2)
    EXPECT_LE(end - start, 80u) << saved.substr(start, end - start);

  PortableRegistry copy;
  ASSERT_TRUE(copy.LoadRegText(saved));
  EXPECT_EQ(saved, copy.SaveRegText());
  EXPECT_EQ(many, Query(HKEY_LOCAL_MACHINE, "Software\\Odd", "Many").data);

  // The same through a file.
  HostFolder folder;
  ASSERT_TRUE(registry.SaveRegFile(folder / "saved.reg"));
  PortableRegistry fromFile;
  ASSERT_TRUE(fromFile.LoadRegFile(folder / "saved.reg"));
  EXPECT_EQ(saved, fromFile.SaveRegText());
  EXPECT_EQ(0u, fromFile.OpenKeyCount());
}

TEST_F(PortableRegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(registry.LoadRegText("REGEDIT4\n[HKCU\\Software\\MixedCase]\n\"Value\"=\"1\"\n"
                                   "[HKEY_CURRENT_USER\\SOFTWARE\\MIXEDCASE]\n\"VALUE\"=\"2\"\n"));
  EXPECT_EQ(Bytes(std::string("2", 2)), Query(HKEY_CURRENT_USER, "software\\mixedcase", "value").data);
  std::string saved = registry.SaveRegText();
  EXPECT_NE(std::string::npos, saved.find("[HKEY_CURRENT_USER\\Software\\MixedCase]\r\n\"Value\"=\"2\"\r\n"));
  EXPECT_EQ(std::string::npos, saved.find("MIXEDCASE"));
}

TEST_F(PortableRegistryTest, HandlesAreCheckedAndCarryTheirAccess) {
  ASSERT_TRUE(registry.LoadRegText(kEveryForm));
  const BYTE text[] = "x";
  HKEY reader = Open(HKEY_CURRENT_USER, "Software\\Vessora Test", KEY_QUERY_VALUE);
  HKEY writer = Open(HKEY_CURRENT_USER, "Software\\Vessora Test", KEY_SET_VALUE);
  DWORD size = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, registry.RegSetValueExA(reader, "New", 0, REG_SZ, text, 2));
  EXPECT_EQ(ERROR_ACCESS_DENIED, registry.RegDeleteValueA(reader, "Path"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, registry.RegQueryValueExA(writer, "Path", nullptr, nullptr, nullptr, &size));
  char name[32];
  DWORD nameSize = sizeof name;
  EXPECT_EQ(ERROR_ACCESS_DENIED,
            registry.RegEnumValueA(writer, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, registry.RegSetValueExA(writer, "New", 0, REG_SZ, text, 2));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(HKEY_CURRENT_USER, "Software\\Vessora Test", "Path\\").result);

  // Only a handle with the right to make subkeys makes new ones; opening existing ones needs none.
  HKEY child = nullptr;
  DWORD disposition = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, registry.RegCreateKeyExA(reader, "Child", 0, nullptr, 0, KEY_QUERY_VALUE, nullptr,
                                                          &child, &disposition));
  EXPECT_EQ(nullptr, child);
  HKEY parent = Open(HKEY_CURRENT_USER, "Software", KEY_WRITE);
  EXPECT_EQ(ERROR_SUCCESS, registry.RegCreateKeyExA(parent, "vessora test\\Child\\Grandchild", 0, nullptr, 0,
                                                    KEY_READ, nullptr, &child, &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  registry.RegCloseKey(child);
  EXPECT_EQ(ERROR_SUCCESS, registry.RegCreateKeyExA(reader, "child", 0, nullptr, 0, KEY_READ, nullptr, &child,
                                                    &disposition));
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);

  for (HKEY key : {child, parent, reader, writer}) EXPECT_EQ(ERROR_SUCCESS, registry.RegCloseKey(key));
  EXPECT_EQ(0u, registry.OpenKeyCount());
  // Closed or never issued: ERROR_INVALID_HANDLE from every call. The roots need no opening.
  for (HKEY bad : {reader, writer, static_cast<HKEY>(nullptr), reinterpret_cast<HKEY>(uintptr_t{0x4711})}) {
    HKEY result = nullptr;
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegCloseKey(bad));
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegOpenKeyExA(bad, "", 0, KEY_READ, &result));
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegQueryValueExA(bad, "Path", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegSetValueExA(bad, "x", 0, REG_SZ, text, 2));
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegDeleteValueA(bad, "x"));
    nameSize = sizeof name;
    EXPECT_EQ(ERROR_INVALID_HANDLE, registry.RegEnumValueA(bad, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
  }
  EXPECT_EQ(ERROR_SUCCESS, registry.RegCloseKey(HKEY_LOCAL_MACHINE));
  HKEY key = nullptr;
  EXPECT_EQ(kErrorBadPathname, registry.RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &key));
}

TEST_F(PortableRegistryTest, QueryValueFollowsTheWin32SizeContract) {
  ASSERT_TRUE(registry.LoadRegText(kEveryForm));
  HKEY key = Open(HKEY_CURRENT_USER, "Software\\Vessora Test", KEY_SET_VALUE | KEY_QUERY_VALUE);
  ASSERT_EQ(ERROR_SUCCESS, registry.RegSetValueExA(key, "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\X"), 4));
  struct Case {
    const char* name;
    bool buffer;
    DWORD size;
    LONG result;
    DWORD needed;
  };
  // No buffer: the size alone, terminator included. One byte short: ERROR_MORE_DATA, the size needed, and the
  // buffer left alone. An exact fit; the default value under an empty name; data kept exactly as written:
  // without a terminator it comes back without one.
  for (const Case& c : {Case{"Path", false, 0, ERROR_SUCCESS, 26}, Case{"Path", true, 25, ERROR_MORE_DATA, 26},
                        Case{"path", true, 26, ERROR_SUCCESS, 26}, Case{"", true, 64, ERROR_SUCCESS, 13},
                        Case{"Bare", true, 64, ERROR_SUCCESS, 4}}) {
    SCOPED_TRACE(std::string(c.name) + " in " + std::to_string(c.size));
    BYTE buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    DWORD type = 0;
    DWORD size = c.size;
    EXPECT_EQ(c.result, registry.RegQueryValueExA(key, c.name, nullptr, &type, c.buffer ? buffer : nullptr, &size));
    EXPECT_EQ(c.needed, size);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ('#', buffer[c.result == ERROR_SUCCESS ? c.needed : 0]);
  }
  BYTE buffer[64];
  DWORD size = sizeof buffer;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.RegQueryValueExA(key, "Absent", nullptr, nullptr, buffer, &size));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, registry.RegQueryValueExA(key, "Path", nullptr, nullptr, buffer, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, registry.RegDeleteValueA(key, "BARE"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, registry.RegDeleteValueA(key, "Bare"));
  registry.RegCloseKey(key);
}

TEST_F(PortableRegistryTest, EnumValueFollowsTheWin32Contract) {
  ASSERT_TRUE(registry.LoadRegText(
      "REGEDIT4\n[HKEY_CURRENT_USER\\List]\n\"1\"=\"C:\\\\a.dic\"\n\"Seven\"=\"C:\\\\b.dic\"\n@=\"d\"\n\"3\"=dword:1\n"));
  HKEY key = Open(HKEY_CURRENT_USER, "List", KEY_READ | KEY_SET_VALUE);
  // Replacing keeps a value's place; removing closes the gap.
  registry.RegSetValueExA(key, "seven", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\c.dic"), 9);
  registry.RegDeleteValueA(key, "1");
  registry.RegSetValueExA(key, "1", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\d.dic"), 9);

  std::vector<std::string> entries;  // name, type and data of each, in enumeration order
  for (DWORD index = 0;; ++index) {
    char name[24];
    BYTE data[260];
    DWORD nameSize = sizeof name;
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    LONG result = registry.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(ERROR_SUCCESS, result);
    EXPECT_EQ(std::strlen(name), nameSize);  // the size comes back without the terminator
    entries.push_back(std::string(name) + " " + std::to_string(type) + " " +
                      std::string(reinterpret_cast<char*>(data), dataSize));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{std::string("Seven 1 C:\\c.dic", 17), std::string(" 1 d", 5),
                                               std::string("3 4 \1\0\0\0", 8), std::string("1 1 C:\\d.dic", 13)}));

  // A name needs room for its terminator: "Seven" fits 6, not 5, and nothing is written then.
  char name[8];
  std::memset(name, '#', sizeof name);
  DWORD nameSize = 5;
  EXPECT_EQ(ERROR_MORE_DATA, registry.RegEnumValueA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ('#', name[0]);
  nameSize = 6;
  EXPECT_EQ(ERROR_SUCCESS, registry.RegEnumValueA(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
  EXPECT_STREQ("Seven", name);
  EXPECT_EQ(5u, nameSize);
  // Data that does not fit: ERROR_MORE_DATA with the size it needs.
  BYTE data[4];
  DWORD dataSize = sizeof data;
  nameSize = sizeof name;
  EXPECT_EQ(ERROR_MORE_DATA, registry.RegEnumValueA(key, 0, name, &nameSize, nullptr, nullptr, data, &dataSize));
  EXPECT_EQ(9u, dataSize);
  nameSize = sizeof name;
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, registry.RegEnumValueA(key, 4, name, &nameSize, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, registry.RegEnumValueA(key, 0, name, nullptr, nullptr, nullptr, nullptr, nullptr));
  registry.RegCloseKey(key);
}

}  // namespace
