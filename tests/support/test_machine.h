// The test doubles and the whole portable machine the install, wizard and office tests run on:
// host folders standing for drives C: and D:, the edition's resources with items a test changes,
// a file system and an LZ library that fail on request, all installed in g_platform while the
// machine lives, with the program's globals as they are when the process starts; and a registry
// that watches what the office code asks of it.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "install/edition.h"
#include "install/install_log.h"
#include "install/split_dictionary.h"
#include "office/custom_dictionaries.h"
#include "platform/portable/machine.h"
#include "tests/support/host_folder.h"

// Passes every call to another file system, but fails the Nth creation (CreateFileA, GetTempFileNameA,
// CreateDirectoryA) or the Nth WriteFile, and every read or write while told to; records the temporary-file
// prefixes asked for, and tells onChange of every creation, write and deletion asked for.
class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem* inner) : inner(inner) {}

  // 0 never fails; counting starts at 1 with the next call.
  void FailCreate(int n) { failCreateAt = n; }
  void FailWrite(int n) { failWriteAt = n; }
  bool failReads = false;
  bool failWrites = false;
  int Creates() const { return creates; }
  int Writes() const { return writes; }
  // The path whose creation or write was made to fail ("" until then).
  const std::string& FailedPath() const { return failedPath; }
  std::vector<std::string> tempPrefixes;
  // Called before the call is passed on, with the operation and its path ("WriteFile C:\x.txt").
  std::function<void(const std::string&)> onChange;

  DWORD GetFileAttributesA(LPCSTR path) override { return inner->GetFileAttributesA(path); }
  DWORD GetTempPathA(DWORD capacity, LPSTR buffer) override { return inner->GetTempPathA(capacity, buffer); }
  UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) override;
  HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                     HANDLE templateFile) override;
  BOOL ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) override;
  // A failing Nth write stores the first half of the bytes, as a full disk would, and reports failure.
  BOOL WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) override;
  DWORD GetFileSize(HANDLE file, DWORD* high) override { return inner->GetFileSize(file, high); }
  BOOL CloseHandle(HANDLE object) override;
  BOOL CreateDirectoryA(LPCSTR path, void* security) override;
  BOOL DeleteFileA(LPCSTR path) override { Tell("DeleteFileA", path); return inner->DeleteFileA(path); }

 private:
  // Tells onChange of the call; true when it is the creation to fail (whose path it then keeps).
  bool NextCreateFails(const char* operation, LPCSTR path);
  void Tell(const char* operation, LPCSTR path) {
    if (onChange) onChange(std::string(operation) + " " + (path != nullptr ? path : ""));
  }

  FileSystem* inner;
  int failCreateAt = 0;
  int failWriteAt = 0;
  int creates = 0;
  int writes = 0;
  std::map<HANDLE, std::string> paths;
  std::string failedPath;
};

// An edition's generated resources, with items, strings and bitmaps a test replaces or takes away, a load
// that fails on request, and a record of the strings and icons asked for. Each replaced item lives in an
// allocation of exactly its size, so a read past it is caught.
class TestResourceStore : public PortableResourceStore {
 public:
  using PortableResourceStore::PortableResourceStore;

  void SetItem(const std::string& name, const std::string& bytes);
  void RemoveItem(const std::string& name);
  void SetString(UINT id, const std::string& text) { strings[id] = text; }
  void RemoveString(UINT id) { strings[id] = ""; }  // LoadStringA gives 0 for both, as no table holds ""
  void RemoveBitmap(int id) { removedBitmaps.insert(id); }
  // The item's bytes as this store serves them (empty when it is not carried).
  std::string Item(const std::string& name);

  bool failLoad = false;
  int bitmapsLoaded = 0;
  std::vector<UINT> loadedStrings;
  std::vector<int> loadedIcons;

  HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) override;
  DWORD SizeofResource(HMODULE module, HRSRC resource) override;
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override;
  int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) override;
  HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) override;
  HICON LoadIconA(HINSTANCE instance, LPCSTR name) override;

 private:
  struct Replaced {
    std::unique_ptr<char[]> bytes;
    DWORD size = 0;
  };
  const Replaced* Ours(const void* handle) const;

  std::map<std::string, Replaced> items;  // by case-folded name
  std::set<std::string> removedItems;
  std::map<UINT, std::string> strings;
  std::set<int> removedBitmaps;
};

