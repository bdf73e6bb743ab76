#include "host_paths.h"

std::string HostToWindows(const std::string& hostPath) {
  if (hostPath.size() > 1 && hostPath[1] == ':') return hostPath;  // already a Windows path
  std::string path = "Z:" + hostPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string WindowsToHost(const std::string& windowsPath) {
  std::string path = windowsPath;
  if (path.size() > 1 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path = path.substr(2);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string ParentOf(const std::string& windowsPath) {
  size_t at = windowsPath.find_last_of("\\/");
  return at == std::string::npos ? std::string() : windowsPath.substr(0, at);
}
