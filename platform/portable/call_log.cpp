#include "platform/portable/call_log.h"

#include <algorithm>
#include <cstdio>

#include "platform/ascii_case.h"

namespace {

// Messages the header of types does not carry.
enum : UINT { kWmEnable = 0x000A, kWmNcCreate = 0x0081, kWmNcDestroy = 0x0082 };

// Whether text starts with pattern, where a '*' in the pattern stands for any run of characters.
bool StartsLike(const char* text, const char* pattern) {
  if (*pattern == '*') return StartsLike(text, pattern + 1) || (*text != '\0' && StartsLike(text + 1, pattern));
  return *pattern == '\0' || (*text == *pattern && StartsLike(text + 1, pattern + 1));
}

// Names handles in hexadecimal, for a log over a window system that names nothing itself.
class HexNamer : public HandleNamer {
 public:
  std::string NameOf(const void* handle) const override {
    return handle ? HexText(reinterpret_cast<uintptr_t>(handle)) : "0";
  }
};
const HandleNamer* HexNames() {
  static const HexNamer namer;
  return &namer;
}

// The logs alive, the latest last: the procedures wrapped by the latest are relayed through it. A function's
// own, so that a log made before main (the window probe's) finds it made.
std::vector<CallLog*>& Logs() {
  static std::vector<CallLog*> logs;
  return logs;
}

}  // namespace

