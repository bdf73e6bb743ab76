#include "scenario_runner.h"

#include "pages/control_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "pages/page_layout.h"

namespace {

RECT MakeRect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

// "(left,top widthxheight)", which also tells whether two rectangles are the same.
std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top) + ")";
}

const unsigned kPageTimeoutMs = 60000;  // a whole install happens inside one page move

const ControlInfo* Find(const std::vector<ControlInfo>& controls, int id) {
  for (const ControlInfo& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

void PrintControls(const std::vector<ControlInfo>& controls) {
  for (const ControlInfo& c : controls) {
    Print("    " + std::to_string(c.id) + " " + c.className + " " + Quoted(c.text.size() > 60 ? c.text.substr(0, 60) + "..." : c.text) +
          " style " + Hex(c.style) + " ex " + Hex(c.exStyle) + " at " + RectText(c.rect) +
          (c.enabled ? "" : " disabled") + (c.visible ? "" : " hidden"));
  }
}

}  // namespace

ScenarioRunner::ScenarioRunner(ScenarioMachine& m, const RunnerSettings& s)
    : machine(m), settings(s), program(s.program) {}

void ScenarioRunner::Fail(const std::string& what) {
  ++failures;
  Print("  FAIL (line " + std::to_string(currentLine) + "): " + what);
}

void ScenarioRunner::Check(bool ok, const std::string& failure) {
  if (!ok) Fail(failure);
}

void ScenarioRunner::Expect(const std::string& what, const std::string& actual, const std::string& expected) {
  Check(actual == expected, what + " " + Quoted(actual) + ", expected " + Quoted(expected));
}

std::string ScenarioRunner::Expand(const std::string& text) const {
  std::string out = text;
  const std::pair<const char*, std::string> names[] = {
      {"%PROGRAMS%", machine.programsFolder},
      {"%TEMP%", machine.tempFolder},
      {"%CONTENT%", settings.contentFolder},
      {"%SCENARIOS%", settings.scenarioFolder},
  };
  for (const auto& name : names) {
    size_t at;
    while ((at = out.find(name.first)) != std::string::npos) out.replace(at, std::string(name.first).size(), name.second);
  }
  return out;
}

std::vector<std::string> ScenarioRunner::BlockLines(const std::vector<std::string>& block, bool trimmed) const {
  std::vector<std::string> lines;
  for (const std::string& line : block) {
    std::string text = trimmed ? Trim(Expand(line)) : Expand(line);
    if (!trimmed || !text.empty()) lines.push_back(text);
  }
  return lines;
}

int ScenarioRunner::Run(const std::vector<ScenarioStep>& steps) {
  // A step the runner does not know stops the scenario before anything is done.
  for (bool checking : {true, false}) {
    checkingOnly = checking;
    for (const ScenarioStep& step : steps) {
      currentLine = step.line;
      Step(step);
    }
    if (checkingOnly && failures > 0) return failures;
  }
  if (launched && machine.Running()) {
    Fail("setup.exe still running at the end of the scenario; stopped");
    machine.Kill();
  }
  // Every file the scenario locked, so that it can be removed.
  std::string error;
  for (const std::string& path : locked) Check(machine.Lock(path, false, error), error);
  return failures;
}

void ScenarioRunner::Step(const ScenarioStep& step) {
  const std::string& v = step.verb;
  std::string args = Expand(step.args);
  if (v != "say" && !checkingOnly) Print(std::to_string(step.line) + ": " + v + (args.empty() ? "" : " " + args));
  std::string rest = args;  // after the first word, which may be a number (a control's id)
  std::string word = TakeWord(rest);
  int number = std::atoi(word.c_str());
  std::string error;
  // kProgram: the step acts on the running program; kPress also starts the clock for the next page's timing.
  enum Needs { kNothing, kProgram, kPress };
  const struct {
    const char* verb;
    Needs needs;
    std::function<void()> run;
  } verbs[] = {
      {"say", kNothing, [&] { Print("== " + args); }},
      {"reset", kNothing, [&] { Reset(); }},
      {"reg", kNothing,
       [&] {
         std::string file = args.size() > 1 && args[1] == ':' ? args : settings.scenarioFolder + "\\" + args;
         Check(machine.ImportRegFile(file, error), error);
       }},
      {"mkdir", kNothing,
       [&] {
         machine.RemoveTree(args);
         Check(machine.MakeFolders(args), "cannot make " + args);
       }},
      {"clean", kNothing, [&] { Check(machine.RemoveTree(args), "cannot remove " + args); }},
      {"lock", kNothing,
       [&] {
         Check(machine.Lock(args, true, error), error);
         locked.push_back(args);
       }},
      {"program", kNothing,
       [&] {
         const std::vector<std::string>& known = settings.editions;
         Check(std::find(known.begin(), known.end(), args) != known.end(), "no program for edition " + args);
         program = args;
       }},
      {"plant", kNothing, [&] { Plant(args); }},
      {"launch", kNothing, [&] { Launch(); }},
      {"title", kProgram, [&] { Expect("title", machine.MainWindow().title, args); }},
      {"page", kProgram, [&] { WaitForPage(number); }},
      {"shot", kProgram,
       [&] {
         std::vector<std::string> fields = SplitFields(args);
         std::string same = fields.size() > 1 && TakeWord(fields[1]) == "same" ? fields[1] : "";
         if (!machine.Shot(fields[0], page, same, error)) error.empty() ? Print("  skipped: no screen here") : Fail(error);
       }},
      {"text", kProgram, [&] { ExpectText(number, rest, false); }},
      {"textfile", kProgram, [&] { ExpectText(number, rest, true); }},
      {"type", kProgram, [&] { Check(machine.TypeText(number, rest), "cannot set the text of control " + word); }},
      {"click", kPress, [&] { Check(machine.Click(number), "no control " + args + " to click"); }},
      {"command", kPress, [&] { Check(machine.Command(number), "cannot send command " + args); }},
      {"message", kProgram, [&] { Message(args); }},
      {"browse", kPress,
       [&] {
         std::vector<std::string> fields = SplitFields(rest);
         for (const std::string& failure : machine.Browse(number, fields[0], fields.size() > 1 ? &fields[1] : nullptr))
           Fail(failure);
       }},
      {"close", kProgram, [&] { Check(machine.CloseBox(), "cannot press the close box"); }},
      {"exit", kProgram, [&] { Exit(number); }},
      {"file", kNothing, [&] { CheckFile(args); }},
      {"absent", kNothing, [&] { Check(!machine.Exists(args), args + " exists"); }},
      {"files", kNothing, [&] { CheckFolderList(args, step.block); }},
      {"log", kNothing, [&] { CheckLog(args, step.block); }},
      {"values", kNothing, [&] { CheckValues(args, &step.block); }},
      {"nokey", kNothing, [&] { CheckValues(args, nullptr); }},
      {"link", kNothing, [&] { CheckLink(args); }},
      {"pieces", kNothing, [&] { CheckPieces(args); }},
      {"notemp", kNothing,
       [&] {
         std::vector<std::string> names = TemporaryFiles();
         Check(names.empty(), "temporary files left in " + machine.tempFolder + ":" + Listed(names));
       }},
      {"planted", kNothing, [&] { CheckPlanted(); }},
      {"tamper", kNothing, [&] { Tamper(args); }},
      {"show-folder", kNothing,
       [&] {
         Print("  " + args + ":");
         ShowFolder(args, "    ");
       }},
      {"show-file", kNothing, [&] { ShowFile(args); }},
      {"show-values", kNothing, [&] { ShowValues(args); }},
  };
  for (const auto& verb : verbs) {
    if (v != verb.verb) continue;
    if (checkingOnly) return;
    if (verb.needs != kNothing && !launched) return Fail("no program running for \"" + v + "\"");
    if (verb.needs == kPress) clickTime = NowMs();
    return verb.run();
  }
  Fail("unknown step \"" + v + "\"");
}

std::vector<std::string> ScenarioRunner::TemporaryFiles() {
  std::vector<std::string> names, stray;
  machine.ListFolder(machine.tempFolder, names);
  for (const std::string& name : names)
    if (SameNoCase(name.substr(0, 3), "vsq")) stray.push_back(name);
  return stray;
}

void ScenarioRunner::Reset() {
  std::string error;
  // The Office and Word keys and both custom-dictionary lists.
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const char* key : {"Software\\Microsoft\\Office", "Software\\Microsoft\\Word",
                            "Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries"})
      Check(machine.DeleteKeyTree(root, key, error), error);
  // What any install of the product leaves outside the scenario's own folders.
  for (const std::string& folder : {std::string("C:\\Program Files\\Vessora"), machine.programsFolder + "\\Vessora"})
    Check(machine.RemoveTree(folder), "cannot remove " + folder);
  std::vector<std::string> stale = TemporaryFiles();
  for (const std::string& name : stale) machine.RemoveTree(machine.tempFolder + "\\" + name);
  if (!stale.empty()) Print("  removed " + std::to_string(stale.size()) + " vsq temporary file(s) left from before");
}

