#include "scenario_runner.h"

#include "pages/control_ids.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "host_paths.h"
#include "install_checks.h"
#include "page_layout.h"
#include "prefix_state.h"

namespace {

const DWORD kPageTimeoutMs = 60000;  // a whole install happens inside one page move

bool SameNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

void Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Quoted(const std::string& text) { return "\"" + Escaped(text) + "\""; }

// Each item after a blank.
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += " " + item;
  return text;
}

const ControlInfo* Find(const std::vector<ControlInfo>& controls, int id) {
  for (const ControlInfo& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

// The DLLs a program imports, from its import directory (mapped, its imports left unresolved).
std::vector<std::string> ImportedDlls(const std::string& program) {
  std::vector<std::string> names;
  HMODULE image = LoadLibraryExA(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (!image) return names;
  auto base = reinterpret_cast<const BYTE*>(image);
  auto headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); imports && dll->Name; ++dll)
    names.push_back(reinterpret_cast<const char*>(base + dll->Name));
  FreeLibrary(image);
  return names;
}

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

void ScenarioRunner::Check(bool ok, const std::string& failure) {
  if (!ok) Fail(failure);
}

void ScenarioRunner::Expect(const std::string& what, const std::string& actual, const std::string& expected) {
  Check(actual == expected, what + " " + Quoted(actual) + ", expected " + Quoted(expected));
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

std::vector<std::string> ScenarioRunner::BlockLines(const std::vector<std::string>& block, bool trimmed) const {
  std::vector<std::string> lines;
  for (const std::string& line : block) {
    std::string text = trimmed ? Trim(Expand(line)) : Expand(line);
    if (!trimmed || !text.empty()) lines.push_back(text);
  }
  return lines;
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
  // Every file the scenario locked, so that it can be removed.
  std::string error;
  for (const std::string& path : locked) Check(SetImmutable(path, false, error), error);
  return failures;
}

void ScenarioRunner::Step(const ScenarioStep& step) {
  const std::string& v = step.verb;
  std::string args = Expand(step.args);
  if (v != "say") Print(std::to_string(step.line) + ": " + v + (args.empty() ? "" : " " + args));
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
         Check(ImportRegFile(file, error), error);
       }},
      {"mkdir", kNothing,
       [&] {
         RemoveTree(args);
         Check(MakeFolders(args), "cannot make " + args);
       }},
      {"clean", kNothing, [&] { Check(RemoveTree(args), "cannot remove " + args); }},
      {"lock", kNothing,
       [&] {
         Check(SetImmutable(args, true, error), error);
         locked.push_back(args);
       }},
      {"program", kNothing,
       [&] {
         Check(settings.programs.count(args) > 0, "no program for edition " + args);
         program = args;
       }},
      {"plant", kNothing, [&] { Plant(args); }},
      {"launch", kNothing, [&] { Launch(); }},
      {"title", kProgram, [&] { Expect("title", WizardProbe::CaptionOf(probe->Main()), args); }},
      {"page", kProgram, [&] { WaitForPage(number); }},
      {"shot", kProgram, [&] { Shot(args); }},
      {"text", kProgram, [&] { ExpectText(number, rest, false); }},
      {"textfile", kProgram, [&] { ExpectText(number, rest, true); }},
      {"type", kProgram, [&] { Check(probe->TypeText(number, rest), "cannot set the text of control " + word); }},
      {"click", kPress, [&] { Check(probe->Click(number), "no control " + args + " to click"); }},
      {"command", kPress, [&] { Check(probe->Command(number), "cannot send command " + args); }},
      {"message", kProgram, [&] { Message(args); }},
      {"browse", kPress, [&] { Browse(number, rest); }},
      {"close", kProgram, [&] { Check(probe->CloseBox(), "cannot press the close box"); }},
      {"exit", kProgram, [&] { Exit(number); }},
      {"file", kNothing, [&] { CheckFile(args); }},
      {"absent", kNothing, [&] { Check(!Exists(args), args + " exists"); }},
      {"files", kNothing, [&] { CheckFolderList(args, step.block); }},
      {"log", kNothing, [&] { CheckLog(args, step.block); }},
      {"values", kNothing, [&] { CheckValues(args, &step.block); }},
      {"nokey", kNothing, [&] { CheckValues(args, nullptr); }},
      {"link", kNothing, [&] { CheckLink(args); }},
      {"pieces", kNothing, [&] { CheckPieces(args); }},
      {"notemp", kNothing,
       [&] {
         std::vector<std::string> names = TemporaryFiles();
         Check(names.empty(), "temporary files left in " + TempFolder() + ":" + Listed(names));
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
    if (verb.needs != kNothing && !probe) return Fail("no program running for \"" + v + "\"");
    if (verb.needs == kPress) clickTime = NowMs();
    return verb.run();
  }
  Fail("unknown step \"" + v + "\"");
}

void ScenarioRunner::Reset() {
  std::string error;
  Check(ResetOfficeKeys(error), error);
  // What any install of the product leaves outside the scenario's own folders.
  for (const std::string& folder : {std::string("C:\\Program Files\\Vessora"), ProgramsFolder() + "\\Vessora"})
    Check(RemoveTree(folder), "cannot remove " + folder);
  std::vector<std::string> stale = TemporaryFiles();
  for (const std::string& name : stale) DeleteFileA((TempFolder() + "\\" + name).c_str());
  if (!stale.empty()) Print("  removed " + std::to_string(stale.size()) + " vsq temporary file(s) left from before");
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
  std::string exe = plantFolder.empty() ? settings.programs[program] : plantFolder + "\\setup.exe";
  if (!probe->Launch(exe, error)) return Fail(error);
  if (probe->Retries()) Print("  (Wine refused " + std::to_string(probe->Retries()) + " start(s) before this one)");
  if (!probe->WaitForMainWindow(30000)) return Fail("no window of class LunveraSetup appeared");
  double windowTime = probe->Elapsed();
  if (!probe->WaitForFirstPaint(30000)) return Fail("the first paint did not set the caption E&xit");
  double paintTime = probe->Elapsed();
  bool onScreen = probe->WaitForFrameOnScreen(10000);
  char line[160];
  std::snprintf(line, sizeof line, "  TIMING window %.1f ms, first-paint %.1f ms, on-screen %.1f ms", windowTime,
                paintTime, onScreen ? probe->Elapsed() : -1.0);
  Print(line);
  Check(onScreen, "the client area's frame did not show on the screen");

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
  Check(EqualRect(&window, &expected), "window at " + RectText(window) + ", expected " + RectText(expected));
  Check((style & (WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_SYSMENU | WS_MINIMIZEBOX) &&
            !(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP)),
        "window style " + Hex(style) + " is not a fixed-size window with a system menu and a minimise box");
  Check(clientWidth < 600 && clientHeight < 440 && clientWidth >= 500 && clientHeight >= 350,
        "client area " + std::to_string(clientWidth) + "x" + std::to_string(clientHeight) +
            " is not the 600x440 window less its frame");
}

void ScenarioRunner::Plant(const std::string& names) {
  char driver[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  std::string standIn = ParentOf(driver) + "\\planted.dll";
  plantFolder = HostToWindows(settings.outputHost) + "\\planted";
  Check(RemoveTree(plantFolder) && MakeFolders(plantFolder), "cannot make " + plantFolder);
  Check(CopyFileA(settings.programs[program].c_str(), (plantFolder + "\\setup.exe").c_str(), FALSE),
        "cannot copy the program into " + plantFolder);
  std::string rest = names, planted;
  for (std::string name = TakeWord(rest); !name.empty(); name = TakeWord(rest)) {
    Check(CopyFileA(standIn.c_str(), (plantFolder + "\\" + name + ".dll").c_str(), FALSE), "cannot plant " + name + ".dll");
    planted += (planted.empty() ? "" : ",") + name;
  }
  // Wine reads it when a process starts, from the environment the driver was given.
  char overrides[1024] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  Check(std::string(overrides).find(planted + "=n,b") != std::string::npos,
        "Wine does not take " + planted + " from the program's folder first: WINEDLLOVERRIDES is \"" + overrides +
            "\" (run-scenario.sh adds the plant line's names)");
}

void ScenarioRunner::WaitForPage(int wanted) {
  if (wanted < 1 || wanted > 4) return Fail("no page " + std::to_string(wanted));
  PageCaptions captions = CaptionsOf(wanted);
  std::vector<ExpectedControl> expected =
      ExpectedControls(wanted, clientWidth, clientHeight, GetSystemMetrics(SM_CXVSCROLL));
  std::vector<ControlInfo> controls;
  bool arrived = false;
  WaitUntil(kPageTimeoutMs, 5, [&] {
    controls = probe->Controls();
    const ControlInfo* left = Find(controls, kBackButtonId);
    const ControlInfo* right = Find(controls, kNextButtonId);
    arrived = left && right && left->text == captions.left && right->text == captions.right &&
              left->enabled == (wanted != 4) && controls.size() == expected.size();
    for (const ExpectedControl& e : expected) arrived = arrived && Find(controls, e.id);
    return arrived || !probe->Running();
  });
  if (!arrived) {
    Fail("page " + std::to_string(wanted) + " did not show; the controls are:");
    return PrintControls(controls);
  }
  char line[128];
  std::snprintf(line, sizeof line, "  TIMING page%d %.1f ms after the last press", wanted, NowMs() - clickTime);
  Print(line);
  page = wanted;
  Print("  page " + std::to_string(wanted) + " of " + Quoted(WizardProbe::CaptionOf(probe->Main())) + ": left " +
        Quoted(captions.left) + ", right " + Quoted(captions.right));
  PrintControls(controls);
  for (const ExpectedControl& e : expected) {
    const ControlInfo* found = Find(controls, e.id);
    std::string name = "control " + std::to_string(e.id);
    if (!found) {
      Fail(name + " missing");
      continue;
    }
    Check(SameNoCase(found->className, e.className), name + " is of class " + found->className);
    if (e.checkText) Expect(name + " reads", found->text, e.text);
    DWORD style = found->style;
    // An edit control turns WS_BORDER into a border of its own drawing and drops the bit.
    if (SameNoCase(e.className, "Edit")) style |= (e.style & WS_BORDER);
    Check(style == e.style, name + " style " + Hex(found->style) + ", expected " + Hex(e.style));
    Check(found->exStyle == e.exStyle,
          name + " extended style " + Hex(found->exStyle) + ", expected " + Hex(e.exStyle));
    Check(EqualRect(&found->rect, &e.rect), name + " at " + RectText(found->rect) + ", expected " + RectText(e.rect));
    Check(found->enabled == e.enabled, name + (found->enabled ? " enabled" : " disabled"));
    Check(found->visible, name + " not visible");
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
  if (!CaptureScreen(window, host, error)) return Fail(error);
  // Where the client area lies in the picture, for the picture checks.
  std::string info = "page " + std::to_string(page) + "\nclient " + std::to_string(origin.x - window.left) + " " +
                     std::to_string(origin.y - window.top) + " " + std::to_string(clientWidth) + " " +
                     std::to_string(clientHeight) + "\n";
  std::string infoPath = HostToWindows(settings.outputHost + "/" + name + ".txt");
  Check(WriteFileBytes(infoPath, info), "cannot write " + infoPath);
  Print("  saved " + host);
}

void ScenarioRunner::ExpectText(int id, const std::string& text, bool fromFile) {
  std::string name = "control " + std::to_string(id);
  std::string expected = text;
  if (fromFile && !ReadFileBytes(settings.contentFolder + "\\" + text, expected)) return Fail("cannot read " + text);
  HWND control = probe->Control(id);
  std::string actual;
  // A chooser that just closed may still be putting its folder into the edit.
  bool same = WaitUntil(2000, 20, [&] {
    actual = control ? WizardProbe::TextOf(control) : "<no control>";
    return actual == expected;
  });
  if (!fromFile) return Expect(name + " reads", actual, expected);
  if (!same) return Fail(name + " text " + DescribeDifference(expected, actual));
  // A multi-line edit shows a text from a file with its own lines, none of them wrapped.
  DWORD_PTR shown = 0;
  size_t lines = 1;
  for (size_t at = 0; (at = expected.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  if ((GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0 &&
      SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown) && shown != lines)
    Fail(name + " shows " + std::to_string(shown) + " lines; its text has " + std::to_string(lines));
}

void ScenarioRunner::Message(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() < 2) return Fail("message needs: caption | text [| icon]");
  HWND box = probe->WaitForOwnedDialog(15000);
  if (!box) return Fail("no message box owned by the main window appeared");
  std::string caption = WizardProbe::CaptionOf(box);
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
  Expect("message caption", caption, fields[0]);
  Expect("message text", text, fields[1]);
  if (fields.size() > 2)
    Check((fields[2] == "icon") == icon, icon ? "the message has an icon" : "the message has no icon");
  Check(WizardProbe::PressDialogButton(box, IDOK) && probe->WaitForDialogGone(box, 10000),
        "the message box did not close on OK");
}

void ScenarioRunner::Browse(int id, const std::string& answer) {
  std::vector<std::string> fields = SplitFields(answer);
  const std::string& choice = fields[0];
  if (!probe->Click(id)) return Fail("no Browse button " + std::to_string(id));
  HWND chooser = nullptr;
  WaitUntil(15000, 10, [&] {
    HWND dialog = probe->FindOwnedDialog();
    if (dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) chooser = dialog;
    return chooser != nullptr;
  });
  if (!chooser) return Fail("the folder chooser did not open");
  Print("  folder chooser " + Quoted(WizardProbe::CaptionOf(chooser)) + " open");
  if (fields.size() > 1) {
    // The program sets the status line when the chooser reports that it is ready.
    std::vector<std::string> texts;
    bool seen = WaitUntil(2000, 20, [&] {
      texts.clear();
      for (const ControlInfo& c : WizardProbe::ChildrenOf(chooser))
        if (SameNoCase(c.className, "Static")) texts.push_back(c.text);
      return std::find(texts.begin(), texts.end(), fields[1]) != texts.end();
    });
    if (!seen) {
      for (std::string& text : texts) text = Quoted(text);
      Fail("the chooser's status line does not read " + Quoted(fields[1]) + "; its texts:" + Listed(texts));
    }
  }
  if (choice != "ok" && choice != "cancel") {
    Check(probe->SelectInChooser(chooser, choice), "cannot select " + choice + " in the chooser");
    Sleep(200);
  }
  // "ok" takes whatever the chooser selected when it opened.
  WizardProbe::PressDialogButton(chooser, choice == "cancel" ? IDCANCEL : IDOK);
  Check(probe->WaitForDialogGone(chooser, 10000), "the folder chooser did not close");
}

void ScenarioRunner::Exit(int expected) {
  DWORD code = 0;
  if (!probe->WaitForExit(30000, code)) {
    Fail("setup.exe did not end");
    return probe->Kill();
  }
  Print("  setup.exe ended with exit code " + std::to_string(code));
  Check(code == static_cast<DWORD>(expected),
        "exit code " + std::to_string(code) + ", expected " + std::to_string(expected));
}

void ScenarioRunner::CheckFile(const std::string& args) {
  std::vector<std::string> fields = SplitFields(args);
  if (fields.size() != 2) return Fail("file needs: path | size N  or  path | same NAME");
  const std::string& path = fields[0];
  std::string rest = fields[1];
  std::string kind = TakeWord(rest);
  std::string expected, actual;
  unsigned long long size = 0;
  if (kind == "size") {
    if (!FileSize(path, size)) return Fail(path + " is missing");
    Check(size == std::strtoull(rest.c_str(), nullptr, 10),
          path + " has " + std::to_string(size) + " bytes, expected " + rest);
  } else if (kind == "same") {
    if (!ReadFileBytes(settings.contentFolder + "\\" + rest, expected))
      return Fail("cannot read " + rest + " in " + settings.contentFolder);
    if (!ReadFileBytes(path, actual)) return Fail(path + " is missing");
    Check(expected == actual, path + " is not byte-identical to " + rest + ": " + std::to_string(actual.size()) +
                                  " bytes, expected " + std::to_string(expected.size()));
  } else {
    Fail("unknown file check " + kind);
  }
}

void ScenarioRunner::CheckFolderList(const std::string& folder, const std::vector<std::string>& block) {
  std::vector<std::string> names, expected = BlockLines(block, true);
  std::sort(expected.begin(), expected.end());
  if (!ListFolder(folder, names)) return Fail(folder + " is not a folder");
  Check(names == expected, folder + " holds" + Listed(names) + "; expected" + Listed(expected));
}

void ScenarioRunner::CheckLog(const std::string& path, const std::vector<std::string>& block) {
  std::string expected = LogFromLines(BlockLines(block, false));
  std::string actual;
  if (!ReadFileBytes(path, actual)) return Fail(path + " is missing");
  if (actual != expected) Fail(path + " " + DescribeDifference(expected, actual));
}

void ScenarioRunner::CheckValues(const std::string& key, const std::vector<std::string>* block) {
  HKEY root;
  std::string path;
  std::map<std::string, RegistryValue> values;
  if (!ParseKey(key, root, path)) return Fail("bad key " + key);
  bool opens = ReadValues(root, path, values);
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
  if (!Exists(fields[0])) return Fail(fields[0] + " is missing");
  if (!ReadShellLink(fields[0], link, error)) return Fail(fields[0] + ": " + error);
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
  if (fields.size() != 2 || !ReadFileBytes(settings.contentFolder + "\\" + fields[1], whole))
    return Fail("pieces needs: folder\\prefix | content file (readable)");
  int count = 0;
  for (;; ++count) {
    std::string path = fields[0] + std::to_string(count + 1) + ".dic";
    if (!ReadFileBytes(path, piece)) break;
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
  std::vector<std::string> names, imports;
  if (plantFolder.empty() || !ListFolder(plantFolder, names)) return Fail("nothing was planted");
  // A stand-in loaded at start by the program's own imports is a failure, so they must be known.
  imports = ImportedDlls(plantFolder + "\\setup.exe");
  if (imports.empty()) return Fail("cannot read the imports of " + plantFolder + "\\setup.exe");
  int loaded = 0;
  for (const std::string& name : names) {
    const std::string marker = ".loaded";
    if (name.size() <= marker.size() || name.compare(name.size() - marker.size(), marker.size(), marker) != 0) continue;
    std::string dll = name.substr(0, name.size() - marker.size()), when;
    ReadFileBytes(plantFolder + "\\" + name, when);
    bool imported = std::any_of(imports.begin(), imports.end(), [&](const std::string& i) { return SameNoCase(i, dll); });
    if (when == "start" && !imported) {
      Print("  reported, not failed: the stand-in " + dll + " was loaded while the process started, before setup.exe's "
            "first instruction; Wine's own system DLLs import it, setup.exe does not");
    } else {
      ++loaded;
      Fail("the stand-in " + dll + " beside setup.exe was loaded " +
           (when == "start" ? "at start: setup.exe imports it" : "while setup.exe ran"));
    }
  }
  if (loaded == 0) Print("  no stand-in beside setup.exe was loaded by it");
}

void ScenarioRunner::Tamper(const std::string& path) {
  // Stale bytes, longer than what an install writes, so a file that is appended
  // to or not truncated shows it.
  std::string stale;
  while (stale.size() < 8192) stale += "stale content from an earlier run\r\n";
  Check(WriteFileBytes(path, stale), "cannot overwrite " + path);
}

void ScenarioRunner::ShowFolder(const std::string& path, const std::string& indent) {
  std::vector<std::string> names;
  if (!ListFolder(path, names)) return Print(indent + "(missing)");
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

void ScenarioRunner::ShowFile(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return Print("    (cannot read " + path + ")");
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
  for (size_t start = 0, end; start < bytes.size(); start = end + 1) {
    end = std::min(bytes.find('\n', start), bytes.size());
    Print("    | " + bytes.substr(start, end - start));
  }
}

void ScenarioRunner::ShowValues(const std::string& key) {
  HKEY root;
  std::string path;
  std::map<std::string, RegistryValue> values;
  if (!ParseKey(key, root, path) || !ReadValues(root, path, values)) return Print("  " + key + ": (no such key)");
  Print("  [" + key + "]");
  for (const auto& v : values) Print("    \"" + v.first + "\"=" + Quoted(v.second.data));
}
