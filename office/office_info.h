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

  int DetectVersions();
  DWORD CurrentVersion() const;
  DWORD OldestVersion() const;
  bool GetOfficeFolder(char* out, DWORD capacity) const;
  bool GetTemplatesFolder(char* out, DWORD capacity, DWORD version) const;
  bool GetStartupFolder(char* out, DWORD capacity, DWORD version) const;

  // Forgets every detection result, as a freshly constructed object (for tests and repeated runs).
  void Reset();

 private:
  OfficeVersionEntry entries[4];
  DWORD currentVersion;
};

extern OfficeInfo g_officeInfo;
