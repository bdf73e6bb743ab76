#include "platform/portable/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/portable/ansi_case.h"
#include "platform/portable/code_page_1252.h"

#ifndef HKEY_CURRENT_CONFIG
#define HKEY_CURRENT_CONFIG ((HKEY)(uintptr_t)0x80000005)
#endif

namespace {

// Win32 error codes only this backend gives.
enum : LONG { kErrorBadPathname = 161, kErrorNoAccess = 998 };

constexpr uintptr_t kFirstHandle = 0x1000;
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

struct RootName {
  const char* longName;
  const char* shortName;
  uintptr_t value;
};

// The predefined roots, in the order regedit writes them. Their values come from the
// system's own constants, which differ in width between 32- and 64-bit Windows.
const std::vector<RootName>& RootNames() {
  static const std::vector<RootName> names = {
      {"HKEY_CLASSES_ROOT", "HKCR", reinterpret_cast<uintptr_t>(HKEY_CLASSES_ROOT)},
      {"HKEY_CURRENT_USER", "HKCU", reinterpret_cast<uintptr_t>(HKEY_CURRENT_USER)},
      {"HKEY_LOCAL_MACHINE", "HKLM", reinterpret_cast<uintptr_t>(HKEY_LOCAL_MACHINE)},
      {"HKEY_USERS", "HKU", reinterpret_cast<uintptr_t>(HKEY_USERS)},
      {"HKEY_CURRENT_CONFIG", "HKCC", reinterpret_cast<uintptr_t>(HKEY_CURRENT_CONFIG)},
  };
  return names;
}

// Generic and maximum rights stand for the key rights they imply.
REGSAM NormalizeAccess(REGSAM access) {
  if (access & 0x02000000u) access |= KEY_ALL_ACCESS;  // MAXIMUM_ALLOWED
  if (access & 0x80000000u) access |= KEY_READ;        // GENERIC_READ
  if (access & 0x40000000u) access |= KEY_WRITE;       // GENERIC_WRITE
  if (access & 0x20000000u) access |= KEY_READ;        // GENERIC_EXECUTE
  if (access & 0x10000000u) access |= KEY_ALL_ACCESS;  // GENERIC_ALL
  return access;
}

// ---- Reading .reg text ----

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
                           PortableRegistry::Change* change) {
  const char* const kTrailing = "something follows the value";
  const std::string line = TrimRight(lines[*lineIndex]);
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at >= line.size()) return "no data after =";
  if (line[at] == '-') {
    change->kind = PortableRegistry::Change::kDeleteValue;
    return RestIsEmpty(line, at + 1) ? nullptr : kTrailing;
  }
  change->kind = PortableRegistry::Change::kSetValue;
  if (line[at] == '"') {
    std::string text;
    if (!ParseQuoted(line, &at, &text)) return "a text value without its closing quote";
    if (!RestIsEmpty(line, at)) return kTrailing;
    change->type = REG_SZ;
    change->data.assign(text.begin(), text.end());
    change->data.push_back(0);
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
    change->type = REG_DWORD;
    change->data = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
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
  change->type = type;
  if (const char* wrong = ParseHexList(lines, lineIndex, at + 1, &change->data)) return wrong;
  // A Unicode file holds the strings of hex(1), hex(2) and hex(7) as UTF-16.
  if (unicodeFile && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    if (change->data.size() % 2 != 0) return "a string of a Unicode file needs an even number of bytes";
    std::string text = AnsiFromUtf16(change->data.data(), change->data.size());
    change->data.assign(text.begin(), text.end());
  }
  return nullptr;
}

