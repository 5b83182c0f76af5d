// The format sniffer and the PNG, GIF and TIFF header walks, on files built
// in memory and read through the converter's own stream adaptor: the sizes
// they must find, and the damaged and cut files they must turn away.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <vector>

#include "gif_header.h"
#include "picture_format.h"
#include "png_header.h"
#include "stream_source.h"
#include "tiff_header.h"

namespace
{
typedef std::vector<BYTE> Bytes;
typedef LayoutCheck (*Walk)(ByteSource &source, PictureLayout *layout);

void Put(Bytes *bytes, DWORD value, int size, bool bigEndian)
{
    for (int i = 0; i < size; ++i)
        bytes->push_back(static_cast<BYTE>(value >> 8 * (bigEndian ? size - 1 - i : i)));
}

void Append(Bytes *bytes, const Bytes &more)
{
    bytes->insert(bytes->end(), more.begin(), more.end());
}

// The walk leaves CRCs to the decoder, so they are left 0.
Bytes Chunk(const char *name, const Bytes &data)
{
    Bytes bytes;
    Put(&bytes, static_cast<DWORD>(data.size()), 4, true);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<BYTE>(name[i]));
    Append(&bytes, data);
    Put(&bytes, 0, 4, true);
    return bytes;
}

Bytes Png(DWORD width, DWORD height, BYTE colour, bool palette)
{
    Bytes header, bytes = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Put(&header, width, 4, true);
    Put(&header, height, 4, true);
    header.insert(header.end(), {8, colour, 0, 0, 0});
    Append(&bytes, Chunk("IHDR", header));
    if (palette)
        Append(&bytes, Chunk("PLTE", Bytes(6, 0x80)));
    Append(&bytes, Chunk("IDAT", Bytes(40, 0x55)));
    Append(&bytes, Chunk("IEND", Bytes()));
    return bytes;
}

// A 2-colour screen, a graphic control extension, then one frame.
Bytes Gif(WORD screenWidth, WORD screenHeight, WORD left, WORD top, WORD width, WORD height)
{
    Bytes bytes = {'G', 'I', 'F', '8', '9', 'a'};
    for (WORD value : {screenWidth, screenHeight})
        Put(&bytes, value, 2, false);
    bytes.insert(bytes.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x2C});
    for (WORD value : {left, top, width, height})
        Put(&bytes, value, 2, false);
    bytes.insert(bytes.end(), {0, 2, 2, 0x4C, 0x01, 0, 0x3B});
    return bytes;
}

// A little-endian TIFF: the header, four pixel bytes at 8, then a directory
// at 12 with the size, one strip and the orientation, and its link.
Bytes Tiff(WORD width, WORD height, WORD orientation, DWORD stripBytes, DWORD next)
{
    Bytes bytes = {'I', 'I', 42, 0, 12, 0, 0, 0, 1, 2, 3, 4, 5, 0};
    const DWORD entries[5][3] = {{256 | 3 << 16, width}, {257 | 3 << 16, height}, {273 | 4 << 16, 8},
                                 {274 | 3 << 16, orientation}, {279 | 4 << 16, stripBytes}};
    for (const DWORD *entry : entries)
    {
        Put(&bytes, entry[0], 4, false); // tag and type
        Put(&bytes, 1, 4, false);
        Put(&bytes, entry[1], 4, false);
    }
    Put(&bytes, next, 4, false);
    return bytes;
}

Bytes Cut(const Bytes &bytes, size_t less)
{
    return Bytes(bytes.begin(), bytes.end() - less);
}

TEST(PictureHeader, SniffsEachFormatBySignature)
{
    const Bytes heif = {0, 0, 0, 24, 'f', 't', 'y', 'p', 'm', 'i', 'a', 'f', 0, 0, 0, 0, 'm', 'i', 'a', 'f', 'a', 'v', 'i', 'f'};
    const struct
    {
        Bytes head;
        PictureFormat format;
    } rows[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0}, JpegFormat},
        {Png(1, 1, 2, false), PngFormat},
        {Gif(1, 1, 0, 0, 1, 1), GifFormat},
        {Tiff(1, 1, 1, 4, 0), TiffFormat},
        {{'M', 'M', 0, 42}, TiffFormat},
        {{'I', 'I', 0xBC, 1}, JpegXrFormat},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'E', 'B', 'P'}, WebpFormat},
        {heif, HeifFormat},
        {{'B', 'M', 0x3A, 0}, BmpFormat},
        {{'G', 'I', 'F', '8', '8', 'a'}, UnknownFormat},
        {{'I', 'I', 43, 0}, UnknownFormat},
        {Cut(heif, 4), UnknownFormat},
    };
    for (const auto &row : rows)
        EXPECT_EQ(SniffPictureFormat(&row.head[0], row.head.size()), row.format) << "row " << &row - rows;
}

