// A scenario: the lines of a .scenario file, each a verb and the rest of the line.
#pragma once
#include <string>
#include <vector>

struct ScenarioStep {
  int line = 0;
  std::string verb;
  std::string args;                // the rest of the line, trimmed
  std::vector<std::string> block;  // lines up to "end", for the verbs that take one
};

// Reads the file; "#" starts a comment line, blank lines are skipped.
// The verbs log, values and files take the following lines up to a line "end".
bool LoadScenario(const std::string& path, std::vector<ScenarioStep>& steps, std::string& error);

// Splits "a | b | c" into its trimmed fields.
std::vector<std::string> SplitFields(const std::string& text, char separator = '|');
std::string Trim(const std::string& text);
// Takes the first blank-separated word off the text.
std::string TakeWord(std::string& text);
