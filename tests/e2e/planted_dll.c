/* A stand-in for a system DLL that is not a known DLL. A "plant" step copies it beside
   setup.exe under that DLL's name; it only records that it was loaded, in <its path>.loaded:
   "start" when the loader took it while starting the process (lpReserved is set for those),
   "later" when something loaded it while the program ran. It exports lz32's four calls, so
   that a program importing lz32 still starts (they fail as on a bad handle), and the three
   version.dll calls that Wine's own user32 imports, so that user32 still works with a
   stand-in version.dll loaded at start (they find no version information). */
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  char path[MAX_PATH + 8];
  DWORD length, written;
  HANDLE file;
  const char* when = reserved ? "start" : "later";
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcpyA(path + length, ".loaded");
  file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  WriteFile(file, when, lstrlenA(when), &written, NULL);
  CloseHandle(file);
  return TRUE;
}

__declspec(dllexport) INT WINAPI LZOpenFileA(LPSTR name, void* reOpen, WORD style) { return -1; }
__declspec(dllexport) INT WINAPI LZRead(INT file, char* buffer, INT count) { return -1; }
__declspec(dllexport) LONG WINAPI LZCopy(INT source, INT destination) { return -1; }
__declspec(dllexport) void WINAPI LZClose(INT file) {}

__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR file, DWORD* handle) { return 0; }
__declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR file, DWORD handle, DWORD size, void* data) { return FALSE; }
__declspec(dllexport) BOOL WINAPI VerQueryValueW(const void* block, LPCWSTR name, void** value, UINT* length) { return FALSE; }
