// The shell and COM over the real shell32 and ole32.
#pragma once
#include "platform/shell_services.h"

class Win32ShellServices : public ShellServices {
 public:
  HRESULT CoInitialize(LPVOID reserved) override;
  void CoUninitialize() override;
  HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) override;
  HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) override;
  BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) override;
  void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) override;
  int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                          int wideCapacity) override;
  BOOL IsDBCSLeadByte(BYTE testChar) override;
  HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                          INT showCommand) override;
  HRESULT SHGetMalloc(IMalloc** allocator) override;
  LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) override;
};
