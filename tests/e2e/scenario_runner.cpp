#include "scenario_runner.h"

#include "pages/control_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host_paths.h"
#include "install_checks.h"
#include "page_layout.h"
#include "prefix_state.h"
#include "screen_shot.h"

namespace {

const DWORD kPageTimeoutMs = 60000;  // a whole install happens inside one page move

bool SameNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

void PrintControls(const std::vector<ControlInfo>& controls) {
  for (const ControlInfo& c : controls) {
    Print("    " + std::to_string(c.id) + " " + c.className + " " + Quoted(c.text.size() > 60 ? c.text.substr(0, 60) + "..." : c.text) +
          " style " + Hex(c.style) + " ex " + Hex(c.exStyle) + " at " + RectText(c.rect) +
          (c.enabled ? "" : " disabled") + (c.visible ? "" : " hidden"));
  }
}

}  // namespace

ScenarioRunner::ScenarioRunner(const RunnerSettings& s) : settings(s), program("quorvel") {}

void ScenarioRunner::Fail(const std::string& what) {
  ++failures;
  Print("  FAIL (line " + std::to_string(currentLine) + "): " + what);
}

std::string ScenarioRunner::Expand(const std::string& text) const {
  std::string out = text;
  const std::pair<const char*, std::string> names[] = {
      {"%PROGRAMS%", ProgramsFolder()},
      {"%TEMP%", TempFolder()},
      {"%CONTENT%", settings.contentFolder},
      {"%SCENARIOS%", settings.scenarioFolder},
  };
  for (const auto& name : names) {
    size_t at;
    while ((at = out.find(name.first)) != std::string::npos) out.replace(at, std::string(name.first).size(), name.second);
  }
  return out;
}

int ScenarioRunner::Run(const std::vector<ScenarioStep>& steps) {
  for (const ScenarioStep& step : steps) {
    currentLine = step.line;
    Step(step);
  }
  if (probe && probe->Running()) {
    Fail("setup.exe still running at the end of the scenario; stopped");
    probe->Kill();
  }
  probe = nullptr;
  launches.clear();
  std::string error;
  for (const std::string& path : locked)  // whatever the scenario left locked, so that it can be removed
    if (!SetImmutable(path, false, error)) Fail(error);
  return failures;
}

