// libFuzzer target for the .reg codec: any bytes either parse, and then the registry they make
// saves to a text that loads back to the same registry, or are refused whole with an error
// that names the line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/portable/reg_text.h"
#include "platform/portable/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<RegChange> changes;
  std::string error;
  if (!ParseRegText(std::string(reinterpret_cast<const char*>(data), size), &changes, &error)) {
    if (error.compare(0, 5, "line ") != 0 || !changes.empty()) abort();
    return 0;
  }
  PortableRegistry registry;
  registry.Apply(changes);
  std::string saved = registry.SaveRegText();
  PortableRegistry again;
  if (!again.LoadRegText(saved, &error) || again.SaveRegText() != saved) abort();
  return 0;
}
