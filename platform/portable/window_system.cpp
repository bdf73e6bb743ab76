#include "platform/portable/window_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/ascii_case.h"

namespace {

// Handles are small numbers in ranges of their own, never addresses, so a stale or
// foreign handle is recognised rather than followed.
enum : uintptr_t { kDesktop = 0xFFF0, kWindowBase = 0x10000, kDcBase = 0x20000, kStockBase = 0x30000,
                   kCursor = 0x40000 };
// Messages and notifications the header of types does not carry.
enum : UINT { kBnClicked = 0, kWmEnable = 0x000A, kWmGetTextLength = 0x000E, kWmNcCreate = 0x0081 };

bool SameName(const std::string& a, const char* b) { return b != nullptr && EqualAsciiNoCase(a.c_str(), b); }

bool IsSystemControlClass(const char* name) {
  return SameName("BUTTON", name) || SameName("EDIT", name) || SameName("STATIC", name);
}

// The entry of a table of handles numbered from base + 1, or null for a handle outside it.
template <typename Table>
auto Slot(Table& table, uintptr_t base, const void* handle) -> decltype(&table[0]) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  return value > base && value <= base + table.size() ? &table[value - base - 1] : nullptr;
}

// Copies at most capacity-1 bytes of text and a terminator; the number copied.
int CopyText(const std::string& text, char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  size_t length = text.size() < static_cast<size_t>(capacity - 1) ? text.size() : static_cast<size_t>(capacity - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

}  // namespace

RecordingWindowSystem::RecordingWindowSystem() {
  NameObject(reinterpret_cast<HGDIOBJ>(kStockBase + WHITE_BRUSH), "WHITE_BRUSH");
}

// ---------------------------------------------------------------- queries

int RecordingWindowSystem::OpenDeviceContexts() const {
  return static_cast<int>(std::count_if(deviceContexts.begin(), deviceContexts.end(), [](auto& c) { return c.open; }));
}

RecordedWindow* RecordingWindowSystem::Find(HWND window) { return Slot(windows, kWindowBase, window); }

const RecordedWindow* RecordingWindowSystem::Find(HWND window) const { return Slot(windows, kWindowBase, window); }

RecordedWindow* RecordingWindowSystem::Live(HWND window) {
  RecordedWindow* found = Find(window);
  return found != nullptr && found->alive ? found : nullptr;
}

const RecordedWindow* RecordingWindowSystem::MainWindow() const {
  for (const RecordedWindow& window : windows)
    if (window.alive && window.parent == nullptr) return &window;
  return nullptr;
}

const RecordedWindow* RecordingWindowSystem::FindChild(HWND parent, int id) const {
  for (const RecordedWindow* child : Children(parent))
    if (child->id == id) return child;
  return nullptr;
}

std::vector<const RecordedWindow*> RecordingWindowSystem::Children(HWND parent) const {
  std::vector<const RecordedWindow*> children;
  for (const RecordedWindow& window : windows)
    if (window.alive && window.parent == parent && parent != nullptr) children.push_back(&window);
  return children;
}

std::string RecordingWindowSystem::NameOf(const void* handle) const {
  if (handle == nullptr) return "0";
  auto named = objectNames.find(handle);
  if (named != objectNames.end()) return named->second;
  if (reinterpret_cast<uintptr_t>(handle) == kDesktop) return "desktop";
  if (const RecordedWindow* window = Slot(windows, kWindowBase, handle)) return window->name;
  if (const DeviceContext* dc = Slot(deviceContexts, kDcBase, handle)) return dc->name;
  return HexText(reinterpret_cast<uintptr_t>(handle));
}

RecordingWindowSystem::DeviceContext* RecordingWindowSystem::FindDc(HDC dc) {
  return Slot(deviceContexts, kDcBase, dc);
}

RecordingWindowSystem::DeviceContext* RecordingWindowSystem::OpenDc(HDC dc, DcKind kind) {
  DeviceContext* found = FindDc(dc);
  return found != nullptr && found->open && (kind == DcKind::Any || found->kind == kind) ? found : nullptr;
}

HDC RecordingWindowSystem::NewDc(DcKind kind, HWND window) {
  deviceContexts.push_back(DeviceContext{"dc" + std::to_string(deviceContexts.size() + 1), kind, window});
  return reinterpret_cast<HDC>(kDcBase + deviceContexts.size());
}

RECT RecordingWindowSystem::ClientArea(const RecordedWindow& window) const {
  int width = window.Width();
  int height = window.Height();
  if ((window.style & WS_CHILD) == 0) {
    width -= frame.left + frame.right;
    height -= frame.top + frame.bottom;
  }
  return RECT{0, 0, width < 0 ? 0 : width, height < 0 ? 0 : height};
}

// ---------------------------------------------------------------- windows

ATOM RecordingWindowSystem::RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr) return 0;
  for (const WindowClass& known : classes) {
    if (SameName(known.name, windowClass->lpszClassName)) return 0;
  }
  classes.push_back(WindowClass{windowClass->lpszClassName, *windowClass});
  ATOM atom = static_cast<ATOM>(0xC000 + classes.size());
  return atom;
}

