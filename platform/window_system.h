// Windows, controls, messages, timer, message boxes and painting (user32, gdi32).
#pragma once
#include "platform/win32_types.h"

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Registers a window class; its atom, 0 when the name is taken or the class is invalid.
  virtual ATOM RegisterClassA(const WNDCLASSA* windowClass) = 0;
  // Makes a window or child control (menu = control identifier); WM_GETMINMAXINFO and WM_CREATE reach its
  // procedure before it returns. Null on failure.
  virtual HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                               int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                               LPVOID param) = 0;
  // Destroys a window and its children (WM_DESTROY first to the window, then to each child).
  virtual BOOL DestroyWindow(HWND window) = 0;
  // Shows or hides a window; whether it was visible before.
  virtual BOOL ShowWindow(HWND window, int command) = 0;
  // Paints a window's invalid part now (WM_PAINT sent directly), if it has one.
  virtual BOOL UpdateWindow(HWND window) = 0;
  // Enables or greys out a window; whether it was disabled before.
  virtual BOOL EnableWindow(HWND window, BOOL enable) = 0;
  // Replaces a window's caption or a control's text.
  virtual BOOL SetWindowTextA(HWND window, LPCSTR text) = 0;
  // Copies at most capacity-1 characters and a terminator; the number copied.
  virtual int GetWindowTextA(HWND window, LPSTR buffer, int capacity) = 0;
  // The client area, from 0,0 to its width and height.
  virtual BOOL GetClientRect(HWND window, RECT* rect) = 0;
  // Grows a client rectangle to the outer rectangle a window of this style needs.
  virtual BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) = 0;
  // The desktop window, whose context tells the screen's size.
  virtual HWND GetDesktopWindow() = 0;
  // A system cursor (IDC_ARROW with a null instance).
  virtual HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) = 0;
  // A system measurement (SM_CXVSCROLL: the width of a vertical scroll bar).
  virtual int GetSystemMetrics(int index) = 0;
  // The next message of the thread, waiting for one; 0 for WM_QUIT, -1 on error.
  virtual BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) = 0;
  // Turns key messages into character messages; whether it did.
  virtual BOOL TranslateMessage(const MSG* message) = 0;
  // Hands a message to its window's procedure; the procedure's result.
  virtual LRESULT DispatchMessageA(const MSG* message) = 0;
  // Calls a window's procedure (or a control's own handling) at once; its result.
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Puts WM_QUIT with the exit code at the end of the queue.
  virtual void PostQuitMessage(int exitCode) = 0;
  // The system's handling of a message the window procedure does not handle itself.
  virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Starts a timer that posts WM_TIMER id to the window every elapse ms; the identifier, 0 when none is free.
  virtual UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) = 0;
  // Stops a timer; FALSE when there was none.
  virtual BOOL KillTimer(HWND window, UINT_PTR id) = 0;
  // A modal message box over owner; the button pressed (IDOK ...).
  virtual int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = 0;
  // Plays the system sound of a message-box type.
  virtual BOOL MessageBeep(UINT type) = 0;
  // Adds a rectangle (null: the whole client area) to the part to be painted; erase asks for WM_ERASEBKGND.
  virtual BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) = 0;
  // Starts painting: the context and the update rectangle; the window is valid afterwards.
  virtual HDC BeginPaint(HWND window, PAINTSTRUCT* paint) = 0;
  // Ends the painting BeginPaint started.
  virtual BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) = 0;
  // A context for a window (the desktop's for the screen); given back with ReleaseDC.
  virtual HDC GetDC(HWND window) = 0;
  // Gives back a context from GetDC; 1 when it was released.
  virtual int ReleaseDC(HWND window, HDC dc) = 0;
  // A device measurement (HORZRES, VERTRES: the screen's size in pixels).
  virtual int GetDeviceCaps(HDC dc, int index) = 0;
  // A stock object (WHITE_BRUSH); never deleted.
  virtual HGDIOBJ GetStockObject(int object) = 0;
  // Selects an object into a context; the one it replaces.
  virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
  // Deletes a drawing object (a loaded bitmap).
  virtual BOOL DeleteObject(HGDIOBJ object) = 0;
  // Draws a rectangle with the selected pen, filled with the selected brush.
  virtual BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) = 0;
  // A memory context like dc, to copy bitmaps from; deleted with DeleteDC.
  virtual HDC CreateCompatibleDC(HDC dc) = 0;
  // Deletes a context from CreateCompatibleDC.
  virtual BOOL DeleteDC(HDC dc) = 0;
  // Copies a block of pixels from the source context to the destination.
  virtual BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                      DWORD rop) = 0;
  // Draws text in a rectangle with the format flags (DT_CENTER, DT_LEFT | DT_TOP); the text's height.
  virtual int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) = 0;
};

// Every member above, declared as an override: each window system (user32's, the recording one, the
// call log) declares them with WINDOW_SYSTEM_OVERRIDES, so the list is written twice, not four times.
#define WINDOW_SYSTEM_OVERRIDES \
  ATOM RegisterClassA(const WNDCLASSA* windowClass) override; \
  HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, \
                       int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) override; \
  BOOL DestroyWindow(HWND window) override; \
  BOOL ShowWindow(HWND window, int command) override; \
  BOOL UpdateWindow(HWND window) override; \
  BOOL EnableWindow(HWND window, BOOL enable) override; \
  BOOL SetWindowTextA(HWND window, LPCSTR text) override; \
  int GetWindowTextA(HWND window, LPSTR buffer, int capacity) override; \
  BOOL GetClientRect(HWND window, RECT* rect) override; \
  BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) override; \
  HWND GetDesktopWindow() override; \
  HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) override; \
  int GetSystemMetrics(int index) override; \
  BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) override; \
  BOOL TranslateMessage(const MSG* message) override; \
  LRESULT DispatchMessageA(const MSG* message) override; \
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override; \
  void PostQuitMessage(int exitCode) override; \
  LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override; \
  UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) override; \
  BOOL KillTimer(HWND window, UINT_PTR id) override; \
  int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) override; \
  BOOL MessageBeep(UINT type) override; \
  BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) override; \
  HDC BeginPaint(HWND window, PAINTSTRUCT* paint) override; \
  BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) override; \
  HDC GetDC(HWND window) override; \
  int ReleaseDC(HWND window, HDC dc) override; \
  int GetDeviceCaps(HDC dc, int index) override; \
  HGDIOBJ GetStockObject(int object) override; \
  HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override; \
  BOOL DeleteObject(HGDIOBJ object) override; \
  BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) override; \
  HDC CreateCompatibleDC(HDC dc) override; \
  BOOL DeleteDC(HDC dc) override; \
  BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, \
              DWORD rop) override; \
  int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) override;
