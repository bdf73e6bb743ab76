#include "platform/portable/shell_services.h"

#include <cstring>

#include "platform/platform.h"
#include "platform/portable/code_page_1252.h"

namespace {

// Link file constants (Shell Link binary format).
enum : DWORD { kHeaderSize = 0x4C, kHasLinkInfo = 0x00000002, kHasName = 0x00000004, kIsUnicode = 0x00000080 };
// The LinkInfo header is the long one, with the Unicode path offsets.
enum : DWORD { kVolumeIdAndLocalBasePath = 0x00000001, kLinkInfoHeaderSize = 0x24, kDriveFixed = 3 };
constexpr int kShowNormal = 1;
// What SetDescription keeps, as the shell's own limit for info tips.
constexpr size_t kDescriptionCapacity = 1024;

void PutU16(std::vector<unsigned char>* out, unsigned value) {
  out->push_back(static_cast<unsigned char>(value & 0xFF));
  out->push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void PutU32(std::vector<unsigned char>* out, DWORD value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
}

void PatchU32(std::vector<unsigned char>* out, size_t at, DWORD value) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

void PutGuid(std::vector<unsigned char>* out, const GUID& guid) {
  PutU32(out, guid.Data1);
  PutU16(out, guid.Data2);
  PutU16(out, guid.Data3);
  for (int i = 0; i < 8; ++i) out->push_back(guid.Data4[i]);
}

void PutAnsiz(std::vector<unsigned char>* out, const std::string& text) {
  out->insert(out->end(), text.begin(), text.end());
  out->push_back(0);
}

void PutWidez(std::vector<unsigned char>* out, const std::u16string& text) {
  for (char16_t c : text) PutU16(out, c);
  PutU16(out, 0);
}

}  // namespace

std::u16string WidenCodePage1252(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(WideFromAnsi(static_cast<unsigned char>(c)));
  return wide;
}

bool NarrowCodePage1252(const std::u16string& text, std::string* out) {
  out->clear();
  for (char16_t c : text) {
    char byte = AnsiFromWide(c);
    if (byte == '?' && c != u'?') return false;
    out->push_back(byte);
  }
  return true;
}

std::vector<unsigned char> BuildShellLinkFile(const std::string& target, const std::string& description,
                                              DWORD targetAttributes, DWORD targetSize) {
  std::vector<unsigned char> out;
  // ShellLinkHeader.
  PutU32(&out, kHeaderSize);
  PutGuid(&out, CLSID_ShellLink);
  PutU32(&out, kHasLinkInfo | kHasName | kIsUnicode);
  PutU32(&out, targetAttributes);
  for (int i = 0; i < 3; ++i) {  // creation, access and write times: not known, left zero
    PutU32(&out, 0);
    PutU32(&out, 0);
  }
  PutU32(&out, targetSize);
  PutU32(&out, 0);  // icon index
  PutU32(&out, kShowNormal);
  PutU16(&out, 0);  // hot key
  PutU16(&out, 0);  // reserved
  PutU32(&out, 0);
  PutU32(&out, 0);

  // LinkInfo: a volume and the target's local path, in the code page and in UTF-16.
  size_t linkInfo = out.size();
  std::u16string wideTarget = WidenCodePage1252(target);
  const DWORD volumeIdSize = 0x11;
  DWORD localBasePath = kLinkInfoHeaderSize + volumeIdSize;
  DWORD commonPathSuffix = localBasePath + static_cast<DWORD>(target.size()) + 1;
  DWORD localBasePathUnicode = commonPathSuffix + 1;
  DWORD commonPathSuffixUnicode = localBasePathUnicode + 2 * static_cast<DWORD>(wideTarget.size() + 1);
  PutU32(&out, 0);  // size, patched below
  PutU32(&out, kLinkInfoHeaderSize);
  PutU32(&out, kVolumeIdAndLocalBasePath);
  PutU32(&out, kLinkInfoHeaderSize);  // volume id offset
  PutU32(&out, localBasePath);
  PutU32(&out, 0);  // no network location
  PutU32(&out, commonPathSuffix);
  PutU32(&out, localBasePathUnicode);
  PutU32(&out, commonPathSuffixUnicode);
  PutU32(&out, volumeIdSize);
  PutU32(&out, kDriveFixed);
  PutU32(&out, 0);     // drive serial number
  PutU32(&out, 0x10);  // volume label offset: the empty label right after
  out.push_back(0);
  PutAnsiz(&out, target);
  PutAnsiz(&out, "");
  PutWidez(&out, wideTarget);
  PutWidez(&out, u"");
  PatchU32(&out, linkInfo, static_cast<DWORD>(out.size() - linkInfo));

  // StringData: NAME_STRING, counted, without terminator.
  std::u16string wideDescription = WidenCodePage1252(description);
  PutU16(&out, static_cast<unsigned>(wideDescription.size()));
  for (char16_t c : wideDescription) PutU16(&out, c);

  // ExtraData: only the terminal block.
  PutU32(&out, 0);
  return out;
}

// The shell's allocator: frees item lists this shell handed out.
class PortableShellServices::Allocator final : public IMalloc {
 public:
  explicit Allocator(PortableShellServices* owner) : owner(owner) {}
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_INVALIDARG;
    *object = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *object = static_cast<IMalloc*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return static_cast<ULONG>(++owner->allocatorReferences); }
  ULONG Release() override {
    if (owner->allocatorReferences > 0) --owner->allocatorReferences;
    return static_cast<ULONG>(owner->allocatorReferences);
  }
  void Free(void* block) override { owner->FreeItemList(block); }

