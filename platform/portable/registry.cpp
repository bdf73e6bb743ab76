#include "platform/portable/registry.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/portable/ansi_case.h"

namespace {

// Win32 error codes only this backend gives.
enum : LONG { kErrorBadPathname = 161, kErrorNoAccess = 998 };

constexpr uintptr_t kFirstHandle = 0x1000;
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

// Generic and maximum rights stand for the key rights they imply.
REGSAM NormalizeAccess(REGSAM access) {
  if (access & 0x02000000u) access |= KEY_ALL_ACCESS;  // MAXIMUM_ALLOWED
  if (access & 0x80000000u) access |= KEY_READ;        // GENERIC_READ
  if (access & 0x40000000u) access |= KEY_WRITE;       // GENERIC_WRITE
  if (access & 0x20000000u) access |= KEY_READ;        // GENERIC_EXECUTE
  if (access & 0x10000000u) access |= KEY_ALL_ACCESS;  // GENERIC_ALL
  return access;
}

// Hands a value's type and data to a query or an enumeration, as the registry calls do:
// ERROR_MORE_DATA with the size needed when the data does not fit.
LONG CopyValueData(DWORD valueType, const std::vector<BYTE>& bytes, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (type != nullptr) *type = valueType;
  DWORD size = static_cast<DWORD>(bytes.size());
  if (data != nullptr) {
    if (*dataSize < size) {
      *dataSize = size;
      return ERROR_MORE_DATA;
    }
    if (size > 0) std::memcpy(data, bytes.data(), size);
  }
  if (dataSize != nullptr) *dataSize = size;
  return ERROR_SUCCESS;
}

}  // namespace

PortableRegistry::PortableRegistry() : nextHandle(kFirstHandle) {
  for (const RegRoot& root : RegRoots()) {
    auto key = std::make_shared<Key>();
    key->name = root.longName;
    roots[root.value] = key;
  }
}

PortableRegistry::~PortableRegistry() = default;

std::shared_ptr<PortableRegistry::Key> PortableRegistry::RootKey(uintptr_t root) const {
  auto found = roots.find(root);
  return found == roots.end() ? nullptr : found->second;
}

LONG PortableRegistry::KeyOfHandle(HKEY handle, std::shared_ptr<Key>* key, REGSAM* access, REGSAM needed) const {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  auto open = handles.find(value);
  if (auto root = RootKey(value)) {
    *key = root;
    *access = KEY_ALL_ACCESS;
  } else if (open == handles.end()) {
    return ERROR_INVALID_HANDLE;
  } else if (open->second.key->deleted) {
    return ERROR_KEY_DELETED;
  } else {
    *key = open->second.key;
    *access = open->second.access;
  }
  return (*access & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

std::vector<PortableRegistry::Value>::iterator PortableRegistry::FindValue(Key* key, LPCSTR name) {
  std::string wanted = name != nullptr ? name : "";
  return std::find_if(key->values.begin(), key->values.end(),
                      [&](const Value& value) { return EqualAnsiNoCase(value.name, wanted); });
}

LONG PortableRegistry::Walk(const std::shared_ptr<Key>& from, const char* subKey, bool create,
                            std::shared_ptr<Key>* found, bool* created) {
  std::string path = subKey != nullptr ? subKey : "";
  if (!path.empty() && path[0] == '\\') return kErrorBadPathname;
  std::shared_ptr<Key> key = from;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    if (name.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> next;
    for (const auto& sub : key->subKeys)
      if (EqualAnsiNoCase(sub->name, name)) next = sub;
    if (!next) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      next = std::make_shared<Key>();
      next->name = name;
      key->subKeys.push_back(next);
      if (created != nullptr) *created = true;
    }
    key = next;
  }
  *found = key;
  return ERROR_SUCCESS;
}

HKEY PortableRegistry::NewHandle(const std::shared_ptr<Key>& key, REGSAM access) {
  uintptr_t value = nextHandle;
  nextHandle += 4;
  handles[value] = OpenKey{key, NormalizeAccess(access)};
  return reinterpret_cast<HKEY>(value);
}

LONG PortableRegistry::StartAt(HKEY root, LPCSTR subKey, HKEY* result, std::shared_ptr<Key>* base,
                               REGSAM* baseAccess, std::shared_ptr<Key>* key) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  LONG error = KeyOfHandle(root, base, baseAccess);
  return error != ERROR_SUCCESS ? error : Walk(*base, subKey, false, key, nullptr);
}

