#include "platform/portable/window_system.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

// Handles are small numbers in ranges of their own, never addresses, so a stale or
// foreign handle is recognised rather than followed.
enum : uintptr_t { kDesktop = 0xFFF0, kWindowBase = 0x10000, kDcBase = 0x20000, kStockBase = 0x30000, kArrowCursor = 0x40000 };
// Messages and notifications the header of types does not carry.
enum : UINT { kBnClicked = 0, kWmGetTextLength = 0x000E, kWmNcCreate = 0x0081 };

std::string Hex(uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string Number(long long value) { return std::to_string(value); }

// Quoted text for the log: the bytes as they are, with line breaks and tabs spelt out.
std::string Quote(const char* text, int length = -1) {
  if (text == nullptr) return "null";
  std::string out = "\"";
  for (int i = 0; length < 0 ? text[i] != '\0' : i < length; ++i) {
    char c = text[i];
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out + "\"";
}

std::string RectText(const RECT& r) {
  return Number(r.left) + "," + Number(r.top) + "," + Number(r.right) + "," + Number(r.bottom);
}

const char* MessageName(UINT message) {
  switch (message) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_ACTIVATE: return "WM_ACTIVATE";
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_PAINT: return "WM_PAINT";
    case WM_CLOSE: return "WM_CLOSE";
    case WM_QUIT: return "WM_QUIT";
    case WM_ERASEBKGND: return "WM_ERASEBKGND";
    case WM_GETMINMAXINFO: return "WM_GETMINMAXINFO";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_SYSCOMMAND: return "WM_SYSCOMMAND";
    case WM_TIMER: return "WM_TIMER";
    case BM_CLICK: return "BM_CLICK";
    case kWmNcCreate: return "WM_NCCREATE";
    default: return nullptr;
  }
}

std::string MessageText(UINT message) {
  const char* name = MessageName(message);
  return name ? std::string(name) : Hex(message);
}

bool SameName(const std::string& a, const char* b) { return b != nullptr && strcasecmp(a.c_str(), b) == 0; }

bool IsSystemControlClass(const char* name) {
  return name != nullptr && (strcasecmp(name, "BUTTON") == 0 || strcasecmp(name, "EDIT") == 0 ||
                             strcasecmp(name, "STATIC") == 0);
}

}  // namespace

std::string RecordedCall::Text() const {
  std::string text = operation + "(" + arguments + ")";
  if (!result.empty()) text += " = " + result;
  return text;
}

RecordingWindowSystem::RecordingWindowSystem() {
  NameObject(reinterpret_cast<HGDIOBJ>(kStockBase + WHITE_BRUSH), "WHITE_BRUSH");
}

RecordingWindowSystem::~RecordingWindowSystem() = default;

// ---------------------------------------------------------------- configuration

void RecordingWindowSystem::SetScreenSize(int width, int height) {
  screenWidth = width;
  screenHeight = height;
}

void RecordingWindowSystem::SetFrame(const WindowFrame& newFrame) { frame = newFrame; }

void RecordingWindowSystem::SetScrollBarWidth(int width) { scrollBarWidth = width; }

void RecordingWindowSystem::SetTimerResult(UINT_PTR result) {
  timerResultSet = true;
  timerResult = result;
}

void RecordingWindowSystem::PushMessageBoxAnswer(int answer) { messageBoxAnswers.push_back(answer); }

void RecordingWindowSystem::FailCreateOfClass(const std::string& className) { failingClasses.push_back(className); }

void RecordingWindowSystem::NameObject(HGDIOBJ object, const std::string& name) { objectNames[object] = name; }

// ---------------------------------------------------------------- script

void RecordingWindowSystem::PushInput(const ScriptedInput& input) { script.push_back(input); }

void RecordingWindowSystem::PushCommand(int id) {
  ScriptedInput input;
  input.kind = ScriptedInput::PostCommand;
  input.id = id;
  PushInput(input);
}

void RecordingWindowSystem::PushClick(int id) {
  ScriptedInput input;
  input.kind = ScriptedInput::ClickControl;
  input.id = id;
  PushInput(input);
}

void RecordingWindowSystem::PushCloseBox() {
  ScriptedInput input;
  input.kind = ScriptedInput::CloseBox;
  PushInput(input);
}

