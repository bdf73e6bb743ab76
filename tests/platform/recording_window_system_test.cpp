// The recording window system keeps the rules of Windows that the wizard's tests lean on: the order
// messages come in, what a click does, what a message box does while it is up, how windows go, and
// that a run always ends. The window probe (tests/support/window_probe.cpp) holds the common part
// against Windows itself.
#include "platform/portable/window_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/portable/scripted_input.h"

namespace {

constexpr UINT kWmEnable = 0x000A;  // not in the header of types: the program leaves it to DefWindowProcA
RecordingWindowSystem* g_windows = nullptr;
std::function<void(HWND, UINT)> g_onMessage;  // what a test's window does before the default handling

LRESULT CALLBACK Listener(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_onMessage) g_onMessage(window, message);
  return g_windows->DefWindowProcA(window, message, wParam, lParam);
}

class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_windows = &windows;
    g_onMessage = nullptr;
    windows.onInput = user.onInput = [this](const std::string& operation, const std::string& text) {
      log.Note(operation, text);
    };
    WNDCLASSA listener = {};
    listener.lpfnWndProc = Listener;
    listener.lpszClassName = "Listener";
    EXPECT_NE(log.RegisterClassA(&listener), 0);
    EXPECT_EQ(log.RegisterClassA(&listener), 0);  // a class is registered once
    main = log.CreateWindowExA(0, "listener", "Main", WS_SYSMENU, 10, 20, 600, 440, nullptr, nullptr, nullptr,
                                   nullptr);
    button = windows.CreateWindowExA(0, "BUTTON", "&Go", WS_CHILD, 1, 2, 30, 40, main,
                                     reinterpret_cast<HMENU>(intptr_t{77}), nullptr, nullptr);
    log.Clear();
  }
  // Empty when the messages the procedure heard since the last look are the table's; otherwise the first difference.
  std::string Heard(const std::vector<ExpectedCall>& table = {}) {
    std::string difference = log.Mismatch("Message", table);
    log.Clear();
    return difference;
  }
  UINT Next(BOOL expected = TRUE) {
    EXPECT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), expected);
    return message.message;
  }
  RecordingWindowSystem windows;
  CallLog log{windows, &windows};  // its procedure's messages are kept
  ScriptedUser user{windows};
  HWND main = nullptr;
  HWND button = nullptr;
  MSG message = {};
};