 private:
  PortableShellServices* owner;
};

// The link object: IShellLinkA for target and description, IPersistFile to save it.
class PortableShellServices::ShellLink final : public IShellLinkA, public IPersistFile {
 public:
  explicit ShellLink(PortableShellServices* owner) : owner(owner) { ++owner->liveLinkObjects; }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_INVALIDARG;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IShellLinkA)
      *object = static_cast<IShellLinkA*>(this);
    else if (iid == IID_IPersistFile)
      *object = static_cast<IPersistFile*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override {
    ULONG left = --references;
    if (left == 0) {
      --owner->liveLinkObjects;
      delete this;
    }
    return left;
  }
  HRESULT SetPath(LPCSTR file) override {
    if (file == nullptr || strnlen(file, MAX_PATH) >= MAX_PATH) return E_INVALIDARG;
    target = file;
    return S_OK;
  }
  HRESULT SetDescription(LPCSTR name) override {
    if (name == nullptr) return E_INVALIDARG;
    description.assign(name, strnlen(name, kDescriptionCapacity - 1));
    return S_OK;
  }
  HRESULT Save(LPCOLESTR fileName, BOOL remember) override {
    if (fileName == nullptr) return E_INVALIDARG;
    std::u16string wide;
    for (size_t i = 0; fileName[i] != 0; ++i) {
      if (i >= MAX_PATH - 1) return E_INVALIDARG;
      wide.push_back(static_cast<char16_t>(fileName[i]));
    }
    std::string path;
    if (wide.empty() || !NarrowCodePage1252(wide, &path)) return E_INVALIDARG;

    FileSystem* files = g_platform.fileSystem;
    DWORD attributes = 0;
    DWORD size = 0;
    if (!target.empty()) {
      DWORD found = files->GetFileAttributesA(target.c_str());
      if (found != INVALID_FILE_ATTRIBUTES) attributes = found;
      if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        HANDLE file = files->CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE && file != nullptr) {
          DWORD high = 0;
          DWORD low = files->GetFileSize(file, &high);
          if (low != INVALID_FILE_SIZE && high == 0) size = low;
          files->CloseHandle(file);
        }
      }
    }
    std::vector<unsigned char> bytes = BuildShellLinkFile(target, description, attributes, size);
    HANDLE link = files->CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (link == INVALID_HANDLE_VALUE || link == nullptr) return E_FAIL;
    DWORD written = 0;
    BOOL wrote = files->WriteFile(link, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    files->CloseHandle(link);
    if (!wrote || written != bytes.size()) {
      // A cut-off link is worse than none: the Start menu would show a broken entry.
      files->DeleteFileA(path.c_str());
      return STG_E_CANTSAVE;
    }
    owner->savedLinks.push_back({path, target, description});
    return S_OK;
  }

 private:
  ~ShellLink() = default;
  PortableShellServices* owner;
  ULONG references = 1;
  std::string target;
  std::string description;
};

