// The six platform services the program reaches Windows through. WinMain installs
// the Win32 set; the native entry and the tests install portable ones or fakes.
#pragma once
#include "platform/file_system.h"
#include "platform/lz_library.h"
#include "platform/registry.h"
#include "platform/resource_store.h"
#include "platform/shell_services.h"
#include "platform/window_system.h"

struct Platform {
  Registry* registry = nullptr;
  FileSystem* fileSystem = nullptr;
  LzLibrary* lzLibrary = nullptr;
  ResourceStore* resources = nullptr;
  ShellServices* shell = nullptr;
  WindowSystem* windows = nullptr;
};

extern Platform g_platform;
// The program's module, as WinMain receives it; resources and windows are created under it.
extern HINSTANCE g_instance;
