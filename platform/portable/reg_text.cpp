#include "platform/portable/reg_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/portable/ansi_case.h"
#include "platform/portable/code_page_1252.h"

#ifndef HKEY_CURRENT_CONFIG
#define HKEY_CURRENT_CONFIG ((HKEY)(uintptr_t)0x80000005)
#endif

namespace {

constexpr size_t kMaxKeyNameLength = 255;

std::string AnsiFromUtf16(const unsigned char* bytes, size_t count) {
  std::string text;
  for (size_t i = 0; i + 1 < count; i += 2) {
    uint32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < count) {
      uint32_t low = bytes[i + 2] | (bytes[i + 3] << 8);
      if (low >= 0xDC00 && low <= 0xDFFF) i += 2;  // a pair outside the code page
      text += '?';
      continue;
    }
    text += AnsiFromWide(unit);
  }
  return text;
}

std::string AnsiFromUtf8(const std::string& utf8) {
  std::string text;
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      text += '?';
      ++i;
      continue;
    }
    uint32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (!valid) {
      text += '?';
      ++i;
      continue;
    }
    text += AnsiFromWide(codePoint);
    i += extra + 1;
  }
  return text;
}

// The text as ANSI bytes: UTF-16 and UTF-8 files are known by their byte order marks.
std::string DecodeText(const std::string& raw) {
  if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE)
    return AnsiFromUtf16(reinterpret_cast<const unsigned char*>(raw.data()) + 2, raw.size() - 2);
  if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) return AnsiFromUtf8(raw.substr(3));
  return raw;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimRight(std::string text) {
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.pop_back();
  return text;
}

std::string TrimLeft(const std::string& text) {
  size_t at = text.find_first_not_of(" \t");
  return at == std::string::npos ? std::string() : text.substr(at);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(const std::string& text, size_t at, const char* prefix) {
  size_t length = std::strlen(prefix);
  return text.size() >= at + length && EqualAnsiNoCase(text.substr(at, length), prefix);
}

// Only blanks or a comment may follow a value.
bool RestIsEmpty(const std::string& line, size_t at) {
  while (at < line.size() && IsBlank(line[at])) ++at;
  return at == line.size() || line[at] == ';';
}

// A quoted text starting at line[at] == '"', with \\ and \" escapes. at ends behind the closing quote.
bool ParseQuoted(const std::string& line, size_t* at, std::string* text) {
  size_t i = *at + 1;
  text->clear();
  while (i < line.size()) {
    char c = line[i];
    if (c == '"') {
      *at = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
      *text += line[i + 1];
      i += 2;
      continue;
    }
    *text += c;
    ++i;
  }
  return false;  // no closing quote
}

// The bytes of a hex list ("00,1f,..."), which may go on over lines ending in a backslash.
// nullptr, or what is wrong with it.
const char* ParseHexList(const std::vector<std::string>& lines, size_t* lineIndex, size_t at,
                         std::vector<BYTE>* bytes) {
  std::string line = TrimRight(lines[*lineIndex]);
  bool expectByte = true;  // after a comma, or at the start
  for (;;) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size() || line[at] == ';') return nullptr;
    if (line[at] == '\\' && RestIsEmpty(line, at + 1)) {
      if (*lineIndex + 1 >= lines.size()) return "the hex list goes on past the end of the text";
      line = TrimRight(lines[++*lineIndex]);
      at = 0;
      continue;
    }
    if (!expectByte) {
      if (line[at] != ',') return "hex bytes must be separated by commas";
      ++at;
      expectByte = true;
      continue;
    }
    int high = HexDigit(line[at]);
    if (high < 0) return "a hex list holds only hex bytes";
    int value = high;
    ++at;
    if (at < line.size() && HexDigit(line[at]) >= 0) {
      value = value * 16 + HexDigit(line[at]);
      ++at;
    }
    bytes->push_back(static_cast<BYTE>(value));
    expectByte = false;
  }
}

