#include "platform/portable/machine.h"

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

PortableMachine::PortableMachine(const ResourceTable& table, const char* programsFolder)
    : resources(table), shell(programsFolder), saved(g_platform) {
  g_platform = Platform{&registry, &files, &lz, &resources, &shell, &log};
  ConnectWindows(table);
}

void PortableMachine::ConnectWindows(const ResourceTable& table) {
  shell.modalLoop = [this](HWND owner, const std::function<void()>& opened) { windows.RunModal(owner, opened); };
  windows.onInput = [this](const std::string& operation, const std::string& text) { log.Note(operation, text); };
  user.onInput = windows.onInput;
  user.Attend();
  windows.onForeignMessage = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return window == shell.ChooserWindow() ? shell.ChooserMessage(message, wParam, lParam) : 0;
  };
  for (size_t i = 0; i < table.count; ++i) {
    const ResourceEntry& entry = table.entries[i];
    if (entry.name != nullptr) continue;
    if (entry.type == reinterpret_cast<uintptr_t>(RT_BITMAP))
      windows.NameObject(g_platform.resources->LoadBitmapA(nullptr, MAKEINTRESOURCEA(entry.id)),
                         "bitmap " + std::to_string(entry.id));
    if (entry.type == reinterpret_cast<uintptr_t>(RT_GROUP_ICON))
      windows.NameObject(g_platform.resources->LoadIconA(nullptr, MAKEINTRESOURCEA(entry.id)),
                         "icon " + std::to_string(entry.id));
  }
}

void PortableMachine::NewProcess(const ResourceTable& table) {
  processResources = std::make_unique<PortableResourceStore>(table);
  g_platform.resources = processResources.get();
  windows = RecordingWindowSystem();
  log.Restart();
  ConnectWindows(table);
}

PortableMachine::~PortableMachine() { g_platform = saved; }

bool PortableMachine::MakeFolders(const std::string& windowsPath) {
  FileSystem* files = g_platform.fileSystem;
  if (windowsPath.empty() || files == nullptr) return false;
  // Each level in turn, from the first separator after the drive.
  for (size_t at = windowsPath.find_first_of("\\/", 3); at != std::string::npos;
       at = windowsPath.find_first_of("\\/", at + 1))
    files->CreateDirectoryA(windowsPath.substr(0, at).c_str(), nullptr);
  files->CreateDirectoryA(windowsPath.c_str(), nullptr);
  DWORD attributes = files->GetFileAttributesA(windowsPath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PortableMachine::ReadFile(const std::string& windowsPath, std::string* bytes) const {
  std::string host;
  struct stat info;
  if (!files.HostPath(windowsPath.c_str(), &host) || stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return false;
  std::ifstream in(host, std::ios::binary);
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return static_cast<bool>(in) || in.eof();
}

std::vector<std::string> PortableMachine::StringValues(HKEY root, const char* subKey) {
  std::vector<std::string> values;
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    char name[256], data[1024];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (registry.RegEnumValueA(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data),
                               &dataSize) != ERROR_SUCCESS)
      break;
    if (type == REG_SZ) values.push_back(std::string(name) + "=" + std::string(data, strnlen(data, dataSize)));
  }
  registry.RegCloseKey(key);
  return values;
}
