// Identifiers of the launcher's resources and of the settings dialog's controls, shared by
// the resource script and the code.
#pragma once

#define IDD_LAUNCHER 101
#define IDB_BANNER 103
#define IDI_LAUNCHER 104

#define IDC_RESOLUTION 1001
#define IDC_RENDER_MODE 1002
#define IDC_START 1003
#define IDC_QUIT 1004
#define IDC_TEXTURE_QUALITY 1005
#define IDC_TUTORIAL 1006
#define IDC_WEBSITE 1008
#define IDC_BANNER 1009

// Group boxes and labels are never addressed.
#define IDC_STATIC -1