void RecordingWindowSystem::PushActivate(bool active) {
  ScriptedInput input;
  input.kind = active ? ScriptedInput::Activate : ScriptedInput::Deactivate;
  PushInput(input);
}

void RecordingWindowSystem::PushTimerTick() {
  ScriptedInput input;
  input.kind = ScriptedInput::TimerTick;
  PushInput(input);
}

void RecordingWindowSystem::PushTypeText(int id, const std::string& text) {
  ScriptedInput input;
  input.kind = ScriptedInput::TypeText;
  input.id = id;
  input.text = text;
  PushInput(input);
}

void RecordingWindowSystem::PushAction(std::function<void()> action) {
  ScriptedInput input;
  input.kind = ScriptedInput::Action;
  input.action = std::move(action);
  PushInput(input);
}

std::string RecordingWindowSystem::Describe(const ScriptedInput& input) const {
  switch (input.kind) {
    case ScriptedInput::PostCommand: return "command " + Number(input.id);
    case ScriptedInput::ClickControl: return "click " + Number(input.id);
    case ScriptedInput::CloseBox: return "close box";
    case ScriptedInput::Activate: return "activate";
    case ScriptedInput::Deactivate: return "deactivate";
    case ScriptedInput::TimerTick: return "timer tick";
    case ScriptedInput::TypeText: return "type " + Number(input.id) + " " + Quote(input.text.c_str());
    case ScriptedInput::Action: return "action";
  }
  return "?";
}

