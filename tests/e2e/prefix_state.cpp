#include "prefix_state.h"

#include <shlobj.h>

#include "host_paths.h"
#include "install_checks.h"
#include "scenario_machine.h"

bool ResetOfficeKeys(std::string& error) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const char* key : kOfficeKeys) {
      LONG result = RegDeleteTreeA(root, key);  // the key itself as well
      if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) continue;
      error = std::string("cannot delete ") + key + " (error " + std::to_string(result) + ")";
      return false;
    }
  }
  return true;
}

bool ImportRegFile(const std::string& windowsPath, std::string& error) {
  char systemFolder[MAX_PATH];
  GetSystemDirectoryA(systemFolder, MAX_PATH);
  std::string exe = std::string(systemFolder) + "\\reg.exe";
  std::string command = "\"" + exe + "\" import \"" + windowsPath + "\"";
  DWORD code = 1;
  if (!StartProgram(command, "reg import " + windowsPath, error, &code)) return false;
  if (code != 0) error = "reg import " + windowsPath + " failed with " + std::to_string(code);
  return code == 0;
}

bool RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != 0;
  for (const std::string& name : FindNames(path + "\\*")) RemoveTree(path + "\\" + name);
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool MakeFolders(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t at = path.find_last_of('\\');
  if (at != std::string::npos && at > 2) {
    if (!MakeFolders(path.substr(0, at))) return false;
  }
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::string TempFolder() {
  char folder[MAX_PATH] = "";
  DWORD length = GetTempPathA(MAX_PATH, folder);
  std::string text(folder, length < MAX_PATH ? length : 0);
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

std::string ProgramsFolder() {
  char folder[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return folder;
}

std::vector<std::string> TemporaryFiles() { return FindNames(TempFolder() + "\\vsq*"); }

bool SetImmutable(const std::string& path, bool immutable, std::string& error) {
  if (!immutable && !Exists(path)) return true;  // nothing to release
  char prefix[MAX_PATH];
  if (!GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH) || path.compare(0, 3, "C:\\") != 0) {
    error = "no host path for " + path;
    return false;
  }
  // Wine starts a host program without a process handle to wait on: the file's state tells when it ran.
  std::string command = std::string("Z:\\usr\\bin\\chattr ") + (immutable ? "+i \"" : "-i \"") + prefix +
                        "/drive_c/" + WindowsToHost(path.substr(3)) + "\"";
  if (!StartProgram(command, "chattr", error)) return false;
  bool done = WaitUntil(5000, 20, [&] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return (file == INVALID_HANDLE_VALUE) == immutable;
  });
  if (!done) error = path + (immutable ? " is still writable" : " is still not writable");
  return done;
}
