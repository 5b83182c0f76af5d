// The temporary file a run converts into before its bitmap replaces the
// converted one. Runs overlap (the logon run and "Change now", two sessions
// of one user), so each has a file of its own and touches no other run's.
#pragma once

#include <windows.h>

// "vistrane.<process id>-<thread id>.tmp" in hexadecimal, eight digits each:
// no two live runs share a name, and a run that died leaves a name no live
// run will use while it is stale.
bool PendingBitmapPath(const wchar_t *folder, wchar_t (&pending)[MAX_PATH]);

// The temporary file of one monitor's picture in a run that shows a
// picture on each monitor: pending's name with "-" and the monitor's
// number, two hexadecimal digits, before ".tmp". False when piece is not
// from 0 to 255 or the path does not fit.
bool PendingPiecePath(const wchar_t *pending, int piece, wchar_t (&path)[MAX_PATH]);

// True only for names of exactly those forms.
bool IsPendingBitmapName(const wchar_t *name);

// Far longer than any conversion takes: a pending file not written for this
// long belongs to a run that died (a power cut, a logoff mid-conversion).
const ULONGLONG PendingBitmapStaleAfter = 60ULL * 60 * 10000000; // one hour, in 100 ns

// Deletes the stale pending files in folder, and nothing else.
void RemoveStalePendingBitmaps(const wchar_t *folder);
