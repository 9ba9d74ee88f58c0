// The settings dialog: three lists and a check box over the settings record, Visit Website,
// and Start or Quit.
#pragma once

#include <windows.h>

#include "settings.h"

// What the dialog works on. It edits *settings in place and keeps no copy; startProgram
// stands for WinExec, through which Visit Website starts the browser.
struct SettingsDialogData {
    LauncherSettings* settings;
    UINT(WINAPI* startProgram)(LPCSTR commandLine, UINT showCommand);
};

// Shows IDD_LAUNCHER modally, owned by owner (which may be null), and returns IDC_START or
// IDC_QUIT as the player ended it, or -1 when the platform could not show it. Every change
// the player makes is in data->settings by then; Esc and the close box do nothing.
INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SettingsDialogData* data);

// The dialog procedure; the creation parameter is the SettingsDialogData.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
