#include "host_paths.h"

#include <vector>

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

bool StartProgram(const std::string& command, const std::string& what, std::string& error, DWORD* exitCode) {
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    error = "cannot start " + what + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  bool done = exitCode == nullptr || WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
  if (exitCode != nullptr && (!done || !GetExitCodeProcess(info.hProcess, exitCode))) *exitCode = 1;
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  if (!done) error = what + " did not finish";
  return done;
}