void RecordingWindowSystem::RunInput(const ScriptedInput& input) {
  Record("Input", Describe(input));
  RecordedWindow* main = const_cast<RecordedWindow*>(MainWindow());
  if (input.kind == ScriptedInput::Action) {
    if (input.action) input.action();
    return;
  }
  if (main == nullptr) {
    Record("InputIgnored", "no window to receive it");
    return;
  }
  HWND mainHandle = main->handle;
  switch (input.kind) {
    case ScriptedInput::PostCommand:
      PostMessageA(mainHandle, WM_COMMAND, MAKEWPARAM(input.id, 0), 0);
      break;
    case ScriptedInput::ClickControl: {
      const RecordedWindow* control = FindChild(mainHandle, input.id);
      if (control == nullptr || !control->visible || !control->enabled) {
        // A person cannot press what is not there, hidden or greyed out.
        Record("InputIgnored", "control " + Number(input.id) + " cannot be clicked");
        break;
      }
      SendMessageA(control->handle, BM_CLICK, 0, 0);
      break;
    }
    case ScriptedInput::CloseBox:
      PostMessageA(mainHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case ScriptedInput::Activate:
      SendMessageA(mainHandle, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    case ScriptedInput::Deactivate:
      SendMessageA(mainHandle, WM_ACTIVATE, WA_INACTIVE, 0);
      break;
    case ScriptedInput::TimerTick:
      PostMessageA(mainHandle, WM_TIMER, 1, 0);
      break;
    case ScriptedInput::TypeText: {
      RecordedWindow* control = const_cast<RecordedWindow*>(FindChild(mainHandle, input.id));
      if (control == nullptr || !control->enabled) {
        Record("InputIgnored", "control " + Number(input.id) + " cannot be typed into");
        break;
      }
      control->text = input.text;
      break;
    }
    case ScriptedInput::Action:
      break;
  }
}

// ---------------------------------------------------------------- queries

std::vector<std::string> RecordingWindowSystem::CallTexts(const std::string& operation) const {
  std::vector<std::string> texts;
  for (const RecordedCall& call : calls)
    if (operation.empty() || call.operation == operation) texts.push_back(call.Text());
  return texts;
}

int RecordingWindowSystem::FindCall(const std::string& prefix, int from) const {
  for (size_t i = from < 0 ? 0 : static_cast<size_t>(from); i < calls.size(); ++i)
    if (calls[i].Text().compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
  return -1;
}

int RecordingWindowSystem::OpenDeviceContexts() const {
  int open = 0;
  for (const DeviceContext& dc : deviceContexts)
    if (dc.open) ++open;
  return open;
}

RecordedWindow* RecordingWindowSystem::Find(HWND window) {
  uintptr_t value = reinterpret_cast<uintptr_t>(window);
  if (value <= kWindowBase || value > kWindowBase + windows.size()) return nullptr;
  return &windows[value - kWindowBase - 1];
}

const RecordedWindow* RecordingWindowSystem::Find(HWND window) const {
  return const_cast<RecordingWindowSystem*>(this)->Find(window);
}

const RecordedWindow* RecordingWindowSystem::Window(HWND window) const { return Find(window); }

const RecordedWindow* RecordingWindowSystem::MainWindow() const {
  for (const RecordedWindow& window : windows)
    if (window.alive && window.parent == nullptr) return &window;
  return nullptr;
}

const RecordedWindow* RecordingWindowSystem::FindChild(HWND parent, int id) const {
  for (const RecordedWindow& window : windows)
    if (window.alive && window.parent == parent && parent != nullptr && window.id == id) return &window;
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
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  auto named = objectNames.find(handle);
  if (named != objectNames.end()) return named->second;
  if (value == kDesktop) return "desktop";
  if (value > kWindowBase && value <= kWindowBase + windows.size()) return windows[value - kWindowBase - 1].name;
  if (value > kDcBase && value <= kDcBase + deviceContexts.size()) return deviceContexts[value - kDcBase - 1].name;
  return Hex(value);
}

RecordingWindowSystem::DeviceContext* RecordingWindowSystem::FindDc(HDC dc) {
  uintptr_t value = reinterpret_cast<uintptr_t>(dc);
  if (value <= kDcBase || value > kDcBase + deviceContexts.size()) return nullptr;
  return &deviceContexts[value - kDcBase - 1];
}

HDC RecordingWindowSystem::NewDc(const std::string& kind, HWND window) {
  DeviceContext dc;
  dc.name = "dc" + Number(static_cast<long long>(deviceContexts.size()) + 1);
  dc.kind = kind;
  dc.window = window;
  deviceContexts.push_back(dc);
  return reinterpret_cast<HDC>(kDcBase + deviceContexts.size());
}

void RecordingWindowSystem::Record(const std::string& operation, const std::string& arguments,
                                   const std::string& result) {
  calls.push_back(RecordedCall{operation, arguments, result});
  if (onCall) onCall(calls.back());
}

RECT RecordingWindowSystem::ClientArea(const RecordedWindow& window) const {
  int width = window.Width();
  int height = window.Height();
  if ((window.style & WS_CHILD) == 0) {
    width -= frame.left + frame.right;
    height -= frame.top + frame.bottom;
  }
  RECT client = {0, 0, width < 0 ? 0 : width, height < 0 ? 0 : height};
  return client;
}

// ---------------------------------------------------------------- windows

ATOM RecordingWindowSystem::RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr) {
    Record("RegisterClassA", "null", "0");
    return 0;
  }
  std::string arguments = Quote(windowClass->lpszClassName) + ",style=" + Hex(windowClass->style) +
                          ",icon=" + NameOf(windowClass->hIcon) + ",cursor=" + NameOf(windowClass->hCursor) +
                          ",brush=" + NameOf(windowClass->hbrBackground);
  for (const WindowClass& known : classes) {
    if (SameName(known.name, windowClass->lpszClassName)) {
      Record("RegisterClassA", arguments, "0");
      return 0;
    }
  }
  classes.push_back(WindowClass{windowClass->lpszClassName, *windowClass});
  ATOM atom = static_cast<ATOM>(0xC000 + classes.size());
  Record("RegisterClassA", arguments, Hex(atom));
  return atom;
}

HWND RecordingWindowSystem::CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                            int y, int width, int height, HWND parent, HMENU menu, HINSTANCE,
                                            LPVOID) {
  int id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
  std::string arguments = Hex(exStyle) + "," + Quote(className) + "," + Quote(windowName) + "," + Hex(style) + "," +
                          Number(x) + "," + Number(y) + "," + Number(width) + "," + Number(height) + "," +
                          NameOf(parent) + "," + Number(id);
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
  RecordedWindow* parentWindow = Find(parent);
  bool parentOk = parent == nullptr ? (style & WS_CHILD) == 0 : parentWindow != nullptr && parentWindow->alive;
  if (!known || !parentOk) {
    Record("CreateWindowExA", arguments, "0");
    return nullptr;
  }

  RecordedWindow window;
  window.handle = reinterpret_cast<HWND>(kWindowBase + windows.size() + 1);
  window.name = "w" + Number(static_cast<long long>(windows.size()) + 1);
  window.className = className;
  window.text = windowName ? windowName : "";
  window.style = style;
  window.exStyle = exStyle;
  window.id = (style & WS_CHILD) ? id : 0;
  window.parent = parent;
  window.rect = RECT{x, y, x + width, y + height};
  window.visible = (style & WS_VISIBLE) != 0;
  window.enabled = (style & WS_DISABLED) == 0;
  window.procedure = procedure;
  HWND handle = window.handle;
  windows.push_back(window);
  Record("CreateWindowExA", arguments, windows.back().name);

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
    if (w > limits.ptMaxTrackSize.x) w = limits.ptMaxTrackSize.x;
    if (h > limits.ptMaxTrackSize.y) h = limits.ptMaxTrackSize.y;
    if (w < limits.ptMinTrackSize.x) w = limits.ptMinTrackSize.x;
    if (h < limits.ptMinTrackSize.y) h = limits.ptMinTrackSize.y;
    created->rect.right = created->rect.left + w;
    created->rect.bottom = created->rect.top + h;
    if (Deliver(created, kWmNcCreate, 0, 0) == 0 || Deliver(Find(handle), WM_CREATE, 0, 0) == -1) {
      DestroyTree(Find(handle));
      Record("CreateWindowExA", "creation refused by the window procedure", "0");
      return nullptr;
    }
  }
  return handle;
}

