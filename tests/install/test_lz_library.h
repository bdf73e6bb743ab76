// The LZ library for tests: sources held in memory (with a read error where a test wants one),
// and everything else handed to the library under test.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "platform/lz_library.h"

class TestLzLibrary : public LzLibrary {
 public:
  explicit TestLzLibrary(LzLibrary* inner) : inner(inner) {}

  // A read handle on these bytes; reads fail once failAt bytes have been delivered (never when negative).
  INT AddSource(const std::string& bytes, long failAt = -1);
  // How many LZRead calls the memory sources answered, and the largest count asked for.
  int Reads() const { return reads; }

  INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) override {
    return inner->LZOpenFileA(fileName, reOpenBuf, style);
  }
  INT LZRead(INT file, char* buffer, INT count) override;
  LONG LZCopy(INT source, INT destination) override { return inner->LZCopy(source, destination); }
  void LZClose(INT file) override;

 private:
  struct Source {
    std::string bytes;
    size_t position = 0;
    long failAt = -1;
  };
  static constexpr INT kFirstHandle = 0x7000;
  LzLibrary* inner;
  std::map<INT, Source> sources;
  INT next = kFirstHandle;
  int reads = 0;
};
