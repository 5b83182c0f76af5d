// The walk over a JPEG's markers, on files built marker by marker in memory:
// what it must find, and the damaged and foreign files it must turn away.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "jpeg_header.h"
#include "stream_source.h"

namespace
{
typedef std::vector<BYTE> Bytes;

// A segment: marker, length counting itself, payload.
Bytes Segment(BYTE code, const Bytes &payload)
{
    const size_t length = payload.size() + 2;
    Bytes bytes(length + 2);
    bytes[0] = 0xFF;
    bytes[1] = code;
    bytes[2] = static_cast<BYTE>(length >> 8);
    bytes[3] = static_cast<BYTE>(length);
    std::copy(payload.begin(), payload.end(), bytes.begin() + 4);
    return bytes;
}

Bytes Frame(BYTE code, WORD width, WORD height)
{
    return Segment(code, {8, HIBYTE(height), LOBYTE(height), HIBYTE(width), LOBYTE(width), 1, 1, 0x11, 0});
}

// A scan header and entropy-coded data, with a stuffed 0xFF and a restart
// marker inside it, as encoders write them.
Bytes Scan()
{
    Bytes bytes = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    bytes.insert(bytes.end(), {0x12, 0x34, 0xFF, 0x00, 0x56, 0xFF, 0xD0, 0x78, 0xFF, 0xFF, 0xD7, 0x9A});
    return bytes;
}

Bytes Exif(BYTE orientation)
{
    return Segment(0xE1, {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1,
                          0, orientation, 0, 0, 0, 0, 0, 0});
}

Bytes Join(const std::vector<Bytes> &parts)
{
    Bytes bytes;
    for (size_t i = 0; i < parts.size(); ++i)
        bytes.insert(bytes.end(), parts[i].begin(), parts[i].end());
    return bytes;
}

const Bytes Start = {0xFF, 0xD8};
const Bytes End = {0xFF, 0xD9};
const Bytes Jfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
const Bytes Tables = Segment(0xDB, Bytes(65, 1));

LayoutCheck Walk(const Bytes &file, PictureLayout *layout)
{
    IStream *stream = SHCreateMemStream(file.empty() ? NULL : &file[0], static_cast<UINT>(file.size()));
    if (stream == NULL)
        return LayoutUnreadable;
    StreamSource source(stream);
    const LayoutCheck check = WalkJpegLayout(source, layout);
    stream->Release();
    return check;
}

LayoutCheck Walk(const Bytes &file)
{
    PictureLayout layout;
    return Walk(file, &layout);
}

TEST(JpegLayout, FindsTheFrameSizeAndOrientation)
{
    PictureLayout layout = {};
    ASSERT_EQ(Walk(Join({Start, Jfif, Exif(6), Tables, Frame(0xC0, 640, 480), Scan(), End}), &layout), LayoutWhole);
    EXPECT_EQ(layout.width, 640u);
    EXPECT_EQ(layout.height, 480u);
    EXPECT_EQ(layout.orientation, 6);

    ASSERT_EQ(Walk(Join({Start, Tables, Frame(0xC2, 65535, 1), Scan(), End}), &layout), LayoutWhole);
    EXPECT_EQ(layout.width, 65535u) << "progressive frame";
    EXPECT_EQ(layout.height, 1u);
    EXPECT_EQ(layout.orientation, 1) << "no EXIF segment";
}

TEST(JpegLayout, TheFirstExifSegmentSpeaks)
{
    PictureLayout layout;
    const Bytes xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0, 0x01, 0x12, 0, 3});
    ASSERT_EQ(Walk(Join({Start, xmp, Exif(8), Exif(3), Frame(0xC0, 8, 8), Scan(), End}), &layout), LayoutWhole);
    EXPECT_EQ(layout.orientation, 8) << "an XMP segment comes first, then two EXIF ones";
    ASSERT_EQ(Walk(Join({Start, Frame(0xC0, 8, 8), Exif(6), Scan(), End}), &layout), LayoutWhole);
    EXPECT_EQ(layout.orientation, 6) << "EXIF segment after the frame header";
}

TEST(JpegLayout, AcceptsWhatDecodersAccept)
{
    // Several scans with tables between them (progressive files), fill bytes
    // before markers, stray bytes between segments, markers without length,
    // and whatever follows the end-of-image marker.
    const Bytes fill = {0xFF, 0xFF, 0xFF};
    const Bytes stray = {0x00, 0x13};
    const Bytes temporary = {0xFF, 0x01};
    EXPECT_EQ(Walk(Join({Start, Tables, Frame(0xC2, 8, 8), Scan(), Tables, Scan(), Scan(), End})), LayoutWhole);
    EXPECT_EQ(Walk(Join({Start, fill, Tables, stray, Frame(0xC1, 8, 8), temporary, Scan(), fill, End})), LayoutWhole);
    EXPECT_EQ(Walk(Join({Start, Frame(0xC0, 8, 8), Scan(), End, Bytes(100, 0x55)})), LayoutWhole);
}

TEST(JpegLayout, TurnsAwayWhatIsNoJpeg)
{
    EXPECT_EQ(Walk(Bytes()), LayoutDamaged) << "empty";
    EXPECT_EQ(Walk(Bytes({'G', 'I', 'F', '8', '9', 'a'})), LayoutDamaged);
    EXPECT_EQ(Walk(Bytes({0xFF})), LayoutDamaged);
    EXPECT_EQ(Walk(Join({Start, Start, Frame(0xC0, 8, 8), Scan(), End})), LayoutDamaged) << "two starts";
    EXPECT_EQ(Walk(Join({Start, Frame(0xC0, 8, 8), Frame(0xC0, 8, 8), Scan(), End})), LayoutDamaged) << "two frames";
    EXPECT_EQ(Walk(Join({Start, Tables, Scan(), End})), LayoutDamaged) << "a scan before any frame";
    EXPECT_EQ(Walk(Join({Start, Frame(0xC0, 8, 8), End})), LayoutDamaged) << "no scan";
    EXPECT_EQ(Walk(Join({Start, Bytes({0xFF, 0xDB, 0x00, 0x01}), Frame(0xC0, 8, 8), Scan(), End})), LayoutDamaged)
        << "a segment length of 1";
    EXPECT_EQ(Walk(Join({Start, Segment(0xC0, {8, 0, 8, 0}), Scan(), End})), LayoutDamaged) << "short frame header";
}

TEST(JpegLayout, EveryCutFileIsTruncated)
{
    const Bytes whole = Join({Start, Jfif, Exif(6), Tables, Frame(0xC0, 640, 480), Scan(), Tables, Scan(), End});
    ASSERT_EQ(Walk(whole), LayoutWhole);
    for (size_t size = 2; size < whole.size(); ++size)
    {
        const Bytes cut(whole.begin(), whole.begin() + size);
        EXPECT_EQ(Walk(cut), LayoutTruncated) << "cut to " << size << " of " << whole.size() << " bytes";
    }
}
}