void ScenarioRunner::Launch() {
  if (launched && machine.Running()) {
    Fail("the previous setup.exe is still running");
    machine.Kill();
  }
  launched = true;
  clickTime = NowMs();
  page = 0;
  std::string error;
  if (!machine.Launch(program, error)) return Fail(error);
  MainWindowInfo main = machine.MainWindow();
  const RECT& window = main.window;
  clientWidth = main.clientWidth;
  clientHeight = main.clientHeight;
  Print("  window " + RectText(window) + " client " + std::to_string(clientWidth) + "x" +
        std::to_string(clientHeight) + " screen " + std::to_string(main.screenWidth) + "x" +
        std::to_string(main.screenHeight) + " style " + Hex(main.style));
  // Centred on the screen, 600 by 440 from outer edge to outer edge.
  RECT expected = MakeRect((main.screenWidth - 600) / 2, (main.screenHeight - 440) / 2, 600, 440);
  Check(RectText(window) == RectText(expected), "window at " + RectText(window) + ", expected " + RectText(expected));
  Check((main.style & (WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_SYSMENU | WS_MINIMIZEBOX) &&
            !(main.style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP)),
        "window style " + Hex(main.style) + " is not a fixed-size window with a system menu and a minimise box");
  Check(clientWidth < 600 && clientHeight < 440 && clientWidth >= 500 && clientHeight >= 350,
        "client area " + std::to_string(clientWidth) + "x" + std::to_string(clientHeight) +
            " is not the 600x440 window less its frame");
}

