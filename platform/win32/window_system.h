// The window system over the real user32 and gdi32.
#pragma once
#include "platform/window_system.h"

class Win32WindowSystem : public WindowSystem {
 public:
  ATOM RegisterClassA(const WNDCLASSA* windowClass) override;
  HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                       int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) override;
  BOOL DestroyWindow(HWND window) override;
  BOOL ShowWindow(HWND window, int command) override;
  BOOL UpdateWindow(HWND window) override;
  BOOL EnableWindow(HWND window, BOOL enable) override;
  BOOL SetWindowTextA(HWND window, LPCSTR text) override;
  int GetWindowTextA(HWND window, LPSTR buffer, int capacity) override;
  BOOL GetClientRect(HWND window, RECT* rect) override;
  BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) override;
  HWND GetDesktopWindow() override;
  HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) override;
  int GetSystemMetrics(int index) override;
  BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) override;
  BOOL TranslateMessage(const MSG* message) override;
  LRESULT DispatchMessageA(const MSG* message) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostQuitMessage(int exitCode) override;
  LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) override;
  BOOL KillTimer(HWND window, UINT_PTR id) override;
  int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override;
  BOOL MessageBeep(UINT type) override;
  BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) override;
  HDC BeginPaint(HWND window, PAINTSTRUCT* paint) override;
  BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) override;
  HDC GetDC(HWND window) override;
  int ReleaseDC(HWND window, HDC dc) override;
  int GetDeviceCaps(HDC dc, int index) override;
  HGDIOBJ GetStockObject(int object) override;
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
  BOOL DeleteObject(HGDIOBJ object) override;
  BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) override;
  HDC CreateCompatibleDC(HDC dc) override;
  BOOL DeleteDC(HDC dc) override;
  BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
              DWORD rop) override;
  int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) override;
};
