// The state of the Wine prefix that a scenario starts from: registry keys that
// the program reads and writes, the folders it installs into, temporary files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A 32-bit program on 64-bit Windows sees HKEY_LOCAL_MACHINE\Software through the
// 32-bit view of the registry (Wow6432Node). The driver is built with the setup.exe
// it drives, of the same bitness, so its own view (and that of the reg.exe it
// starts from its system folder) is the program's.

// Deletes the Office and Word keys and both custom-dictionary lists.
bool ResetOfficeKeys(std::string& error);
// Imports a .reg file with reg import.
bool ImportRegFile(const std::string& windowsPath, std::string& error);
// Deletes a file or a folder with everything in it; true when nothing is left.
bool RemoveTree(const std::string& path);
// Makes the folder and any missing parents.
bool MakeFolders(const std::string& path);
// Makes a file immutable on the host (chattr +i: not even root may write it) or ordinary again, and
// waits until the prefix sees it so.
bool SetImmutable(const std::string& path, bool immutable, std::string& error);
// The names of the vsq* files in the temporary folder.
std::vector<std::string> TemporaryFiles();

std::string TempFolder();     // without the trailing backslash
std::string ProgramsFolder();  // the Start menu's Programs folder