std::string HexText(uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string Quote(const char* text, int length) {
  if (text == nullptr) return "null";
  std::string out = "\"";
  for (int i = 0; length < 0 ? text[i] != '\0' : i < length; ++i) {
    char c = text[i];
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
  }
  return out + "\"";
}

std::string Spell(const HandleNamer&, const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string MessageText(UINT message) {
  static const std::pair<UINT, const char*> kNames[] = {
      {WM_CREATE, "WM_CREATE"},         {WM_DESTROY, "WM_DESTROY"}, {WM_ACTIVATE, "WM_ACTIVATE"},
      {kWmEnable, "WM_ENABLE"},         {WM_SETTEXT, "WM_SETTEXT"}, {WM_GETTEXT, "WM_GETTEXT"},
      {WM_PAINT, "WM_PAINT"},           {WM_CLOSE, "WM_CLOSE"},     {WM_QUIT, "WM_QUIT"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"}, {WM_COMMAND, "WM_COMMAND"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_TIMER, "WM_TIMER"},           {BM_CLICK, "BM_CLICK"},     {kWmNcCreate, "WM_NCCREATE"},
      {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"}};
  for (const auto& named : kNames)
    if (named.first == message) return named.second;
  return HexText(message);
}

std::string RecordedCall::Text() const {
  std::string text = operation + "(" + arguments + ")";
  if (!result.empty()) text += " = " + result;
  return text;
}

std::vector<std::string> CallLog::CallTexts(const std::string& operation) const {
  std::vector<std::string> texts;
  for (const RecordedCall& call : calls)
    if (operation.empty() || call.operation == operation) texts.push_back(call.Text());
  return texts;
}

int CallLog::FindCall(const std::string& pattern, int from) const {
  for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < calls.size(); ++i)
    if (StartsLike(calls[i].Text().c_str(), pattern.c_str())) return static_cast<int>(i);
  return -1;
}

std::string CallLog::MissingFromOrder(const std::vector<std::string>& patterns) const {
  int at = -1;
  for (const std::string& pattern : patterns) {
    int found = FindCall(pattern, at + 1);
    if (found < 0) return "no " + pattern + " after " + (at < 0 ? "the start" : calls[at].Text());
    at = found;
  }
  return std::string();
}

std::string CallLog::Mismatch(const std::string& operation, const std::vector<ExpectedCall>& table) const {
  size_t row = 0;
  for (const RecordedCall& call : calls) {
    if (call.operation != operation) continue;
    if (row == table.size()) return "unexpected " + call.Text();
    const ExpectedCall& want = table[row++];
    if (call.window != want.window || call.message != want.message || call.wParam != want.wParam ||
        call.lParam != want.lParam)
      return "row " + std::to_string(row) + ": " + call.Text() + " is not " +
             Args(want.window, MessageText(want.message), Hex(want.wParam), Hex(want.lParam));
  }
  return row == table.size() ? "" : "missing row " + std::to_string(row + 1);
}

// ---------------------------------------------------------------- the decorator

CallLog::CallLog(WindowSystem& inner, const HandleNamer* namer)
    : inner(inner), namer(namer ? namer : HexNames()) {
  Logs().push_back(this);
}

CallLog::~CallLog() { Logs().erase(std::find(Logs().begin(), Logs().end(), this)); }

void CallLog::Restart() {
  calls.clear();
  onCall = nullptr;
  onReturn = nullptr;
  procedures.clear();
  creating.clear();
  windows.clear();
  selected.clear();
}

template <typename... T>
std::string CallLog::Args(const T&... args) const {
  return ::Args(*namer, args...);
}

size_t CallLog::Enter(const std::string& operation, const std::string& arguments, HWND window, UINT message,
                      WPARAM wParam, LPARAM lParam) {
  calls.push_back(RecordedCall{operation, window, message, wParam, lParam, 0, arguments, {}});
  if (onCall) onCall(calls.back());
  return calls.size() - 1;
}

void CallLog::Note(const std::string& operation, const std::string& arguments) { Enter(operation, arguments); }

template <typename R>
R CallLog::Leave(size_t entry, R value, const std::string& spelt) {
  if (entry < calls.size()) {  // a test may have cleared the log meanwhile
    calls[entry].returned = (LRESULT)(value);
    calls[entry].result = spelt;
    if (onReturn) onReturn(calls[entry]);
  }
  return value;
}

LRESULT CALLBACK CallLog::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CallLog* log = Logs().empty() ? nullptr : Logs().back();
  if (log == nullptr) return 0;
  WNDPROC procedure = nullptr;
  for (const auto& known : log->windows)
    if (known.first == window) procedure = known.second;
  if (procedure == nullptr && !log->creating.empty()) {
    // The first message of a window being created: it belongs to the class being created.
    procedure = log->creating.back();
    log->windows.emplace_back(window, procedure);
  }
  if (procedure == nullptr) return log->inner.DefWindowProcA(window, message, wParam, lParam);
  log->Enter("Message", log->Args(window, MessageText(message), Hex(wParam), Hex(lParam)), window, message, wParam,
             lParam);
  LRESULT result = procedure(window, message, wParam, lParam);
  if (message == kWmNcDestroy) {  // a window's last message: user32 may hand its handle to a new window
    auto& known = log->windows;
    known.erase(std::remove_if(known.begin(), known.end(), [&](auto& bound) { return bound.first == window; }),
                known.end());
  }
  return result;
}

ATOM CallLog::RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr) {
    size_t entry = Enter("RegisterClassA", "null");
    return Leave(entry, inner.RegisterClassA(windowClass), "0");
  }
  size_t entry = Enter("RegisterClassA", Args(windowClass->lpszClassName, "style=" + Args(Hex(windowClass->style)),
                                              "icon=" + namer->NameOf(windowClass->hIcon),
                                              "cursor=" + namer->NameOf(windowClass->hCursor),
                                              "brush=" + namer->NameOf(windowClass->hbrBackground)));
  WNDCLASSA relayed = *windowClass;
  if (relayed.lpfnWndProc != nullptr) relayed.lpfnWndProc = Relay;
  ATOM atom = inner.RegisterClassA(&relayed);
  if (atom != 0 && windowClass->lpfnWndProc != nullptr)
    procedures.emplace_back(windowClass->lpszClassName, windowClass->lpfnWndProc);
  return Leave(entry, atom, atom ? Args(Hex(atom)) : "0");
}

HWND CallLog::CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                              int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  int id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
  size_t entry =
      Enter("CreateWindowExA", Args(Hex(exStyle), className, windowName, Hex(style), x, y, width, height, parent, id));
  WNDPROC procedure = nullptr;
  for (const auto& known : procedures)
    if (className != nullptr && EqualAsciiNoCase(known.first.c_str(), className)) procedure = known.second;
  if (procedure) creating.push_back(procedure);
  HWND made = inner.CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu,
                                    instance, param);
  if (procedure) {
    creating.pop_back();
    bool bound = std::any_of(windows.begin(), windows.end(), [&](auto& known) { return known.first == made; });
    if (made != nullptr && !bound) windows.emplace_back(made, procedure);
  }
  calls[entry].window = made;
  return Leave(entry, made, namer->NameOf(made));
}