void ScenarioRunner::Plant(const std::string& names) {
  std::vector<std::string> dlls;
  std::string rest = names, error;
  for (std::string name = TakeWord(rest); !name.empty(); name = TakeWord(rest)) dlls.push_back(name);
  planted = machine.Plant(program, dlls, error);
  if (!planted) error.empty() ? Print("  skipped: no DLLs are loaded here") : Fail(error);
}

void ScenarioRunner::WaitForPage(int wanted) {
  if (wanted < 1 || wanted > 4) return Fail("no page " + std::to_string(wanted));
  // The program's own layout for this client area, every control shown; Back greyed out on the finish page.
  const PageCaptions& captions = kPageCaptions[wanted];
  ControlPlace expected[kMostPageControls];
  int count = LayOutPage(wanted, clientWidth, clientHeight - kNavigationStripHeight, machine.MainWindow().scrollWidth,
                         expected);
  for (int i = 0; i < count; ++i) {
    ControlPlace& e = expected[i];
    e.style |= WS_VISIBLE | (wanted == 4 && e.id == kBackButtonId ? WS_DISABLED : 0);
    if (e.id == kBackButtonId || e.id == kNextButtonId) e.text = e.id == kBackButtonId ? captions.back : captions.next;
  }
  std::vector<ControlInfo> controls;
  bool arrived = false;
  machine.Await(kPageTimeoutMs, [&] {
    controls = machine.Controls();
    const ControlInfo* left = Find(controls, kBackButtonId);
    const ControlInfo* right = Find(controls, kNextButtonId);
    arrived = left && right && left->text == captions.back && right->text == captions.next &&
              left->enabled == (wanted != 4) && controls.size() == static_cast<size_t>(count);
    for (int i = 0; i < count; ++i) arrived = arrived && Find(controls, expected[i].id);
    return arrived || !machine.Running();
  });
  if (!arrived) {
    Fail("page " + std::to_string(wanted) + " did not show; the controls are:");
    return PrintControls(controls);
  }
  char line[128];
  std::snprintf(line, sizeof line, "  TIMING page%d %.1f ms after the last press", wanted, NowMs() - clickTime);
  Print(line);
  page = wanted;
  Print("  page " + std::to_string(wanted) + " of " + Quoted(machine.MainWindow().title) + ": left " +
        Quoted(captions.back) + ", right " + Quoted(captions.next));
  PrintControls(controls);
  for (int i = 0; i < count; ++i) {
    const ControlPlace& e = expected[i];
    const ControlInfo* found = Find(controls, e.id);
    std::string name = "control " + std::to_string(e.id);
    if (!found) {
      Fail(name + " missing");
      continue;
    }
    Check(SameNoCase(found->className, e.className), name + " is of class " + found->className);
    // An edit's text is for the scenario's text steps.
    if (!SameNoCase(e.className, "Edit")) Expect(name + " reads", found->text, e.text);
    DWORD style = found->style;
    // An edit control turns WS_BORDER into a border of its own drawing and drops the bit.
    if (SameNoCase(e.className, "Edit")) style |= (e.style & WS_BORDER);
    Check(style == e.style, name + " style " + Hex(found->style) + ", expected " + Hex(e.style));
    Check(found->exStyle == e.exStyle,
          name + " extended style " + Hex(found->exStyle) + ", expected " + Hex(e.exStyle));
    RECT place = MakeRect(e.left, e.top, e.width, e.height);
    Check(RectText(found->rect) == RectText(place),
          name + " at " + RectText(found->rect) + ", expected " + RectText(place));
    Check(found->enabled == !(e.style & WS_DISABLED), name + (found->enabled ? " enabled" : " disabled"));
    Check(found->visible, name + " not visible");
  }
}

