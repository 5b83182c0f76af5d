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

protected:
    ~ByteSource() {}
};
