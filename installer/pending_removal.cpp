#include "pending_removal.h"

#include <string.h>

#include <string>

namespace
{
// The length of the text starting at text[at], stopping at its terminator
// or at end.
size_t TextLength(const WCHAR *text, size_t at, size_t end)
{
    size_t length = 0;
    while (at + length < end && text[at + length] != 0)
        ++length;
    return length;
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
bool DeletesInstalled(const Span &line, const InstalledFiles &installed)
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
    // An ANSI character becomes at most one WCHAR.
    std::wstring path(value.length, L'\0');
    const int converted = value.length == 0 ? 0
                                            : MultiByteToWideChar(CP_ACP, 0, value.text, static_cast<int>(value.length),
                                                                  &path[0], static_cast<int>(path.size()));
    return converted > 0 && NamesInstalled(path.c_str(), static_cast<size_t>(converted), installed);
}

// Where the whole pairs of a list end: at an empty source, a pair cut short
// or the end.
size_t EndOfPairs(const WCHAR *operations, size_t length)
{
    size_t read = 0;
    while (read < length)
    {
        // A source is never empty: an empty text here ends the list.
        const size_t sourceLength = TextLength(operations, read, length);
        const size_t destination = read + sourceLength + 1;
        if (sourceLength == 0 || destination >= length)
            break;
        const size_t next = destination + TextLength(operations, destination, length) + 1;
        if (next > length)
            break;
        read = next;
    }
    return read;
}
}

Removal RemoveInstalledDeletions(WCHAR *operations, size_t length, const InstalledFiles &installed)
{
    const size_t end = EndOfPairs(operations, length);
    // What follows is not a list Windows reads as pairs: not ours to edit,
    // and a deletion of ours in it may still be carried out.
    if (MayDeleteInstalled(operations + end, length - end, installed))
    {
        const Removal untouched = {length, true};
        return untouched;
    }
    size_t read = 0, written = 0;
    while (read < end)
    {
        const size_t sourceLength = TextLength(operations, read, end);
        const size_t destination = read + sourceLength + 1;
        const size_t destinationLength = TextLength(operations, destination, end);
        const size_t next = destination + destinationLength + 1;
        const bool ours = destinationLength == 0 && NamesInstalled(operations + read, sourceLength, installed);
        if (!ours)
        {
            memmove(operations + written, operations + read, (next - read) * sizeof(WCHAR));
            written += next - read;
        }
        read = next;
    }
    memmove(operations + written, operations + end, (length - end) * sizeof(WCHAR));
    const Removal removal = {written + (length - end), false};
    return removal;
}

bool MayDeleteInstalled(const WCHAR *texts, size_t length, const InstalledFiles &installed)
{
    size_t read = 0;
    while (read < length)
    {
        const size_t textLength = TextLength(texts, read, length);
        const size_t next = read + textLength + 1;
        const bool deletion = next >= length || texts[next] == 0;
        if (textLength > 0 && deletion && NamesInstalled(texts + read, textLength, installed))
            return true;
        read = next;
    }
    return false;
}

size_t RemoveInstalledWininitLines(char *text, size_t length, const InstalledFiles &installed)
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
