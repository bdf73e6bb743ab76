#include "scenario_script.h"

#include <fstream>

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
    error = path + ":" + std::to_string(open->line) + ": \"" + open->verb + "\" block has no \"end\"";
    return false;
  }
  return true;
}
