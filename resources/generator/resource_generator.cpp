// Reads resources/resources.list and writes, for one edition, the resource script
// (setup.rc, for windres) and the C++ table of the same resources (for the portable
// resource store). Run by the build:
//   resource_generator LIST EDITION CONTENT_DIR ITEMS_DIR OUT_RC OUT_CPP [OUT_DIR]
// With OUT_DIR it also writes each resource's bytes there as TYPE_ID-OR-NAME.bin, the
// reference the checks of the built executables compare against.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum : uint16_t { kBitmap = 2, kIcon = 3, kString = 6, kRcData = 10, kGroupIcon = 14, kVersion = 16 };

struct Line {
  int number;
  std::string kind, key, editions, rest;
};

struct Entry {
  uint16_t type;
  uint16_t id;
  std::string name;
  std::vector<uint8_t> data;
  std::string comment;
};

bool Fail(const std::string& message) {
  std::fprintf(stderr, "resource_generator: %s\n", message.c_str());
  return false;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail("cannot read " + path);
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool ParseList(const std::string& path, std::vector<Line>* lines) {
  std::ifstream in(path);
  if (!in) return Fail("cannot read " + path);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text[start] == '#') continue;
    Line line;
    line.number = number;
    std::string* fields[3] = {&line.kind, &line.key, &line.editions};
    size_t at = start;
    for (std::string* field : fields) {
      at = text.find_first_not_of(" \t", at);
      if (at == std::string::npos) return Fail(path + ":" + std::to_string(number) + ": missing fields");
      size_t end = text.find_first_of(" \t", at);
      *field = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
      at = end == std::string::npos ? text.size() : end;
    }
    at = text.find_first_not_of(" \t", at);
    line.rest = at == std::string::npos ? std::string() : text.substr(at);
    lines->push_back(line);
  }
  return true;
}

bool InEdition(const std::string& editions, const std::string& edition) {
  if (editions == "all") return true;
  std::stringstream list(editions);
  std::string one;
  while (std::getline(list, one, ','))
    if (one == edition) return true;
  return false;
}

std::string Substitute(std::string text, const std::string& edition) {
  const std::string token = "@EDITION@";
  for (size_t at; (at = text.find(token)) != std::string::npos;) text.replace(at, token.size(), edition);
  return text;
}

// Code page 1252 to UTF-16; the bytes 0x80 to 0x9F have their own characters.
std::u16string Widen(const std::string& text) {
  static const char16_t kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                     0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::u16string wide;
  for (unsigned char c : text) wide.push_back(c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : char16_t(c));
  return wide;
}

