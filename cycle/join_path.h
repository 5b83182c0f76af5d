// Joining a folder and a name into one path.
#pragma once

#include <windows.h>

// Writes folder, a backslash unless the folder already ends with one, and
// name into out. False, with out emptied, when the folder is empty (there is
// nothing to join to, and "\name" would mean the root of the current drive)
// or when the whole does not fit MAX_PATH characters: a path cut short would name
// a different file.
bool JoinPath(wchar_t (&out)[MAX_PATH], const wchar_t *folder, const wchar_t *name);
