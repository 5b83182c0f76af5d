// Reading a stream byte by byte through a buffer of our own, so that walking
// a JPEG's markers costs one stream call per few kilobytes.
#pragma once

#include <windows.h>

#include <objidl.h>

class StreamReader
{
public:
    explicit StreamReader(IStream *stream) : stream(stream), filled(0), next(0), failed(false) {}
    StreamReader(const StreamReader &) = delete;
    StreamReader &operator=(const StreamReader &) = delete;

    // Each is false at the end of the stream or on a read error.
    bool Byte(BYTE *value);
    bool Bytes(BYTE *out, size_t count);
    bool Skip(size_t count);
    // Reads up to and including the next 0xFF byte.
    bool SkipPastFF();
    // True when a read failed for a reason other than reaching the end.
    bool Failed() const { return failed; }

private:
    bool Refill();

    IStream *stream;
    BYTE buffer[16384];
    ULONG filled;
    ULONG next;
    bool failed;
};
