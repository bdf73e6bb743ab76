#include "install/install_table.h"

#include "install/install_sequence.h"
#include "resources/carried_items.h"

constexpr InstallRow kInstallTable[] = {
    {EditionStandard, "LUNVERA.DI_", "Lunvera.dic", InstallFolderDictionary, "lunve"},
    {EditionProfessional, "LUNVERA.DI_", "Lunvera.dic", InstallFolderDictionary, "lunve"},
    {EditionProfessional, "VSQUNI.DI_", "vsquni.dic", InstallFolderDictionary, "vsquni"},
    {EditionProfessional, "VSQ.DO_", "vsq.dot", InstallFolderStartup, nullptr},
    {EditionProfessional, "VSQAUTO1.DO_", "vsqauto1.dot", InstallFolderTemplates, nullptr},
    {EditionProfessional, "VSQAUTO2.DO_", "vsqauto2.dot", InstallFolderTemplates, nullptr},
    {EditionProfessional, "VSQAUTO3.DO_", "vsqauto3.dot", InstallFolderTemplates, nullptr},
    {EditionProfessional, "UNICODE.GI_", "unicode.gif", InstallFolderProduct, nullptr},
    {EditionProfessional, "VOWELCONVRT.GI_", "vowelconvrt.gif", InstallFolderProduct, nullptr},
    {EditionProfessional, "ASCII.GI_", "ascii.gif", InstallFolderProduct, nullptr},
    {EditionQuorvel, "VSQQUOR.DI_", "vsqquor.dic", InstallFolderDictionary, "vsqquor"},
    {EditionQuorvel, "QVLUNVERA.DO_", "qvlunvera.dot", InstallFolderTemplates, nullptr},
    {kAllEditions, "README.HT_", "Readme.htm", InstallFolderProduct, nullptr},
    {kAllEditions, "FENMOOR.GI_", "Fenmoor.gif", InstallFolderProduct, nullptr},
    {kAllEditions, "VESSORA.JP_", "Vessora.jpg", InstallFolderProduct, nullptr},
    {kAllEditions, "LICENSE.TXT", "License.txt", InstallFolderProduct, nullptr},
};
const int kInstallTableRows = sizeof kInstallTable / sizeof kInstallTable[0];

namespace {

constexpr bool SameText(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

// Whether the install table and resources.list (through the generated carried_items.h) say the same: each row's
// item is carried, made from the file the row installs, by every edition the row is for; and each item an
// edition carries has a row for that edition. The first row at odds, then the first item at odds counted on
// from the rows; -1 when they agree.
constexpr int FirstAtOdds() {
  constexpr int kEditions = sizeof kCarriedItems[0].carriedBy / sizeof kCarriedItems[0].carriedBy[0];
  int at = 0;
  for (const InstallRow& row : kInstallTable) {
    bool carried = false;
    for (const CarriedItem& item : kCarriedItems) {
      if (!SameText(item.name, row.itemName)) continue;
      carried = SameText(item.source, row.fileName);
      for (int edition = 0; edition < kEditions; ++edition)
        if (RowApplies(row.edition, Edition(edition)) && !item.carriedBy[edition]) carried = false;
    }
    if (!carried) return at;
    ++at;
  }
  for (const CarriedItem& item : kCarriedItems) {
    for (int edition = 0; edition < kEditions; ++edition) {
      bool installed = !item.carriedBy[edition];
      for (const InstallRow& row : kInstallTable)
        if (SameText(row.itemName, item.name) && RowApplies(row.edition, Edition(edition))) installed = true;
      if (!installed) return at;
    }
    ++at;
  }
  return -1;
}

static_assert(EditionStandard == 0 && EditionProfessional == 1 && EditionQuorvel == 2,
              "carried_items.h lists the editions in this order");
static_assert(FirstAtOdds() == -1, "the install table and resources/resources.list differ on an edition's items");

}  // namespace

const ShortcutRow kShortcutTable[] = {
    {EditionProfessional, "Add Autocorrect Entries.lnk", InstallFolderTemplates, "vsqauto1.dot",
     "Adds macron autocorrect entries into Word"},
    {kAllEditions, "Readme.lnk", InstallFolderProduct, "Readme.htm", "Readme for Vessora spell checker"},
    {kAllEditions, "Install Folder.lnk", InstallFolderProduct, nullptr, "Vessora install folder"},
};
const int kShortcutTableRows = sizeof kShortcutTable / sizeof kShortcutTable[0];

const char* InstallFolderText(InstallFolder folder) {
  switch (folder) {
    case InstallFolderDictionary:
      return g_dictionaryFolder;
    case InstallFolderProduct:
      return g_installFolder;
    case InstallFolderTemplates:
      return g_templatesFolder;
    case InstallFolderStartup:
      return g_startupFolder;
  }
  return "";
}
