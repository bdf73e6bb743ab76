#include "install/install_log.h"

#include <cstring>

#include "platform/path_helpers.h"
#include "platform/platform.h"

const char kInstallLogFileName[] = "InstallLog.txt";

InstallLog::InstallLog() : file(nullptr) {}

InstallLog::~InstallLog() { Close(); }

void InstallLog::Open(const char* folder) {
  Close();
  char path[kPathCapacity];
  if (folder == nullptr || !MakeFilePath(path, folder, kInstallLogFileName)) return;
  HANDLE created = g_platform.fileSystem->CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created != INVALID_HANDLE_VALUE) file = created;
}

void InstallLog::Write(const char* text) {
  if (file == nullptr || text == nullptr) return;
  DWORD length = static_cast<DWORD>(std::strlen(text));
  // An empty text leaves the file as it is; no call needed.
  if (length == 0) return;
  // A write that fails or falls short is not retried: the log is a record, and the install goes on.
  DWORD written = 0;
  g_platform.fileSystem->WriteFile(file, text, length, &written, nullptr);
}

void InstallLog::Close() {
  if (file == nullptr) return;
  g_platform.fileSystem->CloseHandle(file);
  file = nullptr;
}

bool InstallLog::IsOpen() const { return file != nullptr; }

void WriteErrorLine(InstallLog* log, const char* folder, const char* name) {
  if (log == nullptr) return;
  log->Write("Error writing ");
  // Written piecewise: the path that could not be formed may be longer than any path buffer.
  if (folder != nullptr && folder[0] != '\0') {
    log->Write(folder);
    if (!EndsInBackslash(folder)) log->Write("\\");
  }
  log->Write(name);
  log->Write(" Could not write file. \r\n\r\n");
}
