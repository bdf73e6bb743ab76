// A Windows program that carries one edition's resources and does nothing else: the
// resource checks read it with wrestool before setup.exe exists, and it reports under
// Wine whether the resources load through the real API.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

int main() {
  char text[64];
  int failures = 0;
  if (LoadStringA(nullptr, 3, text, sizeof text) <= 0) ++failures;
  std::printf("title: %s\n", text);
  HRSRC licence = FindResourceA(nullptr, "license.txt", MAKEINTRESOURCEA(10));
  if (licence == nullptr || SizeofResource(nullptr, licence) != 3355) ++failures;
  for (int id : {102, 110, 111, 112}) {
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    BITMAP info;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) {
      ++failures;
      continue;
    }
    std::printf("bitmap %d: %ldx%ld\n", id, info.bmWidth, info.bmHeight);
    DeleteObject(bitmap);
  }
  if (LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(103)) == nullptr) ++failures;
  std::printf("%s\n", failures == 0 ? "resources load" : "resources missing");
  return failures;
}
