// The converter's files as the parsers read them: a thin adaptor from an
// IStream to the platform-free ByteSource.
#pragma once

#include <windows.h>

#include <objidl.h>

#include "byte_source.h"

class StreamSource : public ByteSource
{
public:
    explicit StreamSource(IStream *stream) : stream(stream) {}

    bool Read(uint8_t *buffer, size_t capacity, size_t *read) override;
    bool Seek(uint64_t offset) override;
    bool Length(uint64_t *length) override;

private:
    IStream *stream;
};
