// What an install left behind, read back through the Win32 API of the prefix:
// files, the log's bytes, registry values and shell links.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

bool Exists(const std::string& path);  // a file or a folder
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Replaces the file's bytes.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileSize(const std::string& path, unsigned long long& size);
// The names FindFirstFile gives for a pattern such as FOLDER\*, without "." and "..".
std::vector<std::string> FindNames(const std::string& pattern);
// Names of the files and folders directly inside a folder, sorted.
bool ListFolder(const std::string& path, std::vector<std::string>& names);

struct RegistryValue {
  DWORD type = 0;
  std::string data;  // REG_SZ without its terminator; other types as raw bytes
};
// Every value of the key; false when the key does not open.
bool ReadValues(HKEY root, const std::string& key, std::map<std::string, RegistryValue>& values);

struct LinkInfo {
  std::string target;
  std::string description;
};
// Loads a .lnk through CLSID_ShellLink and IPersistFile::Load.
bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error);

// The expected log from block lines: each line gets CR LF; a "$" ending a line
// marks its end so that trailing blanks stay visible in the scenario file.
std::string LogFromLines(const std::vector<std::string>& lines);
// A readable account of where two texts first differ, line by line.
std::string DescribeDifference(const std::string& expected, const std::string& actual);
// Control characters written as \r, \n, \t, \xNN.
std::string Escaped(const std::string& text);
std::string Hex(DWORD value);  // 0x0000ABCD
