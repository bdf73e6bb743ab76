// Paths as the two sides name them: the host's /a/b is Z:\a\b inside Wine.
#pragma once
#include <string>

std::string HostToWindows(const std::string& hostPath);
std::string WindowsToHost(const std::string& windowsPath);  // only for paths on Z:
// The folder part of a Windows path, without the trailing backslash.
std::string ParentOf(const std::string& windowsPath);
