// Drives one window of the setup program's kind through its life over a call log wrapping the world's
// window system, and prints the messages the log saw its procedure handed: creation, showing and activation, painting, a button's command, a message
// box with a timer firing while it is up, closing and destruction. Built natively it runs over the
// recording window system with a scripted person; built for Windows it runs over user32, the same
// person's steps done for real. Both outputs are compared with one expected file, so where the
// recording window system parts from Windows, one of the two checks fails.
#include <cstdio>
#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/portable/call_log.h"
#ifdef _WIN32
#include "platform/win32/window_system.h"
#else
#include "platform/portable/scripted_input.h"
#include "platform/portable/window_system.h"
#endif

namespace {

constexpr int kButtonId = 100;
constexpr UINT_PTR kTimerId = 7;
constexpr int kExitCode = 3;
// Messages the program itself leaves to DefWindowProcA, so the header of types does not carry them.
constexpr UINT kWmEnable = 0x000A;
constexpr UINT kWmNcCreate = 0x0081;

// The person at the screen, one for each world: Click presses the button, AnswerBox presses OK in the message
// box, Leave closes the window, being done with it; and the module the window belongs to.
#ifdef _WIN32
Win32WindowSystem g_world;

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

void AnswerBox() { ::PostMessageA(::FindWindowA("#32770", "Probe box"), WM_COMMAND, IDOK, 0); }
void Leave(HWND window) { ::PostMessageA(window, WM_CLOSE, 0, 0); }
HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }
#else
RecordingWindowSystem g_world;
ScriptedUser g_user(g_world);

void Click(HWND) { g_user.PushClick(kButtonId); }
void AnswerBox() {}  // the box is answered (IDOK) once its loop has nothing left to do
void Leave(HWND) {}      // the script ends here, which closes the window
HINSTANCE Instance() { return nullptr; }
#endif
CallLog g_windows(g_world);  // handles by number in both worlds; only messages are printed

HWND g_button = nullptr;
bool g_boxUp = false;
bool g_answered = false;

// Only these messages are printed, those named with a trailing space followed by wParam's low word.
// Windows sends many more that the recording window system does not model (WM_NCCALCSIZE, WM_SIZE,
// WM_WINDOWPOSCHANGING, WM_NCACTIVATE, WM_SETFOCUS, WM_ENTERIDLE, WM_NCDESTROY...); the program leaves
// all of those to DefWindowProcA, so neither side prints them.
const std::pair<UINT, std::string> kPrinted[] = {
    {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"}, {kWmNcCreate, "WM_NCCREATE"}, {WM_CREATE, "WM_CREATE"},
    {WM_ACTIVATE, "WM_ACTIVATE "},         {kWmEnable, "WM_ENABLE "},    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_PAINT, "WM_PAINT"},                {WM_COMMAND, "WM_COMMAND "},  {WM_TIMER, "WM_TIMER "},
    {WM_CLOSE, "WM_CLOSE"},                {WM_DESTROY, "WM_DESTROY"}};

void PrintMessage(const RecordedCall& call) {
  for (const auto& printed : kPrinted)
    if (call.operation == "Message" && printed.first == call.message)
      std::printf("  %s%s\n", printed.second.c_str(),
                  printed.second.back() == ' ' ? std::to_string(LOWORD(call.wParam)).c_str() : "");
}

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowSystem* windows = g_platform.windows;
  switch (message) {
    case WM_GETMINMAXINFO: {  // a fixed size, as the program's window has
      MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = limits->ptMaxTrackSize = POINT{600, 440};
      return 0;
    }
    case WM_CREATE:
      g_button = windows->CreateWindowExA(0, "BUTTON", "&Go", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, window,
                                          reinterpret_cast<HMENU>(static_cast<intptr_t>(kButtonId)), nullptr, nullptr);
      return 0;
    case WM_ACTIVATE:
      // Activation repaints, as in the program; the box taking it starts the timer that fires while it is up.
      if (LOWORD(wParam) != WA_INACTIVE) windows->InvalidateRect(window, nullptr, TRUE);
      if (LOWORD(wParam) == WA_INACTIVE && g_boxUp) windows->SetTimer(window, kTimerId, 100, nullptr);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      windows->BeginPaint(window, &paint);
      windows->EndPaint(window, &paint);
      if (g_answered) Leave(window);  // the window repainted after the box is all the person waited for
      g_answered = false;
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId) {
        g_boxUp = true;
        int answer = windows->MessageBoxA(window, "Carry on?", "Probe box", MB_OK);
        g_boxUp = false;
        g_answered = true;
        std::printf("MessageBoxA = %d\n", answer);
      }
      return 0;
    case WM_TIMER: {
      windows->KillTimer(window, wParam);
      // EnableWindow tells whether the window was disabled; one that was not is enabled again.
      BOOL disabled = windows->EnableWindow(window, FALSE);
      if (!disabled) windows->EnableWindow(window, TRUE);
      std::printf("  (the owner is %s while the box is up)\n", disabled ? "disabled" : "enabled");
      AnswerBox();
      return 0;
    }
    case WM_DESTROY:
      windows->PostQuitMessage(kExitCode);
      return 0;
    default:
      return windows->DefWindowProcA(window, message, wParam, lParam);
  }
}

int RunProbe(HINSTANCE instance) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  WindowSystem* windows = g_platform.windows;
  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNWINDOW;
  windowClass.lpfnWndProc = ProbeProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = windows->LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(windows->GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "VessoraProbe";
  std::printf("CreateWindowExA\n");
  HWND window = windows->RegisterClassA(&windowClass) == 0
                    ? nullptr
                    : windows->CreateWindowExA(0, "VessoraProbe", "Probe", WS_SYSMENU | WS_MINIMIZEBOX, 40, 30, 300,
                                               200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr || g_button == nullptr) return 1;
  std::printf("ShowWindow\n");
  windows->ShowWindow(window, SW_SHOWNORMAL);
  std::printf("UpdateWindow\n");
  windows->UpdateWindow(window);
  Click(g_button);
  MSG message = {};
  BOOL got;
  while ((got = windows->GetMessageA(&message, nullptr, 0, 0)) > 0) {
    windows->TranslateMessage(&message);
    windows->DispatchMessageA(&message);
  }
  std::printf("GetMessageA = %d, exit code %u\n", got, static_cast<unsigned>(message.wParam));
  return 0;
}

}  // namespace

int main() {
  g_platform.windows = &g_windows;
  g_windows.onCall = PrintMessage;
  return RunProbe(Instance());
}
