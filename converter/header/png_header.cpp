// A PNG is an eight-byte signature and then chunks: a four-byte big-endian
// data length, a four-letter name, the data and a four-byte CRC. The case of
// a name's first letter says whether a decoder may skip the chunk unknown
// (lower case) or must give up on it (upper case). The CRCs are left to the
// decoder: a file whose checksums fail is damaged in its bytes, not in the
// sizes this walk guards.
#include "png_header.h"

#include <string.h>

#include "byte_reader.h"

namespace
{
const uint8_t Signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const uint32_t MaxChunkLength = 0x7FFFFFFF;
const uint32_t MaxDimension = 0x7FFFFFFF;
const size_t ChunkHeaderBytes = 8; // length and name
const size_t CrcBytes = 4;
const uint32_t HeaderLength = 13;
const uint8_t PaletteColour = 3;
const uint32_t MaxPaletteLength = 3 * 256;

uint32_t BigEndian32(const uint8_t *bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

bool IsLetter(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsChunkName(const uint8_t *name)
{
    return IsLetter(name[0]) && IsLetter(name[1]) && IsLetter(name[2]) && IsLetter(name[3]);
}

bool IsCritical(const uint8_t *name)
{
    return name[0] >= 'A' && name[0] <= 'Z';
}

bool Named(const uint8_t *name, const char *expected)
{
    return memcmp(name, expected, 4) == 0;
}

// The bit depths each colour type allows: grey, RGB, palette, grey with
// alpha, RGB with alpha.
bool DepthFitsColour(uint8_t depth, uint8_t colour)
{
    switch (colour)
    {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case PaletteColour:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

enum PixelData
{
    NoPixelData,
    InPixelData,
    AfterPixelData,
};

class ChunkWalk
{
public:
    ChunkWalk(ByteSource &source, uint64_t fileLength)
        : reader(source), fileLength(fileLength), width(0), height(0), colour(0), sawPalette(false),
          pixelData(NoPixelData)
    {
    }

    LayoutCheck Run(PictureLayout *layout);

private:
    LayoutCheck ReadHeader(uint32_t length);
    // Whether a chunk other than IHDR and IEND may stand where it does.
    LayoutCheck Placed(const uint8_t *name, uint32_t length);
    LayoutCheck Ended() const { return reader.Failed() ? LayoutUnreadable : LayoutTruncated; }

    ByteReader reader;
    uint64_t fileLength;
    uint32_t width;
    uint32_t height;
    uint8_t colour;
    bool sawPalette;
    PixelData pixelData;
};

LayoutCheck ChunkWalk::ReadHeader(uint32_t length)
{
    // Width, height, bit depth, colour type, compression, filter, interlace.
    uint8_t header[HeaderLength];
    if (length != HeaderLength)
        return LayoutDamaged;
    if (!reader.Bytes(header, sizeof(header)))
        return Ended();
    width = BigEndian32(header);
    height = BigEndian32(header + 4);
    colour = header[9];
    if (width == 0 || width > MaxDimension || height == 0 || height > MaxDimension)
        return LayoutDamaged;
    if (!DepthFitsColour(header[8], colour) || header[10] != 0 || header[11] != 0 || header[12] > 1)
        return LayoutDamaged;
    return LayoutWhole;
}

LayoutCheck ChunkWalk::Placed(const uint8_t *name, uint32_t length)
{
    if (Named(name, "IDAT"))
    {
        if (pixelData == AfterPixelData || (colour == PaletteColour && !sawPalette))
            return LayoutDamaged;
        pixelData = InPixelData;
        return LayoutWhole;
    }
    if (pixelData == InPixelData)
        pixelData = AfterPixelData;
    if (Named(name, "PLTE"))
    {
        if (sawPalette || pixelData != NoPixelData)
            return LayoutDamaged;
        // Other colour types may carry a suggested palette, which decoders
        // skip when it is malformed; a palette picture's own must be whole.
        if (colour == PaletteColour && (length == 0 || length % 3 != 0 || length > MaxPaletteLength))
            return LayoutDamaged;
        sawPalette = true;
        return LayoutWhole;
    }
    return IsCritical(name) ? LayoutDamaged : LayoutWhole;
}

LayoutCheck ChunkWalk::Run(PictureLayout *layout)
{
    uint8_t signature[sizeof(Signature)];
    if (!reader.Bytes(signature, sizeof(signature)))
        return reader.Failed() ? LayoutUnreadable : LayoutDamaged;
    if (memcmp(signature, Signature, sizeof(Signature)) != 0)
        return LayoutDamaged;

    uint64_t chunk = sizeof(Signature);
    for (bool first = true;; first = false)
    {
        uint8_t header[ChunkHeaderBytes];
        if (!reader.Bytes(header, sizeof(header)))
            return Ended();
        const uint32_t length = BigEndian32(header);
        const uint8_t *name = header + 4;
        if (length > MaxChunkLength || !IsChunkName(name))
            return LayoutDamaged;
        if (first != Named(name, "IHDR"))
            return LayoutDamaged;
        LayoutCheck check;
        if (first)
            check = ReadHeader(length);
        else if (Named(name, "IEND"))
        {
            // IEND holds nothing but its CRC, which must be there too: a
            // copy cut anywhere before the file's end is an interrupted one,
            // as for JPEG's end-of-image marker.
            if (pixelData == NoPixelData)
                return LayoutDamaged;
            if (chunk + ChunkHeaderBytes + length + CrcBytes > fileLength)
                return LayoutTruncated;
            layout->width = width;
            layout->height = height;
            layout->orientation = 1;
            layout->frameLeft = 0;
            layout->frameTop = 0;
            layout->frameWidth = width;
            layout->frameHeight = height;
            return LayoutWhole;
        }
        else
            check = Placed(name, length);
        if (check != LayoutWhole)
            return check;
        // Past the data by the file's length, not by reading: a picture's
        // data is most of its file, and a chunk that runs past the end is
        // known before any of it is read.
        const uint64_t next = chunk + ChunkHeaderBytes + length + CrcBytes;
        if (next > fileLength)
            return LayoutTruncated;
        if (!reader.SeekTo(next))
            return LayoutUnreadable;
        chunk = next;
    }
}
}

LayoutCheck WalkPngLayout(ByteSource &source, PictureLayout *layout)
{
    uint64_t fileLength = 0;
    if (!source.Seek(0) || !source.Length(&fileLength))
        return LayoutUnreadable;
    ChunkWalk walk(source, fileLength);
    return walk.Run(layout);
}