// The changes a .reg text makes; false, with "line N: what is wrong" in *error, when it is not well formed.
bool ParseRegText(const std::string& raw, std::vector<PortableRegistry::Change>* changes, std::string* error) {
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
    *error = "line " + std::to_string(index + 1) + ": " + what;
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
      for (const RootName& known : RootNames())
        if (EqualAnsiNoCase(rootName, known.longName) || EqualAnsiNoCase(rootName, known.shortName))
          root = known.value;
      if (root == 0) return fail("no root key called \"" + rootName + "\"");
      if (keyRemoved && path.empty()) return fail("a root key cannot be removed");
      if (!path.empty() && path[0] == '\\') return fail("a key path cannot start with a backslash");
      for (size_t from = 0, to; from <= path.size(); from = to + 1) {
        to = std::min(path.find('\\', from), path.size());
        if (to - from > kMaxKeyNameLength) return fail("a key name is longer than 255 characters");
      }
      PortableRegistry::Change change{};
      change.kind = keyRemoved ? PortableRegistry::Change::kDeleteKey : PortableRegistry::Change::kCreateKey;
      change.root = root;
      change.path = path;
      changes->push_back(change);
      inKey = true;
      continue;
    }
    if (line[at] != '@' && line[at] != '"') return fail("neither a [key], a value nor a ; comment");
    if (!inKey) return fail("a value before any [key]");
    PortableRegistry::Change change{};
    change.root = root;
    change.path = path;
    if (line[at] == '@') {
      ++at;
    } else if (!ParseQuoted(line, &at, &change.valueName)) {
      return fail("a value name without its closing quote");
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size() || line[at] != '=') return fail("no = after the value name");
    if (const char* wrong = ParseValueData(lines, &index, at + 1, unicodeFile, &change)) return fail(wrong);
    // Values listed under a removed key are passed over, as regedit does.
    if (!keyRemoved) changes->push_back(change);
  }
  return true;
}

// ---- Writing .reg text ----

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

// Hands a value's type and data to a query or an enumeration, as the registry calls do:
// ERROR_MORE_DATA with the size needed when the data does not fit.
LONG CopyValueData(DWORD valueType, const std::vector<BYTE>& bytes, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (type != nullptr) *type = valueType;
  DWORD size = static_cast<DWORD>(bytes.size());
  if (data != nullptr) {
    if (*dataSize < size) {
      *dataSize = size;
      return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(data, bytes.data(), size);
  }
  if (dataSize != nullptr) *dataSize = size;
  return ERROR_SUCCESS;
}

}  // namespace

PortableRegistry::PortableRegistry() : nextHandle(kFirstHandle) {
  for (const RootName& root : RootNames()) {
    auto key = std::make_shared<Key>();
    key->name = root.longName;
    roots[root.value] = key;
  }
}

PortableRegistry::~PortableRegistry() = default;

std::shared_ptr<PortableRegistry::Key> PortableRegistry::RootKey(uintptr_t root) const {
  auto found = roots.find(root);
  return found == roots.end() ? nullptr : found->second;
}

LONG PortableRegistry::KeyOfHandle(HKEY handle, std::shared_ptr<Key>* key, REGSAM* access, REGSAM needed) const {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  auto open = handles.find(value);
  if (auto root = RootKey(value)) {
    *key = root;
    *access = KEY_ALL_ACCESS;
  } else if (open == handles.end()) {
    return ERROR_INVALID_HANDLE;
  } else if (open->second.key->deleted) {
    return ERROR_KEY_DELETED;
  } else {
    *key = open->second.key;
    *access = open->second.access;
  }
  return (*access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

std::vector<PortableRegistry::Value>::iterator PortableRegistry::FindValue(Key* key, LPCSTR name) {
  std::string wanted = name != nullptr ? name : "";
  return std::find_if(key->values.begin(), key->values.end(),
                      [&](const Value& value) { return EqualAnsiNoCase(value.name, wanted); });
}

LONG PortableRegistry::Walk(const std::shared_ptr<Key>& from, const char* subKey, bool create,
                            std::shared_ptr<Key>* found, bool* created) {
  std::string path = subKey != nullptr ? subKey : "";
  if (!path.empty() && path[0] == '\\') return kErrorBadPathname;
  std::shared_ptr<Key> key = from;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    if (name.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> next;
    for (const auto& sub : key->subKeys)
      if (EqualAnsiNoCase(sub->name, name)) next = sub;
    if (!next) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      next = std::make_shared<Key>();
      next->name = name;
      key->subKeys.push_back(next);
      if (created != nullptr) *created = true;
    }
    key = next;
  }
  *found = key;
  return ERROR_SUCCESS;
}

HKEY PortableRegistry::NewHandle(const std::shared_ptr<Key>& key, REGSAM access) {
  uintptr_t value = nextHandle;
  nextHandle += 4;
  handles[value] = OpenKey{key, NormalizeAccess(access)};
  return reinterpret_cast<HKEY>(value);
}

LONG PortableRegistry::StartAt(HKEY root, LPCSTR subKey, HKEY* result, std::shared_ptr<Key>* base,
                               REGSAM* baseAccess, std::shared_ptr<Key>* key) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  LONG error = KeyOfHandle(root, base, baseAccess);
  return error != ERROR_SUCCESS ? error : Walk(*base, subKey, false, key, nullptr);
}

