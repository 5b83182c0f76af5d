#include "pending_bitmap.h"

#include <wchar.h>

#include <strsafe.h>

#include "join_path.h"

namespace
{
const wchar_t PendingPrefix[] = L"vistrane.";
const wchar_t PendingSuffix[] = L".tmp";
const size_t IdDigits = 8;
const size_t PieceDigits = 2;

bool IsHexDigits(const wchar_t *text, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        const wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')))
            return false;
    }
    return true;
}

ULONGLONG AsNumber(const FILETIME &time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Written last before now minus the stale time. A time ahead of the clock
// (the clock was set back) is not stale.
bool IsStale(const WIN32_FIND_DATAW &entry, ULONGLONG now)
{
    ULONGLONG touched = AsNumber(entry.ftLastWriteTime);
    if (AsNumber(entry.ftCreationTime) > touched)
        touched = AsNumber(entry.ftCreationTime);
    return touched < now && now - touched > PendingBitmapStaleAfter;
}
}

bool PendingBitmapPath(const wchar_t *folder, wchar_t (&pending)[MAX_PATH])
{
    wchar_t name[32];
    if (FAILED(StringCchPrintfW(name, 32, L"%s%08lx-%08lx%s", PendingPrefix, GetCurrentProcessId(),
                                GetCurrentThreadId(), PendingSuffix)))
        return false;
    return JoinPath(pending, folder, name);
}

bool PendingPiecePath(const wchar_t *pending, int piece, wchar_t (&path)[MAX_PATH])
{
    const size_t suffix = ARRAYSIZE(PendingSuffix) - 1;
    const size_t length = static_cast<size_t>(lstrlenW(pending));
    if (piece < 0 || piece > 0xFF || length < suffix || length >= MAX_PATH)
        return false;
    return SUCCEEDED(StringCchPrintfW(path, MAX_PATH, L"%.*s-%02x%s", static_cast<int>(length - suffix), pending,
                                      piece, PendingSuffix));
}

bool IsPendingBitmapName(const wchar_t *name)
{
    const size_t prefix = ARRAYSIZE(PendingPrefix) - 1;
    if (wcsncmp(name, PendingPrefix, prefix) != 0)
        return false;
    // Each check stops at the first character that is not a digit, the end
    // of the name among them.
    const wchar_t *at = name + prefix;
    if (!IsHexDigits(at, IdDigits) || at[IdDigits] != L'-' || !IsHexDigits(at + IdDigits + 1, IdDigits))
        return false;
    at += 2 * IdDigits + 1;
    // A monitor's piece has "-" and two digits more before the suffix.
    if (at[0] == L'-' && IsHexDigits(at + 1, PieceDigits))
        at += 1 + PieceDigits;
    return lstrcmpW(at, PendingSuffix) == 0;
}

void RemoveStalePendingBitmaps(const wchar_t *folder)
{
    wchar_t pattern[MAX_PATH];
    if (!JoinPath(pattern, folder, L"vistrane.*.tmp"))
        return;
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    const ULONGLONG now = AsNumber(nowTime);
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
    {
        // The pattern also matches short names and longer ones; only the
        // exact form is ours. One still open by a live run refuses deletion.
        wchar_t stale[MAX_PATH];
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPendingBitmapName(entry.cFileName) &&
            IsStale(entry, now) && JoinPath(stale, folder, entry.cFileName))
            DeleteFileW(stale);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}
