// A window system without a screen. Windows and controls live in memory with
// their class, text, styles, identifier, rectangle and state; a message queue
// feeds GetMessageA/DispatchMessageA; user input comes from its user (a scripted one,
// scripted_input.h) and message-box answers from a list. It keeps no log of calls: a CallLog
// (call_log.h) wrapped around it does, as around user32. The whole program runs over it, from
// start-up to teardown, and a test or the native front end reads back what it did.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/portable/call_log.h"
#include "platform/window_system.h"

// One window or control, alive or already destroyed.
struct RecordedWindow {
  HWND handle = nullptr;
  std::string name;  // "w1", "w2", ... in creation order
  std::string className;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;  // the control identifier (menu argument) of a child
  HWND parent = nullptr;
  RECT rect = {0, 0, 0, 0};  // outer rectangle: screen for top-level windows, parent's client area for children
  bool visible = false;
  bool enabled = true;
  bool alive = true;
  WNDPROC procedure = nullptr;  // null for the system's control classes
  // Pending paint: the invalid part of the client area and whether it is to be erased.
  bool needsPaint = false;
  bool needsErase = false;
  RECT invalid = {0, 0, 0, 0};

  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
};

struct RecordedMessageBox {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT type = 0;
  int answer = 0;
  bool ownerVisible = false;  // whether the owner window was already shown
};

// Something drawn into a painting context between BeginPaint and EndPaint.
struct RecordedDrawing {
  std::string operation;  // "Rectangle", "BitBlt" or "DrawTextA"
  RECT rect = {0, 0, 0, 0};  // where: the rectangle, the copy's destination, the text's rectangle
  std::string detail;  // the brush, the copied bitmap or the text
  UINT format = 0;  // DrawTextA's format flags
};

// One completed BeginPaint ... EndPaint of a window.
struct RecordedPaint {
  HWND window = nullptr;
  RECT area = {0, 0, 0, 0};  // the update rectangle BeginPaint handed out
  std::vector<RecordedDrawing> drawings;
};

// How much of a top-level window's outer rectangle its frame and caption take.
struct WindowFrame {
  int left = 3;
  int top = 24;  // border and caption
  int right = 3;
  int bottom = 3;
};

class RecordingWindowSystem : public WindowSystem, public HandleNamer {
 public:
  RecordingWindowSystem();

  // ---- Configuration.
  void SetScreenSize(int width, int height) { screenWidth = width, screenHeight = height; }
  void SetFrame(const WindowFrame& newFrame) { frame = newFrame; }
  void SetScrollBarWidth(int width) { scrollBarWidth = width; }
  // What SetTimer answers from now on (0: no timer available); by default the identifier asked for.
  void SetTimerResult(UINT_PTR result) { timerResult = result; }
  // The next message box is answered with this; later ones with the default (IDOK) once the list is used up.
  void PushMessageBoxAnswer(int answer) { messageBoxAnswers.push_back(answer); }
  // CreateWindowExA of this class fails (returns null) from now on.
  void FailCreateOfClass(const std::string& className) { failingClasses.push_back(className); }
  // Names a drawing object in the call log and in paint records (for example "bitmap 110").
  void NameObject(HGDIOBJ object, const std::string& name) { objectNames[object] = name; }

  // ---- The user (scripted_input.h), called when GetMessageA finds the queue and the paints empty (the
  // program waits for its user); true when the user did something. Once the user has nothing more to do
  // the session ends as a closed window does: WM_CLOSE goes to the main window. Should that not end the
  // loop either, GetMessageA returns -1 rather than wait for ever.
  std::function<bool()> user;
  // True once the user had nothing more to do and the session was ended.
  bool InputExhausted() const { return inputExhausted; }

  // ---- Observers, called as things happen (the native front end prints from them). onMessageBox
  // runs while the box is up, before its loop: what it posts is dispatched while the box is up.
  std::function<void(const RecordedPaint&)> onPaint;
  std::function<void(const RecordedMessageBox&)> onMessageBox;
  // The end of the session ("Input", "end of script: ..."); a call log wrapping this system notes it.
  std::function<void(const std::string& operation, const std::string& text)> onInput;
  // Messages sent to a window this system does not hold (the shell's folder chooser) go here when set.
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> onForeignMessage;