void ScenarioRunner::Step(const ScenarioStep& step) {
  const std::string& v = step.verb;
  std::string args = Expand(step.args);
  if (v != "say") Print(std::to_string(step.line) + ": " + v + (args.empty() ? "" : " " + args));
  std::string error;
  bool needsProgram = v == "page" || v == "shot" || v == "text" || v == "textfile" || v == "type" ||
                      v == "click" || v == "command" || v == "message" || v == "browse" || v == "close" ||
                      v == "exit" || v == "title";
  if (needsProgram && !probe) {
    Fail("no program running for \"" + v + "\"");
    return;
  }
  if (v == "say") {
    Print("== " + args);
  } else if (v == "reset") {
    Reset();
  } else if (v == "reg") {
    std::string file = args.size() > 1 && args[1] == ':' ? args : settings.scenarioFolder + "\\" + args;
    if (!ImportRegFile(file, error)) Fail(error);
  } else if (v == "mkdir") {
    RemoveTree(args);
    if (!MakeFolders(args)) Fail("cannot make " + args);
  } else if (v == "clean") {
    if (!RemoveTree(args)) Fail("cannot remove " + args);
  } else if (v == "lock" || v == "unlock") {
    if (!SetImmutable(args, v == "lock", error)) Fail(error);
    locked.erase(std::remove(locked.begin(), locked.end(), args), locked.end());
    if (v == "lock") locked.push_back(args);
  } else if (v == "program") {
    if (!settings.programs.count(args)) Fail("no program for edition " + args);
    program = args;
  } else if (v == "launch") {
    Launch();
  } else if (v == "title") {
    Title(args);
  } else if (v == "page") {
    WaitForPage(std::atoi(args.c_str()));
  } else if (v == "shot") {
    Shot(args);
  } else if (v == "text") {
    ExpectText(args, false);
  } else if (v == "textfile") {
    ExpectText(args, true);
  } else if (v == "type") {
    std::string text = args;
    int id = std::atoi(TakeWord(text).c_str());
    if (!probe->TypeText(id, text)) Fail("cannot set the text of control " + std::to_string(id));
  } else if (v == "click") {
    clickTime = NowMs();
    if (!probe->Click(std::atoi(args.c_str()))) Fail("no control " + args + " to click");
  } else if (v == "command") {
    clickTime = NowMs();
    if (!probe->Command(std::atoi(args.c_str()))) Fail("cannot send command " + args);
  } else if (v == "message") {
    Message(args);
  } else if (v == "browse") {
    Browse(args);
  } else if (v == "close") {
    if (!probe->CloseBox()) Fail("cannot press the close box");
  } else if (v == "exit") {
    Exit(args);
  } else if (v == "file") {
    CheckFile(args);
  } else if (v == "absent") {
    if (GetFileAttributesA(args.c_str()) != INVALID_FILE_ATTRIBUTES) Fail(args + " exists");
  } else if (v == "files") {
    CheckFolderList(args, step.block);
  } else if (v == "log") {
    CheckLog(args, step.block);
  } else if (v == "values") {
    CheckValues(args, step.block);
  } else if (v == "nokey") {
    HKEY root;
    std::string path;
    HKEY handle;
    if (!ParseKey(args, root, path)) {
      Fail("bad key " + args);
    } else if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | RegistryView(), &handle) == ERROR_SUCCESS) {
      RegCloseKey(handle);
      Fail("key " + args + " exists");
    }
  } else if (v == "link") {
    CheckLink(args);
  } else if (v == "pieces") {
    CheckPieces(args);
  } else if (v == "notemp") {
    std::string names;
    if (CountTemporaryFiles(names) > 0) Fail("temporary files left in " + TempFolder() + ": " + names);
  } else if (v == "tamper") {
    Tamper(args);
  } else if (v == "show-folder") {
    Print("  " + args + ":");
    ShowFolder(args, "    ");
  } else if (v == "show-file") {
    std::string bytes;
    if (!ReadFileBytes(args, bytes)) {
      Print("    (cannot read " + args + ")");
    } else {
      std::string line;
      for (char c : bytes) {
        if (c == '\n') {
          Print("    | " + line);
          line.clear();
        } else if (c != '\r') {
          line += c;
        }
      }
      if (!line.empty()) Print("    | " + line);
    }
  } else if (v == "show-values") {
    ShowValues(args);
  } else {
    Fail("unknown step \"" + v + "\"");
  }
}

void ScenarioRunner::Reset() {
  std::string error;
  if (!ResetOfficeKeys(error)) Fail(error);
  // What any install of the product leaves outside the scenario's own folders.
  for (const std::string& folder : {std::string("C:\\Program Files\\Vessora"), ProgramsFolder() + "\\Vessora"}) {
    if (!RemoveTree(folder)) Fail("cannot remove " + folder);
  }
  int stale = RemoveTemporaryFiles();
  if (stale) Print("  removed " + std::to_string(stale) + " vsq temporary file(s) left from before");
}

void ScenarioRunner::Launch() {
  if (probe && probe->Running()) {
    Fail("the previous setup.exe is still running");
    probe->Kill();
  }
  launches.push_back(std::make_unique<WizardProbe>());
  probe = launches.back().get();
  clickTime = NowMs();
  page = 0;
  std::string error;
  const std::string& exe = settings.programs[program];
  if (!probe->Launch(exe, error)) {
    Fail(error);
    return;
  }
  if (probe->Retries()) Print("  (Wine refused " + std::to_string(probe->Retries()) + " start(s) before this one)");
  if (!probe->WaitForMainWindow(30000)) {
    Fail("no window of class LunveraSetup appeared");
    return;
  }
  double windowTime = probe->Elapsed();
  if (!probe->WaitForFirstPaint(30000)) {
    Fail("the first paint did not set the caption E&xit");
    return;
  }
  double paintTime = probe->Elapsed();
  bool onScreen = probe->WaitForFrameOnScreen(10000);
  char line[160];
  std::snprintf(line, sizeof line, "  TIMING window %.1f ms, first-paint %.1f ms, on-screen %.1f ms", windowTime,
                paintTime, onScreen ? probe->Elapsed() : -1.0);
  Print(line);
  if (!onScreen) Fail("the client area's frame did not show on the screen");

  HWND main = probe->Main();
  RECT window, client;
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  clientWidth = client.right;
  clientHeight = client.bottom;
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE));
  Print("  window " + RectText(window) + " client " + std::to_string(clientWidth) + "x" +
        std::to_string(clientHeight) + " screen " + std::to_string(screenWidth) + "x" +
        std::to_string(screenHeight) + " style " + Hex(style));
  // Centred on the screen, 600 by 440 from outer edge to outer edge.
  RECT expected = MakeRect((screenWidth - 600) / 2, (screenHeight - 440) / 2, 600, 440);
  if (!EqualRect(&window, &expected)) Fail("window at " + RectText(window) + ", expected " + RectText(expected));
  if ((style & (WS_SYSMENU | WS_MINIMIZEBOX)) != (WS_SYSMENU | WS_MINIMIZEBOX) ||
      (style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP))) {
    Fail("window style " + Hex(style) + " is not a fixed-size window with a system menu and a minimise box");
  }
  if (clientWidth >= 600 || clientHeight >= 440 || clientWidth < 500 || clientHeight < 350) {
    Fail("client area " + std::to_string(clientWidth) + "x" + std::to_string(clientHeight) +
         " is not the 600x440 window less its frame");
  }
}

