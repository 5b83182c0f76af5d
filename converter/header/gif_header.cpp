// A GIF is a six-byte signature, a logical screen descriptor (width, height,
// flags, background colour, aspect ratio) and an optional global colour
// table, then blocks each opened by one byte: 0x21 an extension (a label and
// data sub-blocks), 0x2C a frame (an image descriptor, an optional local
// colour table, the LZW code size and data sub-blocks), 0x3B the trailer.
// Data sub-blocks are a size byte and that many bytes, ended by a size of 0.
// Numbers are little-endian.
#include "gif_header.h"

#include <string.h>

#include "byte_reader.h"

namespace
{
const size_t SignatureBytes = 6;
const size_t ScreenBytes = 7;
const size_t DescriptorBytes = 9;
const uint8_t ExtensionIntroducer = 0x21;
const uint8_t ImageSeparator = 0x2C;
const uint8_t ColourTableFlag = 0x80;
const uint8_t ColourTableSizeBits = 0x07;
// Encoders write 2 to 8; 1 and sizes up to the 12-bit code limit less one
// occur in files that decoders read.
const uint8_t MinCodeSize = 1;
const uint8_t MaxCodeSize = 11;

uint32_t LittleEndian16(const uint8_t *bytes)
{
    return static_cast<uint32_t>(bytes[1]) << 8 | bytes[0];
}

// Three bytes per colour, 2 to 256 colours as the flags' low bits say.
size_t ColourTableBytes(uint8_t flags)
{
    return (flags & ColourTableFlag) ? 3u << ((flags & ColourTableSizeBits) + 1) : 0;
}

class BlockWalk
{
public:
    explicit BlockWalk(ByteSource &source) : reader(source) {}

    LayoutCheck Run(PictureLayout *layout);

private:
    bool SkipSubBlocks();
    LayoutCheck ReadFrame(uint32_t screenWidth, uint32_t screenHeight, PictureLayout *layout);
    LayoutCheck Ended() const { return reader.Failed() ? LayoutUnreadable : LayoutTruncated; }

    ByteReader reader;
};

bool BlockWalk::SkipSubBlocks()
{
    for (;;)
    {
        uint8_t size = 0;
        if (!reader.Byte(&size))
            return false;
        if (size == 0)
            return true;
        if (!reader.Skip(size))
            return false;
    }
}

LayoutCheck BlockWalk::ReadFrame(uint32_t screenWidth, uint32_t screenHeight, PictureLayout *layout)
{
    // Left, top, width, height, flags.
    uint8_t descriptor[DescriptorBytes];
    if (!reader.Bytes(descriptor, sizeof(descriptor)))
        return Ended();
    const uint32_t left = LittleEndian16(descriptor);
    const uint32_t top = LittleEndian16(descriptor + 2);
    const uint32_t width = LittleEndian16(descriptor + 4);
    const uint32_t height = LittleEndian16(descriptor + 6);
    if (width == 0 || height == 0)
        return LayoutDamaged;
    uint8_t codeSize = 0;
    if (!reader.Skip(ColourTableBytes(descriptor[8])) || !reader.Byte(&codeSize))
        return Ended();
    if (codeSize < MinCodeSize || codeSize > MaxCodeSize)
        return LayoutDamaged;
    if (!SkipSubBlocks())
        return Ended();
    // Each term is at most 2^17 - 2: no sum overflows.
    layout->width = left + width > screenWidth ? left + width : screenWidth;
    layout->height = top + height > screenHeight ? top + height : screenHeight;
    layout->orientation = 1;
    layout->frameLeft = left;
    layout->frameTop = top;
    layout->frameWidth = width;
    layout->frameHeight = height;
    return LayoutWhole;
}

LayoutCheck BlockWalk::Run(PictureLayout *layout)
{
    uint8_t signature[SignatureBytes];
    if (!reader.Bytes(signature, sizeof(signature)))
        return reader.Failed() ? LayoutUnreadable : LayoutDamaged;
    if (memcmp(signature, "GIF87a", sizeof(signature)) != 0 && memcmp(signature, "GIF89a", sizeof(signature)) != 0)
        return LayoutDamaged;
    // Width, height, flags, background colour, aspect ratio.
    uint8_t screen[ScreenBytes];
    if (!reader.Bytes(screen, sizeof(screen)) || !reader.Skip(ColourTableBytes(screen[4])))
        return Ended();
    for (;;)
    {
        uint8_t introducer = 0, label = 0;
        if (!reader.Byte(&introducer))
            return Ended();
        if (introducer == ImageSeparator)
            return ReadFrame(LittleEndian16(screen), LittleEndian16(screen + 2), layout);
        // The trailer or any other byte here: no frame comes.
        if (introducer != ExtensionIntroducer)
            return LayoutDamaged;
        if (!reader.Byte(&label) || !SkipSubBlocks())
            return Ended();
    }
}
}

LayoutCheck WalkGifLayout(ByteSource &source, PictureLayout *layout)
{
    if (!source.Seek(0))
        return LayoutUnreadable;
    BlockWalk walk(source);
    return walk.Run(layout);
}
