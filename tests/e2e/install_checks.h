// What an install left behind, read back through the Win32 API of the prefix:
// files, the log's bytes, registry values and shell links.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "scenario_machine.h"
#include "scenario_script.h"

bool Exists(const std::string& path);  // a file or a folder
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Replaces the file's bytes.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileSize(const std::string& path, unsigned long long& size);
// The names FindFirstFile gives for a pattern such as FOLDER\*, without "." and "..".
std::vector<std::string> FindNames(const std::string& pattern);
// Names of the files and folders directly inside a folder, sorted.
bool ListFolder(const std::string& path, std::vector<std::string>& names);

// Every value of the key ("HKCU\..."); false when the key does not open.
bool ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values);

// Loads a .lnk through CLSID_ShellLink and IPersistFile::Load.
bool ReadShellLink(const std::string& path, LinkInfo& link, std::string& error);

