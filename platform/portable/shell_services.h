// The shell and COM without Windows: a Programs folder inside the drive map, shell links saved as
// real .lnk files (the published Shell Link binary format) through g_platform.fileSystem, documents
// opened on record only, and a folder chooser answered from a script.
#pragma once
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/shell_services.h"

// The Start menu's Programs folder of a machine nobody has told otherwise.
constexpr char kDefaultProgramsFolder[] = "C:\\WINDOWS\\Start Menu\\Programs";

class PortableShellServices : public ShellServices {
 public:
  // programsFolder: the Windows path of the Start menu's Programs folder ("" for none).
  explicit PortableShellServices(const char* programsFolder = kDefaultProgramsFolder);
  ~PortableShellServices() override;
  PortableShellServices(const PortableShellServices&) = delete;
  PortableShellServices& operator=(const PortableShellServices&) = delete;

  // Configuration and script.
  void SetProgramsFolder(const char* windowsPath);
  const std::string& ProgramsFolder() const { return programsFolder; }
  // While false, CoCreateInstance refuses the shell link class (a machine without the link object).
  void SetShellLinkAvailable(bool available) { shellLinkAvailable = available; }
  // While false, SHGetMalloc fails (a shell that cannot hand out its allocator).
  void SetAllocatorAvailable(bool available) { allocatorAvailable = available; }
  // The next SHBrowseForFolderA chooses this folder (an empty path: a folder outside the file system, which
  // SHGetPathFromIDListA has no path for), or is cancelled; an empty script cancels.
  void QueueBrowseResult(const std::string& windowsPath);
  void QueueBrowseCancel();
  // The next SHBrowseForFolderA is answered OK on what its callback selected (cancelled when nothing).
  void QueueBrowseAccept();
  // A message the program sends to the chooser while it is up: the selection and the status line it sets.
  LRESULT ChooserMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The ANSI code page: 1252 (the default, no lead bytes) or 932 (lead bytes 0x81-0x9F and 0xE0-0xFC);
  // false, and no change, for any other. Conversion from CP_ACP knows only 1252.
  bool SetCodePage(UINT codePage);
  // The handle the chooser's callback receives; BFFM_* messages it sends go to this window.
  HWND ChooserWindow() const { return chooserWindow; }
  // The modal loop the chooser runs over its owner while it is up, calling `opened` once the owner is
  // disabled (a machine hands it its window system's); without one the chooser answers at once.
  std::function<void(HWND owner, const std::function<void()>& opened)> modalLoop;

  // What was asked of the shell.
  struct ChangeNotice {
    LONG eventId;
    UINT flags;
    std::string path;
  };
  struct ExecuteCall {
    HWND owner;
    std::string verb, file, parameters, folder;
    INT showCommand;
  };
  struct BrowseCall {
    BROWSEINFOA info;    // as the caller handed it over
    std::string chosen;  // empty when cancelled
    std::string selected, status;  // what the program selected and put in the status line (BFFM_SET*A)
  };
  struct SavedLink {
    std::string linkPath, target, description;
  };
  int CoInitializeCount() const { return coInitializeCount; }
  int CoUninitializeCount() const { return coUninitializeCount; }
  const std::vector<ChangeNotice>& ChangeNotices() const { return changeNotices; }
  const std::vector<ExecuteCall>& ExecuteCalls() const { return executeCalls; }
  const std::vector<BrowseCall>& BrowseCalls() const { return browseCalls; }
  const std::vector<SavedLink>& SavedLinks() const { return savedLinks; }
  // Objects handed out and not yet released or freed (a correct caller leaves none).
  int LiveLinkObjects() const { return liveLinkObjects; }
  size_t LiveItemLists() const { return itemLists.size(); }
  int AllocatorReferences() const { return allocatorReferences; }

  HRESULT CoInitialize(LPVOID reserved) override;
  void CoUninitialize() override;
  HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) override;
  HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) override;
  BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) override;
  void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) override;
  int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                          int wideCapacity) override;
  BOOL IsDBCSLeadByte(BYTE testChar) override;
  HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                          INT showCommand) override;
  HRESULT SHGetMalloc(IMalloc** allocator) override;
  LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) override;

 private:
  class Allocator;
  class ShellLink;
  // An item list is a path in a block of its own; ITEMIDLIST comes first so the two convert.
  struct ItemList {
    ITEMIDLIST head;
    char path[MAX_PATH];
  };
  LPITEMIDLIST NewItemList(const std::string& path);
  void FreeItemList(void* block);

  std::string programsFolder;
  UINT ansiCodePage = 1252;
  bool shellLinkAvailable = true;
  bool allocatorAvailable = true;
  HWND chooserWindow;
  struct BrowseAnswer {
    enum { kCancel, kPath, kSelection } kind;
    std::string path;
  };
  BrowseCall* openChooser = nullptr;  // while one is up
  std::deque<BrowseAnswer> browseScript;
  int coInitializeCount = 0;
  int coUninitializeCount = 0;
  int liveLinkObjects = 0;
  int allocatorReferences = 0;
  std::vector<ChangeNotice> changeNotices;
  std::vector<ExecuteCall> executeCalls;
  std::vector<BrowseCall> browseCalls;
  std::vector<SavedLink> savedLinks;
  std::set<ItemList*> itemLists;
  Allocator* allocator;
};

// Code page 1252 text to UTF-16 and back, one character for one byte; false when a character has no byte.
std::u16string WidenCodePage1252(const std::string& text);
bool NarrowCodePage1252(const std::u16string& text, std::string* out);

// The bytes of a shell link file: header, LinkInfo with the local base path, the description as
// NAME_STRING, and the terminal block. attributes and size describe the target.
std::vector<unsigned char> BuildShellLinkFile(const std::string& target, const std::string& description,
                                              DWORD targetAttributes, DWORD targetSize);
