// The small captioned window that carries the launcher's name and icon and owns the dialog.
#pragma once

#include <windows.h>

// Registers "fooclass" and creates the visible "Orbivane" window near the screen's centre.
// Neither result is examined: the handle is null when either failed, and the dialog then
// runs without an owner.
HWND CreateOwnerWindow(HINSTANCE instance);

// Paints nothing (but validates, so WM_PAINT leaves the queue); a close request posts a quit
// message with code 0 and leaves the window in place; everything else is the default.
LRESULT CALLBACK OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