HWND RecordingWindowSystem::CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE,
                                            LPVOID) {
  int id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
  WNDPROC procedure = nullptr;
  bool known = IsSystemControlClass(className);
  for (const WindowClass& registered : classes) {
    if (SameName(registered.name, className)) {
      known = true;
      procedure = registered.attributes.lpfnWndProc;
    }
  }
  for (const std::string& failing : failingClasses)
    if (SameName(failing, className)) known = false;
  bool parentOk = parent == nullptr ? (style & WS_CHILD) == 0 : Live(parent) != nullptr;
  if (!known || !parentOk) return nullptr;

  HWND handle = reinterpret_cast<HWND>(kWindowBase + windows.size() + 1);
  RECT rect = {x, y, x + width, y + height};
  windows.push_back(RecordedWindow{handle, "w" + std::to_string(windows.size() + 1), className, windowName ? windowName : "",
                                   style, exStyle, (style & WS_CHILD) ? id : 0, parent, rect, (style & WS_VISIBLE) != 0,
                                   (style & WS_DISABLED) == 0, true, procedure, false, false, RECT{0, 0, 0, 0}});

  if (procedure != nullptr) {
    // As on Windows: the size limits are asked for and applied, then the window hears of its creation
    // before CreateWindowExA returns.
    MINMAXINFO limits = {};
    limits.ptMaxSize = POINT{screenWidth, screenHeight};
    limits.ptMaxTrackSize = POINT{screenWidth + 12, screenHeight + 12};
    limits.ptMinTrackSize = POINT{112, 27};
    Deliver(Find(handle), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    RecordedWindow* created = Find(handle);
    int w = created->Width(), h = created->Height();
    w = std::max(limits.ptMinTrackSize.x, std::min(w, limits.ptMaxTrackSize.x));
    h = std::max(limits.ptMinTrackSize.y, std::min(h, limits.ptMaxTrackSize.y));
    created->rect.right = created->rect.left + w;
    created->rect.bottom = created->rect.top + h;
    if (Deliver(created, kWmNcCreate, 0, 0) == 0 || Deliver(Find(handle), WM_CREATE, 0, 0) == -1) {
      DestroyTree(Find(handle));
      return nullptr;
    }
  }
  return handle;
}

void RecordingWindowSystem::DestroyTree(RecordedWindow* window) {
  if (window == nullptr || !window->alive) return;
  HWND handle = window->handle;
  window->visible = false;
  // As on Windows: the active window loses the activation as it is hidden; then the window hears of
  // its destruction, then its children.
  if (activeWindow == handle) Activate(handle, false);
  if (Live(handle) != nullptr && Find(handle)->procedure != nullptr) Deliver(Find(handle), WM_DESTROY, 0, 0);
  for (size_t i = 0; i < windows.size(); ++i)
    if (windows[i].alive && windows[i].parent == handle) DestroyTree(&windows[i]);
  window = Find(handle);
  window->alive = false;
  window->needsPaint = false;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [&](auto& timer) { return timer.first == handle; }),
               timers.end());
}

