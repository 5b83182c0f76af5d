#include "stream_reader.h"

#include <string.h>

bool StreamReader::Refill()
{
    if (failed)
        return false;
    ULONG read = 0;
    const HRESULT hr = stream->Read(buffer, sizeof(buffer), &read);
    // S_FALSE with fewer bytes is how a stream reports its end.
    if (FAILED(hr))
    {
        failed = true;
        return false;
    }
    filled = read;
    next = 0;
    return read > 0;
}

bool StreamReader::Byte(BYTE *value)
{
    if (next == filled && !Refill())
        return false;
    *value = buffer[next++];
    return true;
}

bool StreamReader::Bytes(BYTE *out, size_t count)
{
    while (count > 0)
    {
        if (next == filled && !Refill())
            return false;
        const size_t take = count < filled - next ? count : filled - next;
        memcpy(out, buffer + next, take);
        next += static_cast<ULONG>(take);
        out += take;
        count -= take;
    }
    return true;
}

bool StreamReader::Skip(size_t count)
{
    while (count > 0)
    {
        if (next == filled && !Refill())
            return false;
        const size_t take = count < filled - next ? count : filled - next;
        next += static_cast<ULONG>(take);
        count -= take;
    }
    return true;
}

bool StreamReader::SkipPastFF()
{
    for (;;)
    {
        if (next == filled && !Refill())
            return false;
        const void *found = memchr(buffer + next, 0xFF, filled - next);
        if (found != NULL)
        {
            next = static_cast<ULONG>(static_cast<const BYTE *>(found) - buffer) + 1;
            return true;
        }
        next = filled;
    }
}
