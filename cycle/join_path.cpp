#include "join_path.h"

#include <strsafe.h>

bool JoinPath(wchar_t (&out)[MAX_PATH], const wchar_t *folder, const wchar_t *name)
{
    out[0] = L'\0';
    const int length = lstrlenW(folder);
    if (length == 0)
        return false;
    const wchar_t *separator = folder[length - 1] == L'\\' ? L"" : L"\\";
    if (FAILED(StringCchCopyW(out, MAX_PATH, folder)) || FAILED(StringCchCatW(out, MAX_PATH, separator)) ||
        FAILED(StringCchCatW(out, MAX_PATH, name)))
    {
        out[0] = L'\0';
        return false;
    }
    return true;
}
