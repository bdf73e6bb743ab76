#include "install/install_table.h"

#include "install/install_sequence.h"

const InstallRow kInstallTable[] = {
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
