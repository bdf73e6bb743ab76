#include "platform/lz_library.h"

#include <cstring>

bool LzFallbackName(const char* name, char* out, size_t capacity) {
  if (name == nullptr || out == nullptr) return false;
  size_t length = std::strlen(name);
  const char* base = std::strrchr(name, '\\');
  const char* dot = std::strchr(base != nullptr ? base : name, '.');
  size_t extension = dot != nullptr ? length - static_cast<size_t>(dot + 1 - name) : 0;
  size_t added = dot == nullptr ? 2 : extension < 3 ? 1 : 0;
  if (length + added >= capacity) return false;
  std::memcpy(out, name, length + 1);
  if (dot == nullptr)
    std::memcpy(out + length, "._", 3);
  else if (extension < 3)
    std::memcpy(out + length, "_", 2);
  else
    out[length - 1] = '_';
  return true;
}
