// Pictures of the screen as the X server shows it, taken with ImageMagick's
// import (a host program, which Wine starts like any other).
#pragma once
#include <windows.h>

#include <string>

// Saves the part of the screen under the rectangle as a PNG at hostPath.
// Waits for the file; false when it did not appear in time.
bool CaptureScreen(const RECT& screenRect, const std::string& hostPath, std::string& error);
