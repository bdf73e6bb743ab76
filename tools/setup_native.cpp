// The setup program run natively: the same start-up, message loop and teardown as setup.exe,
// over the recording window system, an in-memory registry loaded from a .reg file and host
// folders standing for drives. Input comes from a script of commands given on the command
// line; each page is printed as it is painted, with its controls and captions, and at the
// end the outcome, the install log and the changed registry.
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "install/install_sequence.h"
#include "pages/folder_page.h"
#include "platform/platform.h"
#include "platform/portable/file_system.h"
#include "platform/portable/lz_library.h"
#include "platform/portable/registry.h"
#include "platform/portable/resource_store.h"
#include "platform/portable/shell_services.h"
#include "platform/portable/window_system.h"
#include "resources/resource_table.h"
#include "shell/main_window.h"
#include "shell/navigation.h"

namespace {

const char kUsage[] =
    "usage: setup_native --drive C=HOSTDIR [options]\n"
    "  --drive X=HOSTDIR   drive X: stands for the host folder HOSTDIR (repeatable; C: is needed)\n"
    "  --reg FILE          registry to start from, a .reg file (default: an empty registry)\n"
    "  --out FILE          write the registry as it is after the run, as a .reg file\n"
    "  --edition NAME      Standard, Professional or Quorvel (default: this build's edition)\n"
    "  --programs PATH     the Start menu's Programs folder (default C:\\WINDOWS\\Start Menu\\Programs;\n"
    "                      an empty text: no Programs folder)\n"
    "  --temp PATH         the temporary folder (default C:\\WINDOWS\\TEMP)\n"
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

constexpr int kBack = 10000;
constexpr int kNext = 10001;
constexpr int kDictionaryBrowse = 10004;
constexpr int kDictionaryEdit = 10005;
constexpr int kInstallBrowse = 10006;
constexpr int kInstallEdit = 10007;
constexpr int kLink = 10008;
constexpr int kReadme = 10009;

// Text of the program (code page 1252) for a UTF-8 terminal.
std::string Printable(const std::string& text) {
  static const char* const kHigh[32] = {"€", "?", "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š",
                                        "‹", "Œ", "?", "Ž", "?", "?", "‘", "’", "“", "”", "•",
                                        "–", "—", "˜", "™", "š", "›", "œ", "?", "ž", "Ÿ"};
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0xA0) {
      out += kHigh[c - 0x80];
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
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

// Bitmaps get their resource numbers as names in the printed pages.
class NamingResourceStore : public ResourceStore {
 public:
  NamingResourceStore(ResourceStore* inner, RecordingWindowSystem* windows) : inner(inner), windows(windows) {}
  HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) override {
    return inner->FindResourceA(module, name, type);
  }
  DWORD SizeofResource(HMODULE module, HRSRC resource) override { return inner->SizeofResource(module, resource); }
  HGLOBAL LoadResource(HMODULE module, HRSRC resource) override { return inner->LoadResource(module, resource); }
  LPVOID LockResource(HGLOBAL resource) override { return inner->LockResource(resource); }
  int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int capacity) override {
    return inner->LoadStringA(instance, id, buffer, capacity);
  }
  HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) override {
    HBITMAP bitmap = inner->LoadBitmapA(instance, name);
    if (bitmap != nullptr && IS_INTRESOURCE(name))
      windows->NameObject(bitmap, "bitmap " + std::to_string(reinterpret_cast<uintptr_t>(name)));
    return bitmap;
  }
  HICON LoadIconA(HINSTANCE instance, LPCSTR name) override { return inner->LoadIconA(instance, name); }

 private:
  ResourceStore* inner;
  RecordingWindowSystem* windows;
};