void Put16(std::vector<uint8_t>* out, unsigned v) {
  out->push_back(uint8_t(v));
  out->push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>* out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutWide(std::vector<uint8_t>* out, const std::u16string& text, bool terminate) {
  for (char16_t c : text) Put16(out, c);
  if (terminate) Put16(out, 0);
}
void Align4(std::vector<uint8_t>* out) {
  while (out->size() % 4) out->push_back(0);
}

// One node of a version record: length, value length, type, key, value, children.
std::vector<uint8_t> VersionNode(const std::string& key, const std::vector<uint8_t>& value, unsigned valueLength,
                                 unsigned type, const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> node(6, 0);
  PutWide(&node, Widen(key), true);
  Align4(&node);
  node.insert(node.end(), value.begin(), value.end());
  for (const auto& child : children) {
    Align4(&node);
    node.insert(node.end(), child.begin(), child.end());
  }
  node[0] = uint8_t(node.size());
  node[1] = uint8_t(node.size() >> 8);
  node[2] = uint8_t(valueLength);
  node[3] = uint8_t(valueLength >> 8);
  node[4] = uint8_t(type);
  return node;
}

bool ParseNumbers(const std::string& text, std::vector<uint32_t>* numbers) {
  std::stringstream list(text);
  std::string one;
  while (std::getline(list, one, ',')) {
    try {
      numbers->push_back(static_cast<uint32_t>(std::stoul(one, nullptr, 0)));
    } catch (...) {
      return Fail("not a number: " + one);
    }
  }
  return !numbers->empty();
}

// The fields of the record's fixed part, by their resource-script names, in script order.
const char* const kFixedVersionFields[] = {"FILEVERSION", "PRODUCTVERSION", "FILEFLAGSMASK", "FILEFLAGS",
                                           "FILEOS",      "FILETYPE",       "FILESUBTYPE"};

bool IsFixedVersionField(const std::string& key) {
  for (const char* field : kFixedVersionFields)
    if (key == field) return true;
  return false;
}

struct VersionRecord {
  std::map<std::string, std::string> fixed;
  std::vector<std::pair<std::string, std::string>> strings;
};

bool VersionBytes(const VersionRecord& record, std::vector<uint8_t>* out) {
  auto number = [&](const char* key, uint32_t* value) {
    std::vector<uint32_t> n;
    auto found = record.fixed.find(key);
    if (found == record.fixed.end() || !ParseNumbers(found->second, &n)) return Fail(std::string("version ") + key);
    *value = n[0];
    return true;
  };
  auto quad = [&](const char* key, uint32_t* ms, uint32_t* ls) {
    std::vector<uint32_t> n;
    auto found = record.fixed.find(key);
    if (found == record.fixed.end() || !ParseNumbers(found->second, &n) || n.size() != 4)
      return Fail(std::string("version ") + key + " needs four numbers");
    *ms = n[0] << 16 | n[1];
    *ls = n[2] << 16 | n[3];
    return true;
  };
  uint32_t fileMs, fileLs, productMs, productLs, mask, flags, os, type, subtype;
  if (!quad("FILEVERSION", &fileMs, &fileLs) || !quad("PRODUCTVERSION", &productMs, &productLs) ||
      !number("FILEFLAGSMASK", &mask) || !number("FILEFLAGS", &flags) || !number("FILEOS", &os) ||
      !number("FILETYPE", &type) || !number("FILESUBTYPE", &subtype))
    return false;
  std::vector<uint8_t> fixedInfo;
  for (uint32_t v : {0xFEEF04BDu, 0x00010000u, fileMs, fileLs, productMs, productLs, mask, flags, os, type, subtype,
                     0u, 0u})
    Put32(&fixedInfo, v);
  std::vector<std::vector<uint8_t>> strings;
  for (const auto& [key, text] : record.strings) {
    std::vector<uint8_t> value;
    std::u16string wide = Widen(text);
    PutWide(&value, wide, true);
    strings.push_back(VersionNode(key, value, unsigned(wide.size() + 1), 1, {}));
  }
  std::vector<uint8_t> table = VersionNode("140904B0", {}, 0, 1, strings);
  std::vector<uint8_t> stringInfo = VersionNode("StringFileInfo", {}, 0, 1, {table});
  std::vector<uint8_t> translation;
  Put16(&translation, 0x1409);
  Put16(&translation, 0x04B0);
  std::vector<uint8_t> var = VersionNode("Translation", translation, 4, 0, {});
  std::vector<uint8_t> varInfo = VersionNode("VarFileInfo", {}, 0, 1, {var});
  *out = VersionNode("VS_VERSION_INFO", fixedInfo, unsigned(fixedInfo.size()), 0, {stringInfo, varInfo});
  return true;
}

// The bundle of strings id 16*(block-1) .. 16*(block-1)+15: each a length and UTF-16 text.
std::vector<uint8_t> StringBundle(const std::map<unsigned, std::string>& strings, unsigned block) {
  std::vector<uint8_t> out;
  for (unsigned id = (block - 1) * 16; id < block * 16; ++id) {
    auto found = strings.find(id);
    std::u16string wide = found == strings.end() ? std::u16string() : Widen(found->second);
    Put16(&out, unsigned(wide.size()));
    PutWide(&out, wide, false);
  }
  return out;
}

// An .ico file's images as icon resources with ids from *nextId on, and their group.
bool IconEntries(const std::vector<uint8_t>& ico, uint16_t groupId, uint16_t* nextId, std::vector<Entry>* entries,
                 const std::string& source) {
  auto u16 = [&](size_t at) { return unsigned(ico[at] | ico[at + 1] << 8); };
  auto u32 = [&](size_t at) { return uint32_t(u16(at) | u16(at + 2) << 16); };
  if (ico.size() < 6 || u16(0) != 0 || u16(2) != 1) return Fail(source + ": not an icon file");
  unsigned count = u16(4);
  if (ico.size() < 6 + 16 * size_t(count)) return Fail(source + ": icon directory cut short");
  Entry group{kGroupIcon, groupId, "", {}, source};
  Put16(&group.data, 0);
  Put16(&group.data, 1);
  Put16(&group.data, count);
  for (unsigned i = 0; i < count; ++i) {
    size_t at = 6 + 16 * size_t(i);
    uint32_t size = u32(at + 8), offset = u32(at + 12);
    if (offset > ico.size() || size > ico.size() - offset) return Fail(source + ": icon image out of the file");
    Entry image{kIcon, (*nextId)++, "", {ico.begin() + offset, ico.begin() + offset + size}, source};
    group.data.insert(group.data.end(), ico.begin() + at, ico.begin() + at + 12);  // sizes, colours, planes, bits, bytes
    Put16(&group.data, image.id);
    entries->push_back(image);
  }
  entries->push_back(group);
  return true;
}

std::string RcString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += "\"\"";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out + "\"";
}

