// What the walks' fuzzers share: the input in pieces, as a stream may
// deliver a file, so that each walk's answer can be checked not to depend on
// how its bytes arrive, and a broken promise ending the run as a finding.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "byte_source.h"

// The input in pieces of at most piece bytes, as a stream may deliver a file;
// after the last, either the end or a read error.
class PieceSource : public ByteSource
{
public:
    PieceSource(const uint8_t *data, size_t size, size_t piece, bool failsAtEnd)
        : data(data), size(size), piece(piece), failsAtEnd(failsAtEnd), offset(0)
    {
    }

    bool Read(uint8_t *buffer, size_t capacity, size_t *read) override
    {
        if (offset == size && failsAtEnd)
            return false;
        size_t take = size - offset;
        if (take > piece)
            take = piece;
        if (take > capacity)
            take = capacity;
        if (take > 0)
            memcpy(buffer, data + offset, take);
        offset += take;
        *read = take;
        return true;
    }

    bool Seek(uint64_t to) override
    {
        offset = to < size ? static_cast<size_t>(to) : size;
        return true;
    }

    bool Length(uint64_t *length) override
    {
        *length = size;
        return true;
    }

private:
    const uint8_t *data;
    size_t size;
    size_t piece;
    bool failsAtEnd;
    size_t offset;
};

inline void Require(bool promise)
{
    if (!promise)
        abort();
}
