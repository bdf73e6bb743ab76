#include "install/edition.h"

#include "platform/platform.h"

namespace {

// Compares ASCII letters without regard to case and every other byte as it is.
bool EqualsNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

}  // namespace

Edition GetEdition() {
  const int kCapacity = 15;
  char name[kCapacity] = "";
  int loaded = g_platform.resources->LoadStringA(g_instance, 2, name, kCapacity);
  if (loaded <= 0) return EditionStandard;
  name[kCapacity - 1] = '\0';
  if (EqualsNoCase(name, "Professional")) return EditionProfessional;
  if (EqualsNoCase(name, "Quorvel")) return EditionQuorvel;
  return EditionStandard;
}
