// The registry without Windows: an in-memory tree of keys under the predefined
// roots, kept to the advapi32 contracts (checked handles, access rights, buffer
// sizes), and read from and written to .reg text (platform/portable/reg_text.h).
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/portable/reg_text.h"
#include "platform/registry.h"

class PortableRegistry : public Registry {
 public:
  PortableRegistry();
  ~PortableRegistry() override;

  // Applies a .reg text ("REGEDIT4" or "Windows Registry Editor Version 5.00"; ANSI,
  // UTF-8 or UTF-16 with its byte order mark). All or nothing: false, and the registry
  // unchanged, when the text is not well formed; *error then says where and what
  // ("line 4: a value before any [key]").
  bool LoadRegText(const std::string& text, std::string* error = nullptr);
  bool LoadRegFile(const std::string& path, std::string* error = nullptr);
  // The whole registry as REGEDIT4 text (CR LF lines), keys and values in their order.
  std::string SaveRegText() const;
  bool SaveRegFile(const std::string& path) const;
  // Makes the changes a .reg text was read into, in their order.
  void Apply(const std::vector<RegChange>& changes);
  // Removes root\path with everything below it; open handles to it see ERROR_KEY_DELETED.
  bool DeleteKeyTree(HKEY root, const std::string& path);
  // Number of handles opened and not yet closed (tests check that nothing leaks).
  size_t OpenKeyCount() const { return handles.size(); }

  // Beyond what the program asks of a registry, for tests and the .reg reader: RegCreateKeyExA creates
  // root\subKey with every missing key above it, RegDeleteValueA removes a value, as advapi32 does.
  LONG RegCreateKeyExA(HKEY root, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options, REGSAM access,
                       void* security, HKEY* result, DWORD* disposition);
  LONG RegDeleteValueA(HKEY key, LPCSTR valueName);

  LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) override;
  LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                        DWORD* dataSize) override;
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved, DWORD* type,
                     BYTE* data, DWORD* dataSize) override;
  LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                      DWORD dataSize) override;
  LONG RegCloseKey(HKEY key) override;

 private:
  using Value = RegValue;
  struct Key {
    std::string name;
    std::vector<std::shared_ptr<Key>> subKeys;  // in creation order
    std::vector<Value> values;                  // in creation order
    bool deleted = false;
  };
  struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access;
  };

  std::shared_ptr<Key> RootKey(uintptr_t root) const;
  // The key a handle stands for and the access it grants, or an error code; ERROR_ACCESS_DENIED when the
  // handle lacks the rights needed.
  LONG KeyOfHandle(HKEY handle, std::shared_ptr<Key>* key, REGSAM* access, REGSAM needed = 0) const;
  // The value of key called name (null: the default value), found without regard to case, or the end.
  static std::vector<Value>::iterator FindValue(Key* key, LPCSTR name);
  // The start of an open or a create: checks and clears result, resolves root as KeyOfHandle does (base and its
  // access), then walks to subKey below it (ERROR_FILE_NOT_FOUND when it is missing).
  LONG StartAt(HKEY root, LPCSTR subKey, HKEY* result, std::shared_ptr<Key>* base, REGSAM* baseAccess,
               std::shared_ptr<Key>* key);
  LONG Walk(const std::shared_ptr<Key>& from, const char* subKey, bool create, std::shared_ptr<Key>* found,
            bool* created);
  HKEY NewHandle(const std::shared_ptr<Key>& key, REGSAM access);
  void Apply(const RegChange& change);
  // The sections of key and the keys below it, path being key's; a root has one only for values of its own.
  void KeyTexts(const Key& key, uintptr_t root, const std::string& path, std::vector<RegKeyText>* texts) const;

  std::map<uintptr_t, std::shared_ptr<Key>> roots;
  std::map<uintptr_t, OpenKey> handles;
  uintptr_t nextHandle;
};
