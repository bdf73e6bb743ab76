#include "platform/win32/resource_store.h"

HRSRC Win32ResourceStore::FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  return ::FindResourceA(module, name, type);
}
DWORD Win32ResourceStore::SizeofResource(HMODULE module, HRSRC resource) { return ::SizeofResource(module, resource); }
HGLOBAL Win32ResourceStore::LoadResource(HMODULE module, HRSRC resource) { return ::LoadResource(module, resource); }
LPVOID Win32ResourceStore::LockResource(HGLOBAL resource) { return ::LockResource(resource); }
int Win32ResourceStore::LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) {
  return ::LoadStringA(instance, id, buffer, capacity);
}
HBITMAP Win32ResourceStore::LoadBitmapA(HINSTANCE instance, LPCSTR name) { return ::LoadBitmapA(instance, name); }
HICON Win32ResourceStore::LoadIconA(HINSTANCE instance, LPCSTR name) { return ::LoadIconA(instance, name); }
