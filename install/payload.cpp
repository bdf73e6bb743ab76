#include "install/payload.h"

#include <cstring>

#include "install/install_sequence.h"
#include "install/split_dictionary.h"
#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"
#include "resources/szdd_format.h"

namespace {

struct CarriedItem {
  const unsigned char* bytes = nullptr;
  DWORD size = 0;
};

// The item's stored bytes; false when this build does not carry it.
bool FindItem(const char* itemName, CarriedItem* item) {
  ResourceStore* resources = g_platform.resources;
  HRSRC found = resources->FindResourceA(nullptr, itemName, RT_RCDATA);
  if (found == nullptr) return false;
  DWORD size = resources->SizeofResource(nullptr, found);
  HGLOBAL loaded = resources->LoadResource(nullptr, found);
  if (loaded == nullptr) return false;
  const void* bytes = resources->LockResource(loaded);
  if (bytes == nullptr) return false;
  item->bytes = static_cast<const unsigned char*>(bytes);
  item->size = size;
  return true;
}

// What LZ expansion of the item yields: the SZDD header's length, or the bytes as stored.
DWORD ExpandedSize(const CarriedItem& item) {
  SzddHeader header;
  if (!ReadSzddHeader(item.bytes, item.size, &header)) return item.size;
  return header.expandedLength;
}

void WriteTempError(InstallLog* log, const char* fileName) {
  if (log == nullptr) return;
  log->Write("Error writing ");
  log->Write(fileName);
  log->Write(" Could not write temporary file. \r\n\r\n");
}

// The destination holds exactly `expected` bytes. lz32 reports what it wrote, but a truncated
// stream expands "successfully" to fewer bytes, and a backend may lose a write it did not check;
// looking at the file itself after it is closed covers both.
bool FileHasSize(const char* path, DWORD expected) {
  FileSystem* files = g_platform.fileSystem;
  DWORD attributes = files->GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  HANDLE file = files->CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return false;
  DWORD high = 0;
  DWORD size = files->GetFileSize(file, &high);
  files->CloseHandle(file);
  return size == expected && high == 0;
}

// Whether the LZ library opened the file it was asked for. It reports the full path it opened, which
// may spell the folder otherwise, and the name in another case; only the file name differs when it fell
// back to the compressed name.
bool OpenedAsNamed(OFSTRUCT* info, const char* path) {
  char opened[2][kComponentCapacity], named[2][kComponentCapacity];
  info->szPathName[OFS_MAXPATHNAME - 1] = '\0';
  SplitPath(info->szPathName, nullptr, nullptr, opened[0], opened[1]);
  SplitPath(path, nullptr, nullptr, named[0], named[1]);
  for (int part = 0; part < 2; ++part) {
    // Of equal length, one contains the other only when they are the same.
    if (std::strlen(opened[part]) != std::strlen(named[part]) || !ContainsNoCase(opened[part], named[part]))
      return false;
  }
  return true;
}

// Whether path can be opened for writing (made, empty, when it is not there).
bool CanWrite(const char* path) {
  FileSystem* files = g_platform.fileSystem;
  HANDLE file = files->CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return false;
  files->CloseHandle(file);
  return true;
}

// Expands the open source into destination; true when all of it arrived. When lz32 cannot create the
// destination it creates the compressed name beside it (Readme.ht_ for Readme.htm) instead: a file the
// install never names, which goes again. One that was there before is not the install's to remove, nor
// to empty: then the destination is tried first, and lz32 is not asked when it cannot be written.
bool ExpandInto(INT source, char* destination, DWORD expected) {
  LzLibrary* lz = g_platform.lzLibrary;
  FileSystem* files = g_platform.fileSystem;
  char fallback[kPathCapacity + 2];
  bool fallbackNamed = LzFallbackName(destination, fallback, sizeof fallback);
  bool fallbackThere = fallbackNamed && files->GetFileAttributesA(fallback) != INVALID_FILE_ATTRIBUTES;
  bool destinationThere = files->GetFileAttributesA(destination) != INVALID_FILE_ATTRIBUTES;
  if (fallbackThere && !CanWrite(destination)) return false;
  OFSTRUCT destinationInfo;
  std::memset(&destinationInfo, 0, sizeof destinationInfo);
  INT target = lz->LZOpenFileA(destination, &destinationInfo, OF_CREATE | OF_WRITE);
  if (target < 0) {
    if (fallbackThere && !destinationThere) files->DeleteFileA(destination);  // made by the check above
    return false;
  }
  if (!OpenedAsNamed(&destinationInfo, destination)) {
    lz->LZClose(target);
    if (fallbackNamed && !fallbackThere && OpenedAsNamed(&destinationInfo, fallback)) files->DeleteFileA(fallback);
    return false;
  }
  LONG copied = lz->LZCopy(source, target);
  lz->LZClose(target);
  return copied >= 0 && static_cast<DWORD>(copied) == expected && FileHasSize(destination, expected);
}

}  // namespace