PortableShellServices::PortableShellServices(const char* programs)
    : programsFolder(programs != nullptr ? programs : ""),
      chooserWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5C400))),
      allocator(new Allocator(this)) {}

PortableShellServices::~PortableShellServices() {
  for (ItemList* list : itemLists) delete list;
  delete allocator;
}

void PortableShellServices::SetProgramsFolder(const char* windowsPath) {
  programsFolder = windowsPath != nullptr ? windowsPath : "";
}

void PortableShellServices::QueueBrowseResult(const std::string& windowsPath) {
  browseScript.push_back({BrowseAnswer::kPath, windowsPath});
}

void PortableShellServices::QueueBrowseCancel() { browseScript.push_back({BrowseAnswer::kCancel, std::string()}); }

void PortableShellServices::QueueBrowseAccept() {
  browseScript.push_back({BrowseAnswer::kSelection, std::string()});
}

LRESULT PortableShellServices::ChooserMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  if (openChooser == nullptr || text == nullptr) return 0;
  if (message == BFFM_SETSTATUSTEXTA) openChooser->status = text;
  if (message == BFFM_SETSELECTIONA && wParam != 0) openChooser->selected = text;  // a path, not an item list
  return 0;
}

LPITEMIDLIST PortableShellServices::NewItemList(const std::string& path) {
  if (path.size() >= MAX_PATH) return nullptr;
  ItemList* list = new ItemList();
  std::memcpy(list->path, path.c_str(), path.size() + 1);
  itemLists.insert(list);
  return &list->head;
}

void PortableShellServices::FreeItemList(void* block) {
  // Only blocks this shell handed out are freed; anything else is left alone.
  for (auto it = itemLists.begin(); it != itemLists.end(); ++it) {
    if (static_cast<void*>(&(*it)->head) == block) {
      delete *it;
      itemLists.erase(it);
      return;
    }
  }
}

HRESULT PortableShellServices::CoInitialize(LPVOID) {
  ++coInitializeCount;
  return coInitializeCount - coUninitializeCount > 1 ? S_FALSE : S_OK;
}

void PortableShellServices::CoUninitialize() { ++coUninitializeCount; }

HRESULT PortableShellServices::CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                                LPVOID* object) {
  if (object == nullptr) return E_INVALIDARG;
  *object = nullptr;
  if (clsid != CLSID_ShellLink || !shellLinkAvailable || (context & CLSCTX_INPROC_SERVER) == 0)
    return REGDB_E_CLASSNOTREG;
  if (outer != nullptr) return E_INVALIDARG;
  ShellLink* link = new ShellLink(this);
  HRESULT result = link->QueryInterface(iid, object);
  static_cast<IShellLinkA*>(link)->Release();
  return result;
}

HRESULT PortableShellServices::SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* list) {
  if (list == nullptr) return E_INVALIDARG;
  *list = nullptr;
  if (folder != CSIDL_PROGRAMS || programsFolder.empty() || g_platform.fileSystem == nullptr) return E_FAIL;
  DWORD attributes = g_platform.fileSystem->GetFileAttributesA(programsFolder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return E_FAIL;
  *list = NewItemList(programsFolder);
  return *list != nullptr ? S_OK : E_FAIL;
}

BOOL PortableShellServices::SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  if (list == nullptr || path == nullptr) return FALSE;
  for (ItemList* known : itemLists) {
    if (&known->head == list && known->path[0] != '\0') {
      std::memcpy(path, known->path, strnlen(known->path, MAX_PATH - 1) + 1);
      return TRUE;
    }
  }
  path[0] = '\0';
  return FALSE;
}