struct Options {
  std::vector<std::pair<char, std::string>> drives;
  std::string regFile, outFile, edition;
  std::string programs = "C:\\WINDOWS\\Start Menu\\Programs";
  std::string temp = "C:\\WINDOWS\\TEMP";
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
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) {
        *error = arg + " needs a value";
        return false;
      }
      *out = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      *error = "";
      return false;
    } else if (arg == "--drive") {
      if (!value(&text)) return false;
      if (text.size() < 3 || text[1] != '=' || !std::isalpha(static_cast<unsigned char>(text[0]))) {
        *error = "--drive wants X=HOSTDIR, not " + text;
        return false;
      }
      options->drives.emplace_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
                                   text.substr(2));
    } else if (arg == "--reg") {
      if (!value(&options->regFile)) return false;
    } else if (arg == "--out") {
      if (!value(&options->outFile)) return false;
    } else if (arg == "--edition") {
      if (!value(&options->edition)) return false;
    } else if (arg == "--programs") {
      if (!value(&options->programs)) return false;
    } else if (arg == "--temp") {
      if (!value(&options->temp)) return false;
    } else if (arg == "--screen") {
      if (!value(&text)) return false;
      if (std::sscanf(text.c_str(), "%dx%d", &options->screenWidth, &options->screenHeight) != 2 ||
          options->screenWidth <= 0 || options->screenHeight <= 0) {
        *error = "--screen wants WIDTHxHEIGHT, not " + text;
        return false;
      }
    } else if (arg == "--no-timer") {
      options->noTimer = true;
    } else if (arg == "--script") {
      if (!value(&text)) return false;
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
  bool haveC = false;
  for (const auto& drive : options->drives) haveC = haveC || drive.first == 'C';
  if (!haveC) {
    *error = "drive C: is not mapped (--drive C=HOSTDIR)";
    return false;
  }
  return true;
}

// Turns the script into input for the window system; false and the bad command when one is unknown.
bool QueueScript(const std::vector<std::string>& script, RecordingWindowSystem* windows, PortableShellServices* shell,
                 std::string* bad) {
  for (const std::string& command : script) {
    size_t equals = command.find('=');
    std::string name = command.substr(0, equals);
    std::string argument = equals == std::string::npos ? std::string() : command.substr(equals + 1);
    bool hasArgument = equals != std::string::npos;
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
    if (!hasArgument && (name == "next" || name == "accept" || name == "install" || name == "finish")) {
      windows->PushClick(kNext);
    } else if (!hasArgument && (name == "back" || name == "exit")) {
      windows->PushClick(kBack);
    } else if (hasArgument && name == "browse-dict" && !argument.empty()) {
      browse(kDictionaryBrowse, false);
    } else if (hasArgument && name == "browse-install" && !argument.empty()) {
      browse(kInstallBrowse, false);
    } else if (!hasArgument && (name == "browse-cancel" || name == "browse-dict-cancel")) {
      browse(kDictionaryBrowse, true);
    } else if (!hasArgument && name == "browse-install-cancel") {
      browse(kInstallBrowse, true);
    } else if (hasArgument && name == "set-dict") {
      windows->PushTypeText(kDictionaryEdit, argument);
    } else if (hasArgument && name == "set-install") {
      windows->PushTypeText(kInstallEdit, argument);
    } else if (!hasArgument && name == "readme") {
      windows->PushClick(kReadme);
    } else if (!hasArgument && name == "link") {
      windows->PushClick(kLink);
    } else if (!hasArgument && name == "close") {
      windows->PushCloseBox();
    } else if (!hasArgument && name == "activate") {
      windows->PushActivate(true);
    } else if (!hasArgument && name == "deactivate") {
      windows->PushActivate(false);
    } else if (!hasArgument && name == "tick") {
      windows->PushTimerTick();
    } else if (hasArgument && (name == "cmd" || name == "answer")) {
      char* end = nullptr;
      long number = std::strtol(argument.c_str(), &end, 10);
      if (argument.empty() || *end != '\0' || number < 0 || number > 0xFFFF) {
        *bad = command;
        return false;
      }
      if (name == "cmd") {
        windows->PushCommand(static_cast<int>(number));
      } else {
        int answer = static_cast<int>(number);
        windows->PushAction([windows, answer] { windows->PushMessageBoxAnswer(answer); });
      }
    } else {
      *bad = command;
      return false;
    }
  }
  return true;
}

std::string ControlLine(const RecordedWindow& control) {
  char line[512];
  std::snprintf(line, sizeof line, "%-6s %-22s at (%ld,%ld) %ldx%ld  id %d  style 0x%08X%s%s%s",
                control.className.c_str(), ("\"" + Shorten(Printable(control.text), 40) + "\"").c_str(),
                static_cast<long>(control.rect.left), static_cast<long>(control.rect.top),
                static_cast<long>(control.Width()), static_cast<long>(control.Height()), control.id,
                static_cast<unsigned>(control.style), control.exStyle ? " ex 0x20" : "",
                control.enabled ? "" : "  greyed out", control.visible ? "" : "  hidden");
  return line;
}