void RecordingWindowSystem::DestroyTree(RecordedWindow* window) {
  if (window == nullptr || !window->alive) return;
  HWND handle = window->handle;
  window->visible = false;
  // The window hears of its destruction first, then its children, as on Windows.
  if (window->procedure != nullptr) Deliver(window, WM_DESTROY, 0, 0);
  for (size_t i = 0; i < windows.size(); ++i)
    if (windows[i].alive && windows[i].parent == handle) DestroyTree(&windows[i]);
  window = Find(handle);
  window->alive = false;
  window->needsPaint = false;
  for (size_t i = 0; i < timers.size();) {
    if (timers[i].first == handle)
      timers.erase(timers.begin() + static_cast<long>(i));
    else
      ++i;
  }
}

BOOL RecordingWindowSystem::DestroyWindow(HWND window) {
  RecordedWindow* target = Find(window);
  bool ok = target != nullptr && target->alive;
  Record("DestroyWindow", NameOf(window), ok ? "" : "FALSE");
  if (!ok) return FALSE;
  DestroyTree(target);
  return TRUE;
}

BOOL RecordingWindowSystem::ShowWindow(HWND window, int command) {
  RecordedWindow* target = Find(window);
  Record("ShowWindow", NameOf(window) + "," + Number(command));
  if (target == nullptr || !target->alive) return FALSE;
  BOOL wasVisible = target->visible ? TRUE : FALSE;
  target->visible = command != SW_HIDE;
  if (target->procedure != nullptr && target->visible && !wasVisible) {
    // A window that appears needs painting, and showing it normally also activates it.
    target->needsPaint = true;
    target->needsErase = true;
    target->invalid = ClientArea(*target);
    if (command == SW_SHOWNORMAL || command == SW_SHOW) Deliver(target, WM_ACTIVATE, WA_ACTIVE, 0);
  }
  return wasVisible;
}

