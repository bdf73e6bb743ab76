#include "platform/win32/window_system.h"

ATOM Win32WindowSystem::RegisterClassA(const WNDCLASSA* windowClass) { return ::RegisterClassA(windowClass); }
HWND Win32WindowSystem::CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                        int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                        LPVOID param) {
  return ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
BOOL Win32WindowSystem::DestroyWindow(HWND window) { return ::DestroyWindow(window); }
BOOL Win32WindowSystem::ShowWindow(HWND window, int command) { return ::ShowWindow(window, command); }
BOOL Win32WindowSystem::UpdateWindow(HWND window) { return ::UpdateWindow(window); }
BOOL Win32WindowSystem::EnableWindow(HWND window, BOOL enable) { return ::EnableWindow(window, enable); }
BOOL Win32WindowSystem::SetWindowTextA(HWND window, LPCSTR text) { return ::SetWindowTextA(window, text); }
int Win32WindowSystem::GetWindowTextA(HWND window, LPSTR buffer, int capacity) {
  return ::GetWindowTextA(window, buffer, capacity);
}
BOOL Win32WindowSystem::GetClientRect(HWND window, RECT* rect) { return ::GetClientRect(window, rect); }
BOOL Win32WindowSystem::AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  return ::AdjustWindowRect(rect, style, menu);
}
HWND Win32WindowSystem::GetDesktopWindow() { return ::GetDesktopWindow(); }
HCURSOR Win32WindowSystem::LoadCursorA(HINSTANCE instance, LPCSTR name) { return ::LoadCursorA(instance, name); }
int Win32WindowSystem::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }
BOOL Win32WindowSystem::GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  return ::GetMessageA(message, window, filterMin, filterMax);
}
BOOL Win32WindowSystem::TranslateMessage(const MSG* message) { return ::TranslateMessage(message); }
LRESULT Win32WindowSystem::DispatchMessageA(const MSG* message) { return ::DispatchMessageA(message); }
LRESULT Win32WindowSystem::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(window, message, wParam, lParam);
}
void Win32WindowSystem::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }
LRESULT Win32WindowSystem::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(window, message, wParam, lParam);
}
UINT_PTR Win32WindowSystem::SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) {
  return ::SetTimer(window, id, elapse, function);
}
BOOL Win32WindowSystem::KillTimer(HWND window, UINT_PTR id) { return ::KillTimer(window, id); }
int Win32WindowSystem::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return ::MessageBoxA(owner, text, caption, type);
}
BOOL Win32WindowSystem::MessageBeep(UINT type) { return ::MessageBeep(type); }
BOOL Win32WindowSystem::InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  return ::InvalidateRect(window, rect, erase);
}
HDC Win32WindowSystem::BeginPaint(HWND window, PAINTSTRUCT* paint) { return ::BeginPaint(window, paint); }
BOOL Win32WindowSystem::EndPaint(HWND window, const PAINTSTRUCT* paint) { return ::EndPaint(window, paint); }
HDC Win32WindowSystem::GetDC(HWND window) { return ::GetDC(window); }
int Win32WindowSystem::ReleaseDC(HWND window, HDC dc) { return ::ReleaseDC(window, dc); }
int Win32WindowSystem::GetDeviceCaps(HDC dc, int index) { return ::GetDeviceCaps(dc, index); }
HGDIOBJ Win32WindowSystem::GetStockObject(int object) { return ::GetStockObject(object); }
HGDIOBJ Win32WindowSystem::SelectObject(HDC dc, HGDIOBJ object) { return ::SelectObject(dc, object); }
BOOL Win32WindowSystem::DeleteObject(HGDIOBJ object) { return ::DeleteObject(object); }
BOOL Win32WindowSystem::Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return ::Rectangle(dc, left, top, right, bottom);
}
HDC Win32WindowSystem::CreateCompatibleDC(HDC dc) { return ::CreateCompatibleDC(dc); }
BOOL Win32WindowSystem::DeleteDC(HDC dc) { return ::DeleteDC(dc); }
BOOL Win32WindowSystem::BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                               DWORD rop) {
  return ::BitBlt(dest, x, y, width, height, source, sourceX, sourceY, rop);
}
int Win32WindowSystem::DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  return ::DrawTextA(dc, text, length, rect, format);
}
