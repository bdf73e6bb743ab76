// Starting programs, waiting, and pictures of the screen as the X server shows it, taken with
// ImageMagick's import (a host program).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "scenario_script.h"

// Starts a program. With exitCode it waits up to a minute for the exit code (false when it did not
// finish); without, it returns at once, since Wine gives no process handle to wait on for a host
// program (one on drive Z:), so the caller watches for what it does. False with error set when it
// cannot start.
bool StartProgram(const std::string& command, const std::string& what, std::string& error,
                  DWORD* exitCode = nullptr);

// Asks done every pauseMs until it says true (true) or timeoutMs have passed (false).
bool WaitUntil(DWORD timeoutMs, DWORD pauseMs, const std::function<bool()>& done);

// Saves the part of the screen under the rectangle as a PNG at hostPath.
// Waits for the file; false when it did not appear in time.
bool CaptureScreen(const RECT& screenRect, const std::string& hostPath, std::string& error);
