// The LZ expansion library without Windows: lz32's contract over the FileSystem service
// (g_platform.fileSystem), so that drive maps and injected faults apply to it as to every
// other file the program touches. SZDD files read expanded, any other file as it is.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/lz_library.h"
#include "resources/szdd_decoder.h"

class PortableLzLibrary : public LzLibrary {
 public:
  PortableLzLibrary();
  // Closes whatever is still open.
  ~PortableLzLibrary() override;

  INT LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) override;
  INT LZRead(INT file, char* buffer, INT count) override;
  LONG LZCopy(INT source, INT destination) override;
  void LZClose(INT file) override;

  // Number of handles still open (tests check that nothing leaks).
  size_t OpenHandleCount() const { return files.size(); }

 private:
  struct LzFile {
    HANDLE file = nullptr;
    bool writing = false;
    bool compressed = false;
    bool endOfInput = false;
    SzddDecoder decoder;
    // Bytes read from the file but not yet used: the header probe's bytes for a plain
    // file, compressed data for an SZDD file.
    std::vector<uint8_t> input;
    size_t inputAt = 0;
  };

  LzFile* Find(INT file);
  // Opens one name for the style and records it in info; INVALID_HANDLE_VALUE when it cannot.
  static HANDLE OpenNamed(const char* name, WORD style, OFSTRUCT* info);
  // Reads the next chunk of the file into input; false when the read fails.
  static bool Refill(LzFile* f);

  std::map<INT, std::unique_ptr<LzFile>> files;
  INT nextHandle;
};
