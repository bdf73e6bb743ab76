// A whole platform for running the wizard in a test: the recording window system, a
// resource store and a shell whose answers the test sets, the in-memory registry and
// host files under a fresh folder. Shared by the shell and page tests.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "install/install_sequence.h"
#include "office/office_info.h"
#include "pages/folder_page.h"
#include "pages/wizard_page.h"
#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/registry.h"
#include "platform/portable/window_system.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "tests/support/host_folder.h"

// Resources as the test sets them: strings by id, named items, bitmaps by id.
class TestResources : public ResourceStore {
 public:
  TestResources() {
    strings[2] = "Quorvel";
    strings[3] = "Vessora Quorvel Edition  v1.0 Setup";
    bitmaps = {102, 110, 111, 112};
    SetItem("LICENSE.TXT", "Licence line one\r\n\tLine two\r\n");
  }
  // Each item lives in an allocation of exactly its size, so a read past it is caught.
  void SetItem(const std::string& name, const std::string& bytes) {
    Item item;
    item.size = bytes.size();
    item.bytes.reset(new char[bytes.size() == 0 ? 1 : bytes.size()]);
    std::memcpy(item.bytes.get(), bytes.data(), bytes.size());
    items[name] = std::move(item);
  }
  void RemoveItem(const std::string& name) { items.erase(name); }

  HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) override {
    if (type != RT_RCDATA || name == nullptr || IS_INTRESOURCE(name)) return nullptr;
    auto found = items.find(name);
    return found == items.end() ? nullptr : reinterpret_cast<HRSRC>(&found->second);
  }
  DWORD SizeofResource(HMODULE, HRSRC resource) override {
    return resource ? static_cast<DWORD>(reinterpret_cast<Item*>(resource)->size) : 0;
  }
  HGLOBAL LoadResource(HMODULE, HRSRC resource) override {
    return resource && !failLoad ? reinterpret_cast<Item*>(resource)->bytes.get() : nullptr;
  }
  LPVOID LockResource(HGLOBAL resource) override { return resource; }
  int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int capacity) override {
    loadedStrings.push_back(id);
    if (buffer == nullptr || capacity <= 0) return 0;
    buffer[0] = '\0';
    auto found = strings.find(id);
    if (found == strings.end()) return 0;
    size_t length = found->second.size();
    if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
    std::memcpy(buffer, found->second.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
  }
  HBITMAP LoadBitmapA(HINSTANCE, LPCSTR name) override {
    int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
    if (!IS_INTRESOURCE(name) || bitmaps.count(id) == 0) return nullptr;
    ++bitmapsLoaded;
    return BitmapHandle(id);
  }
  HICON LoadIconA(HINSTANCE, LPCSTR name) override {
    loadedIcons.push_back(static_cast<int>(reinterpret_cast<uintptr_t>(name)));
    return reinterpret_cast<HICON>(uintptr_t{0x77000});
  }

  static HBITMAP BitmapHandle(int id) { return reinterpret_cast<HBITMAP>(uintptr_t{0x70000} + id); }

  std::map<UINT, std::string> strings;
  std::set<int> bitmaps;
  bool failLoad = false;
  int bitmapsLoaded = 0;
  std::vector<UINT> loadedStrings;
  std::vector<int> loadedIcons;

 private:
  struct Item {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
  };
  std::map<std::string, Item> items;
};

// The shell: COM on record, documents opened on record, a folder chooser answered from a list.
class TestShell : public ShellServices {
 public:
  struct Opened {
    HWND owner;
    std::string verb, file;
    INT show;
  };
  struct ItemList {
    ITEMIDLIST head;
    std::string path;
  };
  class Allocator : public IMalloc {
   public:
    explicit Allocator(TestShell* shell) : shell(shell) {}
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return static_cast<ULONG>(++shell->allocatorReferences); }
    ULONG Release() override { return static_cast<ULONG>(--shell->allocatorReferences); }
    void Free(void* block) override {
      ItemList* list = static_cast<ItemList*>(block);
      if (shell->liveLists.erase(list) != 0) delete list;
    }

