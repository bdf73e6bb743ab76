#include "tests/support/office_report.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"

namespace {

// One list as sorted lines, since Windows keeps values in the order they were made and
// Wine in the order of their names.
void PrintList(FILE* out, HKEY root, const char* rootName) {
  std::fprintf(out, "%s list:\n", rootName);
  std::vector<ListValue> values;
  if (!ReadDictionaryList(root, &values)) {
    std::fprintf(out, "  (no key)\n");
    return;
  }
  std::vector<std::string> lines;
  for (const ListValue& value : values) {
    const std::string& data = value.data;
    std::string line = "  \"" + value.name + "\" ";
    if (value.type == REG_SZ && !data.empty() && data.find('\0') == data.size() - 1) {
      line += "REG_SZ \"" + data.substr(0, data.size() - 1) + "\"";
    } else {
      line += "type " + std::to_string(value.type) + " hex:";
      for (size_t i = 0; i < data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", static_cast<unsigned char>(data[i]));
        line += byte;
      }
    }
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  if (lines.empty()) std::fprintf(out, "  (empty)\n");
  for (const std::string& line : lines) std::fprintf(out, "%s\n", line.c_str());
}

}  // namespace

bool ReadDictionaryList(HKEY root, std::vector<ListValue>* values) {
  HKEY key = nullptr;
  if (g_platform.registry->RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return false;
  for (DWORD index = 0;; ++index) {
    char name[256], data[1024];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (g_platform.registry->RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                           &dataSize) != ERROR_SUCCESS)
      break;
    values->push_back(ListValue{std::string(name, nameSize), type, std::string(data, dataSize)});
  }
  g_platform.registry->RegCloseKey(key);
  return true;
}

bool MakeScenarioFolders(const std::string& listFile) {
  if (listFile.empty()) return true;
  std::ifstream in(listFile, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty()) continue;
    // Each level from the one below the drive's root down.
    for (size_t at = line.find('\\', 3); at != std::string::npos; at = line.find('\\', at + 1))
      g_platform.fileSystem->CreateDirectoryA(line.substr(0, at).c_str(), nullptr);
    g_platform.fileSystem->CreateDirectoryA(line.c_str(), nullptr);
  }
  return true;
}

void PrintOfficeReport(FILE* out) {
  g_officeInfo.Reset();
  std::fprintf(out, "DetectVersions: %d\n", g_officeInfo.DetectVersions());
  std::fprintf(out, "CurrentVersion: %lu\n", static_cast<unsigned long>(g_officeInfo.CurrentVersion()));
  std::fprintf(out, "OldestVersion: %lu\n", static_cast<unsigned long>(g_officeInfo.OldestVersion()));

  // Each lookup into a text that holds "<unchanged>" before it.
  char text[kPathCapacity];
  auto print = [&](const std::string& label, const std::function<bool()>& lookup) {
    std::strcpy(text, "<unchanged>");
    bool result = lookup();
    std::fprintf(out, "%s: %s \"%s\"\n", label.c_str(), result ? "true" : "false", text);
  };
  print("GetOfficeFolder", [&] { return g_officeInfo.GetOfficeFolder(text, kPathCapacity); });
  for (DWORD version = 7; version <= 10; ++version) {
    std::string number = "(" + std::to_string(version) + ")";
    print("GetTemplatesFolder" + number, [&] { return g_officeInfo.GetTemplatesFolder(text, kPathCapacity, version); });
    print("GetStartupFolder" + number, [&] { return g_officeInfo.GetStartupFolder(text, kPathCapacity, version); });
  }
  print("GetDefaultDictionaryFolder", [&] { return GetDefaultDictionaryFolder(text, kPathCapacity); });
  for (bool machine : {true, false}) {
    text[0] = '\0';
    DWORD number = LookupDictionaryPath(text, kPathCapacity, "custom.dic", machine);
    std::fprintf(out, "LookupDictionaryPath(custom.dic, %s): %lu \"%s\"\n", machine ? "machine" : "user",
                 static_cast<unsigned long>(number), text);
  }
  std::fprintf(out, "RegisterDictionary(C:\\New\\a.dic, a.dic): %s\n",
               RegisterDictionary("C:\\New\\a.dic", "a.dic") ? "true" : "false");
  PrintList(out, HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE");
  PrintList(out, HKEY_CURRENT_USER, "HKEY_CURRENT_USER");
}
