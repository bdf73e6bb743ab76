// Starts setup.exe, waits for its main window of class "LunveraSetup", checks what the
// window looks like, sends it command 18 and checks that the program ends with exit code 0.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A host path such as /work/build/setup.exe, as Wine's Z: drive sees it.
std::string WindowsPath(const char* path) {
  std::string out = path;
  if (!out.empty() && out[0] == '/') out = "Z:" + out;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

int Fail(const char* what, PROCESS_INFORMATION* process) {
  std::fprintf(stderr, "FAIL: %s\n", what);
  if (process != nullptr && process->hProcess != nullptr) {
    TerminateProcess(process->hProcess, 99);
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: setup_start_check SETUP.EXE [EXPECTED-TITLE]\n");
    return 2;
  }
  std::string program = WindowsPath(argv[1]);
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::memset(&process, 0, sizeof process);
  // Wine now and then refuses a start while it is still busy with the previous process; try again then.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(1000);
    started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process) != FALSE;
    if (!started) std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
  }
  if (!started) return Fail("setup.exe did not start", nullptr);

  // The window appears once start-up is done; allow a slow first start of Wine.
  HWND window = nullptr;
  for (int tries = 0; tries < 900 && window == nullptr; ++tries) {
    window = FindWindowA("LunveraSetup", nullptr);
    if (window == nullptr && WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
      return Fail("setup.exe ended before its window appeared", &process);
  }
  if (window == nullptr) return Fail("no window of class LunveraSetup appeared", &process);

  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != process.dwProcessId) return Fail("the LunveraSetup window belongs to another process", &process);
  // Visible only once ShowWindow has run; give the start-up a moment to get there.
  for (int tries = 0; tries < 100 && !IsWindowVisible(window); ++tries) Sleep(100);
  if (!IsWindowVisible(window)) return Fail("the window is not visible", &process);

  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  RECT outer = {0, 0, 0, 0};
  RECT client = {0, 0, 0, 0};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  LONG style = GetWindowLongA(window, GWL_STYLE);
  std::printf("window \"%s\" at (%ld,%ld) size %ldx%ld, client %ldx%ld, style 0x%08lX\n", title, outer.left,
              outer.top, outer.right - outer.left, outer.bottom - outer.top, client.right, client.bottom,
              static_cast<unsigned long>(style));
  if (argc >= 3 && std::strcmp(title, argv[2]) != 0) return Fail("unexpected window title", &process);
  if (outer.right - outer.left != 600 || outer.bottom - outer.top != 440) return Fail("window is not 600x440", &process);
  if ((style & WS_MAXIMIZEBOX) != 0 || (style & WS_THICKFRAME) != 0) return Fail("window can be resized", &process);

  PostMessageA(window, WM_COMMAND, 18, 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
    return Fail("setup.exe did not end after command 18", &process);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("setup.exe ended with exit code %lu\n", exitCode);
  if (exitCode != 0) return Fail("exit code is not 0", nullptr);
  std::printf("PASS\n");
  return 0;
}