BOOL CallLog::DestroyWindow(HWND window) {
  size_t entry = Enter("DestroyWindow", Args(window), window);
  BOOL ok = inner.DestroyWindow(window);
  return Leave(entry, ok, ok ? "" : "FALSE");
}

BOOL CallLog::ShowWindow(HWND window, int command) {
  size_t entry = Enter("ShowWindow", Args(window, command), window);
  return Leave(entry, inner.ShowWindow(window, command), "");
}

BOOL CallLog::UpdateWindow(HWND window) {
  size_t entry = Enter("UpdateWindow", Args(window), window);
  return Leave(entry, inner.UpdateWindow(window), "");
}

BOOL CallLog::EnableWindow(HWND window, BOOL enable) {
  size_t entry = Enter("EnableWindow", Args(window, Flag(enable)), window, 0, static_cast<WPARAM>(enable));
  return Leave(entry, inner.EnableWindow(window, enable), "");
}

BOOL CallLog::SetWindowTextA(HWND window, LPCSTR text) {
  size_t entry = Enter("SetWindowTextA", Args(window, text), window);
  return Leave(entry, inner.SetWindowTextA(window, text), "");
}

int CallLog::GetWindowTextA(HWND window, LPSTR buffer, int capacity) {
  size_t entry = Enter("GetWindowTextA", Args(window, capacity), window);
  int copied = inner.GetWindowTextA(window, buffer, capacity);
  return Leave(entry, copied, Args(copied));
}

BOOL CallLog::GetClientRect(HWND window, RECT* rect) {
  size_t entry = Enter("GetClientRect", Args(window), window);
  BOOL ok = inner.GetClientRect(window, rect);
  return Leave(entry, ok, ok ? Args(*rect) : "FALSE");
}

BOOL CallLog::AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  if (rect == nullptr) {
    size_t entry = Enter("AdjustWindowRect", "null");
    return Leave(entry, inner.AdjustWindowRect(rect, style, menu), "FALSE");
  }
  size_t entry = Enter("AdjustWindowRect", Args(*rect, Hex(style), Flag(menu)));
  BOOL ok = inner.AdjustWindowRect(rect, style, menu);
  return Leave(entry, ok, ok ? Args(*rect) : "FALSE");
}

HWND CallLog::GetDesktopWindow() {
  size_t entry = Enter("GetDesktopWindow", "");
  HWND desktop = inner.GetDesktopWindow();
  return Leave(entry, desktop, namer->NameOf(desktop));
}

HCURSOR CallLog::LoadCursorA(HINSTANCE instance, LPCSTR name) {
  std::string nameText = IS_INTRESOURCE(name) ? Args(reinterpret_cast<uintptr_t>(name)) : Args(name);
  size_t entry = Enter("LoadCursorA", Args(instance, nameText));
  HCURSOR cursor = inner.LoadCursorA(instance, name);
  return Leave(entry, cursor, cursor && name == IDC_ARROW ? "IDC_ARROW" : namer->NameOf(cursor));
}

