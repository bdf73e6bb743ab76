// The resources of one edition's executable (the generated table, through the portable
// store), with items a test replaces, adds or takes away.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/portable/resource_store.h"
#include "platform/resource_store.h"

class TestResourceStore : public ResourceStore {
 public:
  explicit TestResourceStore(const ResourceTable& table) : carried(table) {}

  // The item as the edition's executable carries it (empty when it does not).
  std::vector<uint8_t> CarriedItem(const std::string& name);
  void AddItem(const std::string& name, const std::vector<uint8_t>& bytes);
  void RemoveItem(const std::string& name);

  HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) override;
  DWORD SizeofResource(HMODULE module, HRSRC resource) override;
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override;
  LPVOID LockResource(HGLOBAL resource) override;
  int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) override {
    return carried.LoadStringA(instance, id, buffer, capacity);
  }
  HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) override { return carried.LoadBitmapA(instance, name); }
  HICON LoadIconA(HINSTANCE instance, LPCSTR name) override { return carried.LoadIconA(instance, name); }

 private:
  bool Ours(const void* handle) const;

  PortableResourceStore carried;
  std::map<std::string, std::vector<uint8_t>> added;  // by upper-case name
  std::set<std::string> removed;
};
