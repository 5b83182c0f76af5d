// Cancelling the restart-time deletions of what the setup program has just
// installed. An uninstallation leaves the applet to be deleted at the next
// restart; a setup run before that restart copies a new applet to the same
// path, and the restart would then delete the new one.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "installed_files.h"

// Session Manager's record of the operations carried out at the next restart.
const WCHAR SessionManagerKey[] = L"System\\CurrentControlSet\\Control\\Session Manager";
// Pairs of source and destination texts; an empty destination deletes the
// source. Windows keeps a second list of the same form beside the first.
const WCHAR *const PendingOperationValues[] = {L"PendingFileRenameOperations", L"PendingFileRenameOperations2"};

struct Removal
{
    // The list's length afterwards, in WCHARs.
    size_t length;
    // A deletion of an installed file is still there: the list holds one
    // where its pairs have ended, so it was left exactly as it was.
    bool installedLeft;
};

// Removes, in place, the pairs of a pending operations list (length WCHARs)
// that delete one of the installed files; every other pair, and whatever
// follows the last whole pair, stays as it was.
Removal RemoveInstalledDeletions(WCHAR *operations, size_t length, const InstalledFiles &installed);

// True when texts (length WCHARs), read as a list of any shape, may delete
// an installed file: one of its texts names it and is followed by an empty
// text or by the end. For lists that are not edited, only judged.
bool MayDeleteInstalled(const WCHAR *texts, size_t length, const InstalledFiles &installed);

// Removes, in place, the lines "NUL=<path>" of WININIT.INI's [Rename]
// section (length bytes of ANSI text) whose path is one of the installed
// files; every other line stays as it was. Returns the new length.
size_t RemoveInstalledWininitLines(char *text, size_t length, const InstalledFiles &installed);
