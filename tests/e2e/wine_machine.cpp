#include "wine_machine.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "pages/control_ids.h"
#include "scenario_script.h"

namespace {

// Asks done every pauseMs until it says true (true) or timeoutMs have passed (false).
bool WaitUntil(DWORD timeoutMs, DWORD pauseMs, const std::function<bool()>& done) {
  double deadline = NowMs() + timeoutMs;
  while (!done()) {
    if (NowMs() >= deadline) return false;
    Sleep(pauseMs);
  }
  return true;
}

// Starts a program. With exitCode it waits up to a minute for the exit code (false when it did not
// finish); without, it returns at once, since Wine gives no process handle to wait on for a host
// program (one on drive Z:), so the caller watches for what it does. False with error set when it
// cannot start.
bool StartProgram(const std::string& command, const std::string& what, std::string& error,
                  DWORD* exitCode = nullptr) {
  std::string line = command;  // CreateProcess may write to it
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    error = "cannot start " + what + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  bool done = exitCode == nullptr || WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0;
  if (exitCode != nullptr && (!done || !GetExitCodeProcess(info.hProcess, exitCode))) *exitCode = 1;
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  if (!done) error = what + " did not finish";
  return done;
}

// Saves the screen under the rectangle, as the X server shows it, as a PNG at hostPath with ImageMagick's
// import (a host program). False when the file did not appear in time.
bool CaptureScreen(const RECT& r, const std::string& hostPath, std::string& error) {
  std::string windowsPath = HostToWindows(hostPath);
  std::string partial = hostPath + ".part";
  DeleteFileA(windowsPath.c_str());
  char geometry[64];
  std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", static_cast<long>(r.right - r.left),
                static_cast<long>(r.bottom - r.top), static_cast<long>(r.left), static_cast<long>(r.top));
  // import writes the file as it goes, so it is renamed into place once complete.
  std::string command = "Z:\\bin\\sh -c \"import -window root -crop " + std::string(geometry) +
                        " +repage 'png:" + partial + "' && mv '" + partial + "' '" + hostPath + "'\"";
  // The file tells when import is done.
  if (!StartProgram(command, "import", error)) return false;
  bool saved = WaitUntil(15000, 10, [&] { return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES; });
  if (!saved) error = "no picture at " + hostPath + " after 15 s";
  return saved;
}