BOOL RecordingWindowSystem::DestroyWindow(HWND window) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  DestroyTree(target);
  return TRUE;
}

BOOL RecordingWindowSystem::ShowWindow(HWND window, int command) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  BOOL wasVisible = target->visible ? TRUE : FALSE;
  target->visible = command != SW_HIDE;
  if (target->procedure != nullptr && target->visible && !wasVisible) {
    // A window that appears needs painting; showing it normally also activates it. Its background is
    // erased at once, as on Windows, and WM_PAINT waits for the queue.
    target->needsPaint = true;
    target->invalid = ClientArea(*target);
    if (command == SW_SHOWNORMAL || command == SW_SHOW) Activate(window, true);
    HDC dc = NewDc(DcKind::Window, window);
    if (RecordedWindow* shown = Live(window)) {
      shown->needsErase = false;
      Deliver(shown, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    }
    FindDc(dc)->open = false;
  }
  return wasVisible;
}

BOOL RecordingWindowSystem::UpdateWindow(HWND window) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  if (target->procedure != nullptr && target->visible && target->needsPaint) Deliver(target, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL RecordingWindowSystem::EnableWindow(HWND window, BOOL enable) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  BOOL wasDisabled = target->enabled ? FALSE : TRUE;
  SetEnabled(target, enable != FALSE);
  return wasDisabled;
}

void RecordingWindowSystem::SetEnabled(RecordedWindow* window, bool enable) {
  bool changed = window->enabled != enable;
  window->enabled = enable;
  if (changed && window->procedure != nullptr) Deliver(window, kWmEnable, enable ? TRUE : FALSE, 0);
}

void RecordingWindowSystem::Activate(HWND window, bool active) {
  activeWindow = active ? window : nullptr;
  Deliver(Live(window), WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

BOOL RecordingWindowSystem::SetWindowTextA(HWND window, LPCSTR text) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  if (target->procedure) return Deliver(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
  target->text = text ? text : "";
  return TRUE;
}

int RecordingWindowSystem::GetWindowTextA(HWND window, LPSTR buffer, int capacity) {
  const RecordedWindow* target = Live(window);
  int copied = CopyText(target ? target->text : std::string(), buffer, capacity);
  return copied;
}

BOOL RecordingWindowSystem::GetClientRect(HWND window, RECT* rect) {
  const RecordedWindow* target = Live(window);
  bool ok = target != nullptr && rect != nullptr;
  if (ok) *rect = ClientArea(*target);
  return ok ? TRUE : FALSE;
}

BOOL RecordingWindowSystem::AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  if (rect == nullptr) return FALSE;
  // Only the frame parts the style names are added, as Windows does: the whole frame with its
  // caption for WS_CAPTION, a border alone for WS_BORDER or WS_THICKFRAME. A menu bar is not modelled.
  bool caption = (style & WS_CAPTION) == WS_CAPTION;
  if (caption || (style & (WS_BORDER | WS_THICKFRAME)) != 0) {
    rect->left -= frame.left;
    rect->top -= caption ? frame.top : frame.bottom;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
  }
  return TRUE;
}

HWND RecordingWindowSystem::GetDesktopWindow() {
  return reinterpret_cast<HWND>(kDesktop);
}

HCURSOR RecordingWindowSystem::LoadCursorA(HINSTANCE instance, LPCSTR name) {
  HCURSOR cursor = nullptr;
  if (instance == nullptr && name == IDC_ARROW) cursor = reinterpret_cast<HCURSOR>(kCursor);
  if (cursor != nullptr) NameObject(cursor, "IDC_ARROW");
  return cursor;
}

int RecordingWindowSystem::GetSystemMetrics(int index) {
  int value = 0;
  if (index == SM_CXSCREEN) value = screenWidth;
  if (index == SM_CYSCREEN) value = screenHeight;
  if (index == SM_CXVSCROLL) value = scrollBarWidth;
  return value;
}

// ---------------------------------------------------------------- messages

LRESULT RecordingWindowSystem::Deliver(RecordedWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr || !window->alive) return 0;
  if (window->procedure == nullptr) return ControlMessage(window, message, wParam, lParam);
  // The procedure may create windows, which moves the table; nothing here touches `window` afterwards.
  return window->procedure(window->handle, message, wParam, lParam);
}

