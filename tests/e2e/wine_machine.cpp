#include "wine_machine.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>

#include "host_paths.h"

namespace {

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

// The prefix's own registry calls, in the shape ReadRegistryValues reads through.
struct Advapi {
  LONG RegOpenKeyExA(HKEY root, LPCSTR key, DWORD options, REGSAM access, HKEY* result) {
    return ::RegOpenKeyExA(root, key, options, access, result);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength, DWORD* reserved, DWORD* type, BYTE* data,
                     DWORD* dataLength) {
    return ::RegEnumValueA(key, index, name, nameLength, reserved, type, data, dataLength);
  }
  LONG RegCloseKey(HKEY key) { return ::RegCloseKey(key); }
};

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

}  // namespace

WineMachine::WineMachine(const std::map<std::string, std::string>& p, const std::string& out)
    : programs(p), outputHost(out) {
  char folder[MAX_PATH] = "";  // the Start menu's Programs folder, then the temporary folder
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, folder))) programsFolder = folder;
  DWORD length = GetTempPathA(MAX_PATH, folder);
  tempFolder.assign(folder, length < MAX_PATH ? length : 0);
  if (!tempFolder.empty() && tempFolder.back() == '\\') tempFolder.pop_back();  // without the trailing backslash
}

bool WineMachine::ResetOfficeKeys(std::string& error) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const char* key : kOfficeKeys) {
      LONG result = RegDeleteTreeA(root, key);  // the key itself as well
      if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) continue;
      error = std::string("cannot delete ") + key + " (error " + std::to_string(result) + ")";
      return false;
    }
  }
  return true;
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
  if (at != std::string::npos && at > 2) {
    if (!MakeFolders(path.substr(0, at))) return false;
  }
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

bool WineMachine::FileSize(const std::string& path, unsigned long long& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
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
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&shellLink));
  if (FAILED(result)) {
    error = "CoCreateInstance(CLSID_ShellLink) failed";
    return false;
  }
  IPersistFile* file = nullptr;
  result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    result = file->Load(wide, STGM_READ);
    file->Release();
  }
  if (FAILED(result)) {
    shellLink->Release();
    error = "IPersistFile::Load failed with " + Hex(static_cast<DWORD>(result));
    return false;
  }
  char target[MAX_PATH] = "";
  char description[MAX_PATH] = "";
  WIN32_FIND_DATAA found;
  shellLink->GetPath(target, MAX_PATH, &found, SLGP_RAWPATH);
  shellLink->GetDescription(description, MAX_PATH);
  shellLink->Release();
  link.target = target;
  link.description = description;
  return true;
}

bool WineMachine::ReadValues(const std::string& key, std::map<std::string, RegistryValue>& values) {
  Advapi advapi;
  return ReadRegistryValues(advapi, key, values);
}

bool WineMachine::Launch(const std::string& edition, std::string& error) {
  launches.push_back(std::make_unique<WizardProbe>());
  probe = launches.back().get();
  if (!probe->Launch(plantFolder.empty() ? programs[edition] : plantFolder + "\\setup.exe", error)) return false;
  if (probe->Retries()) Print("  (Wine refused " + std::to_string(probe->Retries()) + " start(s) before this one)");
  error = "no window of class LunveraSetup appeared";
  if (!probe->WaitForMainWindow(30000)) return false;
  double windowTime = probe->Elapsed();
  error = "the first paint did not set the caption E&xit";
  if (!probe->WaitForFirstPaint(30000)) return false;
  double paintTime = probe->Elapsed();
  bool onScreen = probe->WaitForFrameOnScreen(10000);
  char line[160];
  std::snprintf(line, sizeof line, "  TIMING window %.1f ms, first-paint %.1f ms, on-screen %.1f ms", windowTime,
                paintTime, onScreen ? probe->Elapsed() : -1.0);
  Print(line);
  error = "the client area's frame did not show on the screen";
  return onScreen;
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
  HWND main = probe->Main();
  RECT window{}, client{};
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  return MainWindowInfo{WizardProbe::CaptionOf(main), window, client.right, client.bottom,
                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXVSCROLL),
                        static_cast<DWORD>(GetWindowLongPtrA(main, GWL_STYLE))};
}

