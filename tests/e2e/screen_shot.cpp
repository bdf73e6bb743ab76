#include "screen_shot.h"

#include <cstdio>

#include "host_paths.h"

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
  for (int i = 0; i < 1500; ++i) {
    if (GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(10);
  }
  error = "no picture at " + hostPath + " after 15 s";
  return false;
}