void ScenarioRunner::ExpectText(int id, const std::string& text, bool fromFile) {
  std::string name = "control " + std::to_string(id);
  std::string expected = text;
  if (fromFile && !machine.ReadFileBytes(settings.contentFolder + "\\" + text, expected)) return Fail("cannot read " + text);
  std::string actual;
  // A chooser that just closed may still be putting its folder into the edit.
  bool same = machine.Await(2000, [&] {
    if (!machine.ControlText(id, actual)) actual = "<no control>";
    return actual == expected;
  });
  if (!fromFile) return Expect(name + " reads", actual, expected);
  if (!same) return Fail(name + " text " + DescribeDifference(expected, actual));
  // A multi-line edit shows a text from a file with its own lines, none of them wrapped.
  int shown = machine.LinesShown(id);
  int lines = 1;
  for (size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  if (shown >= 0 && shown != lines)
    Fail(name + " shows " + std::to_string(shown) + " lines; its text has " + std::to_string(lines));
}

void ScenarioRunner::Message(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() < 2) return Fail("message needs: caption | text [| icon | exclamation]");
  MessageBoxInfo box;
  std::string error;
  if (!machine.TakeMessageBox(box, error) && box.caption.empty()) return Fail(error);
  Print("  message box " + Quoted(box.caption) + ": " + Quoted(box.text) + (box.icon ? " with an icon" : ""));
  Expect("message caption", box.caption, fields[0]);
  Expect("message text", box.text, fields[1]);
  std::string icon = fields.size() > 2 ? fields[2] : "";
  if (!icon.empty())
    Check((icon == "icon" || icon == "exclamation") == box.icon,
          box.icon ? "the message has an icon" : "the message has no icon");
  if (icon == "exclamation")
    box.iconKnown ? Check(box.exclamation, "the message's icon is not the exclamation mark")
                  : Print("  (which icon it is cannot be told here)");
  Check(error.empty(), error);
}