// The data after "=" of a value line: nullptr, or what is wrong with it.
const char* ParseValueData(const std::vector<std::string>& lines, size_t* lineIndex, size_t at, bool unicodeFile,
                           RegChange* change) {
  const char* const kTrailing = "something follows the value";
  const std::string line = TrimRight(lines[*lineIndex]);
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at >= line.size()) return "no data after =";
  if (line[at] == '-') {
    change->kind = RegChange::kDeleteValue;
    return RestIsEmpty(line, at + 1) ? nullptr : kTrailing;
  }
  change->kind = RegChange::kSetValue;
  if (line[at] == '"') {
    std::string text;
    if (!ParseQuoted(line, &at, &text)) return "a text value without its closing quote";
    if (!RestIsEmpty(line, at)) return kTrailing;
    change->value.type = REG_SZ;
    change->value.data.assign(text.begin(), text.end());
    change->value.data.push_back(0);
    return nullptr;
  }
  if (StartsWithNoCase(line, at, "dword:")) {
    at += 6;
    uint32_t value = 0;
    int digits = 0;
    while (at < line.size() && HexDigit(line[at]) >= 0) {
      if (++digits > 8) return "a dword has at most 8 hex digits";
      value = value * 16 + static_cast<uint32_t>(HexDigit(line[at++]));
    }
    if (digits == 0) return "a dword needs hex digits";
    if (!RestIsEmpty(line, at)) return kTrailing;
    change->value.type = REG_DWORD;
    change->value.data = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                    static_cast<BYTE>(value >> 24)};
    return nullptr;
  }
  if (!StartsWithNoCase(line, at, "hex")) return "the data is neither \"text\", dword: nor hex:";
  at += 3;
  DWORD type = REG_BINARY;
  if (at < line.size() && line[at] == '(') {
    ++at;
    type = 0;
    int digits = 0;
    while (at < line.size() && HexDigit(line[at]) >= 0) {
      if (++digits > 8) return "a value type has at most 8 hex digits";
      type = type * 16 + static_cast<DWORD>(HexDigit(line[at++]));
    }
    if (digits == 0 || at >= line.size() || line[at] != ')') return "hex( needs a hex type and )";
    ++at;
  }
  if (at >= line.size() || line[at] != ':') return "hex needs a : before its bytes";
  change->value.type = type;
  if (const char* wrong = ParseHexList(lines, lineIndex, at + 1, &change->value.data)) return wrong;
  // A Unicode file holds the strings of hex(1), hex(2) and hex(7) as UTF-16.
  if (unicodeFile && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    if (change->value.data.size() % 2 != 0) return "a string of a Unicode file needs an even number of bytes";
    std::string text = AnsiFromUtf16(change->value.data.data(), change->value.data.size());
    change->value.data.assign(text.begin(), text.end());
  }
  return nullptr;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// Text that a quoted string can carry: one terminator at the end, no line breaks.
bool IsPlainString(const std::vector<BYTE>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0 || data[i] == '\r' || data[i] == '\n') return false;
  return true;
}

// A value's line: its name, then its data in the plainest form that carries it exactly.
std::string ValueLine(const RegValue& value) {
  std::string line = value.name.empty() ? "@=" : "\"" + Escaped(value.name) + "\"=";
  if (value.type == REG_SZ && IsPlainString(value.data))
    return line + "\"" + Escaped(std::string(value.data.begin(), value.data.end() - 1)) + "\"";
  if (value.type == REG_DWORD && value.data.size() == 4) {
    char dword[16];
    std::snprintf(dword, sizeof dword, "dword:%08x",
                  static_cast<unsigned>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                        (static_cast<uint32_t>(value.data[3]) << 24)));
    return line + dword;
  }
  char prefix[24];
  if (value.type == REG_BINARY)
    std::snprintf(prefix, sizeof prefix, "hex:");
  else
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  line += prefix;
  // Long lists go on over lines ending in a backslash, as regedit writes them.
  size_t lineStart = 0;
  for (size_t i = 0; i < value.data.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", value.data[i]);
    line += hex;
    if (i + 1 < value.data.size()) {
      line += ',';
      if (line.size() - lineStart > 76) {
        line += "\\\r\n  ";
        lineStart = line.size() - 2;
      }
    }
  }
  return line;
}

}  // namespace

