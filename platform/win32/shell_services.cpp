#include "platform/win32/shell_services.h"

HRESULT Win32ShellServices::CoInitialize(LPVOID reserved) { return ::CoInitialize(reserved); }
void Win32ShellServices::CoUninitialize() { ::CoUninitialize(); }
HRESULT Win32ShellServices::CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid,
                                             LPVOID* object) {
  return ::CoCreateInstance(clsid, outer, context, iid, object);
}
HRESULT Win32ShellServices::SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) {
  return ::SHGetSpecialFolderLocation(owner, folder, list);
}
BOOL Win32ShellServices::SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  return ::SHGetPathFromIDListA(list, path);
}
void Win32ShellServices::SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) {
  ::SHChangeNotify(eventId, flags, item1, item2);
}
int Win32ShellServices::MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                                            int wideCapacity) {
  return ::MultiByteToWideChar(codePage, flags, text, length, wide, wideCapacity);
}
BOOL Win32ShellServices::IsDBCSLeadByte(BYTE testChar) { return ::IsDBCSLeadByte(testChar); }
HINSTANCE Win32ShellServices::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                            INT showCommand) {
  return ::ShellExecuteA(owner, verb, file, parameters, folder, showCommand);
}
HRESULT Win32ShellServices::SHGetMalloc(IMalloc** allocator) { return ::SHGetMalloc(allocator); }
LPITEMIDLIST Win32ShellServices::SHBrowseForFolderA(BROWSEINFOA* info) { return ::SHBrowseForFolderA(info); }
