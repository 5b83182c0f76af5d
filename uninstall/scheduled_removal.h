// Removing a file at the next restart, while it may still be in use now.
#pragma once

#include <windows.h>

// The system's delayed move: MoveFileExW in a real run; a test passes one
// that refuses, as systems without delayed moves do.
typedef BOOL(WINAPI *DelayedMove)(LPCWSTR existing, LPCWSTR newName, DWORD flags);

const wchar_t WininitSection[] = L"Rename";
// A key "NUL" with a path as its value deletes that file at the next start.
const wchar_t WininitDeleteKey[] = L"NUL";

// Asks for path's deletion at the next restart through a delayed move, and
// where the system refuses one, through the WININIT.INI file in the Windows
// folder. The path is used as given: nothing is stripped or checked.
void ScheduleRemoval(const wchar_t *path, DelayedMove move);
