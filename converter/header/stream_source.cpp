#include "stream_source.h"

bool StreamSource::Read(uint8_t *buffer, size_t capacity, size_t *read)
{
    // The reader asks for a buffer's worth, which a ULONG always counts; a
    // larger ask gets a shorter read, as any stream may give.
    const ULONG asked = static_cast<ULONG>(capacity < 0x10000000u ? capacity : 0x10000000u);
    ULONG got = 0;
    // S_FALSE with fewer bytes is how a stream reports its end.
    if (FAILED(stream->Read(buffer, asked, &got)))
        return false;
    *read = got;
    return true;
}

bool StreamSource::Seek(uint64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return offset <= 0x7FFFFFFFFFFFFFFFull && SUCCEEDED(stream->Seek(to, STREAM_SEEK_SET, NULL));
}

bool StreamSource::Length(uint64_t *length)
{
    STATSTG stat;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return false;
    *length = stat.cbSize.QuadPart;
    return true;
}
