// Where the parsers' bytes come from: a file's stream in the converter, a
// block of memory under the fuzzer. The parsers themselves know nothing of
// the platform, so they build and run on any compiler.
#pragma once

#include <stddef.h>
#include <stdint.h>

class ByteSource
{
public:
    // Up to capacity bytes into buffer, their number in *read; zero of them
    // at the end. False on a read error, which is not the end.
    virtual bool Read(uint8_t *buffer, size_t capacity, size_t *read) = 0;
    // The next Read starts offset bytes from the start. An offset past the
    // end is allowed, and reads there find the end; false on an error.
    virtual bool Seek(uint64_t offset) = 0;
    // The number of bytes the whole source holds.
    virtual bool Length(uint64_t *length) = 0;

protected:
    ~ByteSource() {}
};
