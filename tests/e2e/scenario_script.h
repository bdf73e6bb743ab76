// A scenario: the lines of a .scenario file, each a verb and the rest of the line; and the texts the
// runner and the machines print and compare.
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
// The same from a text; name stands for the file in messages.
bool ParseScenario(const std::string& text, const std::string& name, std::vector<ScenarioStep>& steps,
                   std::string& error);

// Splits "a | b | c" into its trimmed fields.
std::vector<std::string> SplitFields(const std::string& text, char separator = '|');
std::string Trim(const std::string& text);
// Takes the first blank-separated word off the text.
std::string TakeWord(std::string& text);

bool SameNoCase(const std::string& a, const std::string& b);
// Prints a line at once.
void Print(const std::string& text);
// Control characters written as \r, \n, \t, \xNN; Quoted puts the result in double quotes.
std::string Escaped(const std::string& text);
std::string Quoted(const std::string& text);
std::string Hex(unsigned long value);  // 0x0000ABCD
// Each item after a blank.
std::string Listed(const std::vector<std::string>& items);
// A readable account of where two texts first differ, line by line.
std::string DescribeDifference(const std::string& expected, const std::string& actual);
// Milliseconds on a steady clock.
double NowMs();
// Paths as the two sides name them: the host's /a/b is Z:\a\b on the machine.
std::string HostToWindows(const std::string& hostPath);
std::string WindowsToHost(const std::string& windowsPath);  // only for paths on Z:
// The folder part of a Windows path, without the trailing backslash.
std::string ParentOf(const std::string& windowsPath);