void ScenarioRunner::Title(const std::string& text) {
  char title[256] = "";
  GetWindowTextA(probe->Main(), title, sizeof title);
  if (text != title) Fail("title " + Quoted(title) + ", expected " + Quoted(text));
}

void ScenarioRunner::WaitForPage(int wanted) {
  if (wanted < 1 || wanted > 4) {
    Fail("no page " + std::to_string(wanted));
    return;
  }
  PageCaptions captions = CaptionsOf(wanted);
  std::vector<ExpectedControl> expected =
      ExpectedControls(wanted, clientWidth, clientHeight, GetSystemMetrics(SM_CXVSCROLL));
  double deadline = NowMs() + kPageTimeoutMs;
  std::vector<ControlInfo> controls;
  bool arrived = false;
  while (!arrived && NowMs() < deadline) {
    controls = probe->Controls();
    std::string left, right;
    bool leftEnabled = false;
    size_t matchingIds = 0;
    for (const ControlInfo& c : controls) {
      if (c.id == kBackButtonId) {
        left = c.text;
        leftEnabled = c.enabled;
      }
      if (c.id == kNextButtonId) right = c.text;
      for (const ExpectedControl& e : expected)
        if (e.id == c.id) ++matchingIds;
    }
    arrived = left == captions.left && right == captions.right && leftEnabled == (wanted != 4) &&
              matchingIds == expected.size() && controls.size() == expected.size();
    if (!arrived) {
      if (!probe->Running()) break;
      Sleep(5);
    }
  }
  if (!arrived) {
    Fail("page " + std::to_string(wanted) + " did not show; the controls are:");
    PrintControls(controls);
    return;
  }
  char line[128];
  std::snprintf(line, sizeof line, "  TIMING page%d %.1f ms after the last press", wanted, NowMs() - clickTime);
  Print(line);
  page = wanted;
  char title[256] = "";
  GetWindowTextA(probe->Main(), title, sizeof title);
  Print("  page " + std::to_string(wanted) + " of " + Quoted(title) + ": left " + Quoted(captions.left) +
        ", right " + Quoted(captions.right));
  PrintControls(controls);
  CheckControls(wanted, controls);
}

void ScenarioRunner::CheckControls(int wanted, const std::vector<ControlInfo>& controls) {
  std::vector<ExpectedControl> expected =
      ExpectedControls(wanted, clientWidth, clientHeight, GetSystemMetrics(SM_CXVSCROLL));
  for (const ExpectedControl& e : expected) {
    const ControlInfo* found = nullptr;
    for (const ControlInfo& c : controls)
      if (c.id == e.id) found = &c;
    std::string name = "control " + std::to_string(e.id);
    if (!found) {
      Fail(name + " missing");
      continue;
    }
    if (!SameNoCase(found->className, e.className)) Fail(name + " is of class " + found->className);
    if (e.checkText && found->text != e.text) Fail(name + " reads " + Quoted(found->text) + ", expected " + Quoted(e.text));
    DWORD style = found->style;
    // An edit control turns WS_BORDER into a border of its own drawing and drops the bit.
    if (SameNoCase(e.className, "Edit")) style |= (e.style & WS_BORDER);
    if (style != e.style) Fail(name + " style " + Hex(found->style) + ", expected " + Hex(e.style));
    if (found->exStyle != e.exStyle) Fail(name + " extended style " + Hex(found->exStyle) + ", expected " + Hex(e.exStyle));
    if (!EqualRect(&found->rect, &e.rect)) Fail(name + " at " + RectText(found->rect) + ", expected " + RectText(e.rect));
    if (found->enabled != e.enabled) Fail(name + (found->enabled ? " enabled" : " disabled"));
    if (!found->visible) Fail(name + " not visible");
  }
}

