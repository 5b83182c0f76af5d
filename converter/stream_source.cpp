#include "stream_source.h"

#include "jpeg_layout.h"

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

JpegCheck ReadJpegLayout(IStream *stream, JpegLayout *layout)
{
    StreamSource source(stream);
    return WalkJpegLayout(source, layout);
}
