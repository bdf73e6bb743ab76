#include "shell/navigation.h"

#include "install/install_sequence.h"
#include "pages/control_ids.h"
#include "pages/folder_page.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"
#include "shell/main_window.h"

HWND g_backButton = nullptr;
HWND g_nextButton = nullptr;

namespace {

WizardPage* CurrentPage() {
  if (g_currentPage < 1 || g_currentPage > 4) return nullptr;
  return g_pages[g_currentPage];
}

}  // namespace

void CreateNavigationButtons(HWND window) {
  WindowSystem* windows = g_platform.windows;
  RECT client = {0, 0, 0, 0};
  windows->GetClientRect(window, &client);
  WizardPage::SetPageArea(RECT{0, 0, client.right, client.bottom - kNavigationStripHeight});
  g_backButton = WizardPage::CreateControl(window, WizardPage::Place(1, kBackButtonId));
  g_nextButton = WizardPage::CreateControl(window, WizardPage::Place(1, kNextButtonId));
  windows->ShowWindow(g_backButton, SW_SHOW);
  windows->ShowWindow(g_nextButton, SW_SHOW);
}

void UpdateNavigationButtons() {
  WindowSystem* windows = g_platform.windows;
  if (g_currentPage < 1 || g_currentPage > 4) return;
  // The finish page has no way back; the left button keeps its caption, greyed out.
  if (g_currentPage == 4)
    windows->EnableWindow(g_backButton, FALSE);
  else
    windows->SetWindowTextA(g_backButton, kPageCaptions[g_currentPage].back);
  windows->SetWindowTextA(g_nextButton, kPageCaptions[g_currentPage].next);
}

void PaintMainWindow(HWND window) {
  WindowSystem* windows = g_platform.windows;
  PAINTSTRUCT paint = {};
  HDC dc = windows->BeginPaint(window, &paint);
  windows->SelectObject(dc, windows->GetStockObject(WHITE_BRUSH));
  windows->Rectangle(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
  if (WizardPage* page = CurrentPage()) page->Paint(window, dc);
  UpdateNavigationButtons();
  windows->EndPaint(window, &paint);
}

void GoBack(HWND window) {
  WindowSystem* windows = g_platform.windows;
  switch (g_currentPage) {
    case 1:
      if (g_pages[1] != nullptr) g_pages[1]->Destroy();
      windows->DestroyWindow(window);
      break;
    case 2:
      g_currentPage = 1;
      if (g_pages[2] != nullptr) g_pages[2]->Destroy();
      if (g_pages[1] != nullptr) g_pages[1]->Create(window);
      windows->InvalidateRect(window, nullptr, TRUE);
      break;
    case 3:
      g_currentPage = 2;
      if (g_pages[3] != nullptr) g_pages[3]->Destroy();
      if (g_pages[2] != nullptr) g_pages[2]->Create(window);
      windows->InvalidateRect(window, nullptr, TRUE);
      break;
    case 4:
      windows->MessageBeep(MB_ICONASTERISK);
      break;
    default:
      break;
  }
}

void GoNext(HWND window) {
  WindowSystem* windows = g_platform.windows;
  switch (g_currentPage) {
    case 1:
      g_currentPage = 2;
      if (g_pages[1] != nullptr) g_pages[1]->Destroy();
      windows->InvalidateRect(window, nullptr, TRUE);
      if (g_pages[2] != nullptr) g_pages[2]->Create(window);
      break;
    case 2: {
      g_currentPage = 3;
      if (g_pages[2] != nullptr) g_pages[2]->Destroy();
      FolderPage* folderPage = static_cast<FolderPage*>(g_pages[3]);
      if (folderPage != nullptr) {
        folderPage->Create(window);
        // The buffers start as the defaults the page has just put into its edits.
        folderPage->GetDictionaryFolder(g_dictionaryFolder, kPathCapacity);
        folderPage->GetInstallFolder(g_installFolder, kPathCapacity);
      }
      windows->InvalidateRect(window, nullptr, TRUE);
      break;
    }
    case 3:
      RunInstall(window);
      break;
    case 4:
      windows->DestroyWindow(window);
      break;
    default:
      break;
  }
}

void RunInstall(HWND window) {
  FolderPage* folderPage = static_cast<FolderPage*>(g_pages[3]);
  if (folderPage == nullptr) return;
  WindowSystem* windows = g_platform.windows;
  char dictionaryFolder[kPathCapacity];
  char installFolder[kPathCapacity];
  folderPage->GetDictionaryFolder(dictionaryFolder, kPathCapacity);
  folderPage->GetInstallFolder(installFolder, kPathCapacity);

  // Both refusals come before the folder page goes: the user corrects the text and presses Install again.
  if (const Refusal* refusal = RefusalOf(PrepareInstall(GetEdition(), dictionaryFolder, installFolder))) {
    windows->MessageBoxA(window, refusal->text, refusal->caption, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // The finish page comes first, then the install; the user sees it once everything is done.
  folderPage->Destroy();
  g_currentPage = 4;
  if (g_pages[4] != nullptr) g_pages[4]->Create(window);
  CompleteInstall();
  windows->InvalidateRect(window, nullptr, TRUE);
}
