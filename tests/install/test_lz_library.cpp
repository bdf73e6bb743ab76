#include "test_lz_library.h"

#include <cstring>

INT TestLzLibrary::AddSource(const std::string& bytes, long failAt) {
  INT handle = next++;
  sources[handle] = Source{bytes, 0, failAt};
  return handle;
}

INT TestLzLibrary::LZRead(INT file, char* buffer, INT count) {
  auto found = sources.find(file);
  if (found == sources.end()) return inner->LZRead(file, buffer, count);
  ++reads;
  Source& source = found->second;
  if (count < 0) return LZERROR_BADVALUE;
  size_t want = static_cast<size_t>(count);
  size_t left = source.bytes.size() - source.position;
  if (want > left) want = left;
  // A read that would reach past the failing point fails whole.
  if (source.failAt >= 0 && want > 0 && source.position + want > static_cast<size_t>(source.failAt))
    return LZERROR_READ;
  std::memcpy(buffer, source.bytes.data() + source.position, want);
  source.position += want;
  return static_cast<INT>(want);
}

void TestLzLibrary::LZClose(INT file) {
  if (sources.erase(file) == 0) inner->LZClose(file);
}
