// The Windows entry: keeps the DLL search to the system folder, installs the Win32
// services and runs the shared start-up.
#include "platform/platform.h"
#include "platform/win32/dll_search.h"
#include "platform/win32/file_system.h"
#include "platform/win32/lz_library.h"
#include "platform/win32/registry.h"
#include "platform/win32/resource_store.h"
#include "platform/win32/shell_services.h"
#include "platform/win32/window_system.h"
#include "shell/main_window.h"

namespace {

DllSearchCalls::AnyFunction Kernel32Export(const char* name) {
  return reinterpret_cast<DllSearchCalls::AnyFunction>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), name));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearch({Kernel32Export, ::GetSystemDirectoryA, ::LoadLibraryExA});
  static Win32Registry registry;
  static Win32FileSystem fileSystem;
  static Win32LzLibrary lzLibrary;
  static Win32ResourceStore resources;
  static Win32ShellServices shell;
  static Win32WindowSystem windows;
  g_platform = Platform{&registry, &fileSystem, &lzLibrary, &resources, &shell, &windows};
  return SetupMain(instance);
}
