// The path the uninstallation names on the entry's command line, whole.
#pragma once

#include <windows.h>

// Room for any command line Windows can start a process with.
const int RemovalPathSize = 32768;

// rundll32 hands the entry its argument in the ANSI code page, which loses
// every character the code page lacks (an install folder named in another
// script). The process's own command line is still wide: when its part after
// "library,entry" turns into exactly argument in the code page, that part is
// the true path. Otherwise (the entry called some other way) argument itself
// is taken, widened. path is empty when argument is NULL.
void TakeRemovalPath(const char *argument, wchar_t (&path)[RemovalPathSize]);

// The part of a rundll32 command line after the program, the library and
// the entry name, or NULL when the line does not have that shape.
const wchar_t *RundllArgument(const wchar_t *commandLine);