int CallLog::GetSystemMetrics(int index) {
  size_t entry = Enter("GetSystemMetrics", Args(index));
  int value = inner.GetSystemMetrics(index);
  return Leave(entry, value, Args(value));
}

BOOL CallLog::GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax) {
  size_t entry = Enter("GetMessageA", "");
  BOOL got = inner.GetMessageA(message, window, filterMin, filterMax);
  if (got > 0 && entry < calls.size()) {
    calls[entry].window = message->hwnd;
    calls[entry].message = message->message;
    calls[entry].wParam = message->wParam;
    calls[entry].lParam = message->lParam;
  }
  return Leave(entry, got, got == 0 ? "WM_QUIT" : got < 0 ? "-1" : Args(message->hwnd, MessageText(message->message)));
}

BOOL CallLog::TranslateMessage(const MSG* message) {
  size_t entry = Enter("TranslateMessage", message ? MessageText(message->message) : std::string("null"));
  return Leave(entry, inner.TranslateMessage(message), "");
}

LRESULT CallLog::DispatchMessageA(const MSG* message) {
  if (message == nullptr) {
    size_t entry = Enter("DispatchMessageA", "null");
    return Leave(entry, inner.DispatchMessageA(message), "");
  }
  size_t entry = Enter("DispatchMessageA", Args(message->hwnd, MessageText(message->message)), message->hwnd,
                       message->message, message->wParam, message->lParam);
  return Leave(entry, inner.DispatchMessageA(message), "");
}

LRESULT CallLog::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The folder chooser's two messages carry texts (a selection only when wParam says it is a path,
  // otherwise an item list that is no text); everything else is shown as a number.
  bool text = message == BFFM_SETSTATUSTEXTA || (message == BFFM_SETSELECTIONA && wParam != 0);
  size_t entry = Enter("SendMessageA",
                       Args(window, MessageText(message), Hex(wParam),
                            text ? Args(reinterpret_cast<const char*>(lParam)) : Args(Hex(lParam))),
                       window, message, wParam, lParam);
  return Leave(entry, inner.SendMessageA(window, message, wParam, lParam), "");
}

void CallLog::PostQuitMessage(int exitCode) {
  Enter("PostQuitMessage", Args(exitCode), nullptr, WM_QUIT, static_cast<WPARAM>(exitCode));
  inner.PostQuitMessage(exitCode);
}

LRESULT CallLog::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  size_t entry = Enter("DefWindowProcA", Args(window, MessageText(message), Hex(wParam), Hex(lParam)), window,
                       message, wParam, lParam);
  return Leave(entry, inner.DefWindowProcA(window, message, wParam, lParam), "");
}

UINT_PTR CallLog::SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) {
  size_t entry = Enter("SetTimer", Args(window, id, elapse, function), window, WM_TIMER, id);
  UINT_PTR result = inner.SetTimer(window, id, elapse, function);
  return Leave(entry, result, Args(result));
}

BOOL CallLog::KillTimer(HWND window, UINT_PTR id) {
  size_t entry = Enter("KillTimer", Args(window, id), window, WM_TIMER, id);
  BOOL found = inner.KillTimer(window, id);
  return Leave(entry, found, Args(Flag(found)));
}

int CallLog::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  size_t entry = Enter("MessageBoxA", Args(owner, text, caption, Hex(type)), owner, 0, type);
  int answer = inner.MessageBoxA(owner, text, caption, type);
  return Leave(entry, answer, Args(answer));
}

BOOL CallLog::MessageBeep(UINT type) {
  size_t entry = Enter("MessageBeep", Args(Hex(type)), nullptr, 0, type);
  return Leave(entry, inner.MessageBeep(type), "");
}

BOOL CallLog::InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  size_t entry = Enter("InvalidateRect", Args(window, rect, Flag(erase)), window, 0, static_cast<WPARAM>(erase));
  return Leave(entry, inner.InvalidateRect(window, rect, erase), "");
}