const std::vector<RegRoot>& RegRoots() {
  static const std::vector<RegRoot> roots = {
      {"HKEY_CLASSES_ROOT", "HKCR", reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT)},
      {"HKEY_CURRENT_USER", "HKCU", reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER)},
      {"HKEY_LOCAL_MACHINE", "HKLM", reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE)},
      {"HKEY_USERS", "HKU", reinterpret_cast<uintptr_t>(HKEY_USERS)},
      {"HKEY_CURRENT_CONFIG", "HKCC", reinterpret_cast<uintptr_t>(HKEY_CURRENT_CONFIG)},
  };
  return roots;
}

bool ParseRegText(const std::string& raw, std::vector<RegChange>* output, std::string* error) {
  std::vector<RegChange> changes;
  std::string text = DecodeText(raw);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(TrimRight(text.substr(start, end - start)));
    start = end + 1;
  }
  size_t index = 0;
  auto fail = [&index, error](const std::string& what) {
    if (error != nullptr) *error = "line " + std::to_string(index + 1) + ": " + what;
    return false;
  };
  while (index + 1 < lines.size() && lines[index].find_first_not_of(" \t") == std::string::npos) ++index;
  std::string header = TrimLeft(lines[index]);
  bool unicodeFile = header == "Windows Registry Editor Version 5.00";
  if (!unicodeFile && header != "REGEDIT4")
    return fail("the text starts with neither REGEDIT4 nor Windows Registry Editor Version 5.00");

  bool inKey = false;
  bool keyRemoved = false;
  uintptr_t root = 0;
  std::string path;
  for (++index; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line[at] == ';') continue;
    if (line[at] == '[') {
      if (line.back() != ']') return fail("a key without its closing ]");
      std::string name = line.substr(at + 1, line.size() - at - 2);
      keyRemoved = !name.empty() && name[0] == '-';
      if (keyRemoved) name.erase(0, 1);
      size_t slash = name.find('\\');
      std::string rootName = name.substr(0, slash);
      path = slash == std::string::npos ? "" : name.substr(slash + 1);
      while (!path.empty() && path.back() == '\\') path.pop_back();
      root = 0;
      for (const RegRoot& known : RegRoots())
        if (EqualAnsiNoCase(rootName, known.longName) || EqualAnsiNoCase(rootName, known.shortName))
          root = known.value;
      if (root == 0) return fail("no root key called \"" + rootName + "\"");
      if (keyRemoved && path.empty()) return fail("a root key cannot be removed");
      if (!path.empty() && path[0] == '\\') return fail("a key path cannot start with a backslash");
      for (size_t from = 0, to; from <= path.size(); from = to + 1) {
        to = std::min(path.find('\\', from), path.size());
        if (to - from > kMaxKeyNameLength) return fail("a key name is longer than 255 characters");
      }
      RegChange change{};
      change.kind = keyRemoved ? RegChange::kDeleteKey : RegChange::kCreateKey;
      change.root = root;
      change.path = path;
      changes.push_back(change);
      inKey = true;
      continue;
    }
    if (line[at] != '@' && line[at] != '"') return fail("neither a [key], a value nor a ; comment");
    if (!inKey) return fail("a value before any [key]");
    RegChange change{};
    change.root = root;
    change.path = path;
    if (line[at] == '@') {
      ++at;
    } else if (!ParseQuoted(line, &at, &change.value.name)) {
      return fail("a value name without its closing quote");
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size() || line[at] != '=') return fail("no = after the value name");
    if (const char* wrong = ParseValueData(lines, &index, at + 1, unicodeFile, &change)) return fail(wrong);
    // Values listed under a removed key are passed over, as regedit does.
    if (!keyRemoved) changes.push_back(change);
  }
  output->insert(output->end(), changes.begin(), changes.end());
  return true;
}

std::string FormatRegText(const std::vector<RegKeyText>& keys) {
  std::string text = "REGEDIT4\r\n";
  for (const RegKeyText& key : keys) {
    std::string name;
    for (const RegRoot& root : RegRoots())
      if (root.value == key.root) name = root.longName;
    text += "\r\n[" + name + (key.path.empty() ? "" : "\\" + key.path) + "]\r\n";
    for (const RegValue& value : key.values) text += ValueLine(value) + "\r\n";
  }
  text += "\r\n";
  return text;
}
