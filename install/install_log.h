// InstallLog.txt in the product folder: the record of what an install wrote.
#pragma once
#include "platform/win32_types.h"

// The log's file name in the product folder.
extern const char kInstallLogFileName[];

class InstallLog {
 public:
  InstallLog();
  virtual ~InstallLog();
  // Creates InstallLog.txt in folder, replacing an earlier one; the log stays closed when it cannot.
  void Open(const char* folder);
  // Writes the text's bytes (no terminator, nothing added); does nothing while closed.
  void Write(const char* text);
  void Close();

  bool IsOpen() const;

 private:
  HANDLE file;
};

// The line written for a file, piece or shortcut that could not be written:
// "Error writing ", folder joined with name (name alone when the folder is empty), " Could not write file. \r\n\r\n".
void WriteErrorLine(InstallLog* log, const char* folder, const char* name);
