// Resource IDs of Vistrane.cpl, shared by vistrane.rc and the code.
#pragma once

// Strings
#define IDS_APPLET_NAME 100
#define IDS_APPLET_INFO 101

// Icons
#define IDI_VISTRANE 200

// Settings dialog and its controls
#define IDD_SETTINGS 300
#define IDC_CHANGE_NOW 5
#define IDC_CHANGE_AT_LOGON 1000
#define IDC_RANDOM_SELECTION 1001
#define IDC_IMAGE_DIR 1002
#define IDC_TILE_WALLPAPER 1004
#define IDC_PER_MONITOR 1005

// Farewell dialog
#define IDD_FAREWELL 103

// The manifest a Control Panel applet or a library run by rundll32 carries:
// its hosts look for it at this number.
#define IDR_COMMON_CONTROLS_MANIFEST 123
