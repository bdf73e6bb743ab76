#include "pages/licence_page.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/platform.h"
#include "shell/main_window.h"

namespace {

constexpr int kLicenceId = 10010;
constexpr DWORD kLicenceStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
const char kLicenceItem[] = "LICENSE.TXT";

}  // namespace

void LicencePage::Create(HWND parent) {
  if (licenceEdit != nullptr) return;
  WindowSystem* windows = g_platform.windows;
  ResourceStore* resources = g_platform.resources;
  const RECT& area = PageArea();
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  int scrollBar = windows->GetSystemMetrics(SM_CXVSCROLL);

  licenceEdit = windows->CreateWindowExA(0, "EDIT", "", kLicenceStyle, 16, 16, width - scrollBar - 8, height - 32,
                                         parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(kLicenceId)),
                                         g_instance, nullptr);

  HRSRC item = resources->FindResourceA(nullptr, kLicenceItem, RT_RCDATA);
  if (item == nullptr) return;
  DWORD size = resources->SizeofResource(nullptr, item);
  HGLOBAL loaded = resources->LoadResource(nullptr, item);
  const char* bytes = loaded ? static_cast<const char*>(resources->LockResource(loaded)) : nullptr;
  if (bytes == nullptr) return;

  // The item carries no terminating zero: its text ends at its size, or at a zero byte before that.
  // It is copied so that it can be terminated without reading or writing past the item.
  const void* zero = std::memchr(bytes, '\0', size);
  size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
  std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
  if (!text) return;
  std::memcpy(text.get(), bytes, length);
  text[length] = '\0';
  windows->SetWindowTextA(licenceEdit, text.get());
  windows->ShowWindow(licenceEdit, SW_SHOW);
}

void LicencePage::Destroy() {
  if (licenceEdit != nullptr) g_platform.windows->DestroyWindow(licenceEdit);
  licenceEdit = nullptr;
}
