#include "install/edition.h"

#include "platform/ascii_case.h"
#include "platform/platform.h"

Edition GetEdition() {
  const int kCapacity = 15;
  char name[kCapacity] = "";
  int loaded = g_platform.resources->LoadStringA(g_instance, 2, name, kCapacity);
  if (loaded <= 0) return EditionStandard;
  name[kCapacity - 1] = '\0';
  if (EqualAsciiNoCase(name, "Professional")) return EditionProfessional;
  if (EqualAsciiNoCase(name, "Quorvel")) return EditionQuorvel;
  return EditionStandard;
}
