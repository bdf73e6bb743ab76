#include "tests/support/test_machine.h"

#include <algorithm>
#include <cstring>
#include <cctype>
#include <fstream>
#include <iterator>

#include "install/install_log.h"
#include "install/install_sequence.h"
#include "install/install_table.h"
#include "office/office_info.h"
#include "pages/wizard_page.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "platform/ascii_case.h"

namespace {

std::string Folded(std::string text) {
  for (char& c : text) c = FoldAsciiCase(c);
  return text;
}

}  // namespace

bool FaultyFileSystem::NextCreateFails(const char* operation, LPCSTR path) {
  Tell(operation, path);
  if (++creates != failCreateAt) return false;
  failedPath = path != nullptr ? path : "";
  return true;
}

UINT FaultyFileSystem::GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name) {
  tempPrefixes.push_back(prefix != nullptr ? prefix : "");
  if (NextCreateFails("GetTempFileNameA", folder)) {
    if (name != nullptr) name[0] = '\0';
    return 0;
  }
  return inner->GetTempFileNameA(folder, prefix, unique, name);
}

HANDLE FaultyFileSystem::CreateFileA(LPCSTR path, DWORD access, DWORD share, void* security, DWORD disposition,
                                     DWORD flags, HANDLE templateFile) {
  if (NextCreateFails("CreateFileA", path)) return INVALID_HANDLE_VALUE;
  HANDLE file = inner->CreateFileA(path, access, share, security, disposition, flags, templateFile);
  if (file != INVALID_HANDLE_VALUE && path != nullptr) paths[file] = path;
  return file;
}

BOOL FaultyFileSystem::ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void* overlapped) {
  if (failReads) return FALSE;
  return inner->ReadFile(file, buffer, count, read, overlapped);
}

BOOL FaultyFileSystem::WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped) {
  ++writes;
  auto known = paths.find(file);
  std::string path = known != paths.end() ? known->second : std::string("?");
  Tell("WriteFile", path.c_str());
  if (failWrites) {
    if (written != nullptr) *written = 0;
    return FALSE;
  }
  if (writes != failWriteAt) return inner->WriteFile(file, data, count, written, overlapped);
  failedPath = path;
  DWORD half = 0;
  if (count / 2 > 0) inner->WriteFile(file, data, count / 2, &half, overlapped);
  if (written != nullptr) *written = half;
  return FALSE;
}

BOOL FaultyFileSystem::CloseHandle(HANDLE object) {
  paths.erase(object);
  return inner->CloseHandle(object);
}

BOOL FaultyFileSystem::CreateDirectoryA(LPCSTR path, void* security) {
  if (NextCreateFails("CreateDirectoryA", path)) return FALSE;
  return inner->CreateDirectoryA(path, security);
}

void TestResourceStore::SetItem(const std::string& name, const std::string& bytes) {
  Replaced& item = items[Folded(name)];
  item.bytes.reset(new char[bytes.empty() ? 1 : bytes.size()]);
  std::memcpy(item.bytes.get(), bytes.data(), bytes.size());
  item.size = static_cast<DWORD>(bytes.size());
  removedItems.erase(Folded(name));
}

void TestResourceStore::RemoveItem(const std::string& name) {
  items.erase(Folded(name));
  removedItems.insert(Folded(name));
}

std::string TestResourceStore::Item(const std::string& name) {
  HRSRC found = FindResourceA(nullptr, name.c_str(), RT_RCDATA);
  const char* bytes = static_cast<const char*>(LoadResource(nullptr, found));
  return bytes != nullptr ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

const TestResourceStore::Replaced* TestResourceStore::Ours(const void* handle) const {
  for (const auto& item : items)
    if (handle == &item.second) return &item.second;
  return nullptr;
}

HRSRC TestResourceStore::FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (name != nullptr && !IS_INTRESOURCE(name) && type == RT_RCDATA) {
    if (removedItems.count(Folded(name)) != 0) return nullptr;
    auto found = items.find(Folded(name));
    if (found != items.end()) return reinterpret_cast<HRSRC>(const_cast<Replaced*>(&found->second));
  }
  return PortableResourceStore::FindResourceA(module, name, type);
}

DWORD TestResourceStore::SizeofResource(HMODULE module, HRSRC resource) {
  if (const Replaced* item = Ours(resource)) return item->size;
  return PortableResourceStore::SizeofResource(module, resource);
}

HGLOBAL TestResourceStore::LoadResource(HMODULE module, HRSRC resource) {
  if (failLoad) return nullptr;
  if (const Replaced* item = Ours(resource)) return item->bytes.get();
  return PortableResourceStore::LoadResource(module, resource);
}