// The in-memory registry, noting the roots opened for setting values; when told to, a key goes away
// after the first value of an enumeration has been read.
class WatchedRegistry : public PortableRegistry {
 public:
  LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) override {
    if (access & KEY_SET_VALUE) openedToSet.push_back(root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU");
    return PortableRegistry::RegOpenKeyExA(root, subKey, options, access, result);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataSize) override {
    ++enumCalls;
    if (vanishing && index > 0) return ERROR_KEY_DELETED;
    return PortableRegistry::RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }

  bool vanishing = false;
  int enumCalls = 0;
  std::vector<std::string> openedToSet;
};

// The LZ library with sources held in memory (a read error where a test wants one); every other handle is
// the portable library's.
class TestLzLibrary : public PortableLzLibrary {
 public:
  // A read handle on these bytes; reads fail once failAt bytes have been delivered (never when negative).
  INT AddSource(const std::string& bytes, long failAt = -1);
  // LZOpenFileA reports the path it opened in capitals, as a file system may spell a file otherwise.
  bool reportCapitals = false;
  INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) override;

  INT LZRead(INT file, char* buffer, INT count) override;
  void LZClose(INT file) override;

 private:
  struct Source {
    std::string bytes;
    size_t position = 0;
    long failAt = -1;
  };
  std::map<INT, Source> sources;
  INT next = 0x7000;
};

const ResourceTable& EditionTable(Edition edition);
const char* EditionName(Edition edition);
// What the install log says before the pieces of each split dictionary.
inline const std::string kSplitHeader =
    std::string(kSplitHeaderLines[0]) + kSplitHeaderLines[1] + kSplitHeaderLines[2] + kSplitHeaderLines[3];
// The bytes an item of the install table expands to: its content file (empty for an unknown item).
const std::string& ExpandedContent(const std::string& itemName);

// The program's globals as they are when its process starts.
void ProgramGlobalsAtStart();

class TestMachine : public PortableMachine {
 public:
  explicit TestMachine(Edition edition = EditionQuorvel);
  ~TestMachine() override;

  // Applies a .reg file, then runs the Office probe afresh; LoadScenario takes it from the test folder's data.
  bool LoadRegFile(const std::string& path);
#ifdef VESSORA_TEST_DATA
  bool LoadScenario(const std::string& fileName) { return LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + fileName); }
  // Makes each folder, then loads the scenario.
  bool Prepare(const std::string& scenario, std::initializer_list<std::string> folders) {
    for (const std::string& folder : folders) MakeFolders(folder);
    return LoadScenario(scenario);
  }
#endif
  std::string HostPath(const std::string& windowsPath) const {
    std::string host;
    return files.HostPath(windowsPath.c_str(), &host) ? host : std::string();
  }
  // The whole content of a file, "(no file)" when it is not a readable file.
  std::string Bytes(const std::string& windowsPath) const {
    std::string bytes;
    return ReadFile(windowsPath, &bytes) ? bytes : "(no file)";
  }
  bool Exists(const std::string& windowsPath) const { return std::filesystem::exists(HostPath(windowsPath)); }
  // Names of the files left in the temporary folder.
  std::vector<std::string> TempFilesLeft() const;
  // Every REG_SZ entry of Word's custom dictionary list under root, as name=data.
  std::vector<std::string> DictionaryEntries(HKEY root) { return StringValues(root, kCustomDictionariesKey); }
  // Runs the whole install into the two folder texts; false when it was refused.
  bool Install(const std::string& dictionaryFolder, const std::string& installFolder = "C:\\Program Files");
  std::string LogText();  // InstallLog.txt of the product folder of the last install

  Edition edition;
  HostFolder c, d;
  FaultyFileSystem faulty{&files};
  TestResourceStore testResources;
  TestLzLibrary testLz;
};

// A machine whose install log is open in C:\Log, as the install's steps are given it.
struct LoggedMachine {
  LoggedMachine() {
    world.MakeFolders("C:\\Log");
    log.Open("C:\\Log");
  }
  std::string LogText() {  // the log closed, as it stands
    log.Close();
    return world.Bytes("C:\\Log\\InstallLog.txt");
  }
  TestMachine world;
  InstallLog log;
};