LONG PortableRegistry::RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD, REGSAM access, HKEY* result) {
  std::shared_ptr<Key> base, key;
  REGSAM baseAccess = 0;
  LONG error = StartAt(root, subKey, result, &base, &baseAccess, &key);
  if (error != ERROR_SUCCESS) return error;
  *result = NewHandle(key, access);
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegCreateKeyExA(HKEY root, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, void*,
                                       HKEY* result, DWORD* disposition) {
  std::shared_ptr<Key> base, key;
  REGSAM baseAccess = 0;
  LONG error = StartAt(root, subKey, result, &base, &baseAccess, &key);
  bool created = false;
  if (error == ERROR_FILE_NOT_FOUND && base != nullptr) {
    // Making a key below an opened one needs the right to make subkeys.
    if (!(baseAccess & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    error = Walk(base, subKey, true, &key, &created);
  }
  if (error != ERROR_SUCCESS) return error;
  *result = NewHandle(key, access);
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegQueryValueExA(HKEY handle, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                        DWORD* dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_QUERY_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) return ERROR_INVALID_PARAMETER;
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  return CopyValueData(value->type, value->data, type, data, dataSize);
}

LONG PortableRegistry::RegEnumValueA(HKEY handle, DWORD index, LPSTR valueName, DWORD* valueNameSize,
                                     DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_QUERY_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (valueName == nullptr || valueNameSize == nullptr || reserved != nullptr ||
      (data != nullptr && dataSize == nullptr))
    return ERROR_INVALID_PARAMETER;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& value = key->values[index];
  // The name capacity counts the terminator; the size returned does not.
  if (value.name.size() >= *valueNameSize) return ERROR_MORE_DATA;
  std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
  *valueNameSize = static_cast<DWORD>(value.name.size());
  return CopyValueData(value.type, value.data, type, data, dataSize);
}

LONG PortableRegistry::RegSetValueExA(HKEY handle, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                                      DWORD dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_SET_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (data == nullptr && dataSize > 0) return kErrorNoAccess;
  std::string name = valueName != nullptr ? valueName : "";
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  Value written{name, type, std::vector<BYTE>(data, data + dataSize)};
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end())
    key->values.push_back(written);
  else  // replaced in place: its index stays, and so does the name's spelling
    *value = Value{value->name, type, written.data};
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegDeleteValueA(HKEY handle, LPCSTR valueName) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_SET_VALUE);
  if (error != ERROR_SUCCESS) return error;
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  key->values.erase(value);
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegCloseKey(HKEY handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (RootKey(value)) return ERROR_SUCCESS;
  if (handles.erase(value) == 0) return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

bool PortableRegistry::DeleteKeyTree(HKEY root, const std::string& path) {
  std::shared_ptr<Key> rootKey = RootKey(reinterpret_cast<uintptr_t>(root));
  if (!rootKey) return false;
  size_t slash = path.find_last_of('\\');
  std::string parentPath = slash == std::string::npos ? "" : path.substr(0, slash);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::shared_ptr<Key> parent;
  if (name.empty() || Walk(rootKey, parentPath.c_str(), false, &parent, nullptr) != ERROR_SUCCESS) return false;
  for (auto sub = parent->subKeys.begin(); sub != parent->subKeys.end(); ++sub) {
    if (!EqualAnsiNoCase((*sub)->name, name)) continue;
    std::vector<std::shared_ptr<Key>> pending{*sub};
    while (!pending.empty()) {
      std::shared_ptr<Key> key = pending.back();
      pending.pop_back();
      key->deleted = true;
      pending.insert(pending.end(), key->subKeys.begin(), key->subKeys.end());
    }
    parent->subKeys.erase(sub);
    return true;
  }
  return false;
}

void PortableRegistry::Apply(const Change& change) {
  HKEY root = reinterpret_cast<HKEY>(change.root);
  std::shared_ptr<Key> key;
  switch (change.kind) {
    case Change::kCreateKey: Walk(RootKey(change.root), change.path.c_str(), true, &key, nullptr); break;
    case Change::kDeleteKey: DeleteKeyTree(root, change.path); break;
    case Change::kSetValue:
    case Change::kDeleteValue: {
      if (Walk(RootKey(change.root), change.path.c_str(), change.kind == Change::kSetValue, &key, nullptr) !=
          ERROR_SUCCESS)
        break;
      HKEY handle = NewHandle(key, KEY_ALL_ACCESS);
      if (change.kind == Change::kSetValue)
        RegSetValueExA(handle, change.valueName.c_str(), 0, change.type, change.data.data(),
                       static_cast<DWORD>(change.data.size()));
      else
        RegDeleteValueA(handle, change.valueName.c_str());
      RegCloseKey(handle);
      break;
    }
  }
}

bool PortableRegistry::LoadRegText(const std::string& text, std::string* error) {
  std::string unused;
  std::vector<Change> changes;
  if (!ParseRegText(text, &changes, error != nullptr ? error : &unused)) return false;
  for (const Change& change : changes) Apply(change);
  return true;
}

bool PortableRegistry::LoadRegFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  std::string text;
  if (file) text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad()) {
    if (error != nullptr) *error = "it cannot be read";
    return false;
  }
  return LoadRegText(text, error);
}

void PortableRegistry::SaveKey(const Key& key, const std::string& path, bool isRoot, std::string* text) const {
  // A root gets a section only for values of its own; every other key, even an empty one, gets one.
  if (!isRoot || !key.values.empty()) {
    *text += "\r\n[" + path + "]\r\n";
    for (const Value& value : key.values) {
      std::string line = value.name.empty() ? "@=" : "\"" + Escaped(value.name) + "\"=";
      if (value.type == REG_SZ && IsPlainString(value.data)) {
        line += "\"" + Escaped(std::string(value.data.begin(), value.data.end() - 1)) + "\"";
      } else if (value.type == REG_DWORD && value.data.size() == 4) {
        char dword[16];
        std::snprintf(dword, sizeof dword, "dword:%08x",
                      static_cast<unsigned>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                            (static_cast<uint32_t>(value.data[3]) << 24)));
        line += dword;
      } else {
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
      }
      *text += line + "\r\n";
    }
  }
  for (const auto& sub : key.subKeys) SaveKey(*sub, path + "\\" + sub->name, false, text);
}