void ScenarioRunner::Exit(int expected) {
  int code = 0;
  if (!machine.WaitForExit(code)) {
    Fail("setup.exe did not end");
    return machine.Kill();
  }
  Print("  setup.exe ended with exit code " + std::to_string(code));
  Check(code == expected, "exit code " + std::to_string(code) + ", expected " + std::to_string(expected));
  std::string left = machine.Leftovers();
  Check(left.empty(), "setup.exe left " + left);
}

void ScenarioRunner::CheckFile(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() != 2) return Fail("file needs: path | size N  or  path | same NAME");
  const std::string& path = fields[0];
  std::string rest = fields[1], kind = TakeWord(rest), expected, actual;
  if (kind != "size" && kind != "same") return Fail("unknown file check " + kind);
  if (kind == "same" && !machine.ReadFileBytes(settings.contentFolder + "\\" + rest, expected))
    return Fail("cannot read " + rest + " in " + settings.contentFolder);
  if (!machine.ReadFileBytes(path, actual)) return Fail(path + " is missing");
  if (kind == "size") {
    Check(actual.size() == std::strtoull(rest.c_str(), nullptr, 10),
          path + " has " + std::to_string(actual.size()) + " bytes, expected " + rest);
  } else {
    Check(expected == actual, path + " is not byte-identical to " + rest + ": " + std::to_string(actual.size()) +
                                  " bytes, expected " + std::to_string(expected.size()));
  }
}

void ScenarioRunner::CheckFolderList(const std::string& folder, const std::vector<std::string>& block) {
  std::vector<std::string> names, expected = BlockLines(block, true);
  std::sort(expected.begin(), expected.end());
  if (!machine.ListFolder(folder, names)) return Fail(folder + " is not a folder");
  Check(names == expected, folder + " holds" + Listed(names) + "; expected" + Listed(expected));
}

void ScenarioRunner::CheckLog(const std::string& path, const std::vector<std::string>& block) {
  // Each line ends in CR LF; a "$" ending a line marks its end, so that trailing blanks stay visible.
  std::string expected, actual;
  for (const std::string& line : BlockLines(block, false))
    expected += line.substr(0, line.size() - (!line.empty() && line.back() == '$')) + "\r\n";
  if (!machine.ReadFileBytes(path, actual)) return Fail(path + " is missing");
  if (actual != expected) Fail(path + " " + DescribeDifference(expected, actual));
}

void ScenarioRunner::CheckValues(const std::string& key, const std::vector<std::string>* block) {
  std::map<std::string, RegistryValue> values;
  bool opens = machine.ReadValues(key, values);
  if (!block) return Check(!opens, "key " + key + " exists");
  if (!opens) return Fail("key " + key + " does not open");
  std::map<std::string, std::string> expected;
  for (const std::string& text : BlockLines(*block, true)) {
    size_t at = text.find('=');
    expected[text.substr(0, at)] = at == std::string::npos ? "" : text.substr(at + 1);
  }
  for (const auto& e : expected) {
    auto found = values.find(e.first);
    if (found == values.end()) {
      Fail(key + " has no value " + e.first + " (expected " + Quoted(e.second) + ")");
    } else if (found->second.type != REG_SZ || found->second.data != e.second) {
      Fail(key + " value " + e.first + " is " + Quoted(found->second.data) + " of type " +
           std::to_string(found->second.type) + ", expected REG_SZ " + Quoted(e.second));
    }
  }
  for (const auto& v : values)
    Check(expected.count(v.first) > 0, key + " has an unexpected value " + v.first + "=" + Quoted(v.second.data));
}

