#include "platform/portable/call_log.h"

#include <cstdio>

namespace {

// Messages the header of types does not carry.
enum : UINT { kWmEnable = 0x000A, kWmNcCreate = 0x0081 };

// Whether text starts with pattern, where a '*' in the pattern stands for any run of characters.
bool StartsLike(const char* text, const char* pattern) {
  if (*pattern == '*') return StartsLike(text, pattern + 1) || (*text != '\0' && StartsLike(text + 1, pattern));
  return *pattern == '\0' || (*text == *pattern && StartsLike(text + 1, pattern + 1));
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

void CallLog::Record(const std::string& operation, const std::string& arguments, const std::string& result) {
  calls.push_back(RecordedCall{operation, arguments, result});
  if (onCall) onCall(calls.back());
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