LRESULT RecordingWindowSystem::ControlMessage(RecordedWindow* control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      control->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT:
      return CopyText(control->text, reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
    case kWmGetTextLength:
      return static_cast<LRESULT>(control->text.size());
    case BM_CLICK:
      // A pressed button tells its parent, through the queue, as a click does.
      if (SameName(control->className, "BUTTON") && control->enabled && control->parent != nullptr) {
        PostMessageA(control->parent, WM_COMMAND, MAKEWPARAM(control->id, kBnClicked),
                     reinterpret_cast<LPARAM>(control->handle));
      }
      return 0;
    default:
      return 0;
  }
}

BOOL RecordingWindowSystem::GetMessageA(MSG* message, HWND, UINT, UINT) {
  if (message == nullptr) return -1;
  for (;;) {
    *message = MSG{};
    if (!queue.empty()) {
      *message = queue.front();
      queue.pop_front();
      return message->message == WM_QUIT ? FALSE : TRUE;
    }
    if (quitPosted) {
      quitPosted = false;
      message->message = WM_QUIT;
      message->wParam = static_cast<WPARAM>(quitCode);
      return FALSE;
    }
    // Paints come only when nothing else is waiting, as on Windows.
    if (RecordedWindow* window = FirstWindowNeedingPaint()) {
      message->hwnd = window->handle;
      message->message = WM_PAINT;
      return TRUE;
    }
    if (!inputExhausted && user && user()) continue;
    // Nobody is left to press anything: the session ends as a closed window does, or, when that
    // did not end it, the loop fails rather than wait for ever.
    const RecordedWindow* main = MainWindow();
    if (!inputExhausted && main != nullptr) {
      inputExhausted = true;
      if (onInput) onInput("Input", "end of script: close the main window");
      PostMessageA(main->handle, WM_CLOSE, 0, 0);
      continue;
    }
    inputExhausted = true;
    return -1;
  }
}

RecordedWindow* RecordingWindowSystem::FirstWindowNeedingPaint() {
  for (RecordedWindow& window : windows)
    if (window.alive && window.visible && window.needsPaint && window.procedure != nullptr) return &window;
  return nullptr;
}

BOOL RecordingWindowSystem::TranslateMessage(const MSG* message) {
  return FALSE;
}

LRESULT RecordingWindowSystem::DispatchMessageA(const MSG* message) {
  if (message == nullptr) return 0;
  RecordedWindow* window = Live(message->hwnd);
  if (window == nullptr) return 0;
  size_t paintsBefore = paints.size();
  HWND handle = window->handle;
  LRESULT result = Deliver(window, message->message, message->wParam, message->lParam);
  if (message->message == WM_PAINT && paints.size() == paintsBefore) {
    // A procedure that did not paint would be asked again for ever; take the paint as done.
    if (RecordedWindow* again = Find(handle)) again->needsPaint = false;
  }
  return result;
}

LRESULT RecordingWindowSystem::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) {
    return onForeignMessage ? onForeignMessage(window, message, wParam, lParam) : 0;
  }
  return Deliver(target, message, wParam, lParam);
}

BOOL RecordingWindowSystem::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  bool ok = window == nullptr || Live(window) != nullptr;
  if (!ok) return FALSE;
  MSG posted = {};
  posted.hwnd = window;
  posted.message = message;
  posted.wParam = wParam;
  posted.lParam = lParam;
  queue.push_back(posted);
  return TRUE;
}

void RecordingWindowSystem::PostQuitMessage(int exitCode) {
  quitPosted = true;
  quitCode = exitCode;
}

LRESULT RecordingWindowSystem::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return 0;
  switch (message) {
    case kWmNcCreate:
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return SendMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SETTEXT:
      target->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT:
      return ControlMessage(target, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return 0;
  }
}

