// The call log of the recording window system: each call into it (or message it delivered to a window
// procedure, operation "Message") in order, spelt as text, and the tests' queries over it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32_types.h"

// One call into the window system (or one message it delivered to a window procedure,
// operation "Message"), with its arguments as text.
struct RecordedCall {
  std::string operation;
  std::string arguments;
  std::string result;  // empty when not worth showing
  // operation(arguments), followed by " = result" when there is one.
  std::string Text() const;
};

class CallLog {
 public:
  void Record(const std::string& operation, const std::string& arguments, const std::string& result = std::string());
  const std::vector<RecordedCall>& Calls() const { return calls; }
  // The calls' texts, optionally only those of one operation.
  std::vector<std::string> CallTexts(const std::string& operation = std::string()) const;
  // Index of the first call at or after `from` whose text starts with pattern, where a '*' in the
  // pattern stands for any run of characters; -1 when none.
  int FindCall(const std::string& pattern, int from = 0) const;
  // Empty when a call matching each pattern (as FindCall) comes after the one matching the pattern
  // before; otherwise which pattern had no match, and after what.
  std::string MissingFromOrder(const std::vector<std::string>& patterns) const;
  void Clear() { calls.clear(); }
  // Called as each call is recorded.
  std::function<void(const RecordedCall&)> onCall;

 private:
  std::vector<RecordedCall> calls;
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