// The names FindFirstFile gives for a pattern such as FOLDER\*, without "." and "..".
std::vector<std::string> FindNames(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
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

// The text through WM_GETTEXT (edit controls keep their text to themselves).
std::string TextOf(HWND window) {
  std::vector<char> buffer(65536, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return "<no answer>";
  buffer.back() = '\0';
  return buffer.data();
}

// The window's caption through GetWindowText, which never waits for the program.
std::string CaptionOf(HWND window) {
  char caption[256] = "";
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

// Every child of a window (the main window or a dialog), in its client coordinates. Direct children only:
// the controls of the chooser's own children are not ours.
std::vector<ControlInfo> ChildrenOf(HWND parent) {
  std::vector<ControlInfo> controls;
  for (HWND window = GetWindow(parent, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
    ControlInfo info;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    info.className = name;
    info.text = TextOf(window);
    info.style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    info.exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    info.id = GetDlgCtrlID(window);
    GetWindowRect(window, &info.rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&info.rect), 2);
    info.enabled = IsWindowEnabled(window) != FALSE;
    info.visible = IsWindowVisible(window) != FALSE;
    controls.push_back(info);
  }
  return controls;
}

// A button press the way the mouse gives it: BM_CLICK, posted so that a modal box opened by the
// command does not hold the driver up.
bool PressButton(HWND window, int id) {
  HWND button = GetDlgItem(window, id);
  return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool WaitForDialogGone(HWND dialog, DWORD timeoutMs) {
  return WaitUntil(timeoutMs, 5, [dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

// Waits until the screen shows the client area's black frame with white inside it, at all four
// corners: the paint has reached the display.
bool WaitForFrameOnScreen(HWND main, DWORD timeoutMs) {
  HDC screen = GetDC(nullptr);
  bool shown = false;
  WaitUntil(timeoutMs, 2, [&] {
    RECT client;
    POINT origin{0, 0};
    if (!main || !GetClientRect(main, &client) || !ClientToScreen(main, &origin)) return true;  // no window to look at
    int right = origin.x + client.right - 1;
    int bottom = origin.y + client.bottom - 1;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    shown = GetPixel(screen, origin.x, origin.y) == black && GetPixel(screen, right, origin.y) == black &&
            GetPixel(screen, origin.x, bottom) == black && GetPixel(screen, right, bottom) == black &&
            GetPixel(screen, origin.x + 1, origin.y + 1) == white && GetPixel(screen, right - 1, bottom - 1) == white;
    return shown;
  });
  ReleaseDC(nullptr, screen);
  return shown;
}

// Selects a folder in the shell's folder chooser (BFFM_SETSELECTIONA) and reports whether it was sent.
bool SelectInChooser(HANDLE process, HWND chooser, const std::string& path) {
  // The message carries a pointer, so the text has to live in the program's memory.
  SIZE_T size = path.size() + 1;
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  SIZE_T written = 0;
  bool ok = WriteProcessMemory(process, remote, path.c_str(), size, &written) && written == size;
  DWORD_PTR result = 0;
  if (ok) {
    ok = SendMessageTimeoutA(chooser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                             SMTO_ABORTIFHUNG, 10000, &result) != 0;
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return ok;
}

}  // namespace

WineMachine::WineMachine(const std::map<std::string, std::string>& p, const std::string& out)
    : programs(p), outputHost(out) {
  char folder[MAX_PATH] = "";  // the Start menu's Programs folder, then the temporary folder
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder))) programsFolder = folder;
  DWORD length = GetTempPathA(MAX_PATH, folder);
  tempFolder.assign(folder, length < MAX_PATH ? length : 0);
  if (!tempFolder.empty() && tempFolder.back() == '\\') tempFolder.pop_back();  // without the trailing backslash
}

bool WineMachine::DeleteKeyTree(HKEY root, const char* key, std::string& error) {
  LONG result = RegDeleteTreeA(root, key);  // the key itself as well
  error = std::string("cannot delete ") + key + " (error " + std::to_string(result) + ")";
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool WineMachine::ImportRegFile(const std::string& windowsPath, std::string& error) {
  char systemFolder[MAX_PATH];
  GetSystemDirectoryA(systemFolder, MAX_PATH);
  std::string exe = std::string(systemFolder) + "\\reg.exe";
  std::string command = "\"" + exe + "\" import \"" + windowsPath + "\"";
  DWORD code = 1;
  if (!StartProgram(command, "reg import " + windowsPath, error, &code)) return false;
  if (code != 0) error = "reg import " + windowsPath + " failed with " + std::to_string(code);
  return code == 0;
}

bool WineMachine::RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != 0;
  for (const std::string& name : FindNames(path + "\\*")) RemoveTree(path + "\\" + name);
  return RemoveDirectoryA(path.c_str()) != 0;
}

bool WineMachine::MakeFolders(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t at = path.find_last_of('\\');
  if (at != std::string::npos && at > 2 && !MakeFolders(path.substr(0, at))) return false;
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

// On the host, chattr +i: not even root may write the file. Waits until the prefix sees it so.
bool WineMachine::Lock(const std::string& path, bool immutable, std::string& error) {
  if (!immutable && !Exists(path)) return true;  // nothing to release
  char prefix[MAX_PATH];
  if (!GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH) || path.compare(0, 3, "C:\\") != 0) {
    error = "no host path for " + path;
    return false;
  }
  // Wine starts a host program without a process handle to wait on: the file's state tells when it ran.
  std::string command = std::string("Z:\\usr\\bin\\chattr ") + (immutable ? "+i \"" : "-i \"") + prefix +
                        "/drive_c/" + WindowsToHost(path.substr(3)) + "\"";
  if (!StartProgram(command, "chattr", error)) return false;
  bool done = WaitUntil(5000, 20, [&] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return (file == INVALID_HANDLE_VALUE) == immutable;
  });
  if (!done) error = path + (immutable ? " is still writable" : " is still not writable");
  return done;
}

bool WineMachine::Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WineMachine::ReadFileBytes(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return ok;
}

bool WineMachine::WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0;
  CloseHandle(file);
  return ok;
}

bool WineMachine::ListFolder(const std::string& path, std::vector<std::string>& names) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  names.clear();
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  names = FindNames(path + "\\*");
  std::sort(names.begin(), names.end());
  return true;
}

// Loads a .lnk through CLSID_ShellLink and IPersistFile::Load.
bool WineMachine::ReadShellLink(const std::string& path, LinkInfo& link, std::string& error) {
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink)))) {
    error = "CoCreateInstance(CLSID_ShellLink) failed";
    return false;
  }
  IPersistFile* file = nullptr;
  HRESULT result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  if (SUCCEEDED(result)) {
    result = file->Load(wide, STGM_READ);
    file->Release();
  }
  char target[MAX_PATH] = "", description[MAX_PATH] = "";
  WIN32_FIND_DATAA found;
  if (SUCCEEDED(result)) {
    shellLink->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH);
    shellLink->GetDescription(description, MAX_PATH);
  }
  shellLink->Release();
  link = LinkInfo{target, description};
  error = "IPersistFile::Load failed with " + Hex(static_cast<DWORD>(result));
  return SUCCEEDED(result);
}