LONG PortableRegistry::RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD, REGSAM access, HKEY* result) {
  std::shared_ptr<Key> base, key;
  REGSAM baseAccess = 0;
  LONG error = StartAt(root, subKey, result, &base, &baseAccess, &key);
  if (error != ERROR_SUCCESS) return error;
  *result = NewHandle(key, access);
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegCreateKeyExA(HKEY root, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access, void*,
                                       HKEY* result, DWORD* disposition) {
  std::shared_ptr<Key> base, key;
  REGSAM baseAccess = 0;
  LONG error = StartAt(root, subKey, result, &base, &baseAccess, &key);
  bool created = false;
  if (error == ERROR_FILE_NOT_FOUND && base != nullptr) {
    // Making a key below an opened one needs the right to make subkeys.
    if (!(baseAccess & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    error = Walk(base, subKey, true, &key, &created);
  }
  if (error != ERROR_SUCCESS) return error;
  *result = NewHandle(key, access);
  if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegQueryValueExA(HKEY handle, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                                        DWORD* dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_QUERY_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) return ERROR_INVALID_PARAMETER;
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  return CopyValueData(value->type, value->data, type, data, dataSize);
}

LONG PortableRegistry::RegEnumValueA(HKEY handle, DWORD index, LPSTR valueName, DWORD* valueNameSize,
                                     DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_QUERY_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (valueName == nullptr || valueNameSize == nullptr || reserved != nullptr ||
      (data != nullptr && dataSize == nullptr))
    return ERROR_INVALID_PARAMETER;
  if (index >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& value = key->values[index];
  // The name capacity counts the terminator; the size returned does not.
  if (value.name.size() >= *valueNameSize) return ERROR_MORE_DATA;
  std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
  *valueNameSize = static_cast<DWORD>(value.name.size());
  return CopyValueData(value.type, value.data, type, data, dataSize);
}

LONG PortableRegistry::RegSetValueExA(HKEY handle, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                                      DWORD dataSize) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_SET_VALUE);
  if (error != ERROR_SUCCESS) return error;
  if (data == nullptr && dataSize > 0) return kErrorNoAccess;
  std::string name = valueName != nullptr ? valueName : "";
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  Value written{name, type, std::vector<BYTE>(data, data + dataSize)};
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end())
    key->values.push_back(written);
  else  // replaced in place: its index stays, and so does the name's spelling
    *value = Value{value->name, type, written.data};
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegDeleteValueA(HKEY handle, LPCSTR valueName) {
  std::shared_ptr<Key> key;
  REGSAM access = 0;
  LONG error = KeyOfHandle(handle, &key, &access, KEY_SET_VALUE);
  if (error != ERROR_SUCCESS) return error;
  auto value = FindValue(key.get(), valueName);
  if (value == key->values.end()) return ERROR_FILE_NOT_FOUND;
  key->values.erase(value);
  return ERROR_SUCCESS;
}

LONG PortableRegistry::RegCloseKey(HKEY handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (RootKey(value)) return ERROR_SUCCESS;
  if (handles.erase(value) == 0) return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

bool PortableRegistry::DeleteKeyTree(HKEY root, const std::string& path) {
  std::shared_ptr<Key> rootKey = RootKey(reinterpret_cast<uintptr_t>(root));
  if (!rootKey) return false;
  size_t slash = path.find_last_of('\\');
  std::string parentPath = slash == std::string::npos ? "" : path.substr(0, slash);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::shared_ptr<Key> parent;
  if (name.empty() || Walk(rootKey, parentPath.c_str(), false, &parent, nullptr) != ERROR_SUCCESS) return false;
  for (auto sub = parent->subKeys.begin(); sub != parent->subKeys.end(); ++sub) {
    if (!EqualAnsiNoCase((*sub)->name, name)) continue;
    std::vector<std::shared_ptr<Key>> pending{*sub};
    while (!pending.empty()) {
      std::shared_ptr<Key> key = pending.back();
      pending.pop_back();
      key->deleted = true;
      pending.insert(pending.end(), key->subKeys.begin(), key->subKeys.end());
    }
    parent->subKeys.erase(sub);
    return true;
  }
  return false;
}

void PortableRegistry::Apply(const RegChange& change) {
  HKEY root = reinterpret_cast<HKEY>(change.root);
  std::shared_ptr<Key> key;
  switch (change.kind) {
    case RegChange::kCreateKey: Walk(RootKey(change.root), change.path.c_str(), true, &key, nullptr); break;
    case RegChange::kDeleteKey: DeleteKeyTree(root, change.path); break;
    case RegChange::kSetValue:
    case RegChange::kDeleteValue: {
      if (Walk(RootKey(change.root), change.path.c_str(), change.kind == RegChange::kSetValue, &key, nullptr) !=
          ERROR_SUCCESS)
        break;
      HKEY handle = NewHandle(key, KEY_ALL_ACCESS);
      const RegValue& value = change.value;
      if (change.kind == RegChange::kSetValue)
        RegSetValueExA(handle, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
      else
        RegDeleteValueA(handle, value.name.c_str());
      RegCloseKey(handle);
      break;
    }
  }
}

void PortableRegistry::Apply(const std::vector<RegChange>& changes) {
  for (const RegChange& change : changes) Apply(change);
}

bool PortableRegistry::LoadRegText(const std::string& text, std::string* error) {
  std::string unused;
  std::vector<RegChange> changes;
  if (!ParseRegText(text, &changes, error != nullptr ? error : &unused)) return false;
  Apply(changes);
  return true;
}

bool PortableRegistry::LoadRegFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  std::string text;
  if (file) text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file.is_open() || file.bad()) {
    if (error != nullptr) *error = "it cannot be read";
    return false;
  }
  return LoadRegText(text, error);
}

void PortableRegistry::KeyTexts(const Key& key, uintptr_t root, const std::string& path,
                                std::vector<RegKeyText>* texts) const {
  if (!path.empty() || !key.values.empty()) texts->push_back(RegKeyText{root, path, key.values});
  for (const auto& sub : key.subKeys) KeyTexts(*sub, root, path.empty() ? sub->name : path + "\\" + sub->name, texts);
}

std::string PortableRegistry::SaveRegText() const {
  std::vector<RegKeyText> texts;
  for (const RegRoot& root : RegRoots()) KeyTexts(*RootKey(root.value), root.value, "", &texts);
  return FormatRegText(texts);
}

bool PortableRegistry::SaveRegFile(const std::string& path) const {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  std::string text = SaveRegText();
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return !file.fail();
}
