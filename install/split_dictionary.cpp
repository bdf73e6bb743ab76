#include "install/split_dictionary.h"

#include <cstring>
#include <memory>
#include <new>

#include "office/custom_dictionaries.h"
#include "platform/number_text.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"

namespace {

// A line unit is at most this wide (one character of the widest text encoding).
constexpr DWORD kMaxLineUnit = 4;

bool WriteAll(HANDLE file, const char* data, DWORD count) {
  DWORD written = 0;
  return g_platform.fileSystem->WriteFile(file, data, count, &written, nullptr) && written == count;
}

// A line unit that is a line feed: 0x0A followed by zero bytes (so it also serves wide text).
bool IsLineFeed(const char* unit, DWORD width) {
  if (unit[0] != '\n') return false;
  for (DWORD i = 1; i < width; ++i)
    if (unit[i] != '\0') return false;
  return true;
}

void WriteHeader(InstallLog* log) {
  if (log == nullptr) return;
  for (const char* line : kSplitHeaderLines) log->Write(line);
}

}  // namespace

DWORD MaxPieceCount(DWORD expandedLength, DWORD pieceSize) {
  // Every piece but the last holds at least the whole blocks that reach the piece size.
  DWORD blocks = pieceSize / kSplitBlockSize + (pieceSize % kSplitBlockSize != 0 ? 1 : 0);
  if (blocks == 0) blocks = 1;
  DWORD fullPiece = blocks * kSplitBlockSize;
  return expandedLength / fullPiece + 2;
}

bool SplitDictionary(INT source, const char* folder, const char* prefix, DWORD pieceSize, DWORD lineUnit,
                     InstallLog* log, DWORD expectedLength) {
  if (lineUnit == 0) lineUnit = 1;
  if (lineUnit > kMaxLineUnit) lineUnit = kMaxLineUnit;
  if (folder == nullptr) folder = "";
  if (prefix == nullptr) prefix = "";

  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kSplitBlockSize]);
  WriteHeader(log);

  int number = 1;
  bool done = false;
  bool allWritten = true;
  DWORD total = 0;
  while (true) {
    char name[kPathCapacity];
    char path[kPathCapacity];
    int nameLength = FormatNumberedName(name, sizeof name, prefix, static_cast<unsigned long>(number), ".dic");
    bool named = nameLength > 0 && nameLength < static_cast<int>(sizeof name);
    // An empty folder would put the piece into whatever the current folder is.
    if (!named || folder[0] == '\0' || !MakeFilePath(path, folder, name)) {
      WriteErrorLine(log, folder, named ? name : prefix);
      return false;
    }
    if (!buffer) {
      // No read buffer: nothing can be split, and nothing is written.
      WriteErrorLine(log, nullptr, path);
      return false;
    }
    HANDLE piece = g_platform.fileSystem->CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (piece == INVALID_HANDLE_VALUE || piece == nullptr) {
      WriteErrorLine(log, nullptr, path);
      return false;
    }

    bool pieceWritten = true;
    DWORD count = 0;
    // Block phase: whole blocks until the piece reaches its size.
    while (!done) {
      INT read = g_platform.lzLibrary->LZRead(source, buffer.get(), static_cast<INT>(kSplitBlockSize));
      if (read < 0) {
        done = true;
        pieceWritten = false;
        break;
      }
      DWORD got = static_cast<DWORD>(read);
      count += got;
      total += got;
      if (got < kSplitBlockSize) done = true;
      if (got == 0) break;
      if (!WriteAll(piece, buffer.get(), got)) {
        done = true;
        pieceWritten = false;
        break;
      }
      if (count >= pieceSize) break;
    }
    // Line phase: one unit at a time up to and including the next line feed.
    while (!done) {
      INT read = g_platform.lzLibrary->LZRead(source, buffer.get(), static_cast<INT>(lineUnit));
      if (read <= 0) {
        done = true;
        if (read < 0) pieceWritten = false;
        break;
      }
      DWORD got = static_cast<DWORD>(read);
      total += got;
      if (!WriteAll(piece, buffer.get(), got)) {
        done = true;
        pieceWritten = false;
        break;
      }
      if (got < lineUnit) {
        done = true;
        break;
      }
      if (IsLineFeed(buffer.get(), lineUnit)) break;
    }
    // The data ended before the length the item promised: the last piece is short.
    if (done && pieceWritten && expectedLength != kUnknownLength && total != expectedLength) pieceWritten = false;

    // Word is told about the piece before its file is closed; a piece not written whole is never registered.
    if (pieceWritten) RegisterDictionary(path, name);
    g_platform.fileSystem->CloseHandle(piece);
    if (pieceWritten) {
      if (log != nullptr) {
        log->Write(path);
        log->Write(" - installed\r\n");
      }
    } else {
      WriteErrorLine(log, nullptr, path);
      allWritten = false;
      break;
    }
    ++number;
    if (done) break;
  }
  return allWritten;
}