int TestResourceStore::LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) {
  loadedStrings.push_back(id);
  auto replaced = strings.find(id);
  if (replaced == strings.end()) return PortableResourceStore::LoadStringA(instance, id, buffer, capacity);
  if (buffer == nullptr || capacity <= 0) return 0;
  size_t length = std::min(replaced->second.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, replaced->second.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

HBITMAP TestResourceStore::LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (IS_INTRESOURCE(name) && removedBitmaps.count(static_cast<int>(reinterpret_cast<uintptr_t>(name))) != 0)
    return nullptr;
  HBITMAP bitmap = PortableResourceStore::LoadBitmapA(instance, name);
  if (bitmap != nullptr) ++bitmapsLoaded;
  return bitmap;
}

HICON TestResourceStore::LoadIconA(HINSTANCE instance, LPCSTR name) {
  loadedIcons.push_back(static_cast<int>(reinterpret_cast<uintptr_t>(name)));
  return PortableResourceStore::LoadIconA(instance, name);
}

INT TestLzLibrary::AddSource(const std::string& bytes, long failAt) {
  INT handle = next++;
  sources[handle] = Source{bytes, 0, failAt};
  return handle;
}

INT TestLzLibrary::LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) {
  INT file = PortableLzLibrary::LZOpenFileA(fileName, reOpenBuf, style);
  if (reportCapitals && reOpenBuf != nullptr)
    for (char* c = reOpenBuf->szPathName; *c != '\0'; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return file;
}

INT TestLzLibrary::LZRead(INT file, char* buffer, INT count) {
  auto found = sources.find(file);
  if (found == sources.end()) return PortableLzLibrary::LZRead(file, buffer, count);
  Source& source = found->second;
  if (count < 0) return LZERROR_BADVALUE;
  size_t want = std::min(static_cast<size_t>(count), source.bytes.size() - source.position);
  // A read that would reach past the failing point fails whole.
  if (source.failAt >= 0 && want > 0 && source.position + want > static_cast<size_t>(source.failAt))
    return LZERROR_READ;
  std::memcpy(buffer, source.bytes.data() + source.position, want);
  source.position += want;
  return static_cast<INT>(want);
}

void TestLzLibrary::LZClose(INT file) {
  if (sources.erase(file) == 0) PortableLzLibrary::LZClose(file);
}

const ResourceTable& EditionTable(Edition edition) {
  return edition == EditionProfessional ? ProfessionalResources()
         : edition == EditionQuorvel    ? QuorvelResources()
                                        : StandardResources();
}

const char* EditionName(Edition edition) { return EditionTable(edition).edition; }

const std::string& ExpandedContent(const std::string& itemName) {
  static std::map<std::string, std::string> cache;
  static const std::string none;
  auto cached = cache.find(itemName);
  if (cached != cache.end()) return cached->second;
  for (int i = 0; i < kInstallTableRows; ++i) {
    if (itemName != kInstallTable[i].itemName) continue;
    std::ifstream in(std::string(VESSORA_CONTENT) + "/" + kInstallTable[i].fileName, std::ios::binary);
    return cache[itemName] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return none;
}

void ProgramGlobalsAtStart() {
  g_instance = nullptr;
  g_officeInfo.Reset();
  ResetInstallState();
  g_screenWidth = g_screenHeight = g_currentPage = 0;
  g_windowRect = RECT{0, 0, 0, 0};
  g_timerId = 0;
  g_backButton = g_nextButton = nullptr;
  for (WizardPage*& page : g_pages) page = nullptr;
  WizardPage::SetPageArea(RECT{0, 0, 0, 0});
}

TestMachine::TestMachine(Edition edition)
    : PortableMachine(EditionTable(edition)), edition(edition), testResources(EditionTable(edition)) {
  files.MapDrive('C', c.Path());
  files.MapDrive('D', d.Path());
  g_platform.fileSystem = &faulty;
  g_platform.resources = &testResources;
  g_platform.lzLibrary = &testLz;
  MakeProgramsFolder();
  ProgramGlobalsAtStart();
  g_officeInfo.DetectVersions();
}

TestMachine::~TestMachine() {
  g_officeInfo.Reset();
  ResetInstallState();
}

bool TestMachine::LoadRegFile(const std::string& path) {
  bool loaded = registry.LoadRegFile(path);
  g_officeInfo.Reset();
  g_officeInfo.DetectVersions();
  return loaded;
}

std::vector<std::string> TestMachine::TempFilesLeft() const {
  std::vector<std::string> left;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(HostPath("C:\\WINDOWS\\TEMP"), missing))
    left.push_back(entry.path().filename());
  return left;
}

bool TestMachine::Install(const std::string& dictionaryFolder, const std::string& installFolder) {
  InstallResult result = InstallEdition(edition, dictionaryFolder.c_str(), installFolder.c_str());
  return result == InstallResult::Installed || result == InstallResult::InstalledWithErrors;
}

std::string TestMachine::LogText() { return Bytes(std::string(g_installFolder) + "\\" + kInstallLogFileName); }