TEST_F(RecordingTest, CreationRefusesUnknownClassesAndOrphans) {
  EXPECT_EQ(windows.CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(windows.CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(RecordingTest, QueueFirstThenQuitThenPaintThenScriptThenTheWindowIsClosed) {
  windows.ShowWindow(main, SW_SHOWNORMAL);  // shown: needs painting
  user.PushTimerTick();
  windows.PostMessageA(main, WM_USER, 1, 2);
  EXPECT_EQ(Next(), static_cast<UINT>(WM_USER));
  EXPECT_EQ(Next(), static_cast<UINT>(WM_PAINT));  // before the script's input
  windows.DispatchMessageA(&message);
  EXPECT_EQ(Next(), static_cast<UINT>(WM_TIMER));
  EXPECT_FALSE(windows.InputExhausted());
  // The script has run out: the main window is closed, and once it is gone the loop fails.
  EXPECT_EQ(Next(), static_cast<UINT>(WM_CLOSE));
  EXPECT_TRUE(windows.InputExhausted());
  windows.DispatchMessageA(&message);
  EXPECT_EQ(windows.MainWindow(), nullptr);
  EXPECT_FALSE(windows.Window(button)->alive);  // the children went with it
  EXPECT_EQ(windows.DestroyWindow(button), FALSE);
  EXPECT_EQ(windows.PostMessageA(main, WM_USER, 0, 0), FALSE);
  Next(-1);

  windows.PostMessageA(nullptr, WM_USER, 0, 0);
  windows.PostQuitMessage(3);
  EXPECT_EQ(Next(), static_cast<UINT>(WM_USER));  // what was posted comes before the quit
  EXPECT_EQ(Next(FALSE), static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(RecordingTest, AClickPostsTheCommandOnlyWhenTheButtonCanBePressed) {
  windows.ShowWindow(button, SW_SHOW);
  user.PushClick(77);
  user.PushAction([&] { windows.EnableWindow(button, FALSE); });
  user.PushClick(77);
  user.PushClick(78);
  EXPECT_EQ(Next(), static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(message.hwnd, main);
  EXPECT_EQ(message.wParam, 77u);
  EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(Next(), static_cast<UINT>(WM_CLOSE));  // the greyed-out and missing ones did nothing
  EXPECT_EQ(log.CallTexts("InputIgnored").size(), 2u);
}

TEST_F(RecordingTest, AMessageBoxServesTheQueueAndFiresEachTimerOnceWhileItIsUp) {
  windows.ShowWindow(main, SW_SHOWNORMAL);  // active, and to be painted
  windows.SetTimer(main, 5, 10, nullptr);
  windows.PostMessageA(main, WM_USER, 0, 0);
  int boxes = 0;
  g_onMessage = [&](HWND window, UINT message) {  // a box the timer opens does not fire it again
    if (message == WM_TIMER && boxes++ == 0) windows.MessageBoxA(window, "", "", MB_OK);
  };
  Heard();
  windows.PushMessageBoxAnswer(IDCANCEL);
  EXPECT_EQ(windows.MessageBoxA(main, "text", "caption", MB_OK), IDCANCEL);
  // What waited is served before the box shows and takes the activation; the owner is disabled throughout.
  EXPECT_EQ(Heard({{main, kWmEnable, FALSE}, {main, WM_USER}, {main, WM_PAINT}, {main, WM_ACTIVATE, WA_INACTIVE},
                   {main, WM_TIMER, 5}, {main, kWmEnable, TRUE}, {main, WM_ACTIVATE, WA_ACTIVE}}),
            "");
  EXPECT_EQ(boxes, 1);

  // A quit message ends a box before it shows, and stays for the message loop.
  windows.PostQuitMessage(0);
  windows.PostMessageA(main, WM_USER, 0, 0);
  windows.MessageBoxA(main, "text", "caption", MB_OK);
  EXPECT_EQ(Heard({{main, kWmEnable, FALSE}, {main, WM_USER}, {main, kWmEnable, TRUE}}), "");
  EXPECT_EQ(Next(FALSE), static_cast<UINT>(WM_QUIT));
}

TEST_F(RecordingTest, ControlTextsKeepTheirCapacity) {
  char buffer[4];
  std::memset(buffer, 'z', sizeof buffer);
  windows.SetWindowTextA(button, "Longer");
  EXPECT_EQ(windows.GetWindowTextA(button, buffer, 3), 2);
  EXPECT_EQ(std::string(buffer, 4), std::string("Lo\0z", 4));
  EXPECT_EQ(windows.SendMessageA(button, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "Lon");
  EXPECT_EQ(windows.GetWindowTextA(nullptr, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  Heard();
  // The main window's text goes through its procedure.
  log.SetWindowTextA(main, "Title");
  EXPECT_EQ(windows.MainWindow()->text, "Title");
  EXPECT_EQ(log.MissingFromOrder({"SetWindowTextA(w1,\"Title\")", "Message(w1,WM_SETTEXT,0x0,"}), "");
}

TEST_F(RecordingTest, PaintingRecordsWhatIsDrawnAndWhichContextsStayOpen) {
  windows.ShowWindow(main, SW_SHOW);
  RECT part = {5, 6, 7, 8};
  windows.InvalidateRect(main, &part, FALSE);
  PAINTSTRUCT paint;
  HDC dc = windows.BeginPaint(main, &paint);
  EXPECT_EQ(paint.rcPaint.right, 594);  // the earlier whole-area paint still pending covers the part
  HDC memory = windows.CreateCompatibleDC(dc);
  windows.NameObject(reinterpret_cast<HGDIOBJ>(uintptr_t{0x9999}), "picture");
  windows.SelectObject(memory, reinterpret_cast<HGDIOBJ>(uintptr_t{0x9999}));
  windows.BitBlt(dc, 1, 2, 3, 4, memory, 0, 0, SRCCOPY);
  RECT text = {0, 0, 50, 20};
  windows.DrawTextA(dc, "Hi there", 2, &text, DT_CENTER);
  EXPECT_EQ(windows.OpenDeviceContexts(), 2);
  windows.DeleteDC(memory);
  windows.EndPaint(main, &paint);
  EXPECT_EQ(windows.OpenDeviceContexts(), 0);
  ASSERT_EQ(windows.Paints().size(), 1u);
  std::vector<std::string> drawn;  // operation, detail, right edge, format; DrawTextA reads only the length given
  for (const RecordedDrawing& d : windows.Paints()[0].drawings)
    drawn.push_back(d.operation + " " + d.detail + " " + std::to_string(d.rect.right) + " " + std::to_string(d.format));
  EXPECT_EQ(drawn, (std::vector<std::string>{"BitBlt picture 4 0", "DrawTextA Hi 50 1"}));
}

}  // namespace
