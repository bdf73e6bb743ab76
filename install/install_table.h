// Which carried items each edition installs, where, and which shortcuts it makes.
#pragma once
#include "install/edition.h"

// The folders rows are installed into (and shortcut targets lie in).
enum InstallFolder {
  InstallFolderDictionary,  // g_dictionaryFolder
  InstallFolderProduct,     // g_installFolder once it names the product folder
  InstallFolderTemplates,   // g_templatesFolder
  InstallFolderStartup,     // g_startupFolder
};

// A row's edition: one of Edition, or every edition.
constexpr int kAllEditions = -1;

struct InstallRow {
  int edition;
  const char* itemName;
  const char* fileName;
  InstallFolder folder;
  const char* piecePrefix;  // dictionaries only; null for every other row
};

struct ShortcutRow {
  int edition;
  const char* linkName;
  InstallFolder targetFolder;
  const char* targetName;  // null: the folder itself is the target
  const char* description;
};

// In install order: each edition's own rows first, then the rows common to all.
extern const InstallRow kInstallTable[];
extern const int kInstallTableRows;
extern const ShortcutRow kShortcutTable[];
extern const int kShortcutTableRows;

constexpr bool RowApplies(int rowEdition, Edition edition) {
  return rowEdition == kAllEditions || rowEdition == static_cast<int>(edition);
}

// The text buffer a folder of the table stands for.
const char* InstallFolderText(InstallFolder folder);
