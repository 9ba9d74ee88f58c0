// The launcher under test and its windows, for the tests that work a launcher from outside.
#pragma once

#include <windows.h>

#include <string>

// The launcher.exe the tests read and drive: the one ORBIVANE_LAUNCHER names (a Windows path),
// so that one build's test programs can drive another build's launcher, else the one this
// build made, in the folder above the test programs.
std::string LauncherUnderTest();

// A visible top-level window of the process with this class and caption (either may be null
// to accept any), or null when it shows none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption);
