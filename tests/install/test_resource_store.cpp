#include "test_resource_store.h"

namespace {
std::string Upper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}
}  // namespace

std::vector<uint8_t> TestResourceStore::CarriedItem(const std::string& name) {
  HRSRC found = carried.FindResourceA(nullptr, name.c_str(), RT_RCDATA);
  if (found == nullptr) return {};
  const auto* bytes = static_cast<const uint8_t*>(carried.LockResource(carried.LoadResource(nullptr, found)));
  return std::vector<uint8_t>(bytes, bytes + carried.SizeofResource(nullptr, found));
}

void TestResourceStore::AddItem(const std::string& name, const std::vector<uint8_t>& bytes) {
  removed.erase(Upper(name));
  added[Upper(name)] = bytes;
}

void TestResourceStore::RemoveItem(const std::string& name) {
  added.erase(Upper(name));
  removed.insert(Upper(name));
}

bool TestResourceStore::Ours(const void* handle) const {
  for (const auto& item : added)
    if (handle == &item.second) return true;
  return false;
}

HRSRC TestResourceStore::FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  if (name != nullptr && !IS_INTRESOURCE(name) && type == RT_RCDATA) {
    if (removed.count(Upper(name)) != 0) return nullptr;
    auto found = added.find(Upper(name));
    if (found != added.end()) return reinterpret_cast<HRSRC>(&found->second);
  }
  return carried.FindResourceA(module, name, type);
}

DWORD TestResourceStore::SizeofResource(HMODULE module, HRSRC resource) {
  if (Ours(resource)) return static_cast<DWORD>(reinterpret_cast<std::vector<uint8_t>*>(resource)->size());
  return carried.SizeofResource(module, resource);
}

HGLOBAL TestResourceStore::LoadResource(HMODULE module, HRSRC resource) {
  if (Ours(resource)) return resource;
  return carried.LoadResource(module, resource);
}

LPVOID TestResourceStore::LockResource(HGLOBAL resource) {
  if (!Ours(resource)) return carried.LockResource(resource);
  auto* bytes = static_cast<std::vector<uint8_t>*>(resource);
  static uint8_t empty = 0;  // an empty item still has an address, as a real resource would
  return bytes->empty() ? &empty : bytes->data();
}
