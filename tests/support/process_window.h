// The launcher under test and its windows, for the tests that work a launcher from outside.
#pragma once

#include <windows.h>

#include <string>

// The launcher.exe the tests read and drive: the one ORBIVANE_LAUNCHER names (a Windows path),
// so that one build's test programs can drive another build's launcher. Empty when it names
// none: the tests then refuse to run rather than drive some other launcher.
std::string LauncherUnderTest();

// The folder of the running test program, where the build puts the programs and DLLs the
// tests use beside it (the stand-in game, the planted DLLs).
std::string TestProgramFolder();

// A visible top-level window of the process with this class and caption (either may be null
// to accept any), or null when it shows none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption);
