// The setup program run natively: the same start-up, message loop and teardown as setup.exe,
// over the recording window system, an in-memory registry loaded from a .reg file and host
// folders standing for drives, driven by the steps of a scenario (the language of
// tests/e2e/scenarios, from a file or given inline) and checked by them. Each page is printed as it
// is painted, with its controls and captions; at the end the changed registry can be written out.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ascii_case.h"
#include "shell/main_window.h"
#include "platform/portable/code_page_1252.h"
#include "tests/e2e/native_machine.h"
#include "tests/e2e/scenario_runner.h"
#include "tests/support/host_folder.h"
#include "tools/machine_options.h"

namespace {

const char kUsage[] =
    "usage: setup_native [options] (--scenario FILE | --steps STEPS)\n"
    "  --scenario FILE     the steps of a scenario file (tests/e2e/scenarios/*.scenario)\n"
    "  --steps STEPS       steps given inline, separated by ';' (for example\n"
    "                      \"launch; page 1; click 10001; page 2; click 10001; exit 0\")\n"
    "  --content DIR       the content files steps compare with (default: this source tree's)\n"
    "%s"
    "                      Without --drive C=..., drive C: is a fresh folder with Program Files, removed afterwards.\n"
    "  --screen WxH        screen size in pixels (default 1024x768)\n"
    "  --no-timer          the window's timer cannot be started\n"
    "  --trace             print every window-system call as well\n"
    "  --quiet             print only the steps and their failures\n"
    "The exit status is the number of failed checks (at most 100), 0 when all held.\n";

// Text of the program (code page 1252) for a UTF-8 terminal.
std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    char16_t wide = WideFromAnsi(c);
    if (c == '\r' || c == '\n' || c == '\t') {
      out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\t";
    } else if (wide < 0x80) {
      out += static_cast<char>(wide);
    } else if (wide < 0x800) {
      out += {static_cast<char>(0xC0 | (wide >> 6)), static_cast<char>(0x80 | (wide & 0x3F))};
    } else {
      out += {static_cast<char>(0xE0 | (wide >> 12)), static_cast<char>(0x80 | ((wide >> 6) & 0x3F)),
              static_cast<char>(0x80 | (wide & 0x3F))};
    }
  }
  return out;
}

std::string Shorten(const std::string& text, size_t most) {
  return text.size() <= most ? text : text.substr(0, most) + "...";
}

const char* PageName(int page) {
  switch (page) {
    case 1: return "welcome";
    case 2: return "licence";
    case 3: return "folders";
    case 4: return "finish";
    default: return "none";
  }
}

