// The dialog that thanks the user once the uninstallation has run.
#pragma once

#include <windows.h>

// The procedure of dialog template IDD_FAREWELL: OK or Esc end it with 1.
INT_PTR CALLBACK FarewellDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