BOOL RecordingWindowSystem::UpdateWindow(HWND window) {
  RecordedWindow* target = Find(window);
  Record("UpdateWindow", NameOf(window));
  if (target == nullptr || !target->alive) return FALSE;
  if (target->procedure != nullptr && target->visible && target->needsPaint) Deliver(target, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL RecordingWindowSystem::EnableWindow(HWND window, BOOL enable) {
  RecordedWindow* target = Find(window);
  Record("EnableWindow", NameOf(window) + "," + (enable ? "TRUE" : "FALSE"));
  if (target == nullptr || !target->alive) return FALSE;
  BOOL wasDisabled = target->enabled ? FALSE : TRUE;
  target->enabled = enable != FALSE;
  return wasDisabled;
}

BOOL RecordingWindowSystem::SetWindowTextA(HWND window, LPCSTR text) {
  RecordedWindow* target = Find(window);
  Record("SetWindowTextA", NameOf(window) + "," + Quote(text));
  if (target == nullptr || !target->alive) return FALSE;
  if (target->procedure != nullptr) return Deliver(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
  target->text = text ? text : "";
  return TRUE;
}

int RecordingWindowSystem::GetWindowTextA(HWND window, LPSTR buffer, int capacity) {
  const RecordedWindow* target = Find(window);
  int copied = 0;
  if (buffer != nullptr && capacity > 0) {
    buffer[0] = '\0';
    if (target != nullptr && target->alive) {
      size_t length = target->text.size();
      if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
      std::memcpy(buffer, target->text.data(), length);
      buffer[length] = '\0';
      copied = static_cast<int>(length);
    }
  }
  Record("GetWindowTextA", NameOf(window) + "," + Number(capacity), Number(copied));
  return copied;
}

BOOL RecordingWindowSystem::GetClientRect(HWND window, RECT* rect) {
  const RecordedWindow* target = Find(window);
  bool ok = target != nullptr && target->alive && rect != nullptr;
  if (ok) *rect = ClientArea(*target);
  Record("GetClientRect", NameOf(window), ok ? RectText(*rect) : "FALSE");
  return ok ? TRUE : FALSE;
}

BOOL RecordingWindowSystem::AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
  if (rect == nullptr) {
    Record("AdjustWindowRect", "null", "FALSE");
    return FALSE;
  }
  std::string before = RectText(*rect);
  // Only the frame parts the style names are added, as Windows does: the whole frame with its
  // caption for WS_CAPTION, a border alone for WS_BORDER or WS_THICKFRAME. A menu bar is not modelled.
  if ((style & WS_CAPTION) == WS_CAPTION) {
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
  } else if ((style & (WS_BORDER | WS_THICKFRAME)) != 0) {
    rect->left -= frame.left;
    rect->top -= frame.bottom;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
  }
  Record("AdjustWindowRect", before + "," + Hex(style) + "," + (menu ? "TRUE" : "FALSE"), RectText(*rect));
  return TRUE;
}

HWND RecordingWindowSystem::GetDesktopWindow() {
  Record("GetDesktopWindow", "", "desktop");
  return reinterpret_cast<HWND>(kDesktop);
}

HCURSOR RecordingWindowSystem::LoadCursorA(HINSTANCE instance, LPCSTR name) {
  HCURSOR cursor = nullptr;
  if (instance == nullptr && name == IDC_ARROW) cursor = reinterpret_cast<HCURSOR>(kArrowCursor);
  std::string nameText = IS_INTRESOURCE(name) ? Number(reinterpret_cast<uintptr_t>(name)) : Quote(name);
  Record("LoadCursorA", NameOf(instance) + "," + nameText, cursor ? "IDC_ARROW" : "0");
  if (cursor != nullptr) NameObject(cursor, "IDC_ARROW");
  return cursor;
}

int RecordingWindowSystem::GetSystemMetrics(int index) {
  int value = 0;
  if (index == SM_CXSCREEN) value = screenWidth;
  if (index == SM_CYSCREEN) value = screenHeight;
  if (index == SM_CXVSCROLL) value = scrollBarWidth;
  Record("GetSystemMetrics", Number(index), Number(value));
  return value;
}

// ---------------------------------------------------------------- messages

LRESULT RecordingWindowSystem::Deliver(RecordedWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr || !window->alive) return 0;
  Record("Message", window->name + "," + MessageText(message) + "," + Hex(wParam) + "," + Hex(lParam));
  if (window->procedure == nullptr) return ControlMessage(window, message, wParam, lParam);
  // The procedure may create windows, which moves the table; nothing here touches `window` afterwards.
  return window->procedure(window->handle, message, wParam, lParam);
}

LRESULT RecordingWindowSystem::ControlMessage(RecordedWindow* control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      control->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      return TRUE;
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      int capacity = static_cast<int>(wParam);
      if (buffer == nullptr || capacity <= 0) return 0;
      size_t length = control->text.size();
      if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
      std::memcpy(buffer, control->text.data(), length);
      buffer[length] = '\0';
      return static_cast<LRESULT>(length);
    }
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
    if (!queue.empty()) {
      *message = queue.front();
      queue.pop_front();
      Record("GetMessageA", "", NameOf(message->hwnd) + "," + MessageText(message->message));
      return message->message == WM_QUIT ? FALSE : TRUE;
    }
    if (quitPosted) {
      quitPosted = false;
      *message = MSG{};
      message->message = WM_QUIT;
      message->wParam = static_cast<WPARAM>(quitCode);
      Record("GetMessageA", "", "WM_QUIT");
      return FALSE;
    }
    // Paints come only when nothing else is waiting, as on Windows.
    if (RecordedWindow* window = FirstWindowNeedingPaint()) {
      *message = MSG{};
      message->hwnd = window->handle;
      message->message = WM_PAINT;
      Record("GetMessageA", "", window->name + ",WM_PAINT");
      return TRUE;
    }
    if (!script.empty()) {
      ScriptedInput input = script.front();
      script.pop_front();
      RunInput(input);
      continue;
    }
    // Nobody is left to press anything: end the loop rather than wait for ever.
    inputExhausted = true;
    *message = MSG{};
    Record("GetMessageA", "", "-1 (script exhausted)");
    return -1;
  }
}

