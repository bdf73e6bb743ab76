#include "wizard_probe.h"

#include "pages/control_ids.h"

#include <shlobj.h>

namespace {

struct FindData {
  DWORD processId;
  const char* className;
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  FindData* data = reinterpret_cast<FindData*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != data->processId) return TRUE;
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, data->className) != 0) return TRUE;
  if (data->owner && GetWindow(window, GW_OWNER) != data->owner) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  data->found = window;
  return FALSE;
}

struct ChildList {
  HWND parent;
  std::vector<HWND> handles;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  ChildList* list = reinterpret_cast<ChildList*>(param);
  // Direct children only: the controls of the chooser's own children are not ours.
  if (GetParent(window) == list->parent) list->handles.push_back(window);
  return TRUE;
}

ControlInfo Describe(HWND window, HWND parent) {
  ControlInfo info;
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  info.className = name;
  info.text = WizardProbe::TextOf(window);
  info.style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  info.exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  info.id = GetDlgCtrlID(window);
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  info.rect = r;
  info.enabled = IsWindowEnabled(window) != FALSE;
  info.visible = IsWindowVisible(window) != FALSE;
  return info;
}

}  // namespace

WizardProbe::~WizardProbe() {
  if (processInfo.hProcess) CloseHandle(processInfo.hProcess);
  if (processInfo.hThread) CloseHandle(processInfo.hThread);
}

bool WizardProbe::Launch(const std::string& exePath, std::string& error) {
  // In its own folder, as when it is opened from there.
  std::string commandLine = "\"" + exePath + "\"", folder = ParentOf(exePath);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // Wine now and then refuses a start with an internal error while the machine is
  // busy; a second try is what a user's second double-click would be.
  DWORD lastError = 0;
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(500);
    startedMs = NowMs();
    started = CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                             &startup, &processInfo);
    main = nullptr;
    retries = attempt;
    lastError = started ? 0 : GetLastError();
    if (lastError != 0 && lastError != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) error = "CreateProcess failed with error " + std::to_string(lastError);
  return started;
}

bool WizardProbe::Running() const {
  return processInfo.hProcess && WaitForSingleObject(processInfo.hProcess, 0) == WAIT_TIMEOUT;
}

HWND WizardProbe::FindWindowOf(const char* className, HWND owner) const {
  FindData data{processInfo.dwProcessId, className, owner, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

bool WizardProbe::WaitForMainWindow(DWORD timeoutMs) {
  WaitUntil(timeoutMs, 2, [this] { return (main = FindWindowOf("LunveraSetup", nullptr)) || !Running(); });
  return main != nullptr;
}

bool WizardProbe::WaitForFirstPaint(DWORD timeoutMs) {
  bool painted = false;
  // The creation caption gives way to the page's caption in the first paint.
  WaitUntil(timeoutMs, 1, [this, &painted] {
    HWND back = Control(kBackButtonId);
    painted = back && CaptionOf(back) == "E&xit";
    return painted || !Running();
  });
  return painted;
}

bool WizardProbe::WaitForFrameOnScreen(DWORD timeoutMs) const {
  HDC screen = GetDC(nullptr);
  bool shown = false;
  WaitUntil(timeoutMs, 2, [&] {
    RECT client;
    POINT origin{0, 0};
    if (!main || !GetClientRect(main, &client) || !ClientToScreen(main, &origin)) return true;  // no window to look at
    int right = origin.x + client.right - 1;
    int bottom = origin.y + client.bottom - 1;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    shown = GetPixel(screen, origin.x, origin.y) == black && GetPixel(screen, right, origin.y) == black &&
            GetPixel(screen, origin.x, bottom) == black && GetPixel(screen, right, bottom) == black &&
            GetPixel(screen, origin.x + 1, origin.y + 1) == white && GetPixel(screen, right - 1, bottom - 1) == white;
    return shown;
  });
  ReleaseDC(nullptr, screen);
  return shown;
}

std::string WizardProbe::TextOf(HWND window) {
  std::vector<char> buffer(65536, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return "<no answer>";
  }
  buffer.back() = '\0';
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::string WizardProbe::CaptionOf(HWND window) {
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

std::vector<ControlInfo> WizardProbe::ChildrenOf(HWND window) {
  ChildList list{window, {}};
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&list));
  std::vector<ControlInfo> controls;
  for (HWND child : list.handles) controls.push_back(Describe(child, window));
  return controls;
}

std::vector<ControlInfo> WizardProbe::Controls() const {
  return main && IsWindow(main) ? ChildrenOf(main) : std::vector<ControlInfo>();
}

HWND WizardProbe::Control(int id) const { return main ? GetDlgItem(main, id) : nullptr; }

bool WizardProbe::Click(int id) { return main && PressDialogButton(main, id); }

bool WizardProbe::Command(int id) { return main && PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

bool WizardProbe::TypeText(int id, const std::string& text) {
  HWND control = Control(id);
  DWORD_PTR result = 0;
  return control && SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                        SMTO_ABORTIFHUNG, 5000, &result);
}

bool WizardProbe::CloseBox() { return main && PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND WizardProbe::FindOwnedDialog() const { return FindWindowOf("#32770", main); }

HWND WizardProbe::WaitForOwnedDialog(DWORD timeoutMs) const {
  HWND dialog = nullptr;
  WaitUntil(timeoutMs, 5, [&] { return (dialog = FindOwnedDialog()) || !Running(); });
  return dialog;
}

bool WizardProbe::WaitForDialogGone(HWND dialog, DWORD timeoutMs) const {
  return WaitUntil(timeoutMs, 5, [dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

bool WizardProbe::PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool WizardProbe::SelectInChooser(HWND chooser, const std::string& path) {
  // The message carries a pointer, so the text has to live in the program's memory.
  SIZE_T size = path.size() + 1;
  void* remote = VirtualAllocEx(processInfo.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  SIZE_T written = 0;
  bool ok = WriteProcessMemory(processInfo.hProcess, remote, path.c_str(), size, &written) && written == size;
  DWORD_PTR result = 0;
  if (ok) {
    ok = SendMessageTimeoutA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                             SMTO_ABORTIFHUNG, 10000, &result) != 0;
  }
  VirtualFreeEx(processInfo.hProcess, remote, 0, MEM_RELEASE);
  return ok;
}

bool WizardProbe::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
  return processInfo.hProcess && WaitForSingleObject(processInfo.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
         GetExitCodeProcess(processInfo.hProcess, &exitCode);
}

void WizardProbe::Kill() {
  if (Running()) {
    TerminateProcess(processInfo.hProcess, 99);
    WaitForSingleObject(processInfo.hProcess, 5000);
  }
}