void ScenarioRunner::Shot(const std::string& name) {
  HWND main = probe->Main();
  // The paint that set the captions has run; wait for the display to show it.
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  probe->WaitForFrameOnScreen(3000);
  Sleep(150);
  RECT window;
  GetWindowRect(main, &window);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  std::string host = settings.outputHost + "/" + name + ".png";
  std::string error;
  if (!CaptureScreen(window, host, error)) {
    Fail(error);
    return;
  }
  // Where the client area lies in the picture, for the picture checks.
  std::string info = "page " + std::to_string(page) + "\nclient " + std::to_string(origin.x - window.left) + " " +
                     std::to_string(origin.y - window.top) + " " + std::to_string(clientWidth) + " " +
                     std::to_string(clientHeight) + "\n";
  std::string infoPath = HostToWindows(settings.outputHost + "/" + name + ".txt");
  HANDLE file = CreateFileA(infoPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE || !WriteFile(file, info.data(), static_cast<DWORD>(info.size()), &written, nullptr)) {
    Fail("cannot write " + infoPath);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  Print("  saved " + host);
}

void ScenarioRunner::ExpectText(const std::string& args, bool fromFile) {
  std::string rest = args;
  int id = std::atoi(TakeWord(rest).c_str());
  std::string expected = rest;
  if (fromFile && !ReadFileBytes(settings.contentFolder + "\\" + rest, expected)) {
    Fail("cannot read " + rest);
    return;
  }
  HWND control = probe->Control(id);
  std::string actual;
  // A chooser that just closed may still be putting its folder into the edit.
  for (int tries = 0; tries < 100; ++tries) {
    actual = control ? WizardProbe::TextOf(control) : "<no control>";
    if (actual == expected) {
      // A multi-line edit shows a text from a file with its own lines, none of them wrapped.
      DWORD_PTR shown = 0;
      size_t lines = 1;
      for (size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
      if (fromFile && (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0 &&
          SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown) && shown != lines)
        Fail("control " + std::to_string(id) + " shows " + std::to_string(shown) + " lines; its text has " +
             std::to_string(lines));
      return;
    }
    Sleep(20);
  }
  if (fromFile) {
    Fail("control " + std::to_string(id) + " text " + DescribeDifference(expected, actual));
  } else {
    Fail("control " + std::to_string(id) + " reads " + Quoted(actual) + ", expected " + Quoted(expected));
  }
}

void ScenarioRunner::Message(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() < 2) {
    Fail("message needs: caption | text [| icon]");
    return;
  }
  HWND box = probe->WaitForOwnedDialog(15000);
  if (!box) {
    Fail("no message box owned by the main window appeared");
    return;
  }
  char caption[256] = "";
  GetWindowTextA(box, caption, sizeof caption);
  std::string text;
  bool icon = false;
  for (const ControlInfo& c : WizardProbe::ChildrenOf(box)) {
    if (!SameNoCase(c.className, "Static") || !c.visible) continue;
    if ((c.style & SS_TYPEMASK) == SS_ICON) {
      icon = true;
    } else if (!c.text.empty()) {
      text = c.text;
    }
  }
  Print("  message box " + Quoted(caption) + ": " + Quoted(text) + (icon ? " with an icon" : ""));
  if (fields[0] != caption) Fail("message caption " + Quoted(caption) + ", expected " + Quoted(fields[0]));
  if (fields[1] != text) Fail("message text " + Quoted(text) + ", expected " + Quoted(fields[1]));
  if (fields.size() > 2 && (fields[2] == "icon") != icon) Fail(icon ? "the message has an icon" : "the message has no icon");
  if (!WizardProbe::PressDialogButton(box, IDOK) || !probe->WaitForDialogGone(box, 10000)) Fail("the message box did not close on OK");
}

void ScenarioRunner::Browse(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  std::string first = fields[0];
  int id = std::atoi(TakeWord(first).c_str());
  std::string choice = first;
  clickTime = NowMs();
  if (!probe->Click(id)) {
    Fail("no Browse button " + std::to_string(id));
    return;
  }
  HWND chooser = nullptr;
  double deadline = NowMs() + 15000;
  while (!chooser && NowMs() < deadline) {
    HWND dialog = probe->FindOwnedDialog();
    if (dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) chooser = dialog;
    if (!chooser) Sleep(10);
  }
  if (!chooser) {
    Fail("the folder chooser did not open");
    return;
  }
  char caption[256] = "";
  GetWindowTextA(chooser, caption, sizeof caption);
  Print("  folder chooser " + Quoted(caption) + " open");
  if (fields.size() > 1) {
    // The program sets the status line when the chooser reports that it is ready.
    bool seen = false;
    std::vector<std::string> texts;
    for (int tries = 0; tries < 100 && !seen; ++tries) {
      texts.clear();
      for (const ControlInfo& c : WizardProbe::ChildrenOf(chooser)) {
        if (SameNoCase(c.className, "Static")) texts.push_back(c.text);
        if (SameNoCase(c.className, "Static") && c.text == fields[1]) seen = true;
      }
      if (!seen) Sleep(20);
    }
    if (!seen) {
      std::string all;
      for (const std::string& t : texts) all += " " + Quoted(t);
      Fail("the chooser's status line does not read " + Quoted(fields[1]) + "; its texts:" + all);
    }
  }
  if (choice == "cancel") {
    WizardProbe::PressDialogButton(chooser, IDCANCEL);
  } else if (choice == "ok") {
    // Whatever the chooser selected when it opened.
    WizardProbe::PressDialogButton(chooser, IDOK);
  } else {
    if (!probe->SelectInChooser(chooser, choice)) Fail("cannot select " + choice + " in the chooser");
    Sleep(200);
    WizardProbe::PressDialogButton(chooser, IDOK);
  }
  if (!probe->WaitForDialogGone(chooser, 10000)) Fail("the folder chooser did not close");
}

void ScenarioRunner::Exit(const std::string& args) {
  DWORD code = 0;
  if (!probe->WaitForExit(30000, code)) {
    Fail("setup.exe did not end");
    probe->Kill();
    return;
  }
  Print("  setup.exe ended with exit code " + std::to_string(code));
  if (code != static_cast<DWORD>(std::atoi(args.c_str()))) Fail("exit code " + std::to_string(code) + ", expected " + args);
}

void ScenarioRunner::CheckFile(const std::string& args) {
  // file <path> | size <n>   or   file <path> | same <content file>
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() != 2) {
    Fail("file needs: path | size N  or  path | same NAME");
    return;
  }
  const std::string& path = fields[0];
  std::string rest = fields[1];
  std::string kind = TakeWord(rest);
  if (kind == "size") {
    unsigned long long size = 0;
    if (!FileSize(path, size)) {
      Fail(path + " is missing");
    } else if (size != std::strtoull(rest.c_str(), nullptr, 10)) {
      Fail(path + " has " + std::to_string(size) + " bytes, expected " + rest);
    }
  } else if (kind == "same") {
    std::string expected, actual;
    if (!ReadFileBytes(settings.contentFolder + "\\" + rest, expected)) {
      Fail("cannot read " + rest + " in " + settings.contentFolder);
    } else if (!ReadFileBytes(path, actual)) {
      Fail(path + " is missing");
    } else if (expected != actual) {
      Fail(path + " is not byte-identical to " + rest + ": " + std::to_string(actual.size()) + " bytes, expected " +
           std::to_string(expected.size()));
    }
  } else {
    Fail("unknown file check " + kind);
  }
}