// ---------------------------------------------------------------- timer, boxes, sounds

UINT_PTR RecordingWindowSystem::SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function) {
  UINT_PTR result = Live(window) == nullptr ? 0 : timerResult.value_or(id);
  if (result != 0) timers.emplace_back(window, result);
  return result;
}

BOOL RecordingWindowSystem::KillTimer(HWND window, UINT_PTR id) {
  auto timer = std::find(timers.begin(), timers.end(), std::make_pair(window, id));
  bool found = timer != timers.end();
  if (found) timers.erase(timer);
  return found ? TRUE : FALSE;
}

int RecordingWindowSystem::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer = messageBoxAnswers.empty() ? IDOK : messageBoxAnswers.front();
  if (!messageBoxAnswers.empty()) messageBoxAnswers.pop_front();
  const RecordedWindow* ownerWindow = Live(owner);
  RecordedMessageBox box{owner, text ? text : "", caption ? caption : "", type, answer,
                         ownerWindow != nullptr && ownerWindow->visible};
  messageBoxes.push_back(box);
  RunModal(owner, [this, box] {
    if (onMessageBox) onMessageBox(box);
  });
  return answer;
}

void RecordingWindowSystem::RunModal(HWND owner, const std::function<void()>& opened) {
  RecordedWindow* window = Live(owner);
  bool disable = window != nullptr && window->enabled;
  bool deactivate = false;
  if (disable) SetEnabled(window, false);
  if (opened) opened();
  ++modalDepth;
  if (ServeQueue()) {
    deactivate = owner != nullptr && owner == activeWindow;
    if (deactivate) Activate(owner, false);
    for (bool served = ServeQueue(), fired = true; served && fired;) {
      fired = false;
      for (std::pair<HWND, UINT_PTR> timer : timers) {
        if (std::find(firedTimers.begin(), firedTimers.end(), timer) != firedTimers.end()) continue;
        firedTimers.push_back(timer);
        MSG tick = {};
        tick.hwnd = timer.first;
        tick.message = WM_TIMER;
        tick.wParam = timer.second;
        DispatchMessageA(&tick);
        served = ServeQueue();
        fired = true;
        break;
      }
    }
  }
  if (--modalDepth == 0) firedTimers.clear();
  if (disable && Live(owner)) SetEnabled(Live(owner), true);
  if (deactivate && Live(owner)) Activate(owner, true);
}

bool RecordingWindowSystem::ServeQueue() {
  for (;;) {
    MSG message = {};
    if (!queue.empty() && queue.front().message != WM_QUIT) {
      message = queue.front();
      queue.pop_front();
    } else if (quitPosted || !queue.empty()) {
      return false;
    } else if (RecordedWindow* window = FirstWindowNeedingPaint()) {
      message.hwnd = window->handle;
      message.message = WM_PAINT;
    } else {
      return true;
    }
    DispatchMessageA(&message);
  }
}

BOOL RecordingWindowSystem::MessageBeep(UINT type) {
  ++beeps;
  return TRUE;
}

// ---------------------------------------------------------------- painting

BOOL RecordingWindowSystem::InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  RecordedWindow* target = Live(window);
  if (target == nullptr) return FALSE;
  RECT area = rect ? *rect : ClientArea(*target);
  if (target->needsPaint) {
    // The update region grows to the rectangle around both.
    area.left = std::min(area.left, target->invalid.left);
    area.top = std::min(area.top, target->invalid.top);
    area.right = std::max(area.right, target->invalid.right);
    area.bottom = std::max(area.bottom, target->invalid.bottom);
  }
  target->invalid = area;
  target->needsPaint = true;
  if (erase) target->needsErase = true;
  return TRUE;
}

