#include "install_world.h"

#include <dirent.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "pages/folder_page.h"
#include "payload_items.h"

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

}  // namespace

InstallWorld::InstallWorld(Edition edition)
    : edition(edition), resources(EditionTable(edition)), saved(g_platform) {
  char pattern[] = "/tmp/vessora-install-XXXXXX";
  char* made = mkdtemp(pattern);
  hostRoot = made != nullptr ? made : "";
  mkdir((hostRoot + "/c").c_str(), 0777);
  mkdir((hostRoot + "/d").c_str(), 0777);
  files.MapDrive('C', hostRoot + "/c");
  files.MapDrive('D', hostRoot + "/d");
  g_platform = Platform{&registry, &faulty, &lz, &resources, &shell, &windows};
  shell.MakeProgramsFolder();
  g_officeInfo.Reset();
  g_officeInfo.DetectVersions();
  ResetInstallState();
}

InstallWorld::~InstallWorld() {
  g_platform = saved;
  g_officeInfo.Reset();
  ResetInstallState();
  if (!hostRoot.empty()) nftw(hostRoot.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool InstallWorld::LoadScenario(const std::string& fileName) {
  bool loaded = registry.LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + fileName);
  g_officeInfo.Reset();
  g_officeInfo.DetectVersions();
  return loaded;
}

void InstallWorld::MakeFolder(const std::string& windowsPath) {
  for (size_t at = windowsPath.find('\\', 3); at != std::string::npos; at = windowsPath.find('\\', at + 1))
    files.CreateDirectoryA(windowsPath.substr(0, at).c_str(), nullptr);
  files.CreateDirectoryA(windowsPath.c_str(), nullptr);
}

std::string InstallWorld::HostPath(const std::string& windowsPath) const {
  std::string host;
  return files.HostPath(windowsPath.c_str(), &host) ? host : std::string();
}

bool InstallWorld::ReadFile(const std::string& windowsPath, std::string* bytes) const {
  std::string host = HostPath(windowsPath);
  struct stat info;
  if (host.empty() || stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::ifstream in(host, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  *bytes = content.str();
  return true;
}

bool InstallWorld::Exists(const std::string& windowsPath) const {
  std::string host = HostPath(windowsPath);
  struct stat info;
  return !host.empty() && stat(host.c_str(), &info) == 0;
}

std::vector<std::string> InstallWorld::TempFilesLeft() const {
  std::vector<std::string> left;
  std::string host = HostPath("C:\\WINDOWS\\TEMP");
  DIR* folder = opendir(host.c_str());
  if (folder == nullptr) return left;
  while (struct dirent* entry = readdir(folder)) {
    std::string name = entry->d_name;
    if (name.size() >= 3 && (name.compare(0, 3, "vsq") == 0 || name.compare(0, 3, "VSQ") == 0)) left.push_back(name);
  }
  closedir(folder);
  return left;
}

std::string InstallWorld::DictionaryEntry(HKEY root, const std::string& name) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  char data[1024] = "";
  DWORD size = sizeof data - 1, type = 0;
  LONG result = registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  registry.RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_SZ) return "";
  return std::string(data, strnlen(data, size));
}

std::vector<std::string> InstallWorld::DictionaryEntries(HKEY root) {
  std::vector<std::string> entries;
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(root, kCustomDictionariesKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return entries;
  for (DWORD index = 0;; ++index) {
    char name[256], data[1024];
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
    if (registry.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                               &dataSize) != ERROR_SUCCESS)
      break;
    if (type == REG_SZ) entries.push_back(std::string(name) + "=" + std::string(data, strnlen(data, dataSize)));
  }
  registry.RegCloseKey(key);
  return entries;
}

bool InstallWorld::Install(const std::string& dictionaryFolder, const std::string& installFolder) {
  InstallResult result = InstallEdition(edition, dictionaryFolder.c_str(), installFolder.c_str());
  return result == InstallResult::Installed || result == InstallResult::InstalledWithErrors;
}

std::string InstallWorld::LogText() {
  std::string text;
  ReadFile(std::string(g_installFolder) + "\\InstallLog.txt", &text);
  return text;
}
