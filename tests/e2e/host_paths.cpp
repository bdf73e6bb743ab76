#include "host_paths.h"

#include <algorithm>
#include <cstdio>

bool StartProgram(const std::string& command, const std::string& what, std::string& error, DWORD* exitCode) {
  std::string line = command;  // CreateProcess may write to it
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

bool WaitUntil(DWORD timeoutMs, DWORD pauseMs, const std::function<bool()>& done) {
  double deadline = NowMs() + timeoutMs;
  while (!done()) {
    if (NowMs() >= deadline) return false;
    Sleep(pauseMs);
  }
  return true;
}

bool CaptureScreen(const RECT& r, const std::string& hostPath, std::string& error) {
  std::string windowsPath = HostToWindows(hostPath);
  std::string partial = hostPath + ".part";
  DeleteFileA(windowsPath.c_str());
  char geometry[64];
  std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", static_cast<long>(r.right - r.left),
                static_cast<long>(r.bottom - r.top), static_cast<long>(r.left), static_cast<long>(r.top));
  // import writes the file as it goes, so it is renamed into place once complete.
  std::string command = "Z:\\bin\\sh -c \"import -window root -crop " + std::string(geometry) +
                        " +repage 'png:" + partial + "' && mv '" + partial + "' '" + hostPath + "'\"";
  // The file tells when import is done.
  if (!StartProgram(command, "import", error)) return false;
  bool saved = WaitUntil(15000, 10, [&] { return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES; });
  if (!saved) error = "no picture at " + hostPath + " after 15 s";
  return saved;
}
