// The portable resource store over each edition's generated table: the catalogue, items
// by name, strings with their capacity, pictures and the version record.
#include "platform/portable/resource_store.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resources/szdd_decoder.h"
#include "tests/resources/test_files.h"
#include "tests/support/test_machine.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Each edition by its name; what it carries is what the install table installs for it.
struct EditionCase {
  Edition edition;
  const char* name;
};
const EditionCase kEditions[] = {{EditionStandard, "Standard"}, {EditionProfessional, "Professional"},
                                 {EditionQuorvel, "Quorvel"}};

Bytes ItemBytes(PortableResourceStore& store, const char* name) {
  HRSRC found = store.FindResourceA(nullptr, name, RT_RCDATA);
  if (found == nullptr) return {};
  auto* data = static_cast<const uint8_t*>(store.LockResource(store.LoadResource(nullptr, found)));
  return Bytes(data, data + store.SizeofResource(nullptr, found));
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

TEST(PortableResourceStore, EachEditionCarriesExactlyTheItemsOfItsInstallRowsExpandingToTheirContent) {
  for (const EditionCase& edition : kEditions) {
    SCOPED_TRACE(edition.name);
    const ResourceTable& table = EditionTable(edition.edition);
    PortableResourceStore store(table);
    std::set<std::string> expected;
    for (int row = 0; row < kInstallTableRows; ++row)
      if (RowApplies(kInstallTable[row].edition, edition.edition)) expected.insert(kInstallTable[row].itemName);
    std::set<std::string> carried;
    for (size_t i = 0; i < table.count; ++i)
      if (table.entries[i].type == 10) carried.insert(table.entries[i].name);
    EXPECT_EQ(carried, expected);
    for (const PayloadFile& file : PayloadFiles()) {
      SCOPED_TRACE(file.item);
      Bytes stored = ItemBytes(store, file.item);
      EXPECT_EQ(!stored.empty(), expected.count(file.item) != 0);
      if (stored.empty()) continue;
      Bytes expanded;
      SzddHeader header;
      ASSERT_TRUE(ExpandSzdd(stored.data(), stored.size(), &expanded, &header));
      Bytes content = Content(file.file);
      EXPECT_EQ(expanded, content);
      EXPECT_EQ(header.expandedLength, content.size());
      EXPECT_EQ(header.replacedChar, file.file[std::strlen(file.file) - 1]);
      EXPECT_LT(stored.size(), content.size() + kSzddHeaderSize + content.size() / 8 + 1);
    }
    EXPECT_EQ(ItemBytes(store, "LICENSE.TXT"), Content("License.txt")) << "carried plain";
  }
}

TEST(PortableResourceStore, NamesAndIdsAreFoundAsWin32FindsThem) {
  PortableResourceStore store(QuorvelResources());
  HRSRC upper = store.FindResourceA(nullptr, "VSQQUOR.DI_", RT_RCDATA);
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(store.FindResourceA(nullptr, "vsqquor.di_", RT_RCDATA), upper);
  HRSRC logo = store.FindResourceA(nullptr, MAKEINTRESOURCEA(102), RT_BITMAP);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(store.FindResourceA(nullptr, "#102", RT_BITMAP), logo);
  EXPECT_EQ(store.FindResourceA(nullptr, "#102", "#2"), logo);
  // Another type, a name cut short, no name, a type by a name it does not have, no number, an unknown one.
  for (const auto& [name, type] :
       {std::pair<LPCSTR, LPCSTR>{"VSQQUOR.DI_", RT_BITMAP}, {"VSQQUOR.DI", RT_RCDATA}, {nullptr, RT_RCDATA},
        {"VSQQUOR.DI_", "RCDATA"}, {"#", RT_BITMAP}, {"#99999", RT_BITMAP}})
    EXPECT_EQ(store.FindResourceA(nullptr, name, type), nullptr) << (name ? name : "null");
  // Handles that did not come from the store are refused, not followed.
  int stranger = 0;
  HRSRC bogus = reinterpret_cast<HRSRC>(&stranger);
  EXPECT_EQ(store.SizeofResource(nullptr, bogus), 0u);
  EXPECT_EQ(store.LoadResource(nullptr, bogus), nullptr);
  EXPECT_EQ(store.SizeofResource(nullptr, nullptr), 0u);
  EXPECT_EQ(store.LockResource(nullptr), nullptr);
}

TEST(PortableResourceStore, StringsRespectTheCapacity) {
  for (const EditionCase& edition : kEditions) {
    PortableResourceStore store(EditionTable(edition.edition));
    char buffer[64];
    EXPECT_EQ(store.LoadStringA(nullptr, 2, buffer, 15), int(std::strlen(edition.name)));
    EXPECT_STREQ(buffer, edition.name);
    std::string title = std::string("Vessora ") + edition.name + " Edition  v1.0 Setup";
    EXPECT_EQ(store.LoadStringA(nullptr, 3, buffer, 64), int(title.size()));
    EXPECT_EQ(buffer, title);
    EXPECT_EQ(store.LoadStringA(nullptr, 1, buffer, 64), 3);
    EXPECT_STREQ(buffer, "1.0");
  }
  PortableResourceStore store(QuorvelResources());
  char small[8];
  std::memset(small, '#', sizeof small);
  EXPECT_EQ(store.LoadStringA(nullptr, 3, small, 5), 4);
  EXPECT_STREQ(small, "Vess");
  EXPECT_EQ(small[5], '#');
  EXPECT_EQ(store.LoadStringA(nullptr, 3, small, 1), 0);
  EXPECT_EQ(small[0], '\0');
  small[0] = '#';
  EXPECT_EQ(store.LoadStringA(nullptr, 3, small, 0), 0);
  EXPECT_EQ(small[0], '#');
  EXPECT_EQ(store.LoadStringA(nullptr, 4, small, 8), 0);
  EXPECT_EQ(store.LoadStringA(nullptr, 17, small, 8), 0);
  EXPECT_EQ(store.LoadStringA(nullptr, 2, nullptr, 8), 0);
}

TEST(PortableResourceStore, PicturesHaveTheirSizesAndDepths) {
  PortableResourceStore store(QuorvelResources());
  struct Picture {
    int id, width, height, bits, colours;
  };
  std::set<const void*> handles;
  for (const Picture& p : {Picture{102, 328, 127, 8, 256}, Picture{110, 164, 110, 8, 32},
                           Picture{111, 372, 125, 4, 16}, Picture{112, 152, 39, 4, 16}}) {
    HBITMAP bitmap = store.LoadBitmapA(nullptr, MAKEINTRESOURCEA(p.id));
    ASSERT_NE(bitmap, nullptr) << p.id;
    handles.insert(bitmap);
    const ResourceEntry* entry = store.EntryOf(bitmap);
    ASSERT_NE(entry, nullptr);
    const uint8_t* info = entry->data;
    EXPECT_EQ(Le32(info), 40u);
    EXPECT_EQ(int(Le32(info + 4)), p.width) << p.id;
    EXPECT_EQ(int(Le32(info + 8)), p.height) << p.id;
    EXPECT_EQ(Le16(info + 14), p.bits) << p.id;
    EXPECT_EQ(Le32(info + 16), 0u) << "uncompressed";
    EXPECT_EQ(int(Le32(info + 32)), p.colours) << p.id;
    size_t stride = (p.width * p.bits + 31) / 32 * 4;
    EXPECT_EQ(entry->size, 40 + 4 * p.colours + stride * p.height) << p.id;
  }
  EXPECT_EQ(handles.size(), 4u);
  EXPECT_EQ(store.LoadBitmapA(nullptr, MAKEINTRESOURCEA(103)), nullptr);

  HICON icon = store.LoadIconA(nullptr, MAKEINTRESOURCEA(103));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(store.LoadIconA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  const ResourceEntry* group = store.EntryOf(icon);
  ASSERT_EQ(group->size, 6u + 2 * 14);
  EXPECT_EQ(Le16(group->data + 4), 2);
  struct Member {
    int width, bits, id;
  };
  const Member members[] = {{32, 4, 1}, {48, 8, 2}};
  for (int i = 0; i < 2; ++i) {
    const uint8_t* m = group->data + 6 + 14 * i;
    EXPECT_EQ(m[0], members[i].width);
    EXPECT_EQ(Le16(m + 6), members[i].bits);
    EXPECT_EQ(Le16(m + 12), members[i].id);
    HRSRC image = store.FindResourceA(nullptr, MAKEINTRESOURCEA(members[i].id), RT_ICON);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(store.SizeofResource(nullptr, image), Le32(m + 8));
  }
}

// The strings of a version record: key and value of every String node below StringFileInfo, and the
// Translation below VarFileInfo as language and code page.
void VersionStrings(const uint8_t* node, size_t size, std::vector<std::pair<std::string, std::string>>* out) {
  auto narrow = [](const uint8_t* p, size_t max, size_t* used) {
    std::string s;
    size_t i = 0;
    for (; i + 1 < max && Le16(p + i) != 0; i += 2) s.push_back(char(Le16(p + i)));
    *used = i + 2;
    return s;
  };
  size_t length = Le16(node);
  if (length > size || length < 6) return;
  size_t used;
  std::string key = narrow(node + 6, length - 6, &used);
  size_t at = (6 + used + 3) & ~size_t(3);
  size_t valueLength = Le16(node + 2), type = Le16(node + 4);
  if (type == 1 && valueLength > 0) {
    out->emplace_back(key, narrow(node + at, length - at, &used));
    return;
  }
  if (type == 0 && valueLength == 4 && key == "Translation") {
    char pair[16];
    std::snprintf(pair, sizeof pair, "%04X %04X", Le16(node + at), Le16(node + at + 2));
    out->emplace_back(key, pair);
    return;
  }
  at = (at + valueLength + 3) & ~size_t(3);  // past the value: a text node that gets here has none
  while (at + 6 <= length) {
    size_t child = Le16(node + at);
    if (child == 0) break;
    VersionStrings(node + at, length - at, out);
    at = (at + child + 3) & ~size_t(3);
  }
}

TEST(PortableResourceStore, VersionRecordFollowsTheEdition) {
  for (const EditionCase& edition : kEditions) {
    PortableResourceStore store(EditionTable(edition.edition));
    HRSRC found = store.FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_VERSION);
    ASSERT_NE(found, nullptr);
    auto* data = static_cast<const uint8_t*>(store.LoadResource(nullptr, found));
    size_t size = store.SizeofResource(nullptr, found);
    ASSERT_GE(size, 40u + 52);
    const uint8_t* fixed = data + 40;  // after the header and "VS_VERSION_INFO"
    const std::pair<size_t, uint32_t> fields[] = {{0, 0xFEEF04BD}, {8, 0x00010000}, {12, 4}, {16, 0x00010000},
                                                  {20, 1},         {24, 0x3F},       {32, 0x40004}, {36, 1}};
    for (const auto& [at, value] : fields) EXPECT_EQ(Le32(fixed + at), value) << "fixed field at " << at;
    std::vector<std::pair<std::string, std::string>> strings;
    VersionStrings(data, size, &strings);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"FileDescription", "setup"},
        {"FileVersion", "1, 0, 0, 4"},
        {"InternalName", "setup"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "setup.exe"},
        {"PrivateBuild", ""},
        {"ProductName", std::string("Vessora ") + edition.name + " Edition  v1.0 Setup"},
        {"ProductVersion", "1, 0, 0, 1"},
        {"SpecialBuild", ""},
        {"Translation", "1409 04B0"},
    };
    EXPECT_EQ(strings, expected) << edition.name;
  }
}

}  // namespace
