// The executable's resources on Windows: each member is the kernel32/user32 call of the same name.
#pragma once
#include "platform/resource_store.h"

class Win32ResourceStore : public ResourceStore {
 public:
  HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) override;
  DWORD SizeofResource(HMODULE module, HRSRC resource) override;
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override;
  LPVOID LockResource(HGLOBAL resource) override;
  int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) override;
  HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) override;
  HICON LoadIconA(HINSTANCE instance, LPCSTR name) override;
};
