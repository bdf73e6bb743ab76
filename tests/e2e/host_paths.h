// Paths as the two sides name them (the host's /a/b is Z:\a\b inside Wine), starting programs, waiting,
// and pictures of the screen as the X server shows it, taken with ImageMagick's import (a host program).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

std::string HostToWindows(const std::string& hostPath);
std::string WindowsToHost(const std::string& windowsPath);  // only for paths on Z:
// The folder part of a Windows path, without the trailing backslash.
std::string ParentOf(const std::string& windowsPath);
// Starts a program. With exitCode it waits up to a minute for the exit code (false when it did not
// finish); without, it returns at once, since Wine gives no process handle to wait on for a host
// program (one on drive Z:), so the caller watches for what it does. False with error set when it
// cannot start.
bool StartProgram(const std::string& command, const std::string& what, std::string& error,
                  DWORD* exitCode = nullptr);

double NowMs();
// Asks done every pauseMs until it says true (true) or timeoutMs have passed (false).
bool WaitUntil(DWORD timeoutMs, DWORD pauseMs, const std::function<bool()>& done);

// Saves the part of the screen under the rectangle as a PNG at hostPath.
// Waits for the file; false when it did not appear in time.
bool CaptureScreen(const RECT& screenRect, const std::string& hostPath, std::string& error);
