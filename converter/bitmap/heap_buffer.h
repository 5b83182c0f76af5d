// Memory that a failure cannot turn into an exception: plain operator new
// throws std::bad_alloc, which no caller of a GCC-built DLL can catch, so
// the writers' pixels come from the process heap, checked.
#pragma once

#include <windows.h>

#include <stddef.h>

class HeapBuffer
{
public:
    // Null data() when the heap cannot give that much. Zeroed memory is
    // asked for where bytes no copy writes (row padding) reach the file.
    HeapBuffer(size_t bytes, bool zeroed)
        : bytes(static_cast<BYTE *>(HeapAlloc(GetProcessHeap(), zeroed ? HEAP_ZERO_MEMORY : 0, bytes)))
    {
    }
    ~HeapBuffer()
    {
        if (bytes != NULL)
            HeapFree(GetProcessHeap(), 0, bytes);
    }
    HeapBuffer(const HeapBuffer &) = delete;
    HeapBuffer &operator=(const HeapBuffer &) = delete;

    BYTE *data() const { return bytes; }

private:
    BYTE *const bytes;
};
