// The launcher's one pass from start to exit: the DirectX gate, the settings dialog over the
// stored settings, the save, and then the game or the end.
#pragma once

#include <windows.h>

#include <stdint.h>

// Stands for everything the pass reaches outside itself. The entry point fills it with the
// launcher's real routines and the platform's calls; tests fill it with recorders.
struct LaunchPlatform {
    void (*narrowDllSearch)(); // first: before anything can load a DLL by name
    HRESULT (*detectDirectXVersion)(uint32_t* packed, char* text, int32_t capacity);
    void (*loadSettings)(const char* fileName);
    void (*saveSettings)(const char* fileName);
    HWND (*createOwnerWindow)(HINSTANCE instance);
    INT_PTR (*runSettingsDialog)(HINSTANCE instance, HWND owner);
    int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
    WPARAM (*drainMessages)();
    UINT(WINAPI* startProgram)(LPCSTR commandLine, UINT showCommand);
};

// Runs the pass and returns the process exit code: 0 after a gate message or Quit; after
// Start, the wParam of the last message drained (0 when none), or 1 when the game could not
// be started, which the player is told in a message box.
int RunLaunchSequence(HINSTANCE instance, const LaunchPlatform* platform);

// Removes, translates and dispatches every message waiting for this thread without waiting
// for more, a quit message included; returns the wParam of the last one removed (0 if none).
WPARAM DrainThreadMessages();
