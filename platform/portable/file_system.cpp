#include "platform/portable/file_system.h"

#include "platform/portable/ansi_case.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Win32 error codes the header of types does not need to carry.
enum : DWORD { kErrorTooManyOpenFiles = 4, kErrorGenFailure = 31, kErrorBufferOverflow = 111, kErrorDiskFull = 112 };
enum : DWORD { kErrorDirectory = 267 };

constexpr uintptr_t kFirstHandle = 0x100;
constexpr UINT kLastUnique = 0xFFFF;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsValidNameChar(unsigned char c) { return c >= 32 && !std::strchr("<>:\"|?*", c); }

std::string JoinHost(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string HostParent(const std::string& hostPath) {
  size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

bool IsHostFolder(const std::string& hostPath) {
  struct stat info;
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The Win32 code for a failed host call: a missing name is "file not found" when its
// folder exists and "path not found" when the folder itself is missing.
DWORD ErrorFromErrno(int error, const std::string& hostPath) {
  switch (error) {
    case ENOENT: return IsHostFolder(HostParent(hostPath)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOSPC: return kErrorDiskFull;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    default: return kErrorGenFailure;
  }
}

}  // namespace

PortableFileSystem::PortableFileSystem()
    : currentFolder("C:\\"), nextHandle(kFirstHandle), nextUnique(1), lastError(ERROR_SUCCESS) {
  SetTempFolder(kDefaultTempFolder);
}

PortableFileSystem::~PortableFileSystem() {
  for (auto& entry : handles) close(entry.second.descriptor);
}

void PortableFileSystem::MapDrive(char letter, const std::string& hostFolder) {
  char drive = static_cast<char>(FoldAnsiCase(static_cast<unsigned char>(letter)));
  if (drive < 'A' || drive > 'Z') return;
  if (hostFolder.empty()) {
    drives.erase(drive);
    return;
  }
  std::string folder = hostFolder;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  drives[drive] = folder;
}

bool PortableFileSystem::SetCurrentFolder(const std::string& windowsFolder) {
  WindowsPath parsed;
  std::string host;
  if (!Resolve(windowsFolder.c_str(), &parsed, &host)) return false;
  if (!IsHostFolder(host)) return Fail(ERROR_PATH_NOT_FOUND, false);
  std::string folder(1, parsed.drive);
  folder += ":\\";
  for (size_t i = 0; i < parsed.components.size(); ++i) {
    if (i > 0) folder += '\\';
    folder += parsed.components[i];
  }
  currentFolder = folder;
  return true;
}

void PortableFileSystem::SetTempFolder(const std::string& windowsFolder) {
  tempFolder = windowsFolder;
  if (tempFolder.empty() || !IsSeparator(tempFolder.back())) tempFolder += '\\';
}

bool PortableFileSystem::ParseWindowsPath(const char* path, WindowsPath* parsed) const {
  if (path == nullptr) return Fail(ERROR_INVALID_PARAMETER, false);
  size_t length = std::strlen(path);
  if (length == 0) return Fail(ERROR_PATH_NOT_FOUND, false);
  if (length >= MAX_PATH) return Fail(ERROR_FILENAME_EXCED_RANGE, false);
  // Make the path absolute: "X:\..." stays, "\..." takes the current drive,
  // "X:name" and "name" start from the current folder (of that drive).
  std::string full;
  char currentDrive = static_cast<char>(FoldAnsiCase(static_cast<unsigned char>(currentFolder[0])));
  if (length >= 2 && path[1] == ':') {
    char drive = static_cast<char>(FoldAnsiCase(static_cast<unsigned char>(path[0])));
    if (drive < 'A' || drive > 'Z') return Fail(ERROR_INVALID_NAME, false);
    if (IsSeparator(path[2]))
      full = path;
    else if (drive == currentDrive)
      full = currentFolder + "\\" + (path + 2);
    else
      full = std::string(1, drive) + ":\\" + (path + 2);
  } else if (IsSeparator(path[0])) {
    if (IsSeparator(path[1])) {  // network names have no place in the drive map
      lastError = ERROR_PATH_NOT_FOUND;
      return false;
    }
    full = std::string(1, currentDrive) + ":" + path;
  } else {
    full = currentFolder + "\\" + path;
  }
  if (full.size() >= MAX_PATH) return Fail(ERROR_FILENAME_EXCED_RANGE, false);

  parsed->drive = static_cast<char>(FoldAnsiCase(static_cast<unsigned char>(full[0])));
  parsed->components.clear();
  parsed->endsInSeparator = IsSeparator(full.back());
  size_t position = 2;
  while (position < full.size()) {
    while (position < full.size() && IsSeparator(full[position])) ++position;
    size_t end = position;
    while (end < full.size() && !IsSeparator(full[end])) ++end;
    if (end == position) break;
    std::string name = full.substr(position, end - position);
    position = end;
    if (name == ".") continue;
    if (name == "..") {
      if (!parsed->components.empty()) parsed->components.pop_back();
      continue;
    }
    // Windows drops trailing dots and blanks from every name.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) return Fail(ERROR_INVALID_NAME, false);
    for (char c : name) {
      if (!IsValidNameChar(static_cast<unsigned char>(c))) return Fail(ERROR_INVALID_NAME, false);
    }
    parsed->components.push_back(name);
  }
  return true;
}

bool PortableFileSystem::ResolveParsed(const WindowsPath& parsed, std::string* hostPath) const {
  auto drive = drives.find(parsed.drive);
  if (drive == drives.end()) return Fail(ERROR_PATH_NOT_FOUND, false);
  std::string host = drive->second;
  bool searching = true;  // once a name is missing, the names below it are kept as given
  for (const std::string& name : parsed.components) {
    std::string chosen = name;
    if (searching) {
      struct stat info;
      if (lstat(JoinHost(host, name).c_str(), &info) != 0) {
        // Several host names may differ only in case; take the first in byte order.
        std::string best;
        if (DIR* folder = opendir(host.c_str())) {
          while (const dirent* entry = readdir(folder)) {
            std::string candidate = entry->d_name;
            if (EqualAnsiNoCase(candidate, name) && (best.empty() || candidate < best)) best = candidate;
          }
          closedir(folder);
        }
        if (best.empty())
          searching = false;
        else
          chosen = best;
      }
    }
    host = JoinHost(host, chosen);
  }
  *hostPath = host;
  return true;
}

bool PortableFileSystem::Resolve(const char* path, WindowsPath* parsed, std::string* hostPath) {
  return ParseWindowsPath(path, parsed) && ResolveParsed(*parsed, hostPath);
}

bool PortableFileSystem::HostPath(const char* windowsPath, std::string* hostPath) const {
  WindowsPath parsed;
  return ParseWindowsPath(windowsPath, &parsed) && ResolveParsed(parsed, hostPath);
}

bool PortableFileSystem::EnsureTempFolder() {
  WindowsPath parsed;
  if (!ParseWindowsPath(tempFolder.c_str(), &parsed)) return false;
  // Make each missing level, as a freshly installed system has it.
  WindowsPath level;
  level.drive = parsed.drive;
  std::string host;
  if (!ResolveParsed(level, &host)) return false;
  if (!IsHostFolder(host)) return Fail(ERROR_PATH_NOT_FOUND, false);
  for (const std::string& name : parsed.components) {
    level.components.push_back(name);
    if (!ResolveParsed(level, &host)) return false;
    if (IsHostFolder(host)) continue;
    if (mkdir(host.c_str(), 0777) != 0) return Fail(ErrorFromErrno(errno, host), false);
  }
  return true;
}

DWORD PortableFileSystem::GetFileAttributesA(LPCSTR path) {
  WindowsPath parsed;
  std::string host;
  if (!Resolve(path, &parsed, &host)) return INVALID_FILE_ATTRIBUTES;
  struct stat info;
  if (stat(host.c_str(), &info) != 0) return Fail(ErrorFromErrno(errno, host), INVALID_FILE_ATTRIBUTES);
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  if (parsed.endsInSeparator) {  // "file.txt\" names no file
    lastError = ERROR_INVALID_NAME;
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  if ((info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

DWORD PortableFileSystem::GetTempPathA(DWORD capacity, LPSTR buffer) {
  if (!EnsureTempFolder()) return 0;
  DWORD length = static_cast<DWORD>(tempFolder.size());
  if (buffer == nullptr || capacity < length + 1) return length + 1;  // the size it needs
  std::memcpy(buffer, tempFolder.c_str(), length + 1);
  return length;
}

UINT PortableFileSystem::GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  if (folder == nullptr || tempFileName == nullptr) {
    lastError = ERROR_INVALID_PARAMETER;
    if (tempFileName != nullptr) tempFileName[0] = '\0';
    return 0;
  }
  std::string base = folder;
  if (!base.empty() && !IsSeparator(base.back())) base += '\\';
  if (prefix != nullptr) base.append(prefix, strnlen(prefix, 3));
  // prefix, four hex digits, ".tmp" and the terminator must fit the caller's MAX_PATH buffer
  if (base.size() + 4 + 4 + 1 > MAX_PATH) {
    lastError = kErrorBufferOverflow;
    tempFileName[0] = '\0';
    return 0;
  }
  char name[MAX_PATH];
  if (unique != 0) {
    std::snprintf(name, sizeof name, "%s%04X.tmp", base.c_str(), unique & 0xFFFF);
    std::memcpy(tempFileName, name, std::strlen(name) + 1);
    return unique;
  }

  WindowsPath parsed;
  std::string hostFolder;
  if (!Resolve(folder, &parsed, &hostFolder)) {
    tempFileName[0] = '\0';
    return 0;
  }
  if (!IsHostFolder(hostFolder)) {
    struct stat info;
    lastError = stat(hostFolder.c_str(), &info) == 0 ? DWORD{kErrorDirectory} : ERROR_PATH_NOT_FOUND;
    tempFileName[0] = '\0';
    return 0;
  }
  DWORD error = ERROR_FILE_EXISTS;  // every number in use
  for (UINT tries = 0; tries < kLastUnique; ++tries) {
    UINT number = nextUnique;
    nextUnique = nextUnique >= kLastUnique ? 1 : nextUnique + 1;
    std::snprintf(name, sizeof name, "%s%04X.tmp", base.c_str(), number);
    WindowsPath fileParsed;
    std::string host;
    if (!Resolve(name, &fileParsed, &host)) {
      error = lastError;
      break;
    }
    int descriptor = open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      close(descriptor);
      std::memcpy(tempFileName, name, std::strlen(name) + 1);
      return number;
    }
    if (errno != EEXIST) {
      error = ErrorFromErrno(errno, host);
      break;
    }
  }
  lastError = error;
  tempFileName[0] = '\0';
  return 0;
}

bool PortableFileSystem::SharingAllows(dev_t device, ino_t inode, DWORD access, DWORD share) const {
  bool reads = (access & GENERIC_READ) != 0;
  bool writes = (access & GENERIC_WRITE) != 0;
  for (const auto& entry : handles) {
    const OpenFile& open = entry.second;
    if (open.device != device || open.inode != inode) continue;
    if (reads && !(open.share & FILE_SHARE_READ)) return false;
    if (writes && !(open.share & FILE_SHARE_WRITE)) return false;
    if ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

bool PortableFileSystem::IsOpen(dev_t device, ino_t inode, DWORD* sharedWith) const {
  bool found = false;
  DWORD shared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  for (const auto& entry : handles) {
    if (entry.second.device != device || entry.second.inode != inode) continue;
    found = true;
    shared &= entry.second.share;
  }
  *sharedWith = shared;
  return found;
}

HANDLE PortableFileSystem::CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void*, DWORD disposition,
                                       DWORD, HANDLE) {
  WindowsPath parsed;
  std::string host;
  if (!Resolve(path, &parsed, &host)) return INVALID_HANDLE_VALUE;
  if (parsed.components.empty() || parsed.endsInSeparator)
    return Fail(parsed.components.empty() ? ERROR_ACCESS_DENIED : ERROR_INVALID_NAME, INVALID_HANDLE_VALUE);
  // GENERIC_ALL stands for both directions.
  if (access & 0x10000000u) access |= GENERIC_READ | GENERIC_WRITE;
  access &= GENERIC_READ | GENERIC_WRITE;

  struct stat info;
  bool exists = stat(host.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
  if (!IsHostFolder(HostParent(host))) return Fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
  bool truncate = exists && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING);
  int flags = O_CLOEXEC;
  // Replacing a file opened for reading only still empties it, as on Windows.
  if (((access & GENERIC_READ) && (access & GENERIC_WRITE)) || (truncate && !(access & GENERIC_WRITE)))
    flags |= O_RDWR;
  else if (access & GENERIC_WRITE)
    flags |= O_WRONLY;
  else
    flags |= O_RDONLY;
  switch (disposition) {
    case CREATE_NEW:
      if (exists) return Fail(ERROR_FILE_EXISTS, INVALID_HANDLE_VALUE);
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS: flags |= O_CREAT; break;
    case OPEN_EXISTING:
      if (!exists) return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
      break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING:
      if (!exists) return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
      if (!(access & GENERIC_WRITE)) return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
      break;
    default: return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
  }
  // A file open elsewhere without the sharing this open needs is refused before anything changes.
  if (exists && !SharingAllows(info.st_dev, info.st_ino, access, shareMode))
    return Fail(ERROR_SHARING_VIOLATION, INVALID_HANDLE_VALUE);
  int descriptor = open(host.c_str(), flags, 0666);
  if (descriptor < 0) return Fail(ErrorFromErrno(errno, host), INVALID_HANDLE_VALUE);
  if (truncate && ftruncate(descriptor, 0) != 0) {
    lastError = ErrorFromErrno(errno, host);
    close(descriptor);
    return INVALID_HANDLE_VALUE;
  }
  struct stat opened;
  if (fstat(descriptor, &opened) != 0) {
    lastError = kErrorGenFailure;
    close(descriptor);
    return INVALID_HANDLE_VALUE;
  }
  uintptr_t value = nextHandle;
  nextHandle += 4;
  handles[value] = OpenFile{descriptor, access, shareMode, opened.st_dev, opened.st_ino};
  // As Windows: success, but the last error tells that an existing file was opened.
  lastError = (exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS)) ? ERROR_ALREADY_EXISTS
                                                                                      : ERROR_SUCCESS;
  return reinterpret_cast<HANDLE>(value);
}

PortableFileSystem::OpenFile* PortableFileSystem::FindHandle(HANDLE handle) {
  auto entry = handles.find(reinterpret_cast<uintptr_t>(handle));
  if (entry == handles.end()) return Fail(ERROR_INVALID_HANDLE, nullptr);
  return &entry->second;
}

BOOL PortableFileSystem::ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* read, void*) {
  if (read != nullptr) *read = 0;
  OpenFile* open = FindHandle(file);
  if (open == nullptr) return FALSE;
  if (!(open->access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED, FALSE);
  if (buffer == nullptr && count > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  DWORD total = 0;
  while (total < count) {
    ssize_t got = ::read(open->descriptor, static_cast<char*>(buffer) + total, count - total);
    if (got < 0) {
      if (errno == EINTR) continue;
      lastError = kErrorGenFailure;
      if (read != nullptr) *read = total;
      return FALSE;
    }
    if (got == 0) break;
    total += static_cast<DWORD>(got);
  }
  if (read != nullptr) *read = total;
  return TRUE;
}

BOOL PortableFileSystem::WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void*) {
  if (written != nullptr) *written = 0;
  OpenFile* open = FindHandle(file);
  if (open == nullptr) return FALSE;
  if (!(open->access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED, FALSE);
  if (data == nullptr && count > 0) return Fail(ERROR_INVALID_PARAMETER, FALSE);
  DWORD total = 0;
  while (total < count) {
    ssize_t put = ::write(open->descriptor, static_cast<const char*>(data) + total, count - total);
    if (put < 0) {
      if (errno == EINTR) continue;
      lastError = errno == ENOSPC ? kErrorDiskFull : kErrorGenFailure;
      if (written != nullptr) *written = total;
      return FALSE;
    }
    total += static_cast<DWORD>(put);
  }
  if (written != nullptr) *written = total;
  return TRUE;
}

DWORD PortableFileSystem::GetFileSize(HANDLE file, DWORD* sizeHigh) {
  OpenFile* open = FindHandle(file);
  if (open == nullptr) return INVALID_FILE_SIZE;
  struct stat info;
  if (fstat(open->descriptor, &info) != 0) return Fail(kErrorGenFailure, INVALID_FILE_SIZE);
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
  lastError = ERROR_SUCCESS;
  return static_cast<DWORD>(size);
}

BOOL PortableFileSystem::CloseHandle(HANDLE object) {
  OpenFile* open = FindHandle(object);
  if (open == nullptr) return FALSE;
  close(open->descriptor);
  handles.erase(reinterpret_cast<uintptr_t>(object));
  return TRUE;
}

BOOL PortableFileSystem::CreateDirectoryA(LPCSTR path, void*) {
  WindowsPath parsed;
  std::string host;
  if (!Resolve(path, &parsed, &host)) return FALSE;
  struct stat info;
  if (parsed.components.empty() || stat(host.c_str(), &info) == 0) return Fail(ERROR_ALREADY_EXISTS, FALSE);
  if (!IsHostFolder(HostParent(host))) return Fail(ERROR_PATH_NOT_FOUND, FALSE);
  if (mkdir(host.c_str(), 0777) != 0)
    return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno, host), FALSE);
  return TRUE;
}

BOOL PortableFileSystem::DeleteFileA(LPCSTR path) {
  WindowsPath parsed;
  std::string host;
  if (!Resolve(path, &parsed, &host)) return FALSE;
  struct stat info;
  if (stat(host.c_str(), &info) != 0) return Fail(ErrorFromErrno(errno, host), FALSE);
  if (S_ISDIR(info.st_mode) || parsed.endsInSeparator)
    return Fail(S_ISDIR(info.st_mode) ? ERROR_ACCESS_DENIED : ERROR_INVALID_NAME, FALSE);
  DWORD shared = 0;
  if (IsOpen(info.st_dev, info.st_ino, &shared) && !(shared & FILE_SHARE_DELETE))
    return Fail(ERROR_SHARING_VIOLATION, FALSE);
  if (unlink(host.c_str()) != 0) return Fail(ErrorFromErrno(errno, host), FALSE);
  return TRUE;
}