std::string PortableRegistry::SaveRegText() const {
  std::string text = "REGEDIT4\r\n";
  for (const RootName& root : RootNames()) SaveKey(*RootKey(root.value), root.longName, true, &text);
  text += "\r\n";
  return text;
}

bool PortableRegistry::SaveRegFile(const std::string& path) const {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  std::string text = SaveRegText();
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return !file.fail();
}

bool PortableRegistry::CopyKey(const Key& key, HKEY root, const std::string& path, bool isRoot, Registry* target,
                               const KeyCreator& createKey) const {
  bool ok = true;
  if (!isRoot || !key.values.empty()) {
    HKEY handle = nullptr;
    if (createKey(root, path.c_str(), &handle) != ERROR_SUCCESS) {
      ok = false;
    } else {
      for (const Value& value : key.values)
        if (target->RegSetValueExA(handle, value.name.c_str(), 0, value.type, value.data.data(),
                                   static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS)
          ok = false;
      target->RegCloseKey(handle);
    }
  }
  for (const auto& sub : key.subKeys)
    if (!CopyKey(*sub, root, path.empty() ? sub->name : path + "\\" + sub->name, false, target, createKey)) ok = false;
  return ok;
}

bool PortableRegistry::CopyTo(Registry* target, const KeyCreator& createKey) const {
  bool ok = true;
  for (const RootName& root : RootNames())
    if (!CopyKey(*RootKey(root.value), reinterpret_cast<HKEY>(root.value), "", true, target, createKey)) ok = false;
  return ok;
}