HDC CallLog::BeginPaint(HWND window, PAINTSTRUCT* paint) {
  size_t entry = Enter("BeginPaint", Args(window), window);
  HDC dc = inner.BeginPaint(window, paint);
  return Leave(entry, dc, dc ? Args(dc, paint->rcPaint) : "0");
}

BOOL CallLog::EndPaint(HWND window, const PAINTSTRUCT* paint) {
  size_t entry = Enter("EndPaint", Args(window, paint ? namer->NameOf(paint->hdc) : std::string("null")), window);
  BOOL ok = inner.EndPaint(window, paint);
  return Leave(entry, ok, ok ? "" : "FALSE");
}

HDC CallLog::GetDC(HWND window) {
  size_t entry = Enter("GetDC", Args(window), window);
  HDC dc = inner.GetDC(window);
  return Leave(entry, dc, namer->NameOf(dc));
}

int CallLog::ReleaseDC(HWND window, HDC dc) {
  size_t entry = Enter("ReleaseDC", Args(window, dc), window);
  int released = inner.ReleaseDC(window, dc);
  return Leave(entry, released, released ? "1" : "0");
}

int CallLog::GetDeviceCaps(HDC dc, int index) {
  size_t entry = Enter("GetDeviceCaps", Args(dc, index));
  int value = inner.GetDeviceCaps(dc, index);
  return Leave(entry, value, Args(value));
}

HGDIOBJ CallLog::GetStockObject(int object) {
  size_t entry = Enter("GetStockObject", Args(object));
  HGDIOBJ stock = inner.GetStockObject(object);
  return Leave(entry, stock, namer->NameOf(stock));
}

HGDIOBJ CallLog::SelectObject(HDC dc, HGDIOBJ object) {
  size_t entry = Enter("SelectObject", Args(dc, object));
  HGDIOBJ previous = inner.SelectObject(dc, object);
  if (previous != nullptr) selected[dc] = object;
  return Leave(entry, previous, "");
}

BOOL CallLog::DeleteObject(HGDIOBJ object) {
  size_t entry = Enter("DeleteObject", Args(object));
  return Leave(entry, inner.DeleteObject(object), "");
}

BOOL CallLog::Rectangle(HDC dc, int left, int top, int right, int bottom) {
  size_t entry = Enter("Rectangle", Args(dc, RECT{left, top, right, bottom}));
  return Leave(entry, inner.Rectangle(dc, left, top, right, bottom), "");
}

HDC CallLog::CreateCompatibleDC(HDC dc) {
  size_t entry = Enter("CreateCompatibleDC", Args(dc));
  HDC memory = inner.CreateCompatibleDC(dc);
  return Leave(entry, memory, namer->NameOf(memory));
}

BOOL CallLog::DeleteDC(HDC dc) {
  size_t entry = Enter("DeleteDC", Args(dc));
  BOOL ok = inner.DeleteDC(dc);
  if (ok) selected.erase(dc);
  return Leave(entry, ok, ok ? "" : "FALSE");
}

BOOL CallLog::BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     DWORD rop) {
  auto from = selected.find(source);
  std::string picture = from != selected.end() ? namer->NameOf(from->second) : "?";
  size_t entry = Enter("BitBlt", Args(dest, x, y, width, height, namer->NameOf(source) + "[" + picture + "]",
                                      sourceX, sourceY, Hex(rop)));
  return Leave(entry, inner.BitBlt(dest, x, y, width, height, source, sourceX, sourceY, rop), "");
}

int CallLog::DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  std::string drawn;
  if (text != nullptr) drawn = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
  RECT area = rect ? *rect : RECT{0, 0, 0, 0};
  size_t entry =
      Enter("DrawTextA", Args(dc, Quote(drawn.c_str(), static_cast<int>(drawn.size())), length, area, Hex(format)));
  return Leave(entry, inner.DrawTextA(dc, text, length, rect, format), "");
}
