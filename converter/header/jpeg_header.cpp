// Markers are 0xFF and a code byte, any number of 0xFF fill bytes before
// them. Most are followed by a two-byte big-endian length that counts itself;
// the entropy-coded data after a scan header is not, and in it 0xFF is
// either stuffed (0xFF 0x00) or a restart marker (0xD0 to 0xD7), so the next
// other marker ends the scan. Stray bytes between segments are skipped, as
// the decoders themselves do.
#include "jpeg_header.h"

#include <stdlib.h>
#include <string.h>

#include <memory>

#include "byte_reader.h"
#include "exif_orientation.h"

namespace
{
const uint8_t StartOfImage = 0xD8;
const uint8_t EndOfImage = 0xD9;
const uint8_t StartOfScan = 0xDA;
const uint8_t App1 = 0xE1;
const uint8_t Temporary = 0x01;
const size_t ExifPrefixBytes = 6;
const size_t MaxSegmentPayload = 65533;

struct FreeMemory
{
    void operator()(uint8_t *memory) const { free(memory); }
};

bool IsRestart(uint8_t code)
{
    return code >= 0xD0 && code <= 0xD7;
}

// The frame headers: 0xC0 to 0xCF except the Huffman table (C4), the
// reserved JPG extension (C8) and the arithmetic conditioning (CC) markers.
bool IsFrameHeader(uint8_t code)
{
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

class MarkerWalk
{
public:
    explicit MarkerWalk(ByteSource &source)
        : reader(source), width(0), height(0), orientation(UprightOrientation), sawExif(false)
    {
    }

    LayoutCheck Run(PictureLayout *layout);

private:
    // The code of the marker after the 0xFF just read, fill bytes skipped.
    // Zero when the 0xFF was a stuffed data byte rather than a marker.
    bool CodeAfterFF(uint8_t *code);
    bool NextMarker(uint8_t *code);
    bool EndOfScan(uint8_t *code);
    LayoutCheck Segment(uint8_t code, bool *sawFrame);
    LayoutCheck ReadFrameHeader(size_t payload);
    LayoutCheck ReadApp1(size_t payload);
    // End of stream, or a read error.
    LayoutCheck Ended() const { return reader.Failed() ? LayoutUnreadable : LayoutTruncated; }

    ByteReader reader;
    uint32_t width;
    uint32_t height;
    int orientation;
    bool sawExif;
};

bool MarkerWalk::CodeAfterFF(uint8_t *code)
{
    do
    {
        if (!reader.Byte(code))
            return false;
    } while (*code == 0xFF);
    return true;
}

bool MarkerWalk::NextMarker(uint8_t *code)
{
    do
    {
        if (!reader.SkipPastFF() || !CodeAfterFF(code))
            return false;
    } while (*code == 0x00);
    return true;
}

bool MarkerWalk::EndOfScan(uint8_t *code)
{
    do
    {
        if (!reader.SkipPastFF() || !CodeAfterFF(code))
            return false;
    } while (*code == 0x00 || IsRestart(*code));
    return true;
}

LayoutCheck MarkerWalk::ReadFrameHeader(size_t payload)
{
    // Precision, height, width, component count, then the components.
    uint8_t header[6];
    if (payload < sizeof(header))
        return LayoutDamaged;
    if (!reader.Bytes(header, sizeof(header)) || !reader.Skip(payload - sizeof(header)))
        return Ended();
    height = static_cast<uint32_t>(header[1]) << 8 | header[2];
    width = static_cast<uint32_t>(header[3]) << 8 | header[4];
    return LayoutWhole;
}

LayoutCheck MarkerWalk::ReadApp1(size_t payload)
{
    if (sawExif || payload < ExifPrefixBytes)
        return reader.Skip(payload) ? LayoutWhole : Ended();
    uint8_t prefix[ExifPrefixBytes];
    if (!reader.Bytes(prefix, sizeof(prefix)))
        return Ended();
    if (!IsExifSegment(prefix, sizeof(prefix)))
        return reader.Skip(payload - sizeof(prefix)) ? LayoutWhole : Ended();
    // Other APP1 segments (XMP) share the marker; only the first EXIF one
    // speaks for the picture.
    sawExif = true;
    // Off the stack, which the wallpaper run shares with the system's
    // decoder, and from malloc: operator new would throw when memory is short.
    const std::unique_ptr<uint8_t, FreeMemory> segment(static_cast<uint8_t *>(malloc(MaxSegmentPayload)));
    if (!segment)
        return LayoutUnreadable;
    memcpy(segment.get(), prefix, sizeof(prefix));
    if (!reader.Bytes(segment.get() + sizeof(prefix), payload - sizeof(prefix)))
        return Ended();
    orientation = ExifOrientation(segment.get(), payload);
    return LayoutWhole;
}

LayoutCheck MarkerWalk::Segment(uint8_t code, bool *sawFrame)
{
    uint8_t length[2];
    if (!reader.Bytes(length, sizeof(length)))
        return Ended();
    const size_t counted = static_cast<size_t>(length[0]) << 8 | length[1];
    if (counted < 2)
        return LayoutDamaged;
    const size_t payload = counted - 2;
    if (IsFrameHeader(code))
    {
        if (*sawFrame)
            return LayoutDamaged;
        *sawFrame = true;
        return ReadFrameHeader(payload);
    }
    if (code == StartOfScan && !*sawFrame)
        return LayoutDamaged;
    if (code == App1)
        return ReadApp1(payload);
    return reader.Skip(payload) ? LayoutWhole : Ended();
}

LayoutCheck MarkerWalk::Run(PictureLayout *layout)
{
    uint8_t start[2];
    if (!reader.Bytes(start, sizeof(start)))
        return reader.Failed() ? LayoutUnreadable : LayoutDamaged;
    if (start[0] != 0xFF || start[1] != StartOfImage)
        return LayoutDamaged;

    bool sawFrame = false, sawScan = false;
    uint8_t code = 0;
    if (!NextMarker(&code))
        return Ended();
    for (;;)
    {
        if (code == StartOfImage)
            return LayoutDamaged;
        if (code == EndOfImage)
        {
            if (!sawScan)
                return LayoutDamaged;
            layout->width = width;
            layout->height = height;
            layout->orientation = orientation;
            layout->frameLeft = 0;
            layout->frameTop = 0;
            layout->frameWidth = width;
            layout->frameHeight = height;
            return LayoutWhole;
        }
        if (code != Temporary && !IsRestart(code))
        {
            const LayoutCheck check = Segment(code, &sawFrame);
            if (check != LayoutWhole)
                return check;
        }
        if (code == StartOfScan)
        {
            sawScan = true;
            if (!EndOfScan(&code))
                return Ended();
        }
        else if (!NextMarker(&code))
            return Ended();
    }
}
}

LayoutCheck WalkJpegLayout(ByteSource &source, PictureLayout *layout)
{
    MarkerWalk walk(source);
    return walk.Run(layout);
}
