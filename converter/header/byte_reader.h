// Reading a source byte by byte through a buffer of our own, so that walking
// a JPEG's markers costs one read of the source per few kilobytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "byte_source.h"

class ByteReader
{
public:
    explicit ByteReader(ByteSource &source) : source(source), start(0), filled(0), next(0), failed(false) {}
    ByteReader(const ByteReader &) = delete;
    ByteReader &operator=(const ByteReader &) = delete;

    // Each is false at the end of the source or on a read error.
    bool Byte(uint8_t *value);
    bool Bytes(uint8_t *out, size_t count);
    bool Skip(size_t count);
    // Reads up to and including the next 0xFF byte.
    bool SkipPastFF();
    // The next byte read is the one offset bytes from the source's start:
    // within what is buffered at no cost, else by seeking the source.
    bool SeekTo(uint64_t offset);
    // Where the next byte read lies in the source. A reader that did not
    // start at the source's beginning counts from where it started.
    uint64_t Position() const { return start + next; }
    // True when a read failed for a reason other than reaching the end.
    bool Failed() const { return failed; }

private:
    bool Refill();

    ByteSource &source;
    uint8_t buffer[16384];
    uint64_t start; // the source offset of buffer[0]
    size_t filled;
    size_t next;
    bool failed;
};
