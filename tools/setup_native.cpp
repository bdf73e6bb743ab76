// The setup program run natively: the same start-up, message loop and teardown as setup.exe,
// over the recording window system, an in-memory registry loaded from a .reg file and host
// folders standing for drives. Input comes from a script of commands given on the command
// line; each page is printed as it is painted, with its controls and captions, and at the
// end the outcome, the install log and the changed registry.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "install/install_log.h"
#include "install/install_sequence.h"
#include "pages/control_ids.h"
#include "shell/main_window.h"
#include "platform/portable/code_page_1252.h"
#include "tools/machine_options.h"

namespace {

const char kUsage[] =
    "usage: setup_native --drive C=HOSTDIR [options]\n"
    "%s"
    "  --screen WxH        screen size in pixels (default 1024x768)\n"
    "  --no-timer          the window's timer cannot be started\n"
    "  --script LIST       commands separated by commas, carried out in order when the wizard waits:\n"
    "                        next, accept, install, finish   press the right-hand button\n"
    "                        back, exit                      press the left-hand button\n"
    "                        browse-dict=PATH, browse-install=PATH   Browse, choosing PATH\n"
    "                        browse-cancel, browse-dict-cancel, browse-install-cancel\n"
    "                        set-dict=TEXT, set-install=TEXT   type into a folder edit\n"
    "                        readme, link                    press View Readme, the sponsor's link\n"
    "                        close                           the close box\n"
    "                        cmd=N                           send command N to the window\n"
    "                        activate, deactivate, tick      window activation, a timer tick\n"
    "                        answer=N                        the next message box is answered N\n"
    "                      With the script used up and the wizard still open, the run ends there.\n"
    "  --trace             print every window-system call as well\n"
    "  --quiet             print only the outcome\n";

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
  std::vector<std::string> script;
};

void SplitScript(const std::string& list, std::vector<std::string>* commands) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string command = list.substr(start, comma - start);
    while (!command.empty() && command.front() == ' ') command.erase(command.begin());
    while (!command.empty() && command.back() == ' ') command.pop_back();
    if (!command.empty()) commands->push_back(command);
    start = comma + 1;
  }
}

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
    } else if (arg == "--no-timer") {
      options->noTimer = true;
    } else if (arg == "--script") {
      if (!TakeOptionValue(argc, argv, &i, &text, error)) return false;
      SplitScript(text, &options->script);
    } else if (arg == "--trace") {
      options->trace = true;
    } else if (arg == "--quiet") {
      options->quiet = true;
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  return true;
}