bool WineMachine::ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) {
  // The prefix's own registry calls, in the shape ReadRegistryValues reads through.
  struct {
    decltype(&::RegOpenKeyExA) RegOpenKeyExA;
    decltype(&::RegEnumValueA) RegEnumValueA;
    decltype(&::RegCloseKey) RegCloseKey;
  } advapi{::RegOpenKeyExA, ::RegEnumValueA, ::RegCloseKey};
  return ReadRegistryValues(advapi, key, values);
}

WineMachine::~WineMachine() {
  for (HANDLE handle : {process.hProcess, process.hThread})
    if (handle) CloseHandle(handle);
}

bool WineMachine::Launch(const std::string& edition, std::string& error) {
  for (HANDLE handle : {process.hProcess, process.hThread})  // the previous launch's
    if (handle) CloseHandle(handle);
  process = PROCESS_INFORMATION{};
  main = nullptr;
  std::string exe = plantFolder.empty() ? programs[edition] : plantFolder + "\\setup.exe";
  // In its own folder, as when it is opened from there.
  std::string commandLine = "\"" + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  double started = 0;
  // Wine now and then refuses a start with an internal error while the machine is busy; a second
  // try is what a user's second double-click would be.
  for (int refused = 0;; ++refused) {
    started = NowMs();
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, ParentOf(exe).c_str(),
                       &startup, &process)) {
      if (refused) Print("  (Wine refused " + std::to_string(refused) + " start(s) before this one)");
      break;
    }
    DWORD lastError = GetLastError();
    error = "CreateProcess failed with error " + std::to_string(lastError);
    if (lastError != ERROR_INTERNAL_ERROR || refused == 2) return false;
    Sleep(500);
  }
  error = "no window of class LunveraSetup appeared";
  WaitUntil(30000, 2, [this] { return (main = FindWindowOf("LunveraSetup", nullptr)) || !Running(); });
  if (!main) return false;
  double windowTime = NowMs() - started;
  // The creation caption gives way to the page's caption in the first paint.
  error = "the first paint did not set the caption E&xit";
  bool painted = false;
  WaitUntil(30000, 1, [&] {
    HWND back = Control(kBackButtonId);
    painted = back && CaptionOf(back) == "E&xit";
    return painted || !Running();
  });
  if (!painted) return false;
  double paintTime = NowMs() - started;
  bool onScreen = WaitForFrameOnScreen(main, 10000);
  char line[160];
  std::snprintf(line, sizeof line, "  TIMING window %.1f ms, first-paint %.1f ms, on-screen %.1f ms", windowTime,
                paintTime, onScreen ? NowMs() - started : -1.0);
  Print(line);
  error = "the client area's frame did not show on the screen";
  return onScreen;
}

