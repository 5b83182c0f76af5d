// The settings dialog: the picture folder, the three switches, and a button
// that changes the wallpaper at once.
#pragma once

#include <windows.h>

// The procedure of dialog template IDD_SETTINGS, shown as a wide dialog so
// that its edit box holds a folder named in any script. Works on AppletSettings: loads
// it when the dialog opens, saves it on OK, and ends the dialog with 1 however
// it is closed.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
