// The uninstallation's entry: rundll32.exe Vistrane.cpl,DeinstallNT <path>
#pragma once

#include <windows.h>

// Schedules the file named by commandLine for deletion at the next restart,
// beeps, and thanks the user in a dialog owned by window. Returns the
// dialog's result, 1.
extern "C" int CALLBACK DeinstallNT(HWND window, HINSTANCE instance, LPSTR commandLine, int show);
