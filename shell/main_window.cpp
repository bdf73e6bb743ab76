#include "shell/main_window.h"

#include <cstring>
#include <new>

#include "install/install_sequence.h"
#include "office/office_info.h"
#include "pages/control_ids.h"
#include "pages/folder_page.h"
#include "pages/licence_page.h"
#include "pages/picture_pages.h"
#include "platform/path_helpers.h"
#include "platform/platform.h"
#include "resources/sponsor.h"
#include "shell/navigation.h"

int g_screenWidth = 0;
int g_screenHeight = 0;
WizardPage* g_pages[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
int g_currentPage = 0;
RECT g_windowRect = {0, 0, 0, 0};
UINT_PTR g_timerId = 0;

namespace {

const char kClassName[] = "LunveraSetup";
const char kFallbackTitle[] = "Vessora Setup";
constexpr int kTitleCapacity = 64;
constexpr DWORD kMainWindowStyle = WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNWINDOW;
constexpr int kIconGroup = 103;
constexpr int kTitleString = 3;

constexpr UINT_PTR kTimer = 1;
constexpr UINT kTimerPeriod = 1000;

// The two letters with a diaeresis are single bytes of code page 1252.
const char kNoTimerText[] = "P\xE4" "nui";
const char kNoTimerCaption[] = "K\xE4" "ore he karaka i te w\xE4" "tea";

FolderPage* TheFolderPage() { return static_cast<FolderPage*>(g_pages[3]); }

void OnCommand(HWND window, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case kCommandClose:
      g_platform.windows->DestroyWindow(window);
      break;
    case kBackButtonId:
      GoBack(window);
      break;
    case kNextButtonId:
      GoNext(window);
      break;
    case kDictionaryBrowseId:
      if (FolderPage* page = TheFolderPage()) {
        BrowseForFolder(window, page->dictionaryEdit, g_dictionaryFolder, sizeof g_dictionaryFolder);
        page->SetDictionaryFolder(g_dictionaryFolder);
      }
      break;
    case kInstallBrowseId:
      if (FolderPage* page = TheFolderPage()) {
        BrowseForFolder(window, page->installEdit, g_installFolder, sizeof g_installFolder);
        page->SetInstallFolder(g_installFolder);
      }
      break;
    case kLinkButtonId:
      OpenDocument(window, kSponsorAddress);
      break;
    case kReadmeButtonId: {
      char path[kPathCapacity];
      // A product folder too long to hold the readme's name gives no path; nothing is opened then.
      if (MakeFilePath(path, g_installFolder, "Readme.htm")) OpenDocument(window, path);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void ReadScreenMetrics() {
  WindowSystem* windows = g_platform.windows;
  HWND desktop = windows->GetDesktopWindow();
  HDC dc = windows->GetDC(desktop);
  g_screenWidth = windows->GetDeviceCaps(dc, HORZRES);
  g_screenHeight = windows->GetDeviceCaps(dc, VERTRES);
  windows->ReleaseDC(desktop, dc);
}

int SetupMain(HINSTANCE instance) {
  WindowSystem* windows = g_platform.windows;
  g_instance = instance;
  g_platform.shell->CoInitialize(nullptr);
  ReadScreenMetrics();

  char title[kTitleCapacity];
  if (g_platform.resources->LoadStringA(instance, kTitleString, title, kTitleCapacity) < 1) {
    std::memcpy(title, kFallbackTitle, sizeof kFallbackTitle);
  }
  title[kTitleCapacity - 1] = '\0';

  g_officeInfo.DetectVersions();

  g_pages[0] = nullptr;
  g_pages[1] = new (std::nothrow) WelcomePage;
  g_pages[2] = new (std::nothrow) LicencePage;
  g_pages[3] = new (std::nothrow) FolderPage;
  g_pages[4] = new (std::nothrow) FinishPage;
  g_currentPage = 1;

  // The window measures 600 by 440 from outer edge to outer edge, centred on the screen;
  // afterwards right and bottom hold the width and the height.
  g_windowRect = RECT{0, 0, 600, 440};
  windows->AdjustWindowRect(&g_windowRect, kMainWindowStyle, FALSE);
  g_windowRect.left = (g_screenWidth - g_windowRect.right) / 2;
  g_windowRect.top = (g_screenHeight - g_windowRect.bottom) / 2;

  WNDCLASSA windowClass = {};
  windowClass.style = kClassStyle;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = g_platform.resources->LoadIconA(instance, MAKEINTRESOURCEA(kIconGroup));
  windowClass.hCursor = windows->LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(windows->GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kClassName;
  windows->RegisterClassA(&windowClass);

  HWND window = windows->CreateWindowExA(0, kClassName, title, kMainWindowStyle, g_windowRect.left, g_windowRect.top,
                                         g_windowRect.right, g_windowRect.bottom, nullptr, nullptr, instance, nullptr);
  // Without a window no quit message would ever come: go straight to the teardown.
  if (window != nullptr) {
    windows->ShowWindow(window, SW_SHOWNORMAL);
    windows->UpdateWindow(window);
    MSG message;
    while (windows->GetMessageA(&message, nullptr, 0, 0) > 0) {
      windows->TranslateMessage(&message);
      windows->DispatchMessageA(&message);
    }
  }

  Teardown();
  return 0;
}

void Teardown() {
  for (int page = 1; page <= 4; ++page) {
    delete g_pages[page];
    g_pages[page] = nullptr;
  }
  g_platform.shell->CoUninitialize();
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSystem* windows = g_platform.windows;
  switch (message) {
    case WM_CREATE:
      CreateNavigationButtons(window);
      if (g_pages[1] != nullptr) g_pages[1]->Create(window);
      g_timerId = windows->SetTimer(window, kTimer, kTimerPeriod, nullptr);
      if (g_timerId == 0) windows->MessageBoxA(window, kNoTimerText, kNoTimerCaption, MB_OK);
      return 0;
    case WM_DESTROY:
      windows->KillTimer(window, g_timerId);
      windows->PostQuitMessage(0);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) windows->InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      PaintMainWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_GETMINMAXINFO:
      if (lParam != 0) {
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = g_windowRect.right;
        limits->ptMinTrackSize.y = g_windowRect.bottom;
        limits->ptMaxTrackSize.x = g_windowRect.right;
        limits->ptMaxTrackSize.y = g_windowRect.bottom;
      }
      return 0;
    case WM_COMMAND:
      OnCommand(window, wParam);
      return 0;
    case WM_TIMER:
      return 0;
    default:
      return windows->DefWindowProcA(window, message, wParam, lParam);
  }
}

HINSTANCE OpenDocument(HWND owner, const char* target) {
  return g_platform.shell->ShellExecuteA(owner, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}
