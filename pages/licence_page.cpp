#include "pages/licence_page.h"

#include <cstring>
#include <memory>
#include <new>

#include "pages/control_ids.h"
#include "platform/platform.h"

namespace {

const char kLicenceItem[] = "LICENSE.TXT";

}  // namespace

void LicencePage::Create(HWND parent) {
  if (licenceEdit != nullptr) return;
  WindowSystem* windows = g_platform.windows;
  ResourceStore* resources = g_platform.resources;
  int scrollBar = windows->GetSystemMetrics(SM_CXVSCROLL);
  licenceEdit = CreateControl(parent, Place(2, kLicenceEditId, scrollBar));

  HRSRC item = resources->FindResourceA(nullptr, kLicenceItem, RT_RCDATA);
  if (item == nullptr) return;
  DWORD size = resources->SizeofResource(nullptr, item);
  // A loaded resource is already the address of its bytes; no lock step is needed.
  const char* bytes = static_cast<const char*>(resources->LoadResource(nullptr, item));
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

void LicencePage::Destroy() { DestroyControl(licenceEdit); }
