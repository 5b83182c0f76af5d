// Driving a dialog as a user would, from inside its own modal loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Vistrane.cpl as built, loaded once into this process: its resources hold
// the dialog templates.
HMODULE AppletModule();

typedef void (*DialogScript)(HWND dialog, void *context);

// Shows dialog template id from the applet modally with procedure, and once
// it is up calls script(dialog, context) on the dialog's own thread. The script
// ends it by pressing a button (or leaves that to a posted key). Returns what
// DialogBoxParamW returned.
INT_PTR RunDialog(int id, DLGPROC procedure, DialogScript script, void *context);

// A click on the control, as the mouse would make it.
void Press(HWND dialog, int controlId);
// Esc or the close box, posted so the modal loop handles them as it would a
// user's.
void PostEscape(HWND dialog);
void PostCloseBox(HWND dialog);

std::string ControlText(HWND dialog, int controlId);
// A window's text, asked with WM_GETTEXT: GetWindowText leaves out another
// process's controls.
std::string WindowText(HWND window);

// Where the dialog manager puts a control given in dialog units (x, y, width,
// height): origin and size are each converted, so the far edge is origin
// plus size.
RECT DialogUnitsToPixels(HWND dialog, const RECT &units);
// The control's window rectangle in the dialog's client coordinates.
RECT PlaceInDialog(HWND dialog, HWND control);

// A dialog with that caption in any process, once it is up; NULL when
// process, which is to show it, ended without one. No deadline: a slow
// machine only waits longer, and a hang is the test runner's to end.
HWND WaitForDialog(const char *caption, HANDLE process);

// A drop handle of the kind Explorer passes with WM_DROPFILES, holding paths
// as wide text.
HDROP MakeDrop(const std::vector<std::string> &paths);
