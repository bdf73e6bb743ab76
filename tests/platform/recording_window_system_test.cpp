// The recording window system keeps the rules of Windows that the wizard's tests lean on:
// the order messages come in, what a click does, how windows go, and that a run always ends.
#include "platform/portable/window_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

RecordingWindowSystem* g_windows = nullptr;
std::vector<std::string> g_heard;

LRESULT CALLBACK Listener(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_heard.push_back(g_windows->NameOf(window) + " " + std::to_string(message));
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    g_windows->BeginPaint(window, &paint);
    g_windows->EndPaint(window, &paint);
    return 0;
  }
  return g_windows->DefWindowProcA(window, message, wParam, lParam);
}

class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_windows = &windows;
    g_heard.clear();
    WNDCLASSA listener = {};
    listener.lpfnWndProc = Listener;
    listener.lpszClassName = "Listener";
    windows.RegisterClassA(&listener);
    main = windows.CreateWindowExA(0, "Listener", "Main", WS_SYSMENU, 10, 20, 600, 440, nullptr, nullptr, nullptr,
                                   nullptr);
    button = windows.CreateWindowExA(0, "BUTTON", "&Go", WS_CHILD, 1, 2, 30, 40, main,
                                     reinterpret_cast<HMENU>(intptr_t{77}), nullptr, nullptr);
    g_heard.clear();
  }
  RecordingWindowSystem windows;
  HWND main = nullptr;
  HWND button = nullptr;
};

TEST_F(RecordingTest, CreationTellsTheProcedureBeforeReturning) {
  RecordingWindowSystem fresh;
  g_windows = &fresh;
  WNDCLASSA listener = {};
  listener.lpfnWndProc = Listener;
  listener.lpszClassName = "Listener";
  EXPECT_NE(fresh.RegisterClassA(&listener), 0);
  EXPECT_EQ(fresh.RegisterClassA(&listener), 0);  // a class is registered once
  g_heard.clear();
  HWND window = fresh.CreateWindowExA(0, "listener", "", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(g_heard, (std::vector<std::string>{"w1 36", "w1 129", "w1 1"}));  // GETMINMAXINFO, NCCREATE, CREATE
  RECT client;
  fresh.GetClientRect(window, &client);
  EXPECT_EQ(client.right, 194);  // the default frame of 3 + 3 by 24 + 3
  EXPECT_EQ(client.bottom, 73);
  // Unknown classes and children without a living parent are refused.
  EXPECT_EQ(fresh.CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(fresh.CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(RecordingTest, QueueFirstThenQuitThenPaintThenScriptThenTheEnd) {
  MSG message;
  windows.ShowWindow(main, SW_SHOWNORMAL);  // shown: needs painting
  windows.PushTimerTick();
  windows.PostMessageA(main, WM_USER, 1, 2);
  ASSERT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_USER));
  ASSERT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));  // before the script's input
  windows.DispatchMessageA(&message);
  ASSERT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_TIMER));
  EXPECT_FALSE(windows.InputExhausted());
  EXPECT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), -1);
  EXPECT_TRUE(windows.InputExhausted());

  windows.PostMessageA(main, WM_USER, 0, 0);
  windows.PostQuitMessage(3);
  windows.InvalidateRect(main, nullptr, TRUE);
  EXPECT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);  // what was posted comes before the quit
  EXPECT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), FALSE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(RecordingTest, AClickPostsTheCommandOnlyWhenTheButtonCanBePressed) {
  MSG message;
  windows.ShowWindow(button, SW_SHOW);
  windows.PushClick(77);
  windows.PushAction([&] { windows.EnableWindow(button, FALSE); });
  windows.PushClick(77);
  windows.PushClick(78);
  ASSERT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);
  EXPECT_EQ(message.hwnd, main);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(message.wParam, 77u);
  EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), -1);  // the greyed-out and missing ones did nothing
  EXPECT_EQ(windows.CallTexts("InputIgnored").size(), 2u);
}

TEST_F(RecordingTest, TheCloseBoxDestroysTheWindowThroughTheDefaultHandling) {
  MSG message;
  windows.PushCloseBox();
  ASSERT_EQ(windows.GetMessageA(&message, nullptr, 0, 0), TRUE);
  windows.DispatchMessageA(&message);
  // SC_CLOSE, then WM_CLOSE, then the window's WM_DESTROY; the child goes with it.
  EXPECT_EQ(g_heard, (std::vector<std::string>{"w1 274", "w1 16", "w1 2"}));
  EXPECT_EQ(windows.MainWindow(), nullptr);
  EXPECT_FALSE(windows.Window(button)->alive);
  EXPECT_EQ(windows.DestroyWindow(button), FALSE);
  EXPECT_EQ(windows.PostMessageA(main, WM_USER, 0, 0), FALSE);
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
  // The main window's text goes through its procedure.
  windows.SetWindowTextA(main, "Title");
  EXPECT_EQ(windows.MainWindow()->text, "Title");
  EXPECT_EQ(g_heard, std::vector<std::string>{"w1 12"});
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
  const std::vector<RecordedDrawing>& drawn = windows.Paints()[0].drawings;
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].detail, "picture");
  EXPECT_EQ(drawn[0].rect.right, 4);
  EXPECT_EQ(drawn[1].detail, "Hi");  // only the length given is read
  EXPECT_EQ(drawn[1].format, static_cast<UINT>(DT_CENTER));
}

}  // namespace
