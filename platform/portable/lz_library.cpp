#include "platform/portable/lz_library.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "resources/szdd_format.h"

namespace {

constexpr DWORD kChunk = 4096;
// lz32 numbers its handles from 0x400; any number that is not negative would do.
constexpr INT kFirstHandle = 0x400;
// What OpenFile reports for a path too long for its OFSTRUCT.
constexpr WORD kErrorInvalidData = 13;

}  // namespace

PortableLzLibrary::PortableLzLibrary() : nextHandle(kFirstHandle) {}

PortableLzLibrary::~PortableLzLibrary() {
  while (!files.empty()) LZClose(files.begin()->first);
}

PortableLzLibrary::LzFile* PortableLzLibrary::Find(INT file) {
  auto found = files.find(file);
  return found == files.end() ? nullptr : found->second.get();
}

bool PortableLzLibrary::Refill(LzFile* f) {
  f->input.resize(kChunk);
  f->inputAt = 0;
  DWORD read = 0;
  if (!g_platform.fileSystem->ReadFile(f->file, f->input.data(), kChunk, &read, nullptr)) {
    f->input.clear();
    return false;
  }
  f->input.resize(std::min(read, kChunk));
  if (read == 0) f->endOfInput = true;
  return true;
}

HANDLE PortableLzLibrary::OpenNamed(const char* name, WORD style, OFSTRUCT* info) {
  std::memset(info, 0, sizeof *info);
  info->cBytes = sizeof *info;
  // The full path goes into the reopen buffer, so lz32 refuses one that does not fit there.
  size_t length = std::strlen(name);
  if (length >= OFS_MAXPATHNAME) {
    info->nErrCode = kErrorInvalidData;
    return INVALID_HANDLE_VALUE;
  }
  for (size_t i = 0; i <= length; ++i) info->szPathName[i] = name[i] == '/' ? '\\' : name[i];
  FileSystem* fs = g_platform.fileSystem;
  HANDLE file;
  if (style & OF_CREATE)
    file = fs->CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  else if (style & (OF_WRITE | OF_READWRITE))
    file = fs->CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  else
    file = fs->CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (file == INVALID_HANDLE_VALUE) info->nErrCode = ERROR_FILE_NOT_FOUND;
  return file;
}

INT PortableLzLibrary::LZOpenFileA(LPSTR fileName, LPOFSTRUCT reOpenBuf, WORD style) {
  OFSTRUCT unused;
  if (reOpenBuf == nullptr) reOpenBuf = &unused;
  std::memset(reOpenBuf, 0, sizeof *reOpenBuf);
  reOpenBuf->cBytes = sizeof *reOpenBuf;
  FileSystem* fs = g_platform.fileSystem;
  if (fileName == nullptr || fs == nullptr) return LZERROR_BADINHANDLE;
  auto f = std::make_unique<LzFile>();
  f->writing = (style & (OF_CREATE | OF_WRITE | OF_READWRITE)) != 0;
  f->file = OpenNamed(fileName, style, reOpenBuf);
  if (f->file == INVALID_HANDLE_VALUE) {
    // As lz32 does: the compressed name in its place, even for a file being created.
    std::string fallback(std::strlen(fileName) + 3, '\0');
    if (LzFallbackName(fileName, &fallback[0], fallback.size()))
      f->file = OpenNamed(fallback.c_str(), style, reOpenBuf);
    if (f->file == INVALID_HANDLE_VALUE) return LZERROR_BADINHANDLE;
  }
  if (!f->writing) {
    // Probe for the header. Fewer than 14 bytes, or no signature: a plain file, whose
    // probed bytes are handed out first.
    f->input.resize(kSzddHeaderSize);
    DWORD have = 0;
    while (have < kSzddHeaderSize) {
      DWORD read = 0;
      if (!fs->ReadFile(f->file, f->input.data() + have, DWORD(kSzddHeaderSize) - have, &read, nullptr)) {
        fs->CloseHandle(f->file);
        return LZERROR_READ;
      }
      if (read == 0) break;
      have += std::min<DWORD>(read, DWORD(kSzddHeaderSize) - have);
    }
    f->input.resize(have);
    SzddHeader header;
    if (ReadSzddHeader(f->input.data(), f->input.size(), &header)) {
      if (header.method != kSzddMethodA) {
        fs->CloseHandle(f->file);
        return LZERROR_UNKNOWNALG;
      }
      f->compressed = true;
      f->input.clear();
    }
  }
  INT handle = nextHandle++;
  files[handle] = std::move(f);
  return handle;
}

INT PortableLzLibrary::LZRead(INT file, char* buffer, INT count) {
  LzFile* f = Find(file);
  if (f == nullptr || f->writing) return LZERROR_BADINHANDLE;
  if (count < 0 || (buffer == nullptr && count > 0)) return LZERROR_BADVALUE;
  uint8_t* out = reinterpret_cast<uint8_t*>(buffer);
  size_t want = size_t(count);
  size_t done = 0;
  if (!f->compressed) {
    size_t probed = std::min(want, f->input.size() - f->inputAt);
    if (probed != 0) std::memcpy(out, f->input.data() + f->inputAt, probed);
    f->inputAt += probed;
    done = probed;
    while (done < want) {
      DWORD read = 0;
      DWORD ask = DWORD(std::min<size_t>(want - done, 0x7FFFFFFF));
      if (!g_platform.fileSystem->ReadFile(f->file, out + done, ask, &read, nullptr)) return LZERROR_READ;
      if (read == 0) break;
      done += std::min<size_t>(read, ask);
    }
    return INT(done);
  }
  while (done < want) {
    size_t used = 0;
    done += f->decoder.Decode(f->input.data() + f->inputAt, f->input.size() - f->inputAt, &used, out + done,
                              want - done);
    f->inputAt += used;
    if (done == want || f->endOfInput) break;
    if (!Refill(f)) return LZERROR_READ;
  }
  return INT(done);
}

LONG PortableLzLibrary::LZCopy(INT source, INT destination) {
  LzFile* from = Find(source);
  LzFile* to = Find(destination);
  if (from == nullptr || from->writing) return LZERROR_BADINHANDLE;
  if (to == nullptr || !to->writing) return LZERROR_BADOUTHANDLE;
  char chunk[kChunk];
  LONG total = 0;
  for (;;) {
    INT n = LZRead(source, chunk, INT(sizeof chunk));
    if (n < 0) return n;
    if (n == 0) break;
    DWORD written = 0;
    if (!g_platform.fileSystem->WriteFile(to->file, chunk, DWORD(n), &written, nullptr) || written != DWORD(n))
      return LZERROR_WRITE;
    if (total > 0x7FFFFFFF - n) return LZERROR_WRITE;  // beyond what the result can report
    total += n;
  }
  return total;
}

void PortableLzLibrary::LZClose(INT file) {
  auto found = files.find(file);
  if (found == files.end()) return;
  if (g_platform.fileSystem != nullptr) g_platform.fileSystem->CloseHandle(found->second->file);
  files.erase(found);
}
