// The Control Panel's entry into the applet: one item, its icon, name and
// description, and the settings dialog when it is opened.
#pragma once

#include <windows.h>

extern "C" LONG CALLBACK CPlApplet(HWND controlPanelWindow, UINT message, LPARAM param1, LPARAM param2);
