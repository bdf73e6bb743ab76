// InstallLog.txt in the product folder: the record of what an install wrote.
#pragma once
#include "platform/win32_types.h"

class InstallLog {
 public:
  InstallLog();
  virtual ~InstallLog();
  void Open(const char* folder);
  void Write(const char* text);
  void Close();

 private:
  HANDLE file;
};
