// The instance handle of the library this code is linked into.
#pragma once

#include <windows.h>

// Stored when a process attaches the library; the icon, the strings and the
// dialog templates are loaded from it.
extern HINSTANCE ModuleInstance;