   private:
    TestShell* shell;
  };

  TestShell() : allocator(this) {}
  ~TestShell() override {
    for (ItemList* list : liveLists) delete list;
  }

  // The next chooser picks this path (empty: the user cancels).
  void QueueChoice(const std::string& path) { choices.push_back(path); }

  HRESULT CoInitialize(LPVOID) override {
    events.push_back("CoInitialize");
    return S_OK;
  }
  void CoUninitialize() override { events.push_back("CoUninitialize"); }
  HRESULT CoCreateInstance(REFCLSID, IUnknown*, DWORD, REFIID, LPVOID* object) override {
    if (object) *object = nullptr;
    return REGDB_E_CLASSNOTREG;
  }
  HRESULT SHGetSpecialFolderLocation(HWND, int, LPITEMIDLIST* list) override {
    if (list) *list = nullptr;
    return E_FAIL;
  }
  BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) override {
    const ItemList* item = reinterpret_cast<const ItemList*>(list);
    if (item == nullptr || liveLists.count(const_cast<ItemList*>(item)) == 0 || item->path.size() >= MAX_PATH)
      return FALSE;
    std::memcpy(path, item->path.c_str(), item->path.size() + 1);
    return TRUE;
  }
  void SHChangeNotify(LONG, UINT, const void*, const void*) override {}
  int MultiByteToWideChar(UINT, DWORD, LPCSTR, int, LPWSTR, int) override { return 0; }
  BOOL IsDBCSLeadByte(BYTE) override { return FALSE; }
  HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) override {
    opened.push_back(Opened{owner, verb ? verb : "", file ? file : "", show});
    return reinterpret_cast<HINSTANCE>(uintptr_t{42});
  }
  HRESULT SHGetMalloc(IMalloc** out) override {
    if (!mallocAvailable) return E_FAIL;
    ++allocatorReferences;
    *out = &allocator;
    return S_OK;
  }
  LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) override {
    browseInfos.push_back(*info);
    if (info->lpfn) info->lpfn(kChooser, BFFM_INITIALIZED, 0, info->lParam);
    std::string choice;
    if (!choices.empty()) {
      choice = choices.front();
      choices.pop_front();
    }
    if (choice.empty()) return nullptr;
    ItemList* list = new ItemList{ITEMIDLIST{}, choice};
    liveLists.insert(list);
    return reinterpret_cast<LPITEMIDLIST>(list);
  }

  static inline HWND const kChooser = reinterpret_cast<HWND>(uintptr_t{0xC400});
  std::vector<std::string> events;
  std::vector<Opened> opened;
  std::vector<BROWSEINFOA> browseInfos;
  std::deque<std::string> choices;
  std::set<ItemList*> liveLists;
  int allocatorReferences = 0;
  bool mallocAvailable = true;

 private:
  Allocator allocator;
};

// An LZ library that opens nothing: installs run to their end with every item failing.
class NoLzLibrary : public LzLibrary {
 public:
  INT LZOpenFileA(LPSTR, LPOFSTRUCT, WORD) override { return LZERROR_BADINHANDLE; }
  INT LZRead(INT, char*, INT) override { return LZERROR_BADINHANDLE; }
  LONG LZCopy(INT, INT) override { return LZERROR_BADINHANDLE; }
  void LZClose(INT) override {}
};

// One test's whole platform, installed in g_platform for its lifetime, with the program's
// globals as they are when the process starts.
class WizardWorld {
 public:
  WizardWorld() {
    saved = g_platform;
    files.MapDrive('C', drive.Path());
    drive.MakeFolder("Program Files");
    g_platform = Platform{&registry, &files, &lz, &resources, &shell, &windows};
    g_officeInfo.Reset();
    ResetInstallState();
    g_dictionaryFolder[0] = '\0';
    g_installFolder[0] = '\0';
    g_currentPage = 0;
    g_backButton = nullptr;
    g_nextButton = nullptr;
    g_timerId = 0;
    for (WizardPage*& page : g_pages) page = nullptr;
    WizardPage::SetPageArea(RECT{0, 0, 0, 0});
    for (int id : {102, 110, 111, 112})
      windows.NameObject(TestResources::BitmapHandle(id), "bitmap " + std::to_string(id));
  }
  ~WizardWorld() {
    for (WizardPage*& page : g_pages) {
      delete page;
      page = nullptr;
    }
    g_platform = saved;
  }

  // Registry content in the form a .reg file holds it.
  void LoadRegistry(const std::string& text) { ASSERT_TRUE(registry.LoadRegText(text)); }

  // Runs the program to its end over the scripted input pushed so far.
  int Run() { return SetupMain(reinterpret_cast<HINSTANCE>(uintptr_t{0x400000})); }

  HWND Main() const {
    const RecordedWindow* main = windows.MainWindow();
    return main ? main->handle : nullptr;
  }
  // The live child control of the main window with this identifier.
  const RecordedWindow* Control(int id) const { return windows.FindChild(Main(), id); }
  std::string Text(HWND window) const {
    const RecordedWindow* found = windows.Window(window);
    return found ? found->text : std::string("<none>");
  }

  RecordingWindowSystem windows;
  TestResources resources;
  TestShell shell;
  PortableRegistry registry;
  PortableFileSystem files;
  NoLzLibrary lz;
  HostFolder drive;

 private:
  Platform saved;
};