RecordedWindow* RecordingWindowSystem::FirstWindowNeedingPaint() {
  for (RecordedWindow& window : windows)
    if (window.alive && window.visible && window.needsPaint && window.procedure != nullptr) return &window;
  return nullptr;
}

BOOL RecordingWindowSystem::TranslateMessage(const MSG* message) {
  Record("TranslateMessage", message ? MessageText(message->message) : std::string("null"));
  return FALSE;
}

LRESULT RecordingWindowSystem::DispatchMessageA(const MSG* message) {
  if (message == nullptr) return 0;
  RecordedWindow* window = Find(message->hwnd);
  if (window == nullptr || !window->alive) {
    Record("DispatchMessageA", NameOf(message->hwnd) + "," + MessageText(message->message), "no such window");
    return 0;
  }
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
  RecordedWindow* target = Find(window);
  if (target == nullptr || !target->alive) {
    // The folder chooser's two messages carry texts (a selection only when wParam says it is a path,
    // otherwise an item list that is no text); everything else is shown as a number.
    std::string lParamText = Hex(static_cast<uintptr_t>(lParam));
    if (message == BFFM_SETSTATUSTEXTA || (message == BFFM_SETSELECTIONA && wParam != 0))
      lParamText = Quote(reinterpret_cast<const char*>(lParam));
    Record("SendMessageA", NameOf(window) + "," + MessageText(message) + "," + Hex(wParam) + "," + lParamText,
           "no such window");
    return 0;
  }
  Record("SendMessageA", target->name + "," + MessageText(message) + "," + Hex(wParam) + "," +
                             Hex(static_cast<uintptr_t>(lParam)));
  return Deliver(target, message, wParam, lParam);
}

BOOL RecordingWindowSystem::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const RecordedWindow* target = Find(window);
  bool ok = window == nullptr || (target != nullptr && target->alive);
  Record("PostMessageA", NameOf(window) + "," + MessageText(message) + "," + Hex(wParam) + "," +
                             Hex(static_cast<uintptr_t>(lParam)),
         ok ? "" : "FALSE");
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
  Record("PostQuitMessage", Number(exitCode));
  quitPosted = true;
  quitCode = exitCode;
}

LRESULT RecordingWindowSystem::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Record("DefWindowProcA", NameOf(window) + "," + MessageText(message) + "," + Hex(wParam) + "," +
                               Hex(static_cast<uintptr_t>(lParam)));
  RecordedWindow* target = Find(window);
  if (target == nullptr || !target->alive) return 0;
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
  UINT_PTR result = timerResultSet ? timerResult : id;
  const RecordedWindow* target = Find(window);
  if (target == nullptr || !target->alive) result = 0;
  Record("SetTimer", NameOf(window) + "," + Number(static_cast<long long>(id)) + "," + Number(elapse) + "," +
                         (function ? "callback" : "0"),
         Number(static_cast<long long>(result)));
  if (result != 0) timers.emplace_back(window, result);
  return result;
}

