// The folder page: the dictionary folder and the install folder, each with a Browse button.
#pragma once
#include "pages/wizard_page.h"

class FolderPage : public WizardPage {
 public:
  void Paint(HWND window, HDC dc) override;
  void Create(HWND parent) override;
  void Destroy() override;
  ~FolderPage() override;

  void SetDictionaryFolder(const char* text);
  void SetInstallFolder(const char* text);
  void GetDictionaryFolder(char* buffer, int capacity);
  void GetInstallFolder(char* buffer, int capacity);

  HWND installBrowseButton = nullptr;
  HWND installEdit = nullptr;
  HWND dictionaryEdit = nullptr;
  HWND dictionaryBrowseButton = nullptr;
};

void BrowseForFolder(HWND owner, HWND textSource, char* buffer, int capacity);
int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM data, LPARAM callbackData);