void PortableShellServices::SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void*) {
  std::string path;
  if ((flags & SHCNF_PATHA) != 0 && item1 != nullptr)
    path.assign(static_cast<const char*>(item1), strnlen(static_cast<const char*>(item1), MAX_PATH));
  changeNotices.push_back({eventId, flags, path});
}

int PortableShellServices::MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR wide,
                                               int wideCapacity) {
  if (codePage == CP_ACP) codePage = ansiCodePage;
  if (text == nullptr || codePage != 1252 || length < -1 || length == 0 || wideCapacity < 0)
    return 0;
  size_t count = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
  if (wideCapacity == 0) return static_cast<int>(count);
  if (wide == nullptr || count > static_cast<size_t>(wideCapacity)) return 0;
  for (size_t i = 0; i < count; ++i) wide[i] = WideFromAnsi(static_cast<unsigned char>(text[i]));
  return static_cast<int>(count);
}

bool PortableShellServices::SetCodePage(UINT codePage) {
  if (codePage != 1252 && codePage != 932) return false;
  ansiCodePage = codePage;
  return true;
}

BOOL PortableShellServices::IsDBCSLeadByte(BYTE testChar) {
  if (ansiCodePage != 932) return FALSE;
  return (testChar >= 0x81 && testChar <= 0x9F) || (testChar >= 0xE0 && testChar <= 0xFC);
}

HINSTANCE PortableShellServices::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                               LPCSTR folder, INT showCommand) {
  auto text = [](LPCSTR value) { return value != nullptr ? std::string(value) : std::string(); };
  executeCalls.push_back({owner, text(verb), text(file), text(parameters), text(folder), showCommand});
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(42));
}

HRESULT PortableShellServices::SHGetMalloc(IMalloc** result) {
  if (result == nullptr) return E_INVALIDARG;
  *result = nullptr;
  if (!allocatorAvailable) return E_FAIL;
  allocator->AddRef();
  *result = allocator;
  return S_OK;
}

LPITEMIDLIST PortableShellServices::SHBrowseForFolderA(BROWSEINFOA* info) {
  if (info == nullptr) return nullptr;
  BrowseCall call{*info, std::string(), std::string(), std::string()};
  openChooser = &call;
  // The chooser tells its callback first that it is open (the callback may then set the selection), then
  // stays up over its disabled owner until it is answered.
  auto opened = [&] {
    if (info->lpfn != nullptr) info->lpfn(chooserWindow, BFFM_INITIALIZED, 0, info->lParam);
  };
  modalLoop ? modalLoop(info->hwndOwner, opened) : opened();
  openChooser = nullptr;
  BrowseAnswer answer{BrowseAnswer::kCancel, std::string()};
  if (!browseScript.empty()) {
    answer = browseScript.front();
    browseScript.pop_front();
  }
  if (answer.kind == BrowseAnswer::kSelection)
    answer = {call.selected.empty() ? BrowseAnswer::kCancel : BrowseAnswer::kPath, call.selected};
  LPITEMIDLIST chosen = answer.kind == BrowseAnswer::kPath ? NewItemList(answer.path) : nullptr;
  if (chosen != nullptr) {
    call.chosen = answer.path;
    if (info->pszDisplayName != nullptr) {
      size_t at = answer.path.find_last_of("\\/");
      std::string name = at == std::string::npos ? answer.path : answer.path.substr(at + 1);
      std::memcpy(info->pszDisplayName, name.c_str(), name.size() + 1);
    }
  }
  browseCalls.push_back(call);
  return chosen;
}
