#include "pending_removal.h"

#include <string.h>

namespace
{
// Room for any path WININIT.INI can name: the uninstall entry writes its
// path from a buffer of this size.
const size_t WininitPathSize = 1024;

// The length of the text starting at text[at], stopping at its terminator
// or at end.
size_t TextLength(const WCHAR *text, size_t at, size_t end)
{
    size_t length = 0;
    while (at + length < end && text[at + length] != 0)
        ++length;
    return length;
}

WCHAR Upper(WCHAR letter)
{
    return static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(letter))));
}

// The file system's comparison: the same letters, whatever their case.
bool IsInstalled(const WCHAR *path, size_t length, const InstalledPaths &installed)
{
    // Session Manager records NT paths, "\??\C:\...".
    static const WCHAR NtPrefix[] = L"\\??\\";
    const size_t prefixLength = 4;
    if (length >= prefixLength && memcmp(path, NtPrefix, prefixLength * sizeof(WCHAR)) == 0)
    {
        path += prefixLength;
        length -= prefixLength;
    }
    for (int i = 0; i < installed.count; ++i)
    {
        const WCHAR *candidate = installed.paths[i];
        if (static_cast<size_t>(lstrlenW(candidate)) != length)
            continue;
        size_t same = 0;
        while (same < length && Upper(path[same]) == Upper(candidate[same]))
            ++same;
        if (same == length)
            return true;
    }
    return false;
}

bool IsBlank(char letter)
{
    return letter == ' ' || letter == '\t' || letter == '\r';
}

// A part of a line, without the blanks around it.
struct Span
{
    const char *text;
    size_t length;
};

Span Trimmed(const char *text, size_t length)
{
    while (length > 0 && IsBlank(*text))
    {
        ++text;
        --length;
    }
    while (length > 0 && IsBlank(text[length - 1]))
        --length;
    Span span = {text, length};
    return span;
}

// Section and key names, as the profile functions compare them: in any case.
bool SpanIs(const Span &span, const char *word)
{
    return span.length == strlen(word) && _strnicmp(span.text, word, span.length) == 0;
}

// A section header line: true when it opens [Rename].
bool OpensRenameSection(const Span &line)
{
    const char *close = static_cast<const char *>(memchr(line.text, ']', line.length));
    if (close == NULL)
        return false;
    return SpanIs(Trimmed(line.text + 1, close - line.text - 1), "Rename");
}

// "NUL=<path>" naming an installed path, as the profile functions read it:
// blanks around the key and the value, and quotes around the value, ignored.
bool DeletesInstalled(const Span &line, const InstalledPaths &installed)
{
    const char *equals = static_cast<const char *>(memchr(line.text, '=', line.length));
    if (equals == NULL || !SpanIs(Trimmed(line.text, equals - line.text), "NUL"))
        return false;
    Span value = Trimmed(equals + 1, line.text + line.length - equals - 1);
    if (value.length >= 2 && value.text[0] == '"' && value.text[value.length - 1] == '"')
    {
        ++value.text;
        value.length -= 2;
    }
    WCHAR path[WininitPathSize];
    if (value.length == 0 || value.length >= WininitPathSize)
        return false;
    const int converted =
        MultiByteToWideChar(CP_ACP, 0, value.text, static_cast<int>(value.length), path, WininitPathSize - 1);
    return converted > 0 && IsInstalled(path, static_cast<size_t>(converted), installed);
}
}

size_t RemoveInstalledDeletions(WCHAR *operations, size_t length, const InstalledPaths &installed)
{
    size_t read = 0, written = 0;
    while (read < length)
    {
        // A source is never empty: an empty text here ends the list.
        const size_t sourceLength = TextLength(operations, read, length);
        const size_t destination = read + sourceLength + 1;
        if (sourceLength == 0 || destination >= length)
            break;
        const size_t destinationLength = TextLength(operations, destination, length);
        const size_t next = destination + destinationLength + 1;
        if (next > length)
            break;
        const bool ours = destinationLength == 0 && IsInstalled(operations + read, sourceLength, installed);
        if (!ours)
        {
            memmove(operations + written, operations + read, (next - read) * sizeof(WCHAR));
            written += next - read;
        }
        read = next;
    }
    // The list's end, or a pair cut short: not ours to judge.
    memmove(operations + written, operations + read, (length - read) * sizeof(WCHAR));
    return written + (length - read);
}

size_t RemoveInstalledWininitLines(char *text, size_t length, const InstalledPaths &installed)
{
    size_t read = 0, written = 0;
    bool inRename = false;
    while (read < length)
    {
        const char *newline = static_cast<const char *>(memchr(text + read, '\n', length - read));
        const size_t end = newline != NULL ? static_cast<size_t>(newline - text) : length;
        const size_t next = newline != NULL ? end + 1 : end;
        const Span line = Trimmed(text + read, end - read);
        bool drop = false;
        if (line.length > 0 && line.text[0] == '[')
            inRename = OpensRenameSection(line);
        else if (inRename)
            drop = DeletesInstalled(line, installed);
        if (!drop)
        {
            memmove(text + written, text + read, next - read);
            written += next - read;
        }
        read = next;
    }
    return written;
}