HWND WineMachine::FindWindowOf(const char* className, HWND owner) const {
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr;) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == process.dwProcessId && (!owner || GetWindow(window, GW_OWNER) == owner) && IsWindowVisible(window))
      return window;
  }
  return nullptr;
}

bool WineMachine::Plant(const std::string& edition, const std::vector<std::string>& dlls, std::string& error) {
  char driver[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, driver, MAX_PATH);
  std::string standIn = ParentOf(driver) + "\\planted.dll", names;
  plantFolder = HostToWindows(outputHost) + "\\planted";
  error = "cannot make " + plantFolder + " with the program in it";
  if (!RemoveTree(plantFolder) || !MakeFolders(plantFolder) ||
      !CopyFileA(programs[edition].c_str(), (plantFolder + "\\setup.exe").c_str(), FALSE))
    return false;
  for (const std::string& name : dlls) {
    error = "cannot plant " + name + ".dll";
    if (!CopyFileA(standIn.c_str(), (plantFolder + "\\" + name + ".dll").c_str(), FALSE)) return false;
    names += (names.empty() ? "" : ",") + name;
  }
  // Wine reads it when a process starts, from the environment the driver was given.
  char overrides[1024] = "";
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  error = "Wine does not take " + names + " from the program's folder first: WINEDLLOVERRIDES is \"" + overrides +
          "\" (run-scenario.sh adds the plant line's names)";
  return std::string(overrides).find(names + "=n,b") != std::string::npos;
}

std::vector<std::string> WineMachine::PlantedLoads() {
  // A stand-in loaded at start by the program's own imports is a failure, so they must be known.
  std::vector<std::string> names, failures, imports = ImportedDlls(plantFolder + "\\setup.exe");
  if (imports.empty() || !ListFolder(plantFolder, names)) return {"cannot read the imports of " + plantFolder + "\\setup.exe"};
  const std::string marker = ".loaded";  // planted_dll.c writes "start" or "later" into NAME.dll.loaded
  for (const std::string& name : names) {
    if (name.size() <= marker.size() || name.compare(name.size() - marker.size(), marker.size(), marker) != 0) continue;
    std::string dll = name.substr(0, name.size() - marker.size()), when;
    ReadFileBytes(plantFolder + "\\" + name, when);
    bool imported = std::any_of(imports.begin(), imports.end(), [&](const std::string& i) { return SameNoCase(i, dll); });
    if (when == "start" && !imported) {
      Print("  reported, not failed: the stand-in " + dll + " was loaded while the process started, before setup.exe's "
            "first instruction; Wine's own system DLLs import it, setup.exe does not");
    } else {
      failures.push_back("the stand-in " + dll + " beside setup.exe was loaded " +
                         (when == "start" ? "at start: setup.exe imports it" : "while setup.exe ran"));
    }
  }
  return failures;
}

MainWindowInfo WineMachine::MainWindow() {
  RECT window{}, client{};
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  return MainWindowInfo{CaptionOf(main), window, client.right, client.bottom,
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXVSCROLL),
                        static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE))};
}

std::vector<ControlInfo> WineMachine::Controls() {
  return main && IsWindow(main) ? ChildrenOf(main) : std::vector<ControlInfo>();
}

bool WineMachine::Await(unsigned timeoutMs, const std::function<bool()>& done) { return WaitUntil(timeoutMs, 5, done); }

bool WineMachine::ControlText(int id, std::string& text) {
  HWND control = Control(id);
  if (control) text = TextOf(control);
  return control != nullptr;
}

int WineMachine::LinesShown(int id) {
  HWND control = Control(id);
  DWORD_PTR shown = 0;
  if (!control || (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) == 0 ||
      !SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown))
    return -1;
  return static_cast<int>(shown);
}

