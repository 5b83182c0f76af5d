// The settings dialog: the picture folder, the four switches, and a button
// that changes the wallpaper at once.
#pragma once

#include <windows.h>

#include "cycle_types.h"

// The procedure of dialog template IDD_SETTINGS, shown as a wide dialog so
// that its edit box holds a folder named in any script. Works on AppletSettings: loads
// it when the dialog opens, saves it on OK, and ends the dialog with 1 however
// it is closed.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What "Change now" runs with: the random, tile and per-monitor choices as
// the boxes show them now, for that run only, and the stored ImmediateChange,
// which has no box.
CycleOptions ShownRunOptions(HWND dialog);
