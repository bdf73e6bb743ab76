// Windows, controls, messages, timer, message boxes and painting (user32, gdi32).
#pragma once
#include "platform/win32_types.h"

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Window classes and windows.
  virtual ATOM RegisterClassA(const WNDCLASSA* windowClass) = 0;
  virtual HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                               int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                               LPVOID param) = 0;
  virtual BOOL DestroyWindow(HWND window) = 0;
  virtual BOOL ShowWindow(HWND window, int command) = 0;
  virtual BOOL UpdateWindow(HWND window) = 0;
  virtual BOOL EnableWindow(HWND window, BOOL enable) = 0;
  virtual BOOL SetWindowTextA(HWND window, LPCSTR text) = 0;
  // Copies at most capacity-1 characters and a terminator; the number copied.
  virtual int GetWindowTextA(HWND window, LPSTR buffer, int capacity) = 0;
  virtual BOOL GetClientRect(HWND window, RECT* rect) = 0;
  virtual BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) = 0;
  virtual HWND GetDesktopWindow() = 0;
  virtual HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) = 0;
  virtual int GetSystemMetrics(int index) = 0;
  // Messages.
  virtual BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) = 0;
  virtual BOOL TranslateMessage(const MSG* message) = 0;
  virtual LRESULT DispatchMessageA(const MSG* message) = 0;
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Timer, message boxes, sounds.
  virtual UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) = 0;
  virtual BOOL KillTimer(HWND window, UINT_PTR id) = 0;
  virtual int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = 0;
  virtual BOOL MessageBeep(UINT type) = 0;
  // Painting.
  virtual BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) = 0;
  virtual HDC BeginPaint(HWND window, PAINTSTRUCT* paint) = 0;
  virtual BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) = 0;
  virtual HDC GetDC(HWND window) = 0;
  virtual int ReleaseDC(HWND window, HDC dc) = 0;
  virtual int GetDeviceCaps(HDC dc, int index) = 0;
  virtual HGDIOBJ GetStockObject(int object) = 0;
  virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
  virtual BOOL DeleteObject(HGDIOBJ object) = 0;
  virtual BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) = 0;
  virtual HDC CreateCompatibleDC(HDC dc) = 0;
  virtual BOOL DeleteDC(HDC dc) = 0;
  virtual BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                      DWORD rop) = 0;
  virtual int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) = 0;
};
