#include "image_list.h"

#include <strsafe.h>

#include "join_path.h"

bool ListImages(const char *directory, ImageList &list)
{
    list.count = 0;
    char pattern[MAX_PATH];
    if (!JoinPath(pattern, directory, "*.*"))
        return false;

    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do
    {
        // cFileName is MAX_PATH bytes like a slot, so the copy always fits.
        if (entry.cFileName[0] != '.' &&
            SUCCEEDED(StringCbCopyA(list.names[list.count], sizeof(list.names[0]), entry.cFileName)))
            ++list.count;
    } while (list.count < MaxImages && FindNextFileA(search, &entry));
    FindClose(search);
    return true;
}