struct Options {
  MachineOptions machine;
  int screenWidth = 1024, screenHeight = 768;
  bool noTimer = false, trace = false, quiet = false;
  std::string scenario, steps, content = VESSORA_CONTENT;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string text;
    if (arg == "--help" || arg == "-h") {
      *error = "";
      return false;
    } else if (ParseMachineOption(argc, argv, &i, &options->machine, error)) {
      continue;
    } else if (!error->empty()) {
      return false;
    } else if (arg == "--screen") {
      if (!TakeOptionValue(argc, argv, &i, &text, error)) return false;
      if (std::sscanf(text.c_str(), "%dx%d", &options->screenWidth, &options->screenHeight) != 2 ||
          options->screenWidth <= 0 || options->screenHeight <= 0) {
        *error = "--screen wants WIDTHxHEIGHT, not " + text;
        return false;
      }
    } else if (arg == "--scenario" || arg == "--steps" || arg == "--content") {
      std::string* value = arg == "--scenario" ? &options->scenario : arg == "--steps" ? &options->steps : &options->content;
      if (!TakeOptionValue(argc, argv, &i, value, error)) return false;
    } else if (arg == "--no-timer") {
      options->noTimer = true;
    } else if (arg == "--trace") {
      options->trace = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  if (options->scenario.empty() == options->steps.empty()) *error = "give either --scenario or --steps";
  return error->empty();
}

// "(left,top)-(right,bottom)", or with size "at (left,top) WIDTHxHEIGHT".
std::string Corners(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
  return text;
}

std::string Placed(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "at (%ld,%ld) %ldx%ld", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
  return text;
}

std::string ControlLine(const RecordedWindow& control) {
  char line[512];
  std::snprintf(line, sizeof line, "%-6s %-22s %s  id %d  style 0x%08X%s%s%s", control.className.c_str(),
                ("\"" + Shorten(Printable(control.text), 40) + "\"").c_str(), Placed(control.rect).c_str(), control.id,
                static_cast<unsigned>(control.style), control.exStyle ? " ex 0x20" : "",
                control.enabled ? "" : "  greyed out", control.visible ? "" : "  hidden");
  return line;
}

void PrintPaint(const RecordingWindowSystem& windows, const RecordedPaint& paint) {
  const RecordedWindow* main = windows.Window(paint.window);
  if (main == nullptr) return;
  std::printf("\n--- page %d (%s), painted %s\n", g_currentPage, PageName(g_currentPage), Corners(paint.area).c_str());
  std::printf("  window \"%s\" %s\n", Printable(main->text).c_str(), Placed(main->rect).c_str());
  for (const RecordedDrawing& drawing : paint.drawings) {
    if (drawing.operation == "Rectangle") {
      std::printf("  drawn  rectangle %s filled with %s, black outline\n", Corners(drawing.rect).c_str(),
                  drawing.detail.c_str());
    } else if (drawing.operation == "BitBlt") {
      std::printf("  drawn  %s %s\n", drawing.detail.c_str(), Placed(drawing.rect).c_str());
    } else {
      std::printf("  drawn  text \"%s\" in %s%s\n", Printable(drawing.detail).c_str(), Corners(drawing.rect).c_str(),
                  drawing.format == DT_CENTER ? " centred" : "");
    }
  }
  for (const RecordedWindow* control : windows.Children(paint.window))
    std::printf("  control %s\n", ControlLine(*control).c_str());
}

// Prints what the program shows as it happens, as the options ask.
void Observe(const Options& options, RecordingWindowSystem& windows, CallLog& log) {
  windows.SetScreenSize(options.screenWidth, options.screenHeight);
  if (options.noTimer) windows.SetTimerResult(0);
  if (options.quiet) return;
  windows.onPaint = [&windows](const RecordedPaint& paint) { PrintPaint(windows, paint); };
  windows.onMessageBox = [](const RecordedMessageBox& box) {
    std::printf("\n*** message box \"%s\": \"%s\" (type 0x%X) answered %d\n", Printable(box.caption).c_str(),
                Printable(box.text).c_str(), box.type, box.answer);
  };
  bool trace = options.trace;
  log.onCall = [trace](const RecordedCall& call) {
    if (call.operation == "Input")
      std::printf("\n>>> %s\n", Printable(call.arguments).c_str());
    else if (call.operation == "InputIgnored")
      std::printf("    (%s)\n", Printable(call.arguments).c_str());
    else if (trace)
      std::printf("    %s\n", Shorten(Printable(call.operation + "(" + call.arguments + ")"), 200).c_str());
  };
  // A result is known once the call returns, after what the call set off.
  if (trace)
    log.onReturn = [](const RecordedCall& call) {
      if (!call.result.empty()) std::printf("    %s = %s\n", call.operation.c_str(), Printable(call.result).c_str());
    };
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    if (!error.empty()) std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    std::fprintf(error.empty() ? stdout : stderr, kUsage, kMachineUsage);
    return error.empty() ? 0 : 100;
  }
  std::vector<ScenarioStep> steps;
  std::string text = options.steps;
  for (char& c : text) c = c == ';' ? '\n' : c;
  if (!(options.steps.empty() ? LoadScenario(options.scenario, steps, error)
                              : ParseScenario(text, "--steps", steps, error))) {
    std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    return 100;
  }
  RunnerSettings settings;
  std::map<std::string, const ResourceTable*> editions;
  for (const char* name : {"standard", "professional", "quorvel"}) {
    editions[name] = EditionResources(name);
    settings.editions.push_back(name);
  }
  const ResourceTable* table = EditionResources(options.machine.edition);
  if (table == nullptr) {
    std::fprintf(stderr, "setup_native: no edition called %s\n", options.machine.edition.c_str());
    return 100;
  }
  // The edition launched until a "program" step says otherwise.
  settings.program = table->edition;
  for (char& c : settings.program) c = FoldAsciiCase(c);
  // The scenario's own files (.reg) are found beside it, the content files where --content says.
  std::string scenario = options.scenario.empty() ? "./--steps" : options.scenario;
  settings.scenarioFolder = ParentOf(HostToWindows(std::filesystem::absolute(scenario).string()));
  settings.contentFolder = HostToWindows(std::filesystem::absolute(options.content).string());

  // Drive C: a fresh folder unless given, with the folder every Windows has for programs.
  HostFolder freshC;
  bool haveC = false;
  for (const auto& drive : options.machine.drives) haveC = haveC || drive.first == 'C';
  if (!haveC) {
    freshC.MakeFolder("Program Files");
    options.machine.drives.emplace_back('C', freshC.Path());
  }
  NativeMachine machine(editions);
  machine.portable.shell.SetProgramsFolder(options.machine.programs.c_str());
  if (!SetUpMachine(options.machine, &machine.portable, &error)) {
    std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    return 100;
  }
  machine.TakeFolders();
  machine.onNewProcess = [&options](RecordingWindowSystem& windows, CallLog& log) { Observe(options, windows, log); };

  ScenarioRunner runner(machine, settings);
  int failures = runner.Run(steps);
  std::printf("%s: %d failed check(s)\n", options.steps.empty() ? options.scenario.c_str() : "--steps", failures);
  if (!options.machine.out.empty() && !SaveMachineRegistry(options.machine, &machine.portable, &error)) {
    std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    return 100;
  }
  return failures > 100 ? 100 : failures;
}
