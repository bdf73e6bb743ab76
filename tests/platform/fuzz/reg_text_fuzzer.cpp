// libFuzzer target for the .reg reader: any bytes either load, and then save to a text that loads
// back to the same registry, or are refused whole with an error that names the line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/portable/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string empty = PortableRegistry().SaveRegText();
  PortableRegistry registry;
  std::string error;
  if (!registry.LoadRegText(std::string(reinterpret_cast<const char*>(data), size), &error)) {
    if (error.compare(0, 5, "line ") != 0 || registry.SaveRegText() != empty) abort();
    return 0;
  }
  std::string saved = registry.SaveRegText();
  PortableRegistry again;
  if (!again.LoadRegText(saved, &error) || again.SaveRegText() != saved) abort();
  return 0;
}
