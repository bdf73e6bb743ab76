#include "office/office_info.h"

#include <cstring>
#include <new>

#include "platform/path_helpers.h"
#include "platform/platform.h"

OfficeInfo g_officeInfo;

namespace {

constexpr DWORD kOldestKnownVersion = 7;
constexpr DWORD kNewestKnownVersion = 10;
constexpr int kVersionCount = 4;

// Where each version keeps its program folder (HKEY_LOCAL_MACHINE) and Word's options
// and template folders (HKEY_CURRENT_USER). A null value name reads the key's default value.
const OfficeVersionEntry kVersionTable[kVersionCount] = {
    {7, "Software\\Microsoft\\Word\\7.0\\Options", "PROGRAMDIR", "Software\\Microsoft\\Word\\7.0\\Options",
     "Software\\Microsoft\\Microsoft Office\\95\\FileNew\\SharedTemplates", "WORKGROUP-DOT-PATH",
     "Software\\Microsoft\\Microsoft Office\\95\\FileNew\\LocalTemplates", "USER-DOT-PATH", false, nullptr},
    {8, "Software\\Microsoft\\Office\\8.0\\Common\\InstallRoot", "OfficeBin",
     "Software\\Microsoft\\Office\\8.0\\Word\\Options", "Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\SharedTemplates",
     nullptr, "Software\\Microsoft\\Office\\8.0\\Common\\FileNew\\LocalTemplates", nullptr, false, nullptr},
    {9, "Software\\Microsoft\\Office\\9.0\\Common\\InstallRoot", "Path", "Software\\Microsoft\\Office\\9.0\\Word\\Options",
     "Software\\Microsoft\\Office\\9.0\\Common\\General", "SharedTemplates",
     "Software\\Microsoft\\Office\\9.0\\Common\\General", "UserTemplates", false, nullptr},
    {10, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot", "Path",
     "Software\\Microsoft\\Office\\10.0\\Word\\Options", "Software\\Microsoft\\Office\\10.0\\Common\\General",
     "SharedTemplates", "Software\\Microsoft\\Office\\10.0\\Common\\General", "UserTemplates", false, nullptr},
};

const char kStartupFolderName[] = "STARTUP";
const char kStartupPathValue[] = "STARTUP-PATH";

// Reads a value of an open key as text into out, whatever its type. The text is always
// terminated inside out, also when the stored data has no terminating zero; data that
// does not fit capacity bytes with its terminator counts as missing. out is written only
// on success.
bool QueryText(HKEY key, const char* valueName, char* out, DWORD capacity) {
  if (out == nullptr || capacity == 0) return false;
  char text[kPathCapacity];
  DWORD room = capacity < static_cast<DWORD>(kPathCapacity) ? capacity : static_cast<DWORD>(kPathCapacity);
  DWORD size = room;
  DWORD type = 0;
  if (g_platform.registry->RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return false;
  if (size > room) return false;
  bool terminated = size > 0 && text[size - 1] == '\0';
  if (!terminated) {
    if (size == room) return false;  // no room left for the terminator
    text[size] = '\0';
  }
  std::memcpy(out, text, std::strlen(text) + 1);
  return true;
}

// Opens root\keyPath for reading, reads one value as text, and closes the key again.
bool ReadText(HKEY root, const char* keyPath, const char* valueName, char* out, DWORD capacity) {
  HKEY key = nullptr;
  if (g_platform.registry->RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  bool found = QueryText(key, valueName, out, capacity);
  g_platform.registry->RegCloseKey(key);
  return found;
}

bool IsKnownVersion(DWORD version) { return version >= kOldestKnownVersion && version <= kNewestKnownVersion; }

}  // namespace

OfficeInfo::OfficeInfo() : currentVersion(0) {
  for (int i = 0; i < kVersionCount; ++i) entries[i] = kVersionTable[i];
}

OfficeInfo::~OfficeInfo() {
  for (OfficeVersionEntry& entry : entries) delete[] entry.programFolder;
}

void OfficeInfo::Reset() {
  for (int i = 0; i < kVersionCount; ++i) {
    delete[] entries[i].programFolder;
    entries[i] = kVersionTable[i];
  }
  currentVersion = 0;
}

int OfficeInfo::DetectVersions() {
  int count = 0;
  for (OfficeVersionEntry& entry : entries) {
    HKEY key = nullptr;
    if (g_platform.registry->RegOpenKeyExA(HKEY_LOCAL_MACHINE, entry.probeKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
      continue;
    if (entry.programFolder == nullptr) {
      entry.programFolder = new (std::nothrow) char[kPathCapacity];
      if (entry.programFolder == nullptr) {
        g_platform.registry->RegCloseKey(key);
        return count;
      }
      entry.programFolder[0] = '\0';
    }
    if (QueryText(key, entry.probeValue, entry.programFolder, kPathCapacity)) {
      entry.found = true;
      currentVersion = entry.version;
      ++count;
    }
    g_platform.registry->RegCloseKey(key);
  }
  return count;
}

DWORD OfficeInfo::CurrentVersion() const { return currentVersion; }

DWORD OfficeInfo::OldestVersion() const {
  for (const OfficeVersionEntry& entry : entries)
    if (entry.found) return entry.version;
  return kOldestKnownVersion;
}

bool OfficeInfo::GetOfficeFolder(char* out, DWORD capacity) const {
  if (out == nullptr || !IsKnownVersion(currentVersion)) return false;
  const OfficeVersionEntry& entry = entries[currentVersion - kOldestKnownVersion];
  if (!entry.found || entry.programFolder == nullptr) return false;
  size_t size = std::strlen(entry.programFolder) + 1;
  if (size > capacity) return false;
  std::memcpy(out, entry.programFolder, size);
  return true;
}

bool OfficeInfo::GetTemplatesFolder(char* out, DWORD capacity, DWORD version) const {
  if (!IsKnownVersion(version)) return false;
  const OfficeVersionEntry& entry = entries[version - kOldestKnownVersion];
  // The workgroup folder wins over the user's own; the program folder is the last resort.
  if (ReadText(HKEY_CURRENT_USER, entry.sharedTemplatesKey, entry.sharedTemplatesValue, out, capacity)) return true;
  if (ReadText(HKEY_CURRENT_USER, entry.userTemplatesKey, entry.userTemplatesValue, out, capacity)) return true;
  return GetOfficeFolder(out, capacity);
}

bool OfficeInfo::GetStartupFolder(char* out, DWORD capacity, DWORD version) const {
  if (!IsKnownVersion(version)) return false;
  const OfficeVersionEntry& entry = entries[version - kOldestKnownVersion];
  HKEY key = nullptr;
  if (g_platform.registry->RegOpenKeyExA(HKEY_CURRENT_USER, entry.optionsKey, 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return false;
  bool found = QueryText(key, kStartupPathValue, out, capacity);
  g_platform.registry->RegCloseKey(key);
  if (found) return true;

  // Office's own STARTUP folder, when it is there.
  char officeFolder[kPathCapacity];
  char startup[kPathCapacity];
  if (GetOfficeFolder(officeFolder, kPathCapacity) && MakeFilePath(startup, officeFolder, kStartupFolderName)) {
    DWORD attributes = g_platform.fileSystem->GetFileAttributesA(startup);
    size_t size = std::strlen(startup) + 1;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && size <= capacity) {
      std::memcpy(out, startup, size);
      return true;
    }
  }
  // Otherwise the template folder stands in for the start-up folder.
  return GetTemplatesFolder(out, capacity, version);
}