BOOL RecordingWindowSystem::KillTimer(HWND window, UINT_PTR id) {
  bool found = false;
  for (size_t i = 0; i < timers.size(); ++i) {
    if (timers[i].first == window && timers[i].second == id) {
      timers.erase(timers.begin() + static_cast<long>(i));
      found = true;
      break;
    }
  }
  Record("KillTimer", NameOf(window) + "," + Number(static_cast<long long>(id)), found ? "TRUE" : "FALSE");
  return found ? TRUE : FALSE;
}

int RecordingWindowSystem::MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer = IDOK;
  if (!messageBoxAnswers.empty()) {
    answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
  }
  RecordedMessageBox box;
  box.owner = owner;
  box.text = text ? text : "";
  box.caption = caption ? caption : "";
  box.type = type;
  box.answer = answer;
  const RecordedWindow* ownerWindow = Find(owner);
  box.ownerVisible = ownerWindow != nullptr && ownerWindow->alive && ownerWindow->visible;
  Record("MessageBoxA", NameOf(owner) + "," + Quote(text) + "," + Quote(caption) + "," + Hex(type), Number(answer));
  messageBoxes.push_back(box);
  if (onMessageBox) onMessageBox(box);
  return answer;
}

BOOL RecordingWindowSystem::MessageBeep(UINT type) {
  Record("MessageBeep", Hex(type));
  ++beeps;
  return TRUE;
}

// ---------------------------------------------------------------- painting

BOOL RecordingWindowSystem::InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  RecordedWindow* target = Find(window);
  Record("InvalidateRect", NameOf(window) + "," + (rect ? RectText(*rect) : std::string("null")) + "," +
                               (erase ? "TRUE" : "FALSE"));
  if (target == nullptr || !target->alive) return FALSE;
  RECT area = rect ? *rect : ClientArea(*target);
  if (target->needsPaint) {
    // The update region grows to the rectangle around both.
    if (area.left > target->invalid.left) area.left = target->invalid.left;
    if (area.top > target->invalid.top) area.top = target->invalid.top;
    if (area.right < target->invalid.right) area.right = target->invalid.right;
    if (area.bottom < target->invalid.bottom) area.bottom = target->invalid.bottom;
  }
  target->invalid = area;
  target->needsPaint = true;
  if (erase) target->needsErase = true;
  return TRUE;
}

HDC RecordingWindowSystem::BeginPaint(HWND window, PAINTSTRUCT* paint) {
  RecordedWindow* target = Find(window);
  if (target == nullptr || !target->alive || paint == nullptr) {
    Record("BeginPaint", NameOf(window), "0");
    return nullptr;
  }
  *paint = PAINTSTRUCT{};
  HDC dc = NewDc("paint", window);
  paint->hdc = dc;
  paint->rcPaint = target->needsPaint ? target->invalid : RECT{0, 0, 0, 0};
  bool erase = target->needsErase;
  target->needsPaint = false;
  target->needsErase = false;
  Record("BeginPaint", target->name, NameOf(dc) + "," + RectText(paint->rcPaint));
  if (erase) paint->fErase = Deliver(target, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 ? TRUE : FALSE;
  painting = true;
  paintDc = dc;
  currentPaint = RecordedPaint{};
  currentPaint.window = window;
  currentPaint.area = paint->rcPaint;
  return dc;
}

BOOL RecordingWindowSystem::EndPaint(HWND window, const PAINTSTRUCT* paint) {
  DeviceContext* dc = paint ? FindDc(paint->hdc) : nullptr;
  bool ok = dc != nullptr && dc->open && dc->kind == "paint" && dc->window == window;
  Record("EndPaint", NameOf(window) + "," + (paint ? NameOf(paint->hdc) : std::string("null")), ok ? "" : "FALSE");
  if (!ok) return FALSE;
  dc->open = false;
  if (painting && paintDc == paint->hdc) {
    painting = false;
    paintDc = nullptr;
    paints.push_back(currentPaint);
    if (onPaint) onPaint(paints.back());
  }
  return TRUE;
}

HDC RecordingWindowSystem::GetDC(HWND window) {
  HDC dc = NewDc("window", window);
  Record("GetDC", NameOf(window), NameOf(dc));
  return dc;
}

int RecordingWindowSystem::ReleaseDC(HWND window, HDC dc) {
  DeviceContext* context = FindDc(dc);
  bool ok = context != nullptr && context->open && context->kind == "window" && context->window == window;
  Record("ReleaseDC", NameOf(window) + "," + NameOf(dc), ok ? "1" : "0");
  if (!ok) return 0;
  context->open = false;
  return 1;
}

int RecordingWindowSystem::GetDeviceCaps(HDC dc, int index) {
  int value = 0;
  DeviceContext* context = FindDc(dc);
  if (context != nullptr && context->open) {
    if (index == HORZRES) value = screenWidth;
    if (index == VERTRES) value = screenHeight;
  }
  Record("GetDeviceCaps", NameOf(dc) + "," + Number(index), Number(value));
  return value;
}

HGDIOBJ RecordingWindowSystem::GetStockObject(int object) {
  HGDIOBJ stock = reinterpret_cast<HGDIOBJ>(kStockBase + static_cast<uintptr_t>(object));
  Record("GetStockObject", Number(object), NameOf(stock));
  return stock;
}

HGDIOBJ RecordingWindowSystem::SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = FindDc(dc);
  Record("SelectObject", NameOf(dc) + "," + NameOf(object));
  if (context == nullptr || !context->open || object == nullptr) return nullptr;
  HGDIOBJ previous = context->selected;
  context->selected = object;
  // The context's default object stands for "nothing selected before".
  return previous ? previous : reinterpret_cast<HGDIOBJ>(kStockBase + 0xFF);
}

