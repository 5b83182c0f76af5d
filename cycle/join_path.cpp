#include "join_path.h"

#include <strsafe.h>

bool JoinPath(char (&out)[MAX_PATH], const char *folder, const char *name)
{
    out[0] = '\0';
    const int length = lstrlenA(folder);
    if (length == 0)
        return false;
    const char *separator = folder[length - 1] == '\\' ? "" : "\\";
    if (FAILED(StringCbCopyA(out, sizeof(out), folder)) || FAILED(StringCbCatA(out, sizeof(out), separator)) ||
        FAILED(StringCbCatA(out, sizeof(out), name)))
    {
        out[0] = '\0';
        return false;
    }
    return true;
}