void ScenarioRunner::CheckFolderList(const std::string& folder, const std::vector<std::string>& lines) {
  std::vector<std::string> names, expected;
  for (const std::string& line : lines)
    if (!Trim(line).empty()) expected.push_back(Trim(Expand(line)));
  std::sort(expected.begin(), expected.end());
  if (!ListFolder(folder, names)) {
    Fail(folder + " is not a folder");
    return;
  }
  if (names != expected) {
    std::string found, wanted;
    for (const std::string& n : names) found += " " + n;
    for (const std::string& n : expected) wanted += " " + n;
    Fail(folder + " holds" + found + "; expected" + wanted);
  }
}

void ScenarioRunner::CheckLog(const std::string& path, const std::vector<std::string>& lines) {
  std::vector<std::string> expanded;
  for (const std::string& line : lines) expanded.push_back(Expand(line));
  std::string expected = LogFromLines(expanded);
  std::string actual;
  if (!ReadFileBytes(path, actual)) {
    Fail(path + " is missing");
    return;
  }
  if (actual != expected) Fail(path + " " + DescribeDifference(expected, actual));
}

void ScenarioRunner::CheckValues(const std::string& key, const std::vector<std::string>& lines) {
  HKEY root;
  std::string path;
  if (!ParseKey(key, root, path)) {
    Fail("bad key " + key);
    return;
  }
  std::map<std::string, RegistryValue> values;
  if (!ReadValues(root, path, values)) {
    Fail("key " + key + " does not open");
    return;
  }
  std::map<std::string, std::string> expected;
  for (const std::string& line : lines) {
    std::string text = Trim(Expand(line));
    if (text.empty()) continue;
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
    if (!expected.count(v.first)) Fail(key + " has an unexpected value " + v.first + "=" + Quoted(v.second.data));
}

void ScenarioRunner::CheckLink(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() != 3) {
    Fail("link needs: link path | target | description");
    return;
  }
  LinkInfo link;
  std::string error;
  if (GetFileAttributesA(fields[0].c_str()) == INVALID_FILE_ATTRIBUTES) {
    Fail(fields[0] + " is missing");
    return;
  }
  if (!ReadShellLink(fields[0], link, error)) {
    Fail(fields[0] + ": " + error);
    return;
  }
  Print("  link target " + Quoted(link.target) + ", description " + Quoted(link.description));
  if (!SameNoCase(link.target, fields[1])) Fail(fields[0] + " points at " + Quoted(link.target) + ", expected " + Quoted(fields[1]));
  if (link.description != fields[2]) Fail(fields[0] + " description " + Quoted(link.description) + ", expected " + Quoted(fields[2]));
}

