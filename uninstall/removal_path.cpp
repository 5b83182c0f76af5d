#include "removal_path.h"

#include <string.h>
#include <wchar.h>

namespace
{
const wchar_t *SkipBlanks(const wchar_t *c)
{
    while (*c == L' ' || *c == L'\t')
        ++c;
    return c;
}

// Past one word: a quoted one up to its closing quote, else up to a blank or
// any of the stop characters. NULL when a quote is never closed.
const wchar_t *SkipWord(const wchar_t *c, const wchar_t *stops)
{
    if (*c == L'"')
    {
        c = wcschr(c + 1, L'"');
        return c != NULL ? c + 1 : NULL;
    }
    while (*c != L'\0' && *c != L' ' && *c != L'\t' && wcschr(stops, *c) == NULL)
        ++c;
    return c;
}

// True when wide, put into the code page as rundll32 does (each missing
// character becomes the default one), gives exactly narrow.
bool SameInCodePage(const wchar_t *wide, const char *narrow)
{
    const size_t wanted = strlen(narrow) + 1;
    char converted[RemovalPathSize * 2];
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, converted, sizeof(converted), NULL, NULL);
    return length > 0 && static_cast<size_t>(length) == wanted && memcmp(converted, narrow, wanted) == 0;
}
}

const wchar_t *RundllArgument(const wchar_t *commandLine)
{
    const wchar_t *c = SkipWord(commandLine, L"");
    if (c == NULL)
        return NULL;
    c = SkipWord(SkipBlanks(c), L",");
    if (c == NULL || *c != L',')
        return NULL;
    return SkipBlanks(SkipWord(c + 1, L""));
}

void TakeRemovalPath(const char *argument, wchar_t (&path)[RemovalPathSize])
{
    path[0] = L'\0';
    if (argument == NULL)
        return;
    const wchar_t *wide = RundllArgument(GetCommandLineW());
    if (wide != NULL && wcslen(wide) < RemovalPathSize && SameInCodePage(wide, argument))
    {
        wmemcpy(path, wide, wcslen(wide) + 1);
        return;
    }
    // The argument came from a command line, so it always fits.
    if (MultiByteToWideChar(CP_ACP, 0, argument, -1, path, RemovalPathSize) == 0)
        path[0] = L'\0';
}
