#include "install/install_sequence.h"

#include <cstring>

#include "install/install_log.h"
#include "install/install_table.h"
#include "install/payload.h"
#include "install/shortcuts.h"
#include "install/split_dictionary.h"
#include "office/custom_dictionaries.h"
#include "office/office_info.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"

namespace {

const char kDefaultTemplatesFolder[] = "C:\\Program Files\\Microsoft Office\\Templates\\";
const char kDefaultInstallFolder[] = "C:\\Program Files";
const char kProductFolderName[] = "Vessora";
const char kClosingComplete[] = "Shortcuts written to Start |Programs\r\n\r\nInstallation complete.\r\n";
const char kClosingWithErrors[] = "Installation finished with errors.\r\n";

size_t TextLength(const char* text) { return strnlen(text, kPathCapacity); }

// Length of folder joined with a name of nameLength characters, as MakeFilePath joins them.
size_t JoinedLength(const char* folder, size_t nameLength) {
  size_t length = TextLength(folder);
  return length + (EndsInBackslash(folder) ? 0 : 1) + nameLength;
}

size_t DecimalDigits(DWORD number) {
  size_t digits = 1;
  while (number >= 10) {
    number /= 10;
    ++digits;
  }
  return digits;
}

// The longest name the install puts into the dictionary folder: the whole file, or the last piece.
size_t LongestDictionaryName(Edition edition) {
  size_t longest = 0;
  bool whole = g_officeInfo.OldestVersion() >= 9;
  for (int i = 0; i < kInstallTableRows; ++i) {
    const InstallRow& row = kInstallTable[i];
    if (!RowApplies(row.edition, edition) || row.folder != InstallFolderDictionary) continue;
    size_t length = std::strlen(row.fileName);
    if (!whole && row.piecePrefix != nullptr) {
      DWORD pieces = MaxPieceCount(ItemExpandedSize(row.itemName), kDictionaryPieceSize);
      length = std::strlen(row.piecePrefix) + DecimalDigits(pieces) + std::strlen(".dic");
    }
    if (length > longest) longest = length;
  }
  return longest;
}

size_t LongestProductName(Edition edition) {
  size_t longest = std::strlen(kInstallLogFileName);
  for (int i = 0; i < kInstallTableRows; ++i) {
    const InstallRow& row = kInstallTable[i];
    if (RowApplies(row.edition, edition) && row.folder == InstallFolderProduct && std::strlen(row.fileName) > longest)
      longest = std::strlen(row.fileName);
  }
  return longest;
}

bool CopyText(char* out, const char* text) {
  size_t length = TextLength(text);
  if (length >= static_cast<size_t>(kPathCapacity)) return false;
  std::memcpy(out, text, length);
  out[length] = '\0';
  return true;
}

bool InstallRowOf(const InstallRow& row, InstallLog* log) {
  if (row.piecePrefix != nullptr) return InstallDictionary(row.itemName, row.fileName, row.piecePrefix, log);
  return ExpandItem(row.itemName, InstallFolderText(row.folder), row.fileName, log, false);
}

// Makes one shortcut of the table in the shortcut folder; false when it was not saved.
bool MakeShortcut(const ShortcutRow& row, const char* shortcutFolder, InstallLog* log) {
  char linkPath[kPathCapacity];
  // No Programs folder: the link would land in the current folder under its bare name.
  if (shortcutFolder[0] == '\0' || !MakeFilePath(linkPath, shortcutFolder, row.linkName)) {
    WriteErrorLine(log, shortcutFolder, row.linkName);
    return false;
  }
  char target[kPathCapacity];
  const char* folder = InstallFolderText(row.targetFolder);
  bool targetFormed = folder[0] != '\0' &&
                      (row.targetName != nullptr ? MakeFilePath(target, folder, row.targetName) : CopyText(target, folder));
  if (!targetFormed || FAILED(CreateShortcut(target, linkPath, row.description))) {
    WriteErrorLine(log, nullptr, linkPath);
    return false;
  }
  return true;
}

// Both folder texts are given, and every path the install builds from them fits its buffer.
bool InstallFoldersUsable(Edition edition) {
  if (g_installFolder[0] == '\0' || g_dictionaryFolder[0] == '\0') return false;
  const size_t kLongest = kPathCapacity - 1;
  size_t productLength = JoinedLength(g_installFolder, std::strlen(kProductFolderName));
  if (productLength > kLongest) return false;
  // The product folder never ends in a backslash, so each name adds one.
  if (productLength + 1 + LongestProductName(edition) > kLongest) return false;
  return JoinedLength(g_dictionaryFolder, LongestDictionaryName(edition)) <= kLongest;
}

// productFolder (kPathCapacity bytes) := chosenFolder, a backslash unless it ends in one, and "Vessora";
// the folder is made (its last level only). True when it exists afterwards.
bool MakeProductFolder(const char* chosenFolder, char* productFolder) {
  size_t length = TextLength(chosenFolder);
  // No chosen folder would put the product folder at the root of the current drive.
  if (length == 0) return false;
  size_t separator = EndsInBackslash(chosenFolder) ? 0 : 1;
  if (length + separator + std::strlen(kProductFolderName) >= static_cast<size_t>(kPathCapacity)) return false;
  std::memcpy(productFolder, chosenFolder, length);
  if (separator != 0) productFolder[length++] = '\\';
  std::memcpy(productFolder + length, kProductFolderName, sizeof kProductFolderName);

  FileSystem* files = g_platform.fileSystem;
  files->CreateDirectoryA(productFolder, nullptr);
  // It may have existed already; what counts is that it is there now.
  DWORD attributes = files->GetFileAttributesA(productFolder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Everything after the folder checks: Word's folders, the log, the table's rows and the shortcuts.
// The number of rows and shortcuts not written completely.
int InstallProduct(Edition edition) {
  int failures = 0;
  g_officeInfo.GetTemplatesFolder(g_templatesFolder, kPathCapacity, g_officeInfo.CurrentVersion());

  InstallLog log;
  log.Open(g_installFolder);
  log.Write("Vessora Installation Log\r\n\r\n");
  log.Write("Vessora folder: ");
  log.Write(g_installFolder);
  log.Write("\r\n\r\n");

  if (edition == EditionProfessional)
    g_officeInfo.GetStartupFolder(g_startupFolder, kPathCapacity, g_officeInfo.CurrentVersion());
  for (int i = 0; i < kInstallTableRows; ++i) {
    if (RowApplies(kInstallTable[i].edition, edition) && !InstallRowOf(kInstallTable[i], &log)) ++failures;
  }

  char shortcutFolder[kPathCapacity] = "";
  CreateProgramsSubfolder("\\Vessora", shortcutFolder);
  for (int i = 0; i < kShortcutTableRows; ++i) {
    if (RowApplies(kShortcutTable[i].edition, edition) && !MakeShortcut(kShortcutTable[i], shortcutFolder, &log))
      ++failures;
  }

  // A log that cannot be created or written loses only the record: what it would say was installed.
  log.Write(failures == 0 ? kClosingComplete : kClosingWithErrors);
  log.Close();
  return failures;
}

}  // namespace

char g_dictionaryFolder[kPathCapacity] = "";
char g_installFolder[kPathCapacity] = "";
char g_templatesFolder[kPathCapacity] = "C:\\Program Files\\Microsoft Office\\Templates\\";
char g_startupFolder[kPathCapacity] = "";
InstallOutcome g_installOutcome = {false, 0};

namespace {
// The install PrepareInstall made ready (its folders checked, the Vessora folder made), until CompleteInstall
// carries it out.
bool g_installReady = false;
Edition g_readyEdition = EditionStandard;
}  // namespace

bool InstallSucceeded() { return g_installOutcome.ran && g_installOutcome.failures == 0; }

void ResetInstallState() {
  g_dictionaryFolder[0] = '\0';
  g_installFolder[0] = '\0';
  std::memcpy(g_templatesFolder, kDefaultTemplatesFolder, sizeof kDefaultTemplatesFolder);
  g_startupFolder[0] = '\0';
  g_installOutcome = {false, 0};
  g_installReady = false;
}

void GetDefaultFolders(char* dictionaryFolder, char* installFolder) {
  // A lookup that fails must not leave a part of its answer behind.
  if (!GetDefaultDictionaryFolder(dictionaryFolder, kPathCapacity) || dictionaryFolder[0] == '\0') {
    dictionaryFolder[0] = '\0';
    if (!g_officeInfo.GetOfficeFolder(dictionaryFolder, kPathCapacity)) dictionaryFolder[0] = '\0';
  }
  dictionaryFolder[kPathCapacity - 1] = '\0';
  size_t length = std::strlen(dictionaryFolder);
  if (EndsInBackslash(dictionaryFolder)) dictionaryFolder[length - 1] = '\0';
  std::memcpy(installFolder, kDefaultInstallFolder, sizeof kDefaultInstallFolder);
}

InstallResult PrepareInstall(Edition edition, const char* dictionaryFolder, const char* installFolder) {
  g_installReady = false;
  bool taken = CopyText(g_dictionaryFolder, dictionaryFolder);
  if (!CopyText(g_installFolder, installFolder)) taken = false;
  if (!taken || !InstallFoldersUsable(edition)) return InstallResult::FoldersUnusable;
  char productFolder[kPathCapacity];
  if (!MakeProductFolder(g_installFolder, productFolder)) return InstallResult::ProductFolderNotMade;
  std::memcpy(g_installFolder, productFolder, sizeof productFolder);
  g_installReady = true;
  g_readyEdition = edition;
  return InstallResult::Ready;
}

InstallResult CompleteInstall() {
  // Only over folders that were checked, and once for each check.
  if (!g_installReady) return InstallResult::FoldersUnusable;
  g_installReady = false;
  g_installOutcome = {true, InstallProduct(g_readyEdition)};
  return g_installOutcome.failures == 0 ? InstallResult::Installed : InstallResult::InstalledWithErrors;
}

InstallResult InstallEdition(Edition edition, const char* dictionaryFolder, const char* installFolder) {
  InstallResult prepared = PrepareInstall(edition, dictionaryFolder, installFolder);
  return prepared == InstallResult::Ready ? CompleteInstall() : prepared;
}

const Refusal* RefusalOf(InstallResult result) {
  static const Refusal kFoldersUnusable = {"Install Directories Not Specified",
                                           "Please make sure you have enterd the file locations"};
  static const Refusal kProductFolderNotMade = {
      "Install Directory Not Created",
      "Could not create the Vessora folder in the chosen location. Please choose another folder."};
  if (result == InstallResult::FoldersUnusable) return &kFoldersUnusable;
  if (result == InstallResult::ProductFolderNotMade) return &kProductFolderNotMade;
  return nullptr;
}