bool WineMachine::TakeMessageBox(MessageBoxInfo& box, std::string& error) {
  HWND dialog = nullptr;
  WaitUntil(15000, 5, [&] { return (dialog = FindWindowOf("#32770", main)) || !Running(); });
  error = "no message box owned by the main window appeared";
  if (!dialog) return false;
  box.caption = CaptionOf(dialog);
  for (const ControlInfo& c : ChildrenOf(dialog)) {
    if (!SameNoCase(c.className, "Static") || !c.visible) continue;
    bool icon = (c.style & SS_TYPEMASK) == SS_ICON;
    box.icon = box.icon || icon;
    if (!icon && !c.text.empty()) box.text = c.text;
  }
  error = "the message box did not close on OK";
  if (!PressButton(dialog, IDOK) || !WaitForDialogGone(dialog, 10000)) return false;
  error.clear();
  return true;
}

std::vector<std::string> WineMachine::Browse(int id, const std::string& choice, const std::string* status) {
  std::vector<std::string> failures;
  if (!Click(id)) return {"no Browse button " + std::to_string(id)};
  HWND chooser = nullptr;
  WaitUntil(15000, 10, [&] {
    HWND dialog = FindWindowOf("#32770", main);
    if (dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) chooser = dialog;
    return chooser != nullptr;
  });
  if (!chooser) return {"the folder chooser did not open"};
  Print("  folder chooser " + Quoted(CaptionOf(chooser)) + " open");
  if (status) {
    // The program sets the status line when the chooser reports that it is ready.
    std::vector<std::string> texts;
    bool seen = WaitUntil(2000, 20, [&] {
      texts.clear();
      for (const ControlInfo& c : ChildrenOf(chooser))
        if (SameNoCase(c.className, "Static")) texts.push_back(c.text);
      return std::find(texts.begin(), texts.end(), *status) != texts.end();
    });
    if (!seen) {
      for (std::string& text : texts) text = Quoted(text);
      failures.push_back("the chooser's status line does not read " + Quoted(*status) + "; its texts:" + Listed(texts));
    }
  }
  if (choice != "ok" && choice != "cancel") {
    if (!SelectInChooser(process.hProcess, chooser, choice))
      failures.push_back("cannot select " + choice + " in the chooser");
    Sleep(200);
  }
  // "ok" takes whatever the chooser selected when it opened.
  PressButton(chooser, choice == "cancel" ? IDCANCEL : IDOK);
  if (!WaitForDialogGone(chooser, 10000)) failures.push_back("the folder chooser did not close");
  return failures;
}

bool WineMachine::WaitForExit(int& exitCode) {
  DWORD code = 0;
  if (!process.hProcess || WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.hProcess, &code))
    return false;
  exitCode = static_cast<int>(code);
  return true;
}

void WineMachine::Kill() {
  if (!Running()) return;
  TerminateProcess(process.hProcess, 99);
  WaitForSingleObject(process.hProcess, 5000);
}

bool WineMachine::Click(int id) { return main && PressButton(main, id); }

bool WineMachine::TypeText(int id, const std::string& text) {
  HWND control = Control(id);
  DWORD_PTR result = 0;
  return control && SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                        SMTO_ABORTIFHUNG, 5000, &result);
}

bool WineMachine::Shot(const std::string& name, int page, const std::string& sameAs, std::string& error) {
  // The paint that set the captions has run; wait for the display to show it.
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  WaitForFrameOnScreen(main, 3000);
  Sleep(150);
  RECT window, client;
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  std::string host = outputHost + "/" + name + ".png";
  if (!CaptureScreen(window, host, error)) return false;
  // Where the client area lies in the picture, for the picture checks.
  std::string info = "page " + std::to_string(page) + "\nclient " + std::to_string(origin.x - window.left) + " " +
                     std::to_string(origin.y - window.top) + " " + std::to_string(client.right) + " " +
                     std::to_string(client.bottom) + "\n" + (sameAs.empty() ? "" : "same " + sameAs + "\n");
  std::string infoPath = HostToWindows(outputHost + "/" + name + ".txt");
  error = "cannot write " + infoPath;
  if (!WriteFileBytes(infoPath, info)) return false;
  Print("  saved " + host);
  return true;
}