HDC RecordingWindowSystem::BeginPaint(HWND window, PAINTSTRUCT* paint) {
  RecordedWindow* target = Live(window);
  if (target == nullptr || paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  HDC dc = NewDc(DcKind::Paint, window);
  paint->hdc = dc;
  paint->rcPaint = target->needsPaint ? target->invalid : RECT{0, 0, 0, 0};
  bool erase = target->needsErase;
  target->needsPaint = false;
  target->needsErase = false;
  if (erase) paint->fErase = Deliver(target, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  paintDc = dc;
  currentPaint = RecordedPaint{window, paint->rcPaint, {}};
  return dc;
}

BOOL RecordingWindowSystem::EndPaint(HWND window, const PAINTSTRUCT* paint) {
  DeviceContext* dc = paint ? OpenDc(paint->hdc, DcKind::Paint) : nullptr;
  bool ok = dc != nullptr && dc->window == window;
  if (!ok) return FALSE;
  dc->open = false;
  if (paintDc == paint->hdc) {
    paintDc = nullptr;
    paints.push_back(currentPaint);
    if (onPaint) onPaint(paints.back());
  }
  return TRUE;
}

HDC RecordingWindowSystem::GetDC(HWND window) {
  HDC dc = NewDc(DcKind::Window, window);
  return dc;
}

int RecordingWindowSystem::ReleaseDC(HWND window, HDC dc) {
  DeviceContext* context = OpenDc(dc, DcKind::Window);
  bool ok = context != nullptr && context->window == window;
  if (!ok) return 0;
  context->open = false;
  return 1;
}

int RecordingWindowSystem::GetDeviceCaps(HDC dc, int index) {
  int value = 0;
  if (OpenDc(dc) != nullptr) value = index == HORZRES ? screenWidth : index == VERTRES ? screenHeight : 0;
  return value;
}

HGDIOBJ RecordingWindowSystem::GetStockObject(int object) {
  HGDIOBJ stock = reinterpret_cast<HGDIOBJ>(kStockBase + static_cast<uintptr_t>(object));
  return stock;
}

HGDIOBJ RecordingWindowSystem::SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = OpenDc(dc);
  if (context == nullptr || object == nullptr) return nullptr;
  HGDIOBJ previous = context->selected;
  context->selected = object;
  // The context's default object stands for "nothing selected before".
  return previous ? previous : reinterpret_cast<HGDIOBJ>(kStockBase + 0xFF);
}

BOOL RecordingWindowSystem::DeleteObject(HGDIOBJ object) {
  return object != nullptr ? TRUE : FALSE;
}

BOOL RecordingWindowSystem::Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* context = OpenDc(dc);
  RECT area = {left, top, right, bottom};
  if (context == nullptr) return FALSE;
  if (dc == paintDc) currentPaint.drawings.push_back(RecordedDrawing{"Rectangle", area, NameOf(context->selected), 0});
  return TRUE;
}

HDC RecordingWindowSystem::CreateCompatibleDC(HDC dc) {
  HDC memory = NewDc(DcKind::Memory, nullptr);
  return memory;
}

BOOL RecordingWindowSystem::DeleteDC(HDC dc) {
  DeviceContext* context = OpenDc(dc, DcKind::Memory);
  if (context == nullptr) return FALSE;
  context->open = false;
  return TRUE;
}

BOOL RecordingWindowSystem::BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                                   int sourceY, DWORD rop) {
  DeviceContext* from = FindDc(source);
  std::string picture = from ? NameOf(from->selected) : "?";
  if (OpenDc(dest) == nullptr || OpenDc(source) == nullptr) return FALSE;
  RECT area = {x, y, x + width, y + height};
  if (dest == paintDc) currentPaint.drawings.push_back(RecordedDrawing{"BitBlt", area, picture, 0});
  return TRUE;
}

int RecordingWindowSystem::DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  std::string drawn;
  if (text != nullptr) drawn = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
  RECT area = rect ? *rect : RECT{0, 0, 0, 0};
  if (OpenDc(dc) == nullptr || text == nullptr || rect == nullptr) return 0;
  if (dc == paintDc) currentPaint.drawings.push_back(RecordedDrawing{"DrawTextA", area, drawn, format});
  int lines = 1;
  for (char c : drawn)
    if (c == '\n') ++lines;
  return lines * 16;
}