void ScenarioRunner::CheckLink(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() != 3) return Fail("link needs: link path | target | description");
  LinkInfo link;
  std::string error;
  if (!machine.Exists(fields[0])) return Fail(fields[0] + " is missing");
  if (!machine.ReadShellLink(fields[0], link, error)) return Fail(fields[0] + ": " + error);
  Print("  link target " + Quoted(link.target) + ", description " + Quoted(link.description));
  Check(SameNoCase(link.target, fields[1]),
        fields[0] + " points at " + Quoted(link.target) + ", expected " + Quoted(fields[1]));
  Expect(fields[0] + " description", link.description, fields[2]);
}

void ScenarioRunner::CheckPieces(const std::string& args) {
  // pieces <folder\prefix> | <content file>: prefix1.dic, prefix2.dic, ... joined
  // give the dictionary; each piece but the last holds 64768 bytes and then runs
  // to the first line feed after them.
  const size_t kBlocks = 64768;
  std::vector<std::string> fields = SplitFields(args);
  std::string whole, piece, joined;
  if (fields.size() != 2 || !machine.ReadFileBytes(settings.contentFolder + "\\" + fields[1], whole))
    return Fail("pieces needs: folder\\prefix | content file (readable)");
  int count = 0;
  for (;; ++count) {
    std::string path = fields[0] + std::to_string(count + 1) + ".dic";
    if (!machine.ReadFileBytes(path, piece)) break;
    joined += piece;
    bool last = joined.size() >= whole.size();
    Check(last || (piece.size() > kBlocks && piece.find('\n', kBlocks) == piece.size() - 1),
          path + " has " + std::to_string(piece.size()) +
              " bytes; it does not end at the first line feed after 64768 bytes");
  }
  Print("  " + std::to_string(count) + " piece(s), " + std::to_string(joined.size()) + " bytes in all");
  if (joined != whole) Fail("the pieces together " + DescribeDifference(whole, joined));
}

void ScenarioRunner::CheckPlanted() {
  if (!planted) return Print("  skipped: nothing was planted");
  std::vector<std::string> failures = machine.PlantedLoads();
  for (const std::string& failure : failures) Fail(failure);
  if (failures.empty()) Print("  no stand-in beside setup.exe was loaded by it");
}

void ScenarioRunner::Tamper(const std::string& path) {
  // Stale bytes, longer than what an install writes, so a file that is appended
  // to or not truncated shows it.
  std::string stale;
  while (stale.size() < 8192) stale += "stale content from an earlier run\r\n";
  Check(machine.WriteFileBytes(path, stale), "cannot overwrite " + path);
}

void ScenarioRunner::ShowFolder(const std::string& path, const std::string& indent) {
  std::vector<std::string> names;
  if (!machine.ListFolder(path, names)) return Print(indent + "(missing)");
  for (const std::string& name : names) {
    std::string full = path + "\\" + name, bytes;
    if (machine.ReadFileBytes(full, bytes)) {
      Print(indent + name + "  " + std::to_string(bytes.size()) + " bytes");
    } else {
      Print(indent + name + "\\");
      ShowFolder(full, indent + "  ");
    }
  }
}

void ScenarioRunner::ShowFile(const std::string& path) {
  std::string bytes;
  if (!machine.ReadFileBytes(path, bytes)) return Print("    (cannot read " + path + ")");
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
  for (size_t start = 0, end; start < bytes.size(); start = end + 1) {
    end = std::min(bytes.find('\n', start), bytes.size());
    Print("    | " + bytes.substr(start, end - start));
  }
}

void ScenarioRunner::ShowValues(const std::string& key) {
  std::map<std::string, RegistryValue> values;
  if (!machine.ReadValues(key, values)) return Print("  " + key + ": (no such key)");
  Print("  [" + key + "]");
  for (const auto& v : values) Print("    \"" + v.first + "\"=" + Quoted(v.second.data));
}