TEST(PictureHeader, WalksFindSizesAndRefuseBrokenFiles)
{
    const Bytes gifNoFrames = {'G', 'I', 'F', '8', '9', 'a', 8, 0, 8, 0, 0, 0, 0, 0x3B};
    const struct
    {
        Walk walk;
        Bytes file;
        LayoutCheck check;
        PictureLayout layout; // width, height, orientation, frame left, top, width, height
    } rows[] = {
        {WalkPngLayout, Png(640, 480, 2, false), LayoutWhole, {640, 480, 1, 0, 0, 640, 480}},
        {WalkPngLayout, Png(7, 5, 3, true), LayoutWhole, {7, 5, 1, 0, 0, 7, 5}},
        {WalkPngLayout, Png(40000, 40000, 6, false), LayoutWhole, {40000, 40000, 1, 0, 0, 40000, 40000}},
        {WalkPngLayout, Cut(Png(640, 480, 2, false), 20), LayoutTruncated, {}},
        {WalkPngLayout, Cut(Png(640, 480, 2, false), 4), LayoutTruncated, {}},
        {WalkPngLayout, Png(7, 5, 3, false), LayoutDamaged, {}},
        {WalkGifLayout, Gif(10, 8, 2, 3, 4, 2), LayoutWhole, {10, 8, 1, 2, 3, 4, 2}},
        {WalkGifLayout, Gif(10, 8, 8, 7, 5, 6), LayoutWhole, {13, 13, 1, 8, 7, 5, 6}},
        {WalkGifLayout, Cut(Gif(10, 8, 2, 3, 4, 2), 4), LayoutTruncated, {}},
        {WalkGifLayout, gifNoFrames, LayoutDamaged, {}},
        {WalkGifLayout, Gif(10, 8, 2, 3, 0, 2), LayoutDamaged, {}},
        {WalkTiffLayout, Tiff(300, 200, 6, 4, 0), LayoutWhole, {300, 200, 6, 0, 0, 300, 200}},
        {WalkTiffLayout, Tiff(300, 200, 9, 6, 0), LayoutWhole, {300, 200, 1, 0, 0, 300, 200}},
        {WalkTiffLayout, Tiff(300, 200, 1, 4, 12), LayoutDamaged, {}},
        {WalkTiffLayout, Tiff(300, 200, 1, 100, 0), LayoutTruncated, {}},
        {WalkTiffLayout, Tiff(300, 200, 1, 4, 1000), LayoutDamaged, {}},
        {WalkTiffLayout, Tiff(0, 200, 1, 4, 0), LayoutDamaged, {}},
    };
    for (const auto &row : rows)
    {
        IStream *stream = SHCreateMemStream(&row.file[0], static_cast<UINT>(row.file.size()));
        ASSERT_TRUE(stream != NULL);
        StreamSource source(stream);
        PictureLayout layout = {99, 99, 99, 99, 99, 99, 99};
        EXPECT_EQ(row.walk(source, &layout), row.check) << "row " << &row - rows;
        stream->Release();
        if (row.check != LayoutWhole)
            continue;
        const PictureLayout &want = row.layout;
        EXPECT_TRUE(layout.width == want.width && layout.height == want.height &&
                    layout.orientation == want.orientation && layout.frameLeft == want.frameLeft &&
                    layout.frameTop == want.frameTop && layout.frameWidth == want.frameWidth &&
                    layout.frameHeight == want.frameHeight)
            << "row " << &row - rows << ": " << layout.width << "x" << layout.height << " turned "
            << layout.orientation << ", frame " << layout.frameWidth << "x" << layout.frameHeight << " at "
            << layout.frameLeft << "," << layout.frameTop;
    }
}
}
