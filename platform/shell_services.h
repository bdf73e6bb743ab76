// The shell and COM: Programs folder, change notification, shell links, opening documents, folder chooser.
#pragma once
#include "platform/win32_types.h"

class ShellServices {
 public:
  virtual ~ShellServices() = default;
  // Initialises COM on this thread (single-threaded apartment).
  virtual HRESULT CoInitialize(LPVOID reserved) = 0;
  // Undoes CoInitialize.
  virtual void CoUninitialize() = 0;
  // Creates a COM object; the program asks only for CLSID_ShellLink / IID_IShellLinkA.
  virtual HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) = 0;
  // The item list of a special folder (CSIDL_PROGRAMS); freed with the shell allocator.
  virtual HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) = 0;
  // The file-system path of an item list into a MAX_PATH buffer; FALSE when it has none.
  virtual BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) = 0;
  // Tells the shell that something changed (SHCNE_MKDIR with SHCNF_PATHA).
  virtual void SHChangeNotify(LONG eventId, UINT flags, const void* item1, const void* item2) = 0;
  // ANSI to UTF-16; the number of wide characters written (terminator included for -1 input), 0 on failure.
  virtual int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                                  int wideCapacity) = 0;
  // Whether a byte starts a two-byte character in the ANSI code page (never in a single-byte one).
  virtual BOOL IsDBCSLeadByte(BYTE testChar) = 0;
  // Opens a document or web address with a verb; a value above 32 on success.
  virtual HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                  INT showCommand) = 0;
  // The shell's allocator, for freeing item lists.
  virtual HRESULT SHGetMalloc(IMalloc** allocator) = 0;
  // Runs the modal folder chooser; the chosen item list, or null when cancelled.
  virtual LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info) = 0;
};
