// The executable's resources without Windows: a table generated at build time from the
// same list as setup.rc (resources/resource_table.h). Handles are the table's entries.
#pragma once
#include "platform/resource_store.h"
#include "resources/resource_table.h"

class PortableResourceStore : public ResourceStore {
 public:
  // Serves table, which must outlive the store (the generated tables live for the whole run).
  explicit PortableResourceStore(const ResourceTable& table);

  // The entry behind a handle this store gave out (found resource, bitmap, icon group); null otherwise.
  const ResourceEntry* EntryOf(const void* handle) const;

  HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) override;
  DWORD SizeofResource(HMODULE module, HRSRC resource) override;
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override;
  LPVOID LockResource(HGLOBAL resource) override;
  int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) override;
  HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) override;
  HICON LoadIconA(HINSTANCE instance, LPCSTR name) override;

 private:
  const ResourceEntry* Find(LPCSTR name, LPCSTR type) const;

  const ResourceTable& table;
};
