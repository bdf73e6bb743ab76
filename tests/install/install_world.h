// A machine for install tests: host folders standing for drives C: and D:, a registry from
// a .reg scenario, the edition's payload items, the portable shell and window system, all
// installed in g_platform for the life of the object (and the previous services put back after).
#pragma once
#include <string>
#include <vector>

#include "faulty_file_system.h"
#include "install/edition.h"
#include "install/install_sequence.h"
#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/lz_library.h"
#include "platform/portable/registry.h"
#include "platform/portable/shell_services.h"
#include "platform/portable/window_system.h"
#include "test_lz_library.h"
#include "test_resource_store.h"

class InstallWorld {
 public:
  explicit InstallWorld(Edition edition = EditionQuorvel);
  ~InstallWorld();
  InstallWorld(const InstallWorld&) = delete;
  InstallWorld& operator=(const InstallWorld&) = delete;

  // Applies a .reg file of tests/install/data, then runs the Office probe afresh.
  bool LoadScenario(const std::string& fileName);
  // Makes every missing level of a Windows folder.
  void MakeFolder(const std::string& windowsPath);
  std::string HostPath(const std::string& windowsPath) const;
  bool ReadFile(const std::string& windowsPath, std::string* bytes) const;
  bool Exists(const std::string& windowsPath) const;
  // Names of the files left in the temporary folder that start with "vsq".
  std::vector<std::string> TempFilesLeft() const;
  // A REG_SZ value of the custom dictionary list under root, or "" when absent.
  std::string DictionaryEntry(HKEY root, const std::string& name);
  // Every REG_SZ entry of the list under root, as name=data.
  std::vector<std::string> DictionaryEntries(HKEY root);

  // Sets the two folder texts as the folder page would hand them over and runs the install
  // (checks, product folder, engine). False when the checks or the product folder refuse.
  bool Install(const std::string& dictionaryFolder, const std::string& installFolder = "C:\\Program Files");
  std::string LogText();  // InstallLog.txt of the product folder of the last install

  Edition edition;
  std::string hostRoot;
  PortableFileSystem files;
  FaultyFileSystem faulty{&files};
  PortableRegistry registry;
  TestResourceStore resources;
  PortableLzLibrary portableLz;
  TestLzLibrary lz{&portableLz};
  PortableShellServices shell;
  RecordingWindowSystem windows;

 private:
  Platform saved;
};
