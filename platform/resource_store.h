// The executable's own resources: payload items, strings, bitmaps, icon.
#pragma once
#include "platform/win32_types.h"

class ResourceStore {
 public:
  virtual ~ResourceStore() = default;
  // Finds a resource by name (or MAKEINTRESOURCE id) and type; null when it is not carried.
  virtual HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) = 0;
  // Size in bytes of a found resource, 0 for a null handle.
  virtual DWORD SizeofResource(HMODULE module, HRSRC resource) = 0;
  // Loads a found resource; null on failure.
  virtual HGLOBAL LoadResource(HMODULE module, HRSRC resource) = 0;
  // Address of a loaded resource's bytes; null on failure.
  virtual LPVOID LockResource(HGLOBAL resource) = 0;
  // Copies string id into buffer (at most capacity-1 chars and a terminator); the number copied, 0 when absent.
  virtual int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) = 0;
  // A bitmap resource by id; null when absent. Released with WindowSystem::DeleteObject.
  virtual HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) = 0;
  // An icon group by id; null when absent.
  virtual HICON LoadIconA(HINSTANCE instance, LPCSTR name) = 0;
};
