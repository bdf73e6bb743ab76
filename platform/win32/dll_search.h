// Where setup.exe's DLLs come from. setup.exe is downloaded and run from folders others
// can write to, and Windows starts a program of that name elevated. Windows looks for a
// DLL that is not a known DLL in the program's own folder first, so a DLL left beside
// setup.exe would run inside it. The program imports only known DLLs; before anything
// else loads one by name, RestrictDllSearch keeps the search to the system folder and
// loads from there the DLLs that are loaded by name later.
//
// The decision is written over the kernel32 calls it makes, so that the native
// tests can run every branch over a Windows that lacks some of them.
#pragma once
#include "platform/win32_types.h"

struct DllSearchCalls {
  using AnyFunction = void (*)();
  // kernel32's export of this name, or null where this Windows lacks it (GetProcAddress).
  AnyFunction (*kernel32Export)(const char* name);
  UINT(WINAPI* getSystemDirectoryA)(LPSTR buffer, UINT size);
  HMODULE(WINAPI* loadLibraryExA)(LPCSTR path, HANDLE file, DWORD flags);
};

// Call first in the entry point, before COM or any window.
//  - Where kernel32 has SetDefaultDllDirectories (Windows 8, 7 with its update), only the
//    system folder is searched from now on.
//  - Otherwise SetDllDirectoryA("") (XP SP1 and later) takes the current folder out of the
//    search; the program's own folder stays in it.
//  - Either way the system folder's DLLs that the shell and the controls load by name
//    later (comctl32, uxtheme, msimg32) are loaded now by full path, so that those later
//    loads find them loaded: a DLL's delay-loaded imports, such as the shell's of
//    comctl32, are resolved through the process's own search path, which starts with the
//    program's folder (so Wine does). One whose path does not fit, or that does not load,
//    is skipped.
void RestrictDllSearch(const DllSearchCalls& calls);