bool WineMachine::Await(unsigned timeoutMs, const std::function<bool()>& done) { return WaitUntil(timeoutMs, 5, done); }

bool WineMachine::ControlText(int id, std::string& text) {
  HWND control = probe->Control(id);
  if (control) text = WizardProbe::TextOf(control);
  return control != nullptr;
}

int WineMachine::LinesShown(int id) {
  HWND control = probe->Control(id);
  DWORD_PTR shown = 0;
  if (!control || (GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) == 0 ||
      !SendMessageTimeoutA(control, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &shown))
    return -1;
  return static_cast<int>(shown);
}

bool WineMachine::TakeMessageBox(MessageBoxInfo& box, std::string& error) {
  HWND dialog = probe->WaitForOwnedDialog(15000);
  error = "no message box owned by the main window appeared";
  if (!dialog) return false;
  box.caption = WizardProbe::CaptionOf(dialog);
  for (const ControlInfo& c : WizardProbe::ChildrenOf(dialog)) {
    if (!SameNoCase(c.className, "Static") || !c.visible) continue;
    bool icon = (c.style & SS_TYPEMASK) == SS_ICON;
    box.icon = box.icon || icon;
    if (!icon && !c.text.empty()) box.text = c.text;
  }
  error = "the message box did not close on OK";
  if (!WizardProbe::PressDialogButton(dialog, IDOK) || !probe->WaitForDialogGone(dialog, 10000)) return false;
  error.clear();
  return true;
}

std::vector<std::string> WineMachine::Browse(int id, const std::string& choice, const std::string* status) {
  std::vector<std::string> failures;
  if (!probe->Click(id)) return {"no Browse button " + std::to_string(id)};
  HWND chooser = nullptr;
  WaitUntil(15000, 10, [&] {
    HWND dialog = probe->FindOwnedDialog();
    if (dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) chooser = dialog;
    return chooser != nullptr;
  });
  if (!chooser) return {"the folder chooser did not open"};
  Print("  folder chooser " + Quoted(WizardProbe::CaptionOf(chooser)) + " open");
  if (status) {
    // The program sets the status line when the chooser reports that it is ready.
    std::vector<std::string> texts;
    bool seen = WaitUntil(2000, 20, [&] {
      texts.clear();
      for (const ControlInfo& c : WizardProbe::ChildrenOf(chooser))
        if (SameNoCase(c.className, "Static")) texts.push_back(c.text);
      return std::find(texts.begin(), texts.end(), *status) != texts.end();
    });
    if (!seen) {
      for (std::string& text : texts) text = Quoted(text);
      failures.push_back("the chooser's status line does not read " + Quoted(*status) + "; its texts:" + Listed(texts));
    }
  }
  if (choice != "ok" && choice != "cancel") {
    if (!probe->SelectInChooser(chooser, choice)) failures.push_back("cannot select " + choice + " in the chooser");
    Sleep(200);
  }
  // "ok" takes whatever the chooser selected when it opened.
  WizardProbe::PressDialogButton(chooser, choice == "cancel" ? IDCANCEL : IDOK);
  if (!probe->WaitForDialogGone(chooser, 10000)) failures.push_back("the folder chooser did not close");
  return failures;
}

bool WineMachine::WaitForExit(int& exitCode) {
  DWORD code = 0;
  if (!probe->WaitForExit(30000, code)) return false;
  exitCode = static_cast<int>(code);
  return true;
}

bool WineMachine::Shot(const std::string& name, int page, const std::string& sameAs, std::string& error) {
  HWND main = probe->Main();
  // The paint that set the captions has run; wait for the display to show it.
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  probe->WaitForFrameOnScreen(3000);
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
