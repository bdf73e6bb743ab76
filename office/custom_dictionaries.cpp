#include "office/custom_dictionaries.h"

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/number_text.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"

const char kCustomDictionariesKey[] = "Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries";

namespace {

// Room for an entry's name as it is read, and as a new one is formed, terminators included.
constexpr DWORD kNameReadCapacity = 24;
constexpr DWORD kNameFormCapacity = 8;
// The highest number whose decimal form fits the room of a new name.
constexpr DWORD kHighestFormableNumber = 9999999;
const char kStandardDictionary[] = "custom.dic";

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// An entry's name read as a number: white space, an optional sign, then decimal digits up
// to the first other character ("12abc" is 12, "abc" is 0). Digits beyond the 32-bit range
// stay at the highest number rather than wrap round to a small one.
DWORD NumberFromName(const char* name) {
  const char* at = name;
  while (IsWhiteSpace(*at)) ++at;
  bool negative = false;
  if (*at == '+' || *at == '-') negative = *at++ == '-';
  DWORD number = 0;
  for (; *at >= '0' && *at <= '9'; ++at) {
    DWORD digit = static_cast<DWORD>(*at - '0');
    number = number > (0xFFFFFFFFu - digit) / 10 ? 0xFFFFFFFFu : number * 10 + digit;
  }
  return negative ? 0u - number : number;
}

}  // namespace

bool ContainsNoCase(const char* text, const char* part) {
  if (text == nullptr || part == nullptr) return false;
  size_t textLength = std::strlen(text);
  size_t partLength = std::strlen(part);
  if (partLength > textLength) return false;
  for (size_t start = 0; start + partLength <= textLength; ++start) {
    size_t i = 0;
    while (i < partLength && FoldAsciiCase(text[start + i]) == FoldAsciiCase(part[i])) ++i;
    if (i == partLength) return true;
  }
  return false;
}

DWORD FindDictionaryEntry(HKEY root, char* out, DWORD capacity, const char* fileName) {
  HKEY key = nullptr;
  if (g_platform.registry->RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return 0;
  DWORD highest = 0;
  for (DWORD index = 0;; ++index) {
    char name[kNameReadCapacity];
    char data[kPathCapacity];
    DWORD nameSize = kNameReadCapacity;
    DWORD dataSize = kPathCapacity;
    DWORD type = 0;
    LONG result = g_platform.registry->RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                                                     reinterpret_cast<BYTE*>(data), &dataSize);
    if (result == ERROR_MORE_DATA) continue;  // a name or path too long to read whole takes no part
    if (result != ERROR_SUCCESS) break;       // the end of the list, or a key that went away
    if (type != REG_SZ || nameSize >= kNameReadCapacity || dataSize > kPathCapacity) continue;
    name[nameSize] = '\0';
    // The path is text only when it ends inside the buffer.
    if (dataSize == 0 || data[dataSize - 1] != '\0') {
      if (dataSize == kPathCapacity) continue;
      data[dataSize] = '\0';
    }
    DWORD number = NumberFromName(name);
    if (number == 0) continue;
    if (number > highest) highest = number;
    if (ContainsNoCase(data, fileName)) {
      size_t size = std::strlen(data) + 1;
      if (out != nullptr && size <= capacity) std::memcpy(out, data, size);
      g_platform.registry->RegCloseKey(key);
      return number;
    }
  }
  g_platform.registry->RegCloseKey(key);
  // No number above the highest in use: the highest itself, which is too long to write.
  return highest == 0xFFFFFFFFu ? highest : highest + 1;
}

DWORD LookupDictionaryPath(char* out, DWORD capacity, const char* fileName, bool preferMachine) {
  if (out == nullptr || capacity == 0 || fileName == nullptr) return 0;
  HKEY roots[2] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  if (preferMachine) {
    roots[0] = HKEY_LOCAL_MACHINE;
    roots[1] = HKEY_CURRENT_USER;
  }
  for (HKEY root : roots) {
    out[0] = '\0';
    DWORD number = FindDictionaryEntry(root, out, capacity, fileName);
    // A bare file name, with no folder in front of it, does not count.
    if (number > 0 && std::strlen(out) > std::strlen(fileName)) return number;
  }
  return 0;
}

bool SetDictionaryEntry(HKEY root, const char* path, DWORD number) {
  // A name that would not fit its room, or the number 0 that takes no part in the list, is never written.
  if (path == nullptr || number == 0 || number > kHighestFormableNumber) return false;
  size_t size = std::strlen(path) + 1;
  if (size > static_cast<size_t>(kPathCapacity)) return false;  // could not be read back whole
  HKEY key = nullptr;
  if (g_platform.registry->RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
      ERROR_SUCCESS)
    return false;
  char name[kNameFormCapacity];
  FormatNumberedName(name, sizeof name, "", number, "");
  LONG result = g_platform.registry->RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                                    static_cast<DWORD>(size));
  g_platform.registry->RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool RegisterDictionary(const char* path, const char* fileName) {
  char scratch[kPathCapacity];
  scratch[0] = '\0';
  DWORD number = FindDictionaryEntry(HKEY_LOCAL_MACHINE, scratch, kPathCapacity, fileName);
  bool machine = SetDictionaryEntry(HKEY_LOCAL_MACHINE, path, number);
  scratch[0] = '\0';
  number = FindDictionaryEntry(HKEY_CURRENT_USER, scratch, kPathCapacity, fileName);
  bool user = SetDictionaryEntry(HKEY_CURRENT_USER, path, number);
  return machine || user;
}

bool GetDefaultDictionaryFolder(char* out, DWORD capacity) {
  if (out == nullptr) return false;
  char found[kPathCapacity];
  found[0] = '\0';
  if (LookupDictionaryPath(found, kPathCapacity, kStandardDictionary, true) == 0) return false;
  // A folder cut to its room would be another folder: then there is no default.
  if (!PathComponentsFit(found)) return false;
  char drive[kDriveCapacity];
  char folder[kComponentCapacity];
  SplitPath(found, drive, folder, nullptr, nullptr);
  char joined[kPathCapacity];
  if (!MakePath(joined, drive, folder, nullptr, nullptr) || joined[0] == '\0') return false;
  size_t size = std::strlen(joined) + 1;
  if (size > capacity) return false;
  std::memcpy(out, joined, size);
  return true;
}
