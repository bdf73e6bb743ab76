#include "scenario_script.h"

#include "platform/ascii_case.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

std::string TakeWord(std::string& text) {
  text = Trim(text);
  size_t end = text.find_first_of(" \t");
  std::string word = text.substr(0, end);
  text = end == std::string::npos ? "" : Trim(text.substr(end));
  return word;
}

std::vector<std::string> SplitFields(const std::string& text, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    fields.push_back(Trim(text.substr(start, at == std::string::npos ? std::string::npos : at - start)));
    if (at == std::string::npos) break;
    start = at + 1;
  }
  return fields;
}

bool LoadScenario(const std::string& path, std::vector<ScenarioStep>& steps, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ParseScenario(text, path, steps, error);
}

bool ParseScenario(const std::string& text, const std::string& name, std::vector<ScenarioStep>& steps,
                   std::string& error) {
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  ScenarioStep* open = nullptr;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (open) {
      // Block lines are taken as they stand (leading blanks matter in a log line).
      if (Trim(raw) == "end") {
        open = nullptr;
      } else {
        open->block.push_back(raw);
      }
      continue;
    }
    std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    ScenarioStep step;
    step.line = number;
    step.args = line;
    step.verb = TakeWord(step.args);
    steps.push_back(step);
    if (step.verb == "log" || step.verb == "values" || step.verb == "files") open = &steps.back();
  }
  if (open) {
    error = name + ":" + std::to_string(open->line) + ": \"" + open->verb + "\" block has no \"end\"";
    return false;
  }
  return true;
}

bool SameNoCase(const std::string& a, const std::string& b) { return EqualAsciiNoCase(a.c_str(), b.c_str()); }

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += " " + item;
  return text;
}

double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    char code[8] = {static_cast<char>(c), '\0'};
    if (c < 32 || c >= 127) std::snprintf(code, sizeof code, "\\x%02X", c);
    out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : code;
  }
  return out;
}

std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", value);
  return text;
}

std::string DescribeDifference(const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
  lineStart = (lineStart == std::string::npos || at == 0) ? 0 : lineStart + 1;
  int lineNumber = 1 + static_cast<int>(std::count(expected.begin(), expected.begin() + lineStart, '\n'));
  auto lineAt = [lineStart](const std::string& text) {
    if (lineStart >= text.size()) return std::string("<end of file>");
    size_t end = text.find('\n', lineStart);
    return Escaped(text.substr(lineStart, end == std::string::npos ? std::string::npos : end - lineStart + 1));
  };
  return "differs at byte " + std::to_string(at) + " (line " + std::to_string(lineNumber) + ", " +
         std::to_string(expected.size()) + " bytes expected, " + std::to_string(actual.size()) +
         " found)\n      expected: " + lineAt(expected) + "\n      found:    " + lineAt(actual);
}

std::string HostToWindows(const std::string& hostPath) {
  if (hostPath.size() > 1 && hostPath[1] == ':') return hostPath;  // already a Windows path
  std::string path = "Z:" + hostPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string WindowsToHost(const std::string& windowsPath) {
  std::string path = windowsPath;
  if (path.size() > 1 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path = path.substr(2);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ParentOf(const std::string& windowsPath) {
  size_t at = windowsPath.find_last_of("\\/");
  return at == std::string::npos ? std::string() : windowsPath.substr(0, at);
}
