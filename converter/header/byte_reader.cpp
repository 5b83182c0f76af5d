#include "byte_reader.h"

#include <string.h>

bool ByteReader::Refill()
{
    if (failed)
        return false;
    start += filled;
    filled = 0;
    next = 0;
    size_t read = 0;
    // A source that claims more bytes than there was room for is broken: what
    // it wrote cannot be trusted, so it counts as a failed read.
    if (!source.Read(buffer, sizeof(buffer), &read) || read > sizeof(buffer))
    {
        failed = true;
        return false;
    }
    filled = read;
    return read > 0;
}

bool ByteReader::Byte(uint8_t *value)
{
    if (next == filled && !Refill())
        return false;
    *value = buffer[next++];
    return true;
}

bool ByteReader::Bytes(uint8_t *out, size_t count)
{
    while (count > 0)
    {
        if (next == filled && !Refill())
            return false;
        const size_t take = count < filled - next ? count : filled - next;
        memcpy(out, buffer + next, take);
        next += take;
        out += take;
        count -= take;
    }
    return true;
}

bool ByteReader::Skip(size_t count)
{
    while (count > 0)
    {
        if (next == filled && !Refill())
            return false;
        const size_t take = count < filled - next ? count : filled - next;
        next += take;
        count -= take;
    }
    return true;
}

bool ByteReader::SkipPastFF()
{
    for (;;)
    {
        if (next == filled && !Refill())
            return false;
        const void *found = memchr(buffer + next, 0xFF, filled - next);
        if (found != NULL)
        {
            next = static_cast<size_t>(static_cast<const uint8_t *>(found) - buffer) + 1;
            return true;
        }
        next = filled;
    }
}

bool ByteReader::SeekTo(uint64_t offset)
{
    if (failed)
        return false;
    if (offset >= start && offset - start <= filled)
    {
        next = static_cast<size_t>(offset - start);
        return true;
    }
    if (!source.Seek(offset))
    {
        failed = true;
        return false;
    }
    start = offset;
    filled = 0;
    next = 0;
    return true;
}
