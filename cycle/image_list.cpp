#include "image_list.h"

#include <strsafe.h>

#include "join_path.h"

bool ListImages(const wchar_t *directory, ImageList &list)
{
    list.count = 0;
    wchar_t pattern[MAX_PATH];
    if (!JoinPath(pattern, directory, L"*.*"))
        return false;

    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do
    {
        // cFileName is MAX_PATH characters like a slot, so the copy always fits.
        if (entry.cFileName[0] != L'.' &&
            SUCCEEDED(StringCbCopyW(list.names[list.count], sizeof(list.names[0]), entry.cFileName)))
            ++list.count;
    } while (list.count < MaxImages && FindNextFileW(search, &entry));
    FindClose(search);
    return true;
}