  // ---- What happened.
  const std::vector<RecordedMessageBox>& MessageBoxes() const { return messageBoxes; }
  const std::vector<RecordedPaint>& Paints() const { return paints; }
  int BeepCount() const { return beeps; }
  // Device contexts handed out (GetDC, BeginPaint, CreateCompatibleDC) and not yet given back.
  int OpenDeviceContexts() const;
  // Timers started and not yet stopped.
  size_t ActiveTimers() const { return timers.size(); }

  // What a modal box or chooser over owner does while it is up, as on Windows: the owner is disabled
  // and `opened` runs; the loop serves the queue (what is posted, then paints) until it runs dry; the
  // box then shows and takes the activation from its owner; each running timer fires once (a person
  // takes a while to answer), the queue served after each; then the owner is enabled and active again.
  // A quit message ends the loop at once and stays for the loop that ends on it.
  void RunModal(HWND owner, const std::function<void()>& opened = nullptr);

  // ---- Windows.
  const RecordedWindow* Window(HWND window) const { return Find(window); }
  // The first top-level window created that is still alive, or null.
  const RecordedWindow* MainWindow() const;
  // The live child of parent with this control identifier, or null.
  const RecordedWindow* FindChild(HWND parent, int id) const;
  // The live children of parent, in creation order.
  std::vector<const RecordedWindow*> Children(HWND parent) const;
  // Every window ever created, in creation order.
  const std::vector<RecordedWindow>& AllWindows() const { return windows; }
  // "w3", "dc2", a drawing object's name, or the handle in hexadecimal.
  std::string NameOf(const void* handle) const override;

  // Sends WM_ACTIVATE and makes the window the active one, or none (as when another program's is).
  void Activate(HWND window, bool active);

  // ---- WindowSystem.
  WINDOW_SYSTEM_OVERRIDES
  // Not one of the program's calls: queues a message for GetMessageA, as user32 does (tests and the script).
  BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class DcKind { Any, Window, Paint, Memory };  // from GetDC, BeginPaint, CreateCompatibleDC
  struct DeviceContext {
    std::string name;
    DcKind kind = DcKind::Window;
    HWND window = nullptr;
    HGDIOBJ selected = nullptr;
    bool open = true;
  };
  struct WindowClass {
    std::string name;
    WNDCLASSA attributes;
  };

  RecordedWindow* Find(HWND window);
  const RecordedWindow* Find(HWND window) const;
  RecordedWindow* Live(HWND window);  // the window when it is alive, otherwise null
  DeviceContext* FindDc(HDC dc);
  DeviceContext* OpenDc(HDC dc, DcKind kind = DcKind::Any);  // the context when it is open and of that kind
  HDC NewDc(DcKind kind, HWND window);
  LRESULT Deliver(RecordedWindow* window, UINT message, WPARAM wParam, LPARAM lParam);
  void SetEnabled(RecordedWindow* window, bool enable);  // WM_ENABLE when it changes
  bool ServeQueue();  // a modal loop's dispatching until nothing waits; false on a quit message
  LRESULT ControlMessage(RecordedWindow* control, UINT message, WPARAM wParam, LPARAM lParam);
  void DestroyTree(RecordedWindow* window);
  RECT ClientArea(const RecordedWindow& window) const;
  RecordedWindow* FirstWindowNeedingPaint();

  int screenWidth = 1024;
  int screenHeight = 768;
  WindowFrame frame;
  int scrollBarWidth = 16;
  std::optional<UINT_PTR> timerResult;
  std::deque<int> messageBoxAnswers;
  std::vector<std::string> failingClasses;
  std::map<const void*, std::string> objectNames;

  std::vector<WindowClass> classes;
  std::vector<RecordedWindow> windows;
  std::vector<DeviceContext> deviceContexts;
  std::deque<MSG> queue;
  std::vector<std::pair<HWND, UINT_PTR>> timers;
  bool quitPosted = false;
  int quitCode = 0;
  bool inputExhausted = false;
  HWND activeWindow = nullptr;
  int modalDepth = 0;
  std::vector<std::pair<HWND, UINT_PTR>> firedTimers;  // in the modal loops under way

  std::vector<RecordedMessageBox> messageBoxes;
  std::vector<RecordedPaint> paints;
  // The paint under way, while a BeginPaint context is open.
  HDC paintDc = nullptr;
  RecordedPaint currentPaint;
  int beeps = 0;
};
