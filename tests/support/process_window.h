// Finding another program's windows, for the drivers that work a launcher from outside.
#pragma once

#include <windows.h>

// A visible top-level window of the process with this class and caption (either may be null
// to accept any), or null when it shows none.
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption);
