// A whole machine without Windows, for the native front ends and the tests: the in-memory
// registry, host folders standing for drives, the LZ library, one edition's resources, the
// shell and the recording window system, installed in g_platform while the object lives
// (the services installed before are put back afterwards).
#pragma once
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/lz_library.h"
#include "platform/portable/registry.h"
#include "platform/portable/resource_store.h"
#include "platform/portable/scripted_input.h"
#include "platform/portable/shell_services.h"
#include "platform/portable/window_system.h"

class PortableMachine {
 public:
  // Bitmaps and icons of the table are named "bitmap <id>" and "icon <id>" in the window system's records.
  explicit PortableMachine(const ResourceTable& table, const char* programsFolder = kDefaultProgramsFolder);
  virtual ~PortableMachine();
  PortableMachine(const PortableMachine&) = delete;
  PortableMachine& operator=(const PortableMachine&) = delete;

  // The machine as a new process of the setup program finds it: a fresh window system, and the resources
  // of this table (which must outlive the machine) served from now on. Files and registry stay as they are.
  void NewProcess(const ResourceTable& table);

  // Makes every missing level of a Windows folder through g_platform's file system; true when it exists.
  static bool MakeFolders(const std::string& windowsPath);
  // The Programs folder made (false when there is none or it cannot be made).
  bool MakeProgramsFolder() { return MakeFolders(shell.ProgramsFolder()); }
  // Whole content of a file by its Windows path; false when it is not a readable file.
  bool ReadFile(const std::string& windowsPath, std::string* bytes) const;
  // Every REG_SZ value of a key under root, as name=data, in the key's order (empty when it is absent).
  std::vector<std::string> StringValues(HKEY root, const char* subKey);

  PortableRegistry registry;
  PortableFileSystem files;
  PortableLzLibrary lz;
  PortableResourceStore resources;
  PortableShellServices shell;
  RecordingWindowSystem windows;
  // The program's window system: the call log over `windows`, which names their handles.
  CallLog log{windows, &windows};
  // The person at its screen; the call log notes each step.
  ScriptedUser user{windows};

 private:
  // Connects the shell's chooser, the call log's notes and the scripted user to the window system, and
  // names the table's bitmaps and icons in it.
  void ConnectWindows(const ResourceTable& table);

  std::unique_ptr<PortableResourceStore> processResources;
  Platform saved;
};
