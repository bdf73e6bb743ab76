#include "pages/folder_page.h"

#include <cstring>

#include "install/install_sequence.h"
#include "pages/control_ids.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"

namespace {

constexpr int kLabelHeight = 24;

const char* const kDictionaryLabel = "Install dictionary in folder:";
const char* const kInstallLabel = "Place Vessora folder in:";
const char kStatusText[] = "Please locate the folder";

void DrawLabel(HDC dc, const char* text, int top) {
  RECT area = {16, top, WizardPage::PageWidth() - 16, top + kLabelHeight};
  g_platform.windows->DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, DT_LEFT | DT_TOP);
}

void ReadEdit(HWND edit, char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return;
  buffer[0] = '\0';
  if (edit == nullptr) return;
  g_platform.windows->GetWindowTextA(edit, buffer, capacity);
  buffer[capacity - 1] = '\0';
}

}  // namespace

void FolderPage::Paint(HWND, HDC dc) {
  DrawLabel(dc, kDictionaryLabel, 16);
  DrawLabel(dc, kInstallLabel, 88);
}

void FolderPage::Create(HWND parent) {
  WindowSystem* windows = g_platform.windows;
  char dictionaryDefault[kPathCapacity] = "";
  char installDefault[kPathCapacity] = "";
  if (dictionaryEdit == nullptr || installEdit == nullptr) GetDefaultFolders(dictionaryDefault, installDefault);

  if (dictionaryBrowseButton == nullptr) dictionaryBrowseButton = CreateControl(parent, Place(3, kDictionaryBrowseId));
  if (installBrowseButton == nullptr) installBrowseButton = CreateControl(parent, Place(3, kInstallBrowseId));
  if (dictionaryEdit == nullptr) {
    dictionaryEdit = CreateControl(parent, Place(3, kDictionaryEditId));
    windows->SetWindowTextA(dictionaryEdit, dictionaryDefault);
  }
  if (installEdit == nullptr) {
    installEdit = CreateControl(parent, Place(3, kInstallEditId));
    windows->SetWindowTextA(installEdit, installDefault);
  }
  windows->ShowWindow(installBrowseButton, SW_SHOW);
  windows->ShowWindow(installEdit, SW_SHOW);
  windows->ShowWindow(dictionaryBrowseButton, SW_SHOW);
  windows->ShowWindow(dictionaryEdit, SW_SHOW);
}

void FolderPage::Destroy() {
  DestroyControl(dictionaryBrowseButton);
  DestroyControl(dictionaryEdit);
  DestroyControl(installBrowseButton);
  DestroyControl(installEdit);
}

FolderPage::~FolderPage() { Destroy(); }

void FolderPage::SetDictionaryFolder(const char* text) { g_platform.windows->SetWindowTextA(dictionaryEdit, text); }

void FolderPage::SetInstallFolder(const char* text) { g_platform.windows->SetWindowTextA(installEdit, text); }

void FolderPage::GetDictionaryFolder(char* buffer, int capacity) { ReadEdit(dictionaryEdit, buffer, capacity); }

void FolderPage::GetInstallFolder(char* buffer, int capacity) { ReadEdit(installEdit, buffer, capacity); }

void BrowseForFolder(HWND owner, HWND textSource, char* buffer, int capacity) {
  ShellServices* shell = g_platform.shell;
  IMalloc* allocator = nullptr;
  if (FAILED(shell->SHGetMalloc(&allocator)) || allocator == nullptr) return;

  BROWSEINFOA info;
  std::memset(&info, 0, sizeof info);
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = nullptr;
  info.lpszTitle = nullptr;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(textSource);
  info.iImage = 0;

  LPITEMIDLIST item = shell->SHBrowseForFolderA(&info);
  if (item != nullptr) {
    char path[kPathCapacity] = "";
    if (shell->SHGetPathFromIDListA(item, path)) {
      path[kPathCapacity - 1] = '\0';
      size_t length = std::strlen(path);
      // A path that does not fit whole leaves the buffer as it was rather than cut short.
      if (buffer != nullptr && capacity > 0 && length < static_cast<size_t>(capacity))
        std::memcpy(buffer, path, length + 1);
    }
    allocator->Free(item);
  }
  // Released on a cancelled chooser too, so no reference is left behind.
  allocator->Release();
}

int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM, LPARAM callbackData) {
  if (message != BFFM_INITIALIZED) return 0;
  WindowSystem* windows = g_platform.windows;
  char text[kPathCapacity] = "";
  HWND source = reinterpret_cast<HWND>(callbackData);
  if (source == nullptr || windows->GetWindowTextA(source, text, kPathCapacity) < 1) return 0;
  text[kPathCapacity - 1] = '\0';
  windows->SendMessageA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(text));
  windows->SendMessageA(chooser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(kStatusText));
  return 0;
}
