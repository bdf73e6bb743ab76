#include "platform/path_helpers.h"

#include <cstring>

#include "platform/platform.h"

namespace {

// Where the components of a path lie, before any is cut to its room.
struct PathParts {
  const char* drive;
  size_t driveLength;
  const char* folder;
  size_t folderLength;
  const char* fileName;
  size_t fileNameLength;
  const char* extension;
  size_t extensionLength;
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Whether c starts a two-byte character of the ANSI code page; its second byte may look like a
// backslash and never counts as one. No shell (as in a bare test) means a single-byte code page.
bool IsLeadByte(char c) {
  return g_platform.shell != nullptr && g_platform.shell->IsDBCSLeadByte(static_cast<BYTE>(c));
}

// The length of the character at text[at] among length bytes: 2 for a lead byte and its trail.
size_t CharacterLength(const char* text, size_t at, size_t length) {
  return IsLeadByte(text[at]) && at + 1 < length ? 2 : 1;
}

// How a folder text ends. A lead byte without its second byte would make one character of it
// and a backslash put behind it.
enum class Ending { Other, Backslash, Slash, LoneLeadByte };
Ending EndOf(const char* text, size_t length) {
  size_t last = 0;
  for (size_t at = 0; at < length; at += CharacterLength(text, at, length)) last = at;
  if (length == 0 || last != length - 1) return Ending::Other;
  if (IsLeadByte(text[last])) return Ending::LoneLeadByte;
  return text[last] == '\\' ? Ending::Backslash : text[last] == '/' ? Ending::Slash : Ending::Other;
}

PathParts FindParts(const char* path) {
  PathParts parts = {"", 0, "", 0, "", 0, "", 0};
  if (path == nullptr) return parts;
  const char* rest = path;
  if (path[0] != '\0' && !IsLeadByte(path[0]) && path[1] == ':') {
    parts.drive = path;
    parts.driveLength = 2;
    rest = path + 2;
  }
  const char* behindSeparator = nullptr;
  const char* lastDot = nullptr;
  const char* end = rest;
  for (; *end != '\0'; ++end) {
    if (IsLeadByte(*end) && end[1] != '\0')
      ++end;  // the character's second byte, whatever it looks like
    else if (IsSeparator(*end))
      behindSeparator = end + 1;
    else if (*end == '.')
      lastDot = end;
  }
  const char* name = rest;
  if (behindSeparator != nullptr) {
    parts.folder = rest;
    parts.folderLength = static_cast<size_t>(behindSeparator - rest);
    name = behindSeparator;
  }
  parts.fileName = name;
  if (lastDot != nullptr && lastDot >= name) {
    parts.fileNameLength = static_cast<size_t>(lastDot - name);
    parts.extension = lastDot;
    parts.extensionLength = static_cast<size_t>(end - lastDot);
  } else {
    parts.fileNameLength = static_cast<size_t>(end - name);
  }
  return parts;
}

// Copies length bytes of text, cut to what capacity holds with its terminator; a two-byte
// character that would be cut in half is left out whole.
void CopyCut(char* out, size_t capacity, const char* text, size_t length) {
  if (out == nullptr) return;
  if (length > capacity - 1) {
    size_t kept = 0;
    while (kept < capacity - 1) {
      size_t next = kept + CharacterLength(text, kept, length);
      if (next > capacity - 1) break;
      kept = next;
    }
    length = kept;
  }
  std::memcpy(out, text, length);
  out[length] = '\0';
}

// Appends text to a path being built; false when it would pass the path's room.
bool Append(char* path, size_t* length, const char* text, size_t count) {
  if (count > static_cast<size_t>(kPathCapacity) - 1 - *length) return false;
  std::memcpy(path + *length, text, count);
  *length += count;
  return true;
}

}  // namespace

void SplitPath(const char* path, char* drive, char* folder, char* fileName, char* extension) {
  PathParts parts = FindParts(path);
  CopyCut(drive, kDriveCapacity, parts.drive, parts.driveLength);
  CopyCut(folder, kComponentCapacity, parts.folder, parts.folderLength);
  CopyCut(fileName, kComponentCapacity, parts.fileName, parts.fileNameLength);
  CopyCut(extension, kComponentCapacity, parts.extension, parts.extensionLength);
}

bool PathComponentsFit(const char* path) {
  PathParts parts = FindParts(path);
  const size_t room = kComponentCapacity - 1;
  return parts.folderLength <= room && parts.fileNameLength <= room && parts.extensionLength <= room;
}

bool EndsInBackslash(const char* text) {
  return text != nullptr && EndOf(text, std::strlen(text)) == Ending::Backslash;
}

bool MakePath(char* out, const char* drive, const char* folder, const char* fileName, const char* extension) {
  if (out == nullptr) return false;
  // Built aside, so that an input that is also the output is read whole before it is replaced.
  char path[kPathCapacity];
  size_t length = 0;
  bool fits = true;
  if (drive != nullptr && drive[0] != '\0') fits = Append(path, &length, drive, 1) && Append(path, &length, ":", 1);
  if (fits && folder != nullptr && folder[0] != '\0') {
    size_t folderLength = std::strlen(folder);
    Ending ending = EndOf(folder, folderLength);
    fits = ending != Ending::LoneLeadByte && Append(path, &length, folder, folderLength);
    if (fits && ending == Ending::Other) fits = Append(path, &length, "\\", 1);
  }
  if (fits && fileName != nullptr) fits = Append(path, &length, fileName, std::strlen(fileName));
  if (fits && extension != nullptr) {
    if (extension[0] != '\0' && extension[0] != '.') fits = Append(path, &length, ".", 1);
    if (fits) fits = Append(path, &length, extension, std::strlen(extension));
  }
  if (!fits) {
    out[0] = '\0';
    return false;
  }
  path[length] = '\0';
  std::memcpy(out, path, length + 1);
  return true;
}

bool MakeFilePath(char* out, const char* folder, const char* name) {
  if (out == nullptr) return false;
  // A component cut to its room would name another file: such a path is refused, not shortened.
  if (!PathComponentsFit(name)) {
    out[0] = '\0';
    return false;
  }
  char fileName[kComponentCapacity];
  char extension[kComponentCapacity];
  SplitPath(name, nullptr, nullptr, fileName, extension);

  char joined[kPathCapacity];
  size_t length = 0;
  bool fits = true;
  if (folder != nullptr && folder[0] != '\0') {
    size_t folderLength = std::strlen(folder);
    Ending ending = EndOf(folder, folderLength);
    fits = ending != Ending::LoneLeadByte && Append(joined, &length, folder, folderLength);
    // Only a backslash counts as the end of the folder here.
    if (fits && ending != Ending::Backslash) fits = Append(joined, &length, "\\", 1);
  }
  if (fits) {
    joined[length] = '\0';
    fits = PathComponentsFit(joined);
  }
  if (!fits) {
    out[0] = '\0';
    return false;
  }
  char drive[kDriveCapacity];
  char folderPart[kComponentCapacity];
  SplitPath(joined, drive, folderPart, nullptr, nullptr);
  return MakePath(out, drive, folderPart, fileName, extension);
}