void ScenarioRunner::CheckPieces(const std::string& args) {
  // pieces <folder\prefix> | <content file>: prefix1.dic, prefix2.dic, ... joined
  // give the dictionary; each piece but the last holds 64768 bytes and then runs
  // to the first line feed after them.
  const size_t kBlocks = 64768;
  std::vector<std::string> fields = SplitFields(args);
  std::string whole;
  if (fields.size() != 2 || !ReadFileBytes(settings.contentFolder + "\\" + fields[1], whole)) {
    Fail("pieces needs: folder\\prefix | content file (readable)");
    return;
  }
  std::string joined;
  int count = 0;
  for (int number = 1;; ++number) {
    std::string piece;
    std::string path = fields[0] + std::to_string(number) + ".dic";
    if (!ReadFileBytes(path, piece)) break;
    ++count;
    joined += piece;
    bool last = joined.size() >= whole.size();
    if (!last) {
      size_t end = piece.find('\n', kBlocks);
      if (piece.size() <= kBlocks || end != piece.size() - 1) {
        Fail(path + " has " + std::to_string(piece.size()) +
             " bytes; it does not end at the first line feed after 64768 bytes");
      }
    }
  }
  Print("  " + std::to_string(count) + " piece(s), " + std::to_string(joined.size()) + " bytes in all");
  if (joined != whole) Fail("the pieces together " + DescribeDifference(whole, joined));
}

void ScenarioRunner::Tamper(const std::string& path) {
  // Stale bytes, longer than what an install writes, so a file that is appended
  // to or not truncated shows it.
  std::string stale;
  while (stale.size() < 8192) stale += "stale content from an earlier run\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE || !WriteFile(file, stale.data(), static_cast<DWORD>(stale.size()), &written, nullptr)) {
    Fail("cannot overwrite " + path);
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void ScenarioRunner::ShowFolder(const std::string& path, const std::string& indent) {
  std::vector<std::string> names;
  if (!ListFolder(path, names)) {
    Print(indent + "(missing)");
    return;
  }
  for (const std::string& name : names) {
    std::string full = path + "\\" + name;
    unsigned long long size = 0;
    if (FileSize(full, size)) {
      Print(indent + name + "  " + std::to_string(size) + " bytes");
    } else {
      Print(indent + name + "\\");
      ShowFolder(full, indent + "  ");
    }
  }
}

void ScenarioRunner::ShowValues(const std::string& key) {
  HKEY root;
  std::string path;
  std::map<std::string, RegistryValue> values;
  if (!ParseKey(key, root, path) || !ReadValues(root, path, values)) {
    Print("  " + key + ": (no such key)");
    return;
  }
  Print("  [" + key + "]");
  for (const auto& v : values) Print("    \"" + v.first + "\"=" + Quoted(v.second.data));
}
