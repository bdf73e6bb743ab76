// Which Office and Word versions are installed, and where their folders are.
#pragma once
#include "platform/win32_types.h"

struct OfficeVersionEntry {
  DWORD version;
  const char* probeKey;
  const char* probeValue;
  const char* optionsKey;
  const char* sharedTemplatesKey;
  const char* sharedTemplatesValue;  // null: the key's default value
  const char* userTemplatesKey;
  const char* userTemplatesValue;  // null: the key's default value
  bool found;
  char* programFolder;  // kPathCapacity bytes, owned by OfficeInfo
};

class OfficeInfo {
 public:
  OfficeInfo();
  virtual ~OfficeInfo();
  OfficeInfo(const OfficeInfo&) = delete;  // the rows own their program folder texts
  OfficeInfo& operator=(const OfficeInfo&) = delete;

  // Probes HKLM for each known version (7 = Word 95 ... 10 = XP) and keeps its program folder; the number found.
  int DetectVersions();
  // The newest version found, 0 before any is found.
  DWORD CurrentVersion() const;
  // The oldest version found; the oldest known (7) when none is.
  DWORD OldestVersion() const;
  // The newest version's program folder into out; false when none is known or it does not fit.
  bool GetOfficeFolder(char* out, DWORD capacity) const;
  // The version's templates folder: the workgroup folder, else the user's, else the program folder.
  bool GetTemplatesFolder(char* out, DWORD capacity, DWORD version) const;
  // Word's start-up folder of the version: its option, else Office's STARTUP folder when it exists, else
  // the templates folder.
  bool GetStartupFolder(char* out, DWORD capacity, DWORD version) const;

  // Forgets every detection result, as a freshly constructed object (for tests and repeated runs).
  void Reset();

 private:
  OfficeVersionEntry entries[4];
  DWORD currentVersion;
};

extern OfficeInfo g_officeInfo;