BOOL RecordingWindowSystem::DeleteObject(HGDIOBJ object) {
  Record("DeleteObject", NameOf(object));
  return object != nullptr ? TRUE : FALSE;
}

BOOL RecordingWindowSystem::Rectangle(HDC dc, int left, int top, int right, int bottom) {
  DeviceContext* context = FindDc(dc);
  RECT area = {left, top, right, bottom};
  Record("Rectangle", NameOf(dc) + "," + RectText(area));
  if (context == nullptr || !context->open) return FALSE;
  if (painting && dc == paintDc)
    currentPaint.drawings.push_back(RecordedDrawing{"Rectangle", area, NameOf(context->selected), 0});
  return TRUE;
}

HDC RecordingWindowSystem::CreateCompatibleDC(HDC dc) {
  HDC memory = NewDc("memory", nullptr);
  Record("CreateCompatibleDC", NameOf(dc), NameOf(memory));
  return memory;
}

BOOL RecordingWindowSystem::DeleteDC(HDC dc) {
  DeviceContext* context = FindDc(dc);
  bool ok = context != nullptr && context->open && context->kind == "memory";
  Record("DeleteDC", NameOf(dc), ok ? "" : "FALSE");
  if (!ok) return FALSE;
  context->open = false;
  return TRUE;
}

BOOL RecordingWindowSystem::BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                                   int sourceY, DWORD rop) {
  DeviceContext* to = FindDc(dest);
  DeviceContext* from = FindDc(source);
  std::string picture = from ? NameOf(from->selected) : "?";
  Record("BitBlt", NameOf(dest) + "," + Number(x) + "," + Number(y) + "," + Number(width) + "," + Number(height) +
                       "," + NameOf(source) + "[" + picture + "]," + Number(sourceX) + "," + Number(sourceY) + "," +
                       Hex(rop));
  if (to == nullptr || !to->open || from == nullptr || !from->open) return FALSE;
  if (painting && dest == paintDc)
    currentPaint.drawings.push_back(RecordedDrawing{"BitBlt", RECT{x, y, x + width, y + height}, picture, 0});
  return TRUE;
}

int RecordingWindowSystem::DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format) {
  DeviceContext* context = FindDc(dc);
  std::string drawn;
  if (text != nullptr) drawn = length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
  RECT area = rect ? *rect : RECT{0, 0, 0, 0};
  Record("DrawTextA", NameOf(dc) + "," + Quote(drawn.c_str(), static_cast<int>(drawn.size())) + "," +
                          Number(length) + "," + RectText(area) + "," + Hex(format));
  if (context == nullptr || !context->open || text == nullptr || rect == nullptr) return 0;
  if (painting && dc == paintDc) currentPaint.drawings.push_back(RecordedDrawing{"DrawTextA", area, drawn, format});
  int lines = 1;
  for (char c : drawn)
    if (c == '\n') ++lines;
  return lines * 16;
}