std::string RcPath(const std::string& path) { return RcString(path); }

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) return Fail("cannot write " + path);
  return true;
}

std::string CppName(const std::string& edition) { return edition + "Resources"; }

std::string TableSource(const std::string& edition, const std::vector<Entry>& entries) {
  std::string out = "// Generated from resources/resources.list for the " + edition +
                    " edition by resource_generator; do not edit.\n#include \"resources/resource_table.h\"\n\nnamespace {\n\n";
  char buffer[16];
  for (size_t i = 0; i < entries.size(); ++i) {
    out += "// " + entries[i].comment + "\nconst unsigned char kData" + std::to_string(i) + "[] = {";
    const std::vector<uint8_t>& data = entries[i].data;
    for (size_t k = 0; k < data.size(); ++k) {
      std::snprintf(buffer, sizeof buffer, "%s%u,", k % 24 == 0 ? "\n" : "", data[k]);
      out += buffer;
    }
    if (data.empty()) out += "0";
    out += "\n};\n";
  }
  out += "\nconst ResourceEntry kEntries[] = {\n";
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    out += "    {" + std::to_string(e.type) + ", " + std::to_string(e.id) + ", " +
           (e.name.empty() ? std::string("nullptr") : "\"" + e.name + "\"") + ", kData" + std::to_string(i) + ", " +
           std::to_string(e.data.size()) + "},\n";
  }
  out += "};\n\nconst ResourceTable kTable = {\"" + edition + "\", kEntries, " + std::to_string(entries.size()) +
         "};\n\n}  // namespace\n\nconst ResourceTable& " + CppName(edition) + "() { return kTable; }\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7 && argc != 8) {
    std::fprintf(stderr, "usage: resource_generator LIST EDITION CONTENT_DIR ITEMS_DIR OUT_RC OUT_CPP [OUT_DIR]\n");
    return 2;
  }
  const std::string listPath = argv[1], edition = argv[2], content = argv[3], items = argv[4];
  if (edition != "Standard" && edition != "Professional" && edition != "Quorvel")
    return Fail("unknown edition " + edition), 2;
  std::vector<Line> lines;
  if (!ParseList(listPath, &lines)) return 1;

  std::vector<Entry> entries;
  std::map<unsigned, std::string> strings;
  VersionRecord version;
  bool haveVersion = false;
  uint16_t nextIconId = 1;
  std::string rc = "// Generated from resources/resources.list for the " + edition +
                   " edition by resource_generator; do not edit.\n"
                   "// Every resource is English (New Zealand), language 0x1409.\nLANGUAGE 0x09, 0x05\n\n";
  std::string rcStrings, rcItems, rcPictures;
  for (const Line& line : lines) {
    if (!InEdition(line.editions, edition)) continue;
    std::string where = listPath + ":" + std::to_string(line.number);
    std::string rest = Substitute(line.rest, edition);
    if (line.kind == "version") {
      haveVersion = true;
      if (IsFixedVersionField(line.key))
        version.fixed[line.key] = rest;
      else
        version.strings.emplace_back(line.key, rest);
      continue;
    }
    unsigned long id = 0;
    if (line.kind != "item") {
      try {
        id = std::stoul(line.key);
      } catch (...) {
        return Fail(where + ": id must be a number"), 1;
      }
      if (id == 0 || id > 0xFFFF) return Fail(where + ": id out of range"), 1;
    }
    if (line.kind == "bitmap") {
      Entry e{kBitmap, uint16_t(id), "", {}, "bitmap " + line.key + ": " + rest};
      std::vector<uint8_t> file;
      if (!ReadFile(content + "/" + rest, &file)) return 1;
      if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return Fail(where + ": not a bitmap file"), 1;
      e.data.assign(file.begin() + 14, file.end());
      entries.push_back(e);
      rcPictures += line.key + " BITMAP " + RcPath(content + "/" + rest) + "\n";
    } else if (line.kind == "icon") {
      std::vector<uint8_t> file;
      if (!ReadFile(content + "/" + rest, &file)) return 1;
      if (!IconEntries(file, uint16_t(id), &nextIconId, &entries, "icon group " + line.key + ": " + rest)) return 1;
      rcPictures += line.key + " ICON " + RcPath(content + "/" + rest) + "\n";
    } else if (line.kind == "string") {
      strings[unsigned(id)] = rest;
      rcStrings += "  " + line.key + ", " + RcString(rest) + "\n";
    } else if (line.kind == "item") {
      bool compressed = !line.key.empty() && line.key.back() == '_';
      std::string path = compressed ? items + "/" + line.key : content + "/" + rest;
      Entry e{kRcData, 0, line.key, {}, "item " + line.key + ": " + path};
      if (!ReadFile(path, &e.data)) return 1;
      entries.push_back(e);
      rcItems += line.key + " RCDATA " + RcPath(path) + "\n";
    } else {
      return Fail(where + ": unknown kind " + line.kind), 1;
    }
  }
  std::map<unsigned, bool> blocks;
  for (const auto& s : strings) blocks[s.first / 16 + 1] = true;
  for (const auto& b : blocks)
    entries.push_back(Entry{kString, uint16_t(b.first), "", StringBundle(strings, b.first), "string bundle"});
  if (haveVersion) {
    Entry e{kVersion, 1, "", {}, "version record"};
    if (!VersionBytes(version, &e.data)) return 1;
    entries.push_back(e);
  }

  rc += rcPictures + "\nSTRINGTABLE\nBEGIN\n" + rcStrings + "END\n\n";
  if (haveVersion) {
    rc += "1 VERSIONINFO\n";
    for (const char* key : kFixedVersionFields) rc += std::string(key) + " " + version.fixed[key] + "\n";
    rc += "BEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"140904B0\"\n    BEGIN\n";
    for (const auto& [key, text] : version.strings) rc += "      VALUE " + RcString(key) + ", " + RcString(text) + "\n";
    rc += "    END\n  END\n  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", 0x1409, 0x04B0\n  END\nEND\n\n";
  }
  rc += rcItems;
  if (!WriteText(argv[5], rc) || !WriteText(argv[6], TableSource(edition, entries))) return 1;
  if (argc == 8) {
    for (const Entry& e : entries) {
      std::string path = std::string(argv[7]) + "/" + std::to_string(e.type) + "_" +
                         (e.name.empty() ? std::to_string(e.id) : e.name) + ".bin";
      if (!WriteText(path, std::string(e.data.begin(), e.data.end()))) return 1;
    }
  }
  return 0;
}
