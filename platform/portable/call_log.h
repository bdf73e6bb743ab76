// The call log: a decorator over a window system that keeps each call, typed and spelt, and the
// queries the tests make of it.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <type_traits>
#include <string>
#include <vector>

#include "platform/window_system.h"

// One call into the window system, one message delivered to a window procedure the program
// registered (operation "Message"), or one step of a scripted user ("Input", "InputIgnored").
struct RecordedCall {
  std::string operation;
  HWND window = nullptr;  // the window the call is about, when there is one
  UINT message = 0;  // the message sent, delivered or fetched
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT returned = 0;  // what the call returned
  std::string arguments;  // the arguments as the log spells them
  std::string result;  // the result as the log spells it; empty when not worth showing
  // operation(arguments), followed by " = result" when there is one.
  std::string Text() const;
};

class HandleNamer;

// One row of a declared sequence of entries: the window, the message and its parameters expected.
struct ExpectedCall {
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// A decorator over any window system (the recording one, or user32's): every call the program makes
// goes on to the window system it wraps and is kept, in order, with its arguments and result. The
// window procedures of the classes registered through it are wrapped too, so the messages they are
// handed are kept beside the calls, whichever window system hands them out.
class CallLog : public WindowSystem {
 public:
  // namer names handles in the spelt arguments (the recording window system's "w3", "dc2"); without one
  // they are spelt in hexadecimal.
  explicit CallLog(WindowSystem& inner, const HandleNamer* namer = nullptr);
  ~CallLog() override;
  CallLog(const CallLog&) = delete;
  CallLog& operator=(const CallLog&) = delete;

  // Keeps an entry that is no call of the program (a scripted user's step).
  void Note(const std::string& operation, const std::string& arguments);
  const std::vector<RecordedCall>& Calls() const { return calls; }
  // The calls' texts, optionally only those of one operation.
  std::vector<std::string> CallTexts(const std::string& operation = std::string()) const;
  // Index of the first call at or after `from` whose text starts with pattern, where a '*' in the
  // pattern stands for any run of characters; -1 when none.
  int FindCall(const std::string& pattern, int from = 0) const;
  // Empty when a call matching each pattern (as FindCall) comes after the one matching the pattern
  // before; otherwise which pattern had no match, and after what.
  std::string MissingFromOrder(const std::vector<std::string>& patterns) const;
  // Empty when the entries of operation are the table's rows, one for one and in order; otherwise the
  // first that differs, spelt.
  std::string Mismatch(const std::string& operation, const std::vector<ExpectedCall>& table) const;
  void Clear() { calls.clear(); }
  // A new process: the calls, the observer and the wrapped procedures are forgotten.
  void Restart();
  // Called as each entry is made, before the call is carried out (its result is filled in afterwards).
  std::function<void(const RecordedCall&)> onCall;
  // Called as a call returns, with its entry complete.
  std::function<void(const RecordedCall&)> onReturn;

  WINDOW_SYSTEM_OVERRIDES

 private:
  static LRESULT CALLBACK Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Makes an entry and tells onCall; its index, for the result to be filled in.
  size_t Enter(const std::string& operation, const std::string& arguments, HWND window = nullptr, UINT message = 0,
               WPARAM wParam = 0, LPARAM lParam = 0);
  // Fills in entry's result: the value returned and how it is spelt.
  template <typename R>
  R Leave(size_t entry, R value, const std::string& spelt);
  template <typename... T>
  std::string Args(const T&... args) const;

  WindowSystem& inner;
  const HandleNamer* namer;
  std::vector<RecordedCall> calls;
  std::vector<std::pair<std::string, WNDPROC>> procedures;  // of the classes registered through the log
  std::vector<WNDPROC> creating;  // the procedures of the windows being created, innermost last
  std::vector<std::pair<HWND, WNDPROC>> windows;  // which procedure each window's messages go on to
  std::map<HDC, HGDIOBJ> selected;  // what the program selected into each context, for BitBlt's source
};

// ---- How the log spells arguments.

// What names handles in the log ("w3", "dc2", a drawing object's name).
class HandleNamer {
 public:
  virtual ~HandleNamer() = default;
  virtual std::string NameOf(const void* handle) const = 0;
};

std::string HexText(uintptr_t value);
// Quoted text for the log: the bytes as they are, with line breaks and tabs spelt out.
std::string Quote(const char* text, int length = -1);
// A message's name (WM_CREATE ...), or its number in hexadecimal.
std::string MessageText(UINT message);

// The kinds of argument the log spells in a way of their own; Args() takes them beside plain values.
struct Hex {  // styles, flags and message parameters, in hexadecimal
  explicit Hex(uintptr_t value) : value(value) {}
  uintptr_t value;
};
struct Flag {  // a BOOL, as TRUE or FALSE
  explicit Flag(bool value) : value(value) {}
  bool value;
};

// How each argument is spelt: numbers in decimal, texts quoted, handles by name, rectangles as
// left,top,right,bottom; a std::string is taken as already spelt.
inline std::string Spell(const HandleNamer&, Hex hex) { return HexText(hex.value); }
inline std::string Spell(const HandleNamer&, Flag flag) { return flag.value ? "TRUE" : "FALSE"; }
template <typename N, typename = std::enable_if_t<std::is_integral<N>::value>>
std::string Spell(const HandleNamer&, N number) {
  return std::to_string(number);
}
inline std::string Spell(const HandleNamer&, const std::string& spelt) { return spelt; }
inline std::string Spell(const HandleNamer&, const char* text) { return Quote(text); }
inline std::string Spell(const HandleNamer& namer, const void* handle) { return namer.NameOf(handle); }
std::string Spell(const HandleNamer&, const RECT& r);
inline std::string Spell(const HandleNamer& namer, const RECT* r) { return r ? Spell(namer, *r) : "null"; }
inline std::string Spell(const HandleNamer&, TIMERPROC function) { return function ? "callback" : "0"; }

// A call's arguments as the log spells them, separated by commas.
template <typename... T>
std::string Args(const HandleNamer& namer, const T&... args) {
  std::string text;
  size_t index = 0;
  ((text += (index++ ? "," : "") + Spell(namer, args)), ...);
  return text;
}