DWORD ItemExpandedSize(const char* itemName) {
  CarriedItem item;
  if (!FindItem(itemName, &item)) return 0;
  return ExpandedSize(item);
}

ExpandStatus ExpandPayloadItem(const char* itemName, const char* folder, const char* fileName, InstallLog* log,
                               bool split) {
  CarriedItem item;
  if (!FindItem(itemName, &item)) return ExpandStatus::ItemMissing;
  if (folder == nullptr) folder = "";
  if (fileName == nullptr) fileName = "";

  // An empty folder would make the destination a bare name in the current folder; a path that
  // does not fit its buffer would be cut into another path. Neither is written.
  char destination[kPathCapacity] = "";
  if (!split && (folder[0] == '\0' || !MakeFilePath(destination, folder, fileName))) {
    WriteErrorLine(log, folder, fileName);
    return ExpandStatus::Failed;
  }

  FileSystem* files = g_platform.fileSystem;
  char tempFolder[kPathCapacity] = "";
  DWORD tempLength = files->GetTempPathA(kPathCapacity, tempFolder);
  if (tempLength == 0 || tempLength >= kPathCapacity) {
    WriteTempError(log, fileName);
    return ExpandStatus::Failed;
  }
  char tempPath[kPathCapacity] = "";
  if (files->GetTempFileNameA(tempFolder, "vsq", 0, tempPath) == 0 || tempPath[0] == '\0') {
    WriteTempError(log, fileName);
    return ExpandStatus::Failed;
  }
  // From here on the temporary file exists and is deleted on every way out. A file that could not be
  // staged is not installed, so it gets the temporary-file error line rather than passing unnoticed.
  HANDLE temp = files->CreateFileA(tempPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (temp == INVALID_HANDLE_VALUE || temp == nullptr) {
    files->DeleteFileA(tempPath);
    WriteTempError(log, fileName);
    return ExpandStatus::Failed;
  }
  DWORD written = 0;
  BOOL stored = files->WriteFile(temp, item.bytes, item.size, &written, nullptr);
  files->CloseHandle(temp);
  if (!stored || written != item.size) {
    files->DeleteFileA(tempPath);
    WriteTempError(log, fileName);
    return ExpandStatus::Failed;
  }

  DWORD expected = ExpandedSize(item);
  LzLibrary* lz = g_platform.lzLibrary;
  OFSTRUCT sourceInfo;
  std::memset(&sourceInfo, 0, sizeof sourceInfo);
  INT source = lz->LZOpenFileA(tempPath, &sourceInfo, OF_READ);
  if (source >= 0 && !OpenedAsNamed(&sourceInfo, tempPath)) {  // never another file's bytes
    lz->LZClose(source);
    source = LZERROR_BADINHANDLE;
  }
  bool complete = false;
  if (split) {
    if (source >= 0) {
      complete = SplitDictionary(source, folder, fileName, kDictionaryPieceSize, kDictionaryLineUnit, log, expected);
    } else {
      WriteTempError(log, fileName);
    }
  } else {
    complete = source >= 0 && ExpandInto(source, destination, expected);
    if (complete) {
      if (log != nullptr) {
        log->Write(destination);
        log->Write(" - installed.\r\n");
      }
    } else {
      WriteErrorLine(log, nullptr, destination);
    }
  }
  if (source >= 0) lz->LZClose(source);
  files->DeleteFileA(tempPath);
  return complete ? ExpandStatus::Installed : ExpandStatus::Failed;
}

bool ExpandItem(const char* itemName, const char* folder, const char* fileName, InstallLog* log, bool split) {
  return ExpandPayloadItem(itemName, folder, fileName, log, split) != ExpandStatus::Failed;
}

bool InstallDictionary(const char* itemName, const char* fileName, const char* piecePrefix, InstallLog* log) {
  if (g_officeInfo.OldestVersion() >= 9) {
    ExpandStatus status = ExpandPayloadItem(itemName, g_dictionaryFolder, fileName, log, false);
    // Word is told only about a dictionary that is really there.
    char path[kPathCapacity];
    if (status == ExpandStatus::Installed && MakeFilePath(path, g_dictionaryFolder, fileName))
      RegisterDictionary(path, fileName);
    return status != ExpandStatus::Failed;
  }
  return ExpandPayloadItem(itemName, g_dictionaryFolder, piecePrefix, log, true) != ExpandStatus::Failed;
}