// Turns the script into input for the window system; false and the bad command when one is unknown.
bool QueueScript(const std::vector<std::string>& script, RecordingWindowSystem* windows, PortableShellServices* shell,
                 std::string* bad) {
  // The commands that press a button.
  static const std::pair<std::string, int> kPresses[] = {
      {"next", kNextButtonId},   {"accept", kNextButtonId},   {"install", kNextButtonId}, {"finish", kNextButtonId},
      {"back", kBackButtonId},   {"exit", kBackButtonId},     {"readme", kReadmeButtonId}, {"link", kLinkButtonId}};
  for (const std::string& command : script) {
    size_t equals = command.find('=');
    std::string name = command.substr(0, equals);
    bool hasArgument = equals != std::string::npos;
    std::string argument = hasArgument ? command.substr(equals + 1) : std::string();
    auto browse = [&](int button, bool cancel) {
      std::string path = argument;
      windows->PushAction([shell, path, cancel] {
        if (cancel)
          shell->QueueBrowseCancel();
        else
          shell->QueueBrowseResult(path);
      });
      windows->PushClick(button);
    };
    auto press = std::find_if(std::begin(kPresses), std::end(kPresses), [&](auto& p) { return p.first == name; });
    char* end = nullptr;
    long number = hasArgument ? std::strtol(argument.c_str(), &end, 10) : -1;
    bool isNumber = !argument.empty() && *end == '\0' && number >= 0 && number <= 0xFFFF;
    if (!hasArgument && press != std::end(kPresses)) {
      windows->PushClick(press->second);
    } else if (hasArgument && !argument.empty() && (name == "browse-dict" || name == "browse-install")) {
      browse(name == "browse-dict" ? kDictionaryBrowseId : kInstallBrowseId, false);
    } else if (!hasArgument &&
               (name == "browse-cancel" || name == "browse-dict-cancel" || name == "browse-install-cancel")) {
      browse(name == "browse-install-cancel" ? kInstallBrowseId : kDictionaryBrowseId, true);
    } else if (hasArgument && (name == "set-dict" || name == "set-install")) {
      windows->PushTypeText(name == "set-dict" ? kDictionaryEditId : kInstallEditId, argument);
    } else if (!hasArgument && name == "close") {
      windows->PushCloseBox();
    } else if (!hasArgument && (name == "activate" || name == "deactivate")) {
      windows->PushActivate(name == "activate");
    } else if (!hasArgument && name == "tick") {
      windows->PushTimerTick();
    } else if (isNumber && name == "cmd") {
      windows->PushCommand(static_cast<int>(number));
    } else if (isNumber && name == "answer") {
      windows->PushAction([windows, number] { windows->PushMessageBoxAnswer(static_cast<int>(number)); });
    } else {
      *bad = command;
      return false;
    }
  }
  return true;
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

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    if (!error.empty()) std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    std::fprintf(error.empty() ? stdout : stderr, kUsage, kMachineUsage);
    return error.empty() ? 0 : 2;
  }
  const ResourceTable* table = EditionResources(options.machine.edition);
  if (table == nullptr) {
    std::fprintf(stderr, "setup_native: no edition called %s\n", options.machine.edition.c_str());
    return 2;
  }
  PortableMachine machine(*table, options.machine.programs.c_str());
  if (!SetUpMachine(options.machine, &machine, &error)) {
    std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    return 2;
  }
  RecordingWindowSystem& windows = machine.windows;
  PortableShellServices& shell = machine.shell;

  std::string bad;
  if (!QueueScript(options.script, &windows, &shell, &bad)) {
    std::fprintf(stderr, "setup_native: unknown script command \"%s\"\n", bad.c_str());
    std::fprintf(stderr, kUsage, kMachineUsage);
    return 2;
  }
  windows.SetScreenSize(options.screenWidth, options.screenHeight);
  if (options.noTimer) windows.SetTimerResult(0);
  if (!options.quiet) {
    windows.onPaint = [&](const RecordedPaint& paint) { PrintPaint(windows, paint); };
    windows.onMessageBox = [](const RecordedMessageBox& box) {
      std::printf("\n*** message box \"%s\": \"%s\" (type 0x%X) answered %d\n", Printable(box.caption).c_str(),
                  Printable(box.text).c_str(), box.type, box.answer);
    };
  }
  if (options.trace) {
    windows.onCall = [](const RecordedCall& call) {
      if (call.operation == "Input")
        std::printf("\n>>> %s\n", Printable(call.arguments).c_str());
      else if (call.operation == "InputIgnored")
        std::printf("    (%s)\n", Printable(call.arguments).c_str());
      else
        std::printf("    %s\n", Shorten(Printable(call.Text()), 200).c_str());
    };
  } else if (!options.quiet) {
    windows.onCall = [](const RecordedCall& call) {
      if (call.operation == "Input") std::printf("\n>>> %s\n", Printable(call.arguments).c_str());
      if (call.operation == "InputIgnored") std::printf("    (%s)\n", Printable(call.arguments).c_str());
    };
  }

  std::printf("Vessora setup, %s edition, natively over the recording window system\n", table->edition);
  int exitCode = SetupMain(reinterpret_cast<HINSTANCE>(uintptr_t{0x400000}));

  std::printf("\n=== outcome\n");
  if (windows.InputExhausted()) {
    std::printf("  the script ran out on page %d (%s), so the window was closed as a person would close it\n",
                g_currentPage, PageName(g_currentPage));
  } else {
    std::printf("  the wizard ended on page %d (%s)\n", g_currentPage, PageName(g_currentPage));
  }
  std::printf("  exit code %d\n", exitCode);
  if (g_installOutcome.ran) {
    std::printf("  installed into %s: %s\n", g_installFolder,
                g_installOutcome.failures == 0
                    ? "everything written"
                    : (std::to_string(g_installOutcome.failures) + " step(s) failed").c_str());
    std::string log;
    if (machine.ReadFile(std::string(g_installFolder) + "\\" + kInstallLogFileName, &log)) {
      std::printf("\n=== %s\\InstallLog.txt\n", g_installFolder);
      std::fwrite(log.data(), 1, log.size(), stdout);
    }
  } else {
    std::printf("  nothing installed\n");
  }
  for (const auto& opened : shell.ExecuteCalls())
    std::printf("  the shell was asked to %s \"%s\"\n", opened.verb.c_str(), Printable(opened.file).c_str());
  for (const auto& link : shell.SavedLinks())
    std::printf("  shortcut %s -> %s (\"%s\")\n", link.linkPath.c_str(), link.target.c_str(),
                link.description.c_str());
  if (!options.machine.out.empty()) {
    if (!SaveMachineRegistry(options.machine, &machine, &error)) {
      std::fprintf(stderr, "setup_native: %s\n", error.c_str());
      return 1;
    }
    std::printf("  registry written to %s\n", options.machine.out.c_str());
  }
  return exitCode;
}
