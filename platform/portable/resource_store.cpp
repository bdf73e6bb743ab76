#include "platform/portable/resource_store.h"

#include <cstring>

#include "platform/portable/ansi_case.h"
#include "platform/portable/code_page_1252.h"

namespace {

// A resource name or type as Win32 takes it: an integer made by MAKEINTRESOURCE, or text,
// where "#123" also stands for the integer 123. Returns false for a null or bad "#" form.
bool ReadNameOrId(LPCSTR text, WORD* id, const char** name) {
  *id = 0;
  *name = nullptr;
  if (IS_INTRESOURCE(text)) {
    *id = LOWORD(text);
    return *id != 0;
  }
  if (text[0] != '#') {
    *name = text;
    return true;
  }
  unsigned long value = 0;
  const char* p = text + 1;
  if (*p == '\0') return false;
  for (; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + unsigned(*p - '0');
    if (value > 0xFFFF) return false;
  }
  *id = static_cast<WORD>(value);
  return value != 0;
}

}  // namespace

PortableResourceStore::PortableResourceStore(const ResourceTable& table) : table(table) {}

const ResourceEntry* PortableResourceStore::EntryOf(const void* handle) const {
  for (size_t i = 0; i < table.count; ++i)
    if (handle == &table.entries[i]) return &table.entries[i];
  return nullptr;
}

const ResourceEntry* PortableResourceStore::Find(LPCSTR name, LPCSTR type) const {
  WORD typeId, id;
  const char* typeName;
  const char* itemName;
  if (name == nullptr || type == nullptr) return nullptr;
  if (!ReadNameOrId(type, &typeId, &typeName) || typeName != nullptr) return nullptr;  // only standard types carried
  if (!ReadNameOrId(name, &id, &itemName)) return nullptr;
  for (size_t i = 0; i < table.count; ++i) {
    const ResourceEntry& e = table.entries[i];
    if (e.type != typeId) continue;
    if (itemName == nullptr ? (e.name == nullptr && e.id == id)
                            : (e.name != nullptr && EqualAnsiNoCase(e.name, itemName)))
      return &e;
  }
  return nullptr;
}

HRSRC PortableResourceStore::FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(Find(name, type)));
}

DWORD PortableResourceStore::SizeofResource(HMODULE, HRSRC resource) {
  const ResourceEntry* e = EntryOf(resource);
  return e == nullptr ? 0 : e->size;
}

HGLOBAL PortableResourceStore::LoadResource(HMODULE, HRSRC resource) {
  const ResourceEntry* e = EntryOf(resource);
  // As on Win32, the loaded resource is the address of its bytes.
  return e == nullptr ? nullptr : const_cast<unsigned char*>(e->data);
}

LPVOID PortableResourceStore::LockResource(HGLOBAL resource) { return resource; }

int PortableResourceStore::LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = '\0';
  if (id > 0xFFFF) return 0;
  const ResourceEntry* bundle = Find(MAKEINTRESOURCEA(id / 16 + 1), RT_STRING);
  if (bundle == nullptr) return 0;
  // Sixteen counted UTF-16 strings; walk to ours without leaving the bundle.
  size_t at = 0;
  for (unsigned slot = 0;; ++slot) {
    if (at + 2 > bundle->size) return 0;
    size_t length = bundle->data[at] | bundle->data[at + 1] << 8;
    at += 2;
    if (length > (bundle->size - at) / 2) return 0;
    if (slot == id % 16) {
      size_t copied = length < size_t(capacity - 1) ? length : size_t(capacity - 1);
      for (size_t i = 0; i < copied; ++i)
        buffer[i] = AnsiFromWide(static_cast<uint16_t>(bundle->data[at + 2 * i] | bundle->data[at + 2 * i + 1] << 8));
      buffer[copied] = '\0';
      return static_cast<int>(copied);
    }
    at += 2 * length;
  }
}

HBITMAP PortableResourceStore::LoadBitmapA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HBITMAP>(const_cast<ResourceEntry*>(Find(name, RT_BITMAP)));
}

HICON PortableResourceStore::LoadIconA(HINSTANCE, LPCSTR name) {
  return reinterpret_cast<HICON>(const_cast<ResourceEntry*>(Find(name, RT_GROUP_ICON)));
}