void PrintPaint(const RecordingWindowSystem& windows, const RecordedPaint& paint) {
  const RecordedWindow* main = windows.Window(paint.window);
  if (main == nullptr) return;
  RECT client = {0, 0, main->Width(), main->Height()};
  std::printf("\n--- page %d (%s), painted (%ld,%ld)-(%ld,%ld)\n", g_currentPage, PageName(g_currentPage),
              static_cast<long>(paint.area.left), static_cast<long>(paint.area.top),
              static_cast<long>(paint.area.right), static_cast<long>(paint.area.bottom));
  std::printf("  window \"%s\" at (%ld,%ld) %ldx%ld\n", Printable(main->text).c_str(),
              static_cast<long>(main->rect.left), static_cast<long>(main->rect.top), static_cast<long>(client.right),
              static_cast<long>(client.bottom));
  for (const RecordedDrawing& drawing : paint.drawings) {
    const RECT& r = drawing.rect;
    if (drawing.operation == "Rectangle") {
      std::printf("  drawn  rectangle (%ld,%ld)-(%ld,%ld) filled with %s, black outline\n", static_cast<long>(r.left),
                  static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom),
                  drawing.detail.c_str());
    } else if (drawing.operation == "BitBlt") {
      std::printf("  drawn  %s at (%ld,%ld) %ldx%ld\n", drawing.detail.c_str(), static_cast<long>(r.left),
                  static_cast<long>(r.top), static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    } else {
      std::printf("  drawn  text \"%s\" in (%ld,%ld)-(%ld,%ld)%s\n", Printable(drawing.detail).c_str(),
                  static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                  static_cast<long>(r.bottom), drawing.format == DT_CENTER ? " centred" : "");
    }
  }
  for (const RecordedWindow* control : windows.Children(paint.window))
    std::printf("  control %s\n", ControlLine(*control).c_str());
}

const ResourceTable* EditionTable(const std::string& edition) {
  if (edition.empty()) return &BuiltInResources();
  for (const ResourceTable* table : {&StandardResources(), &ProfessionalResources(), &QuorvelResources()}) {
    if (strcasecmp(table->edition, edition.c_str()) == 0) return table;
  }
  return nullptr;
}

// The install log as the host file the product folder's InstallLog.txt stands for.
std::string ReadInstallLog(const PortableFileSystem& files) {
  std::string windowsPath = std::string(g_installFolder) + "\\InstallLog.txt";
  std::string hostPath;
  if (!files.HostPath(windowsPath.c_str(), &hostPath)) return std::string();
  std::ifstream in(hostPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, &options, &error)) {
    if (!error.empty()) std::fprintf(stderr, "setup_native: %s\n", error.c_str());
    std::fputs(kUsage, error.empty() ? stdout : stderr);
    return error.empty() ? 0 : 2;
  }
  const ResourceTable* table = EditionTable(options.edition);
  if (table == nullptr) {
    std::fprintf(stderr, "setup_native: no edition called %s\n", options.edition.c_str());
    return 2;
  }

  PortableRegistry registry;
  std::string regError;
  if (!options.regFile.empty() && !registry.LoadRegFile(options.regFile, &regError)) {
    std::fprintf(stderr, "setup_native: cannot read the registry file %s: %s\n", options.regFile.c_str(),
                 regError.c_str());
    return 2;
  }
  PortableFileSystem files;
  for (const auto& drive : options.drives) files.MapDrive(drive.first, drive.second);
  files.SetTempFolder(options.temp);
  PortableLzLibrary lz;
  PortableResourceStore tableStore(*table);
  RecordingWindowSystem windows;
  NamingResourceStore resources(&tableStore, &windows);
  PortableShellServices shell(options.programs.c_str());
  g_platform = Platform{&registry, &files, &lz, &resources, &shell, &windows};
  if (!options.programs.empty() && !shell.MakeProgramsFolder())
    std::fprintf(stderr, "setup_native: cannot make the Programs folder %s\n", options.programs.c_str());

  std::string bad;
  if (!QueueScript(options.script, &windows, &shell, &bad)) {
    std::fprintf(stderr, "setup_native: unknown script command \"%s\"\n", bad.c_str());
    std::fputs(kUsage, stderr);
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
    std::printf("  the script ran out with the wizard still open on page %d (%s); the run stops there\n",
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
    std::string log = ReadInstallLog(files);
    if (!log.empty()) {
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
  if (!options.outFile.empty()) {
    if (!registry.SaveRegFile(options.outFile)) {
      std::fprintf(stderr, "setup_native: cannot write the registry to %s\n", options.outFile.c_str());
      return 1;
    }
    std::printf("  registry written to %s\n", options.outFile.c_str());
  }
  return exitCode;
}
