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

bool ReadValues(HKEY root, const std::string& key, std::map<std::string, RegistryValue>& values) {
  values.clear();
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD nameLength = sizeof name;
    BYTE data[65536];
    DWORD dataLength = sizeof data;
    DWORD type = 0;
    LONG result = RegEnumValueA(handle, index, name, &nameLength, nullptr, &type, data, &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_MORE_DATA) {
      // Too long to compare, yet still a value of the key.
      values[std::string(name, nameLength)] = RegistryValue{type, "<more than 64 KB>"};
      continue;
    }
    if (result != ERROR_SUCCESS) continue;
    RegistryValue value;
    value.type = type;
    std::string raw(reinterpret_cast<char*>(data), dataLength);
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && !raw.empty() && raw.back() == '\0') raw.pop_back();
    value.data = raw;
    values[std::string(name, nameLength)] = value;
  }
  RegCloseKey(handle);
  return true;
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

std::string LogFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::string line : lines) {
    if (!line.empty() && line.back() == '$') line.pop_back();
    text += line + "\r\n";
  }
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

std::string DescribeDifference(const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
  lineStart = (lineStart == std::string::npos || at == 0) ? 0 : lineStart + 1;
  int lineNumber = 1 + static_cast<int>(std::count(expected.begin(), expected.begin() + lineStart, '\n'));
  auto lineAt = [lineStart](const std::string& text) {
    if (lineStart >= text.size()) return std::string("<end of file>");
    size_t end = text.find('\n', lineStart);
    return Escaped(text.substr(lineStart, end == std::string::npos ? std::string::npos : end - lineStart + 1));
  };
  return "differs at byte " + std::to_string(at) + " (line " + std::to_string(lineNumber) + ", " +
         std::to_string(expected.size()) + " bytes expected, " + std::to_string(actual.size()) +
         " found)\n      expected: " + lineAt(expected) + "\n      found:    " + lineAt(actual);
}
