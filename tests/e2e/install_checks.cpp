#include "install_checks.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
  CloseHandle(file);
  return ok;
}

bool FileSize(const std::string& path, unsigned long long& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

std::vector<std::string> FindNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool ListFolder(const std::string& path, std::vector<std::string>& names) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  names.clear();
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  names = FindNames(path + "\\*");
  std::sort(names.begin(), names.end());
  return true;
}

namespace {
// The prefix's own registry calls, in the shape ReadRegistryValues reads through.
struct Advapi {
  LONG RegOpenKeyExA(HKEY root, LPCSTR key, DWORD options, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExA(root, key, options, access, result);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataLength) {
    return ::RegEnumValueA(key, index, name, nameLength, reserved, type, data, dataLength);
  }
  LONG RegCloseKey(HKEY key) { return ::RegCloseKey(key); }
};
}  // namespace

bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) {
  Advapi advapi;
  return ReadRegistryValues(advapi, key, values);
}

bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) {
  IShellLinkA* shellLink = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&shellLink));
  if (FAILED(result)) {
    error = "CoCreateInstance(CLSID_ShellLink) failed";
    return false;
  }
  IPersistFile* file = nullptr;
  result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    result = file->Load(wide, STGM_READ);
    file->Release();
  }
  if (FAILED(result)) {
    shellLink->Release();
    error = "IPersistFile::Load failed with " + Hex(static_cast<DWORD>(result));
    return false;
  }
  char target[MAX_PATH] = "";
  char description[MAX_PATH] = "";
  WIN32_FIND_DATAA found;
  shellLink->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH);
  shellLink->GetDescription(description, MAX_PATH);
  shellLink->Release();
  link.target = target;
  link.description = description;
  return true;
}

