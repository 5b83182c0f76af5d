// Cancelling the restart-time deletions of what the setup program has just
// installed. An uninstallation leaves the applet to be deleted at the next
// restart; a setup run before that restart copies a new applet to the same
// path, and the restart would then delete the new one.
#pragma once

#include <windows.h>

#include <stddef.h>

// The files and folders the setup program installed, as it names them.
struct InstalledPaths
{
    const WCHAR *const *paths;
    int count;
};

// Session Manager's record of the operations carried out at the next restart.
const WCHAR SessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
// Pairs of source and destination texts; an empty destination deletes the
// source. Windows keeps a second list of the same form beside the first.
const WCHAR *const PendingOperationValues[] = {L"PendingFileRenameOperations", L"PendingFileRenameOperations2"};

// Removes, in place, the pairs of a pending operations list (length WCHARs)
// that delete one of the installed paths; every other pair, and whatever
// follows the last whole pair, stays as it was. Returns the new length.
size_t RemoveInstalledDeletions(WCHAR *operations, size_t length, const InstalledPaths &installed);

// Removes, in place, the lines "NUL=<path>" of WININIT.INI's [Rename]
// section (length bytes of ANSI text) whose path is one of the installed
// paths; every other line stays as it was. Returns the new length.
size_t RemoveInstalledWininitLines(char *text, size_t length, const InstalledPaths &installed);
