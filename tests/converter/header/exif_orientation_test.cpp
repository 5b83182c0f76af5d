// The EXIF orientation reader on segments built byte by byte: what cameras
// write, and every way a damaged segment could lead it astray.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "exif_orientation.h"

namespace
{
typedef std::vector<BYTE> Bytes;

// "Exif\0\0", a TIFF header in the byte order given, and a first directory at
// offset 8 holding the entries (12 bytes each, already in that order).
Bytes Segment(bool bigEndian, const std::vector<Bytes> &entries)
{
    Bytes bytes = {'E', 'x', 'i', 'f', 0, 0};
    if (bigEndian)
        bytes.insert(bytes.end(), {'M', 'M', 0, 42, 0, 0, 0, 8, 0, static_cast<BYTE>(entries.size())});
    else
        bytes.insert(bytes.end(), {'I', 'I', 42, 0, 8, 0, 0, 0, static_cast<BYTE>(entries.size()), 0});
    for (size_t i = 0; i < entries.size(); ++i)
        bytes.insert(bytes.end(), entries[i].begin(), entries[i].end());
    bytes.insert(bytes.end(), {0, 0, 0, 0});
    return bytes;
}

Bytes Entry(bool bigEndian, WORD tag, WORD type, DWORD count, WORD value)
{
    if (bigEndian)
        return {HIBYTE(tag), LOBYTE(tag), HIBYTE(type), LOBYTE(type), static_cast<BYTE>(count >> 24),
                static_cast<BYTE>(count >> 16), static_cast<BYTE>(count >> 8), static_cast<BYTE>(count),
                HIBYTE(value), LOBYTE(value), 0, 0};
    return {LOBYTE(tag), HIBYTE(tag), LOBYTE(type), HIBYTE(type), static_cast<BYTE>(count),
            static_cast<BYTE>(count >> 8), static_cast<BYTE>(count >> 16), static_cast<BYTE>(count >> 24),
            LOBYTE(value), HIBYTE(value), 0, 0};
}

int Read(const Bytes &segment)
{
    return ExifOrientation(segment.empty() ? NULL : &segment[0], segment.size());
}

const WORD Orientation = 0x0112, Short = 3, Long = 4;

TEST(ExifOrientation, ReadsEveryValueInBothByteOrders)
{
    for (int big = 0; big < 2; ++big)
        for (WORD value = 1; value <= 8; ++value)
            EXPECT_EQ(Read(Segment(big != 0, {Entry(big != 0, Orientation, Short, 1, value)})), value)
                << (big ? "MM" : "II") << " value " << value;
}

TEST(ExifOrientation, FindsTheTagAmongOthers)
{
    // Make, Model and resolution entries before it, as cameras write them.
    const Bytes segment = Segment(true, {Entry(true, 0x010F, 2, 6, 0), Entry(true, 0x0110, 2, 8, 0),
                                         Entry(true, Orientation, Short, 1, 6), Entry(true, 0x011A, 5, 1, 0)});
    EXPECT_EQ(Read(segment), 6);
    EXPECT_EQ(Read(Segment(false, {Entry(false, 0x0100, Long, 1, 640), Entry(false, 0x0101, Long, 1, 480)})), 1)
        << "no orientation entry";
}

TEST(ExifOrientation, DoubtfulValuesAreUpright)
{
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Short, 1, 0)})), 1);
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Short, 1, 9)})), 1);
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Short, 1, 0x0600)})), 1) << "value in the wrong order";
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Long, 1, 6)})), 1) << "not a SHORT";
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Short, 2, 6)})), 1) << "two values";
    EXPECT_EQ(Read(Segment(true, {Entry(true, Orientation, Short, 0, 6)})), 1) << "no value";
}

TEST(ExifOrientation, DamagedStructuresAreUpright)
{
    const Bytes good = Segment(true, {Entry(true, Orientation, Short, 1, 6)});
    ASSERT_EQ(Read(good), 6);

    Bytes notExif = good;
    notExif[0] = 'e';
    EXPECT_EQ(Read(notExif), 1) << "signature";
    Bytes order = good;
    order[6] = 'M';
    order[7] = 'I';
    EXPECT_EQ(Read(order), 1) << "byte order mark";
    Bytes magic = good;
    magic[9] = 43;
    EXPECT_EQ(Read(magic), 1) << "TIFF magic number";
    Bytes farDirectory = good;
    farDirectory[12] = 0x7F;
    EXPECT_EQ(Read(farDirectory), 1) << "directory offset far past the segment";
    Bytes lastByte = good;
    lastByte[13] = static_cast<BYTE>(good.size() - 6 - 1);
    EXPECT_EQ(Read(lastByte), 1) << "directory offset at the segment's last byte";
    Bytes wrappingDirectory = good;
    wrappingDirectory[10] = wrappingDirectory[11] = wrappingDirectory[12] = wrappingDirectory[13] = 0xFF;
    EXPECT_EQ(Read(wrappingDirectory), 1) << "directory offset that wraps around";
    Bytes manyEntries = good;
    manyEntries[15] = 2;
    manyEntries.resize(manyEntries.size() - 4); // the second entry would run past the end
    EXPECT_EQ(Read(manyEntries), 1) << "more entries than the segment holds";
    manyEntries[14] = 0xFF;
    manyEntries[15] = 0xFF;
    EXPECT_EQ(Read(manyEntries), 1) << "65535 entries";

    // Every shorter piece of the segment: none may be read past its end.
    for (size_t size = 0; size < good.size() - 4; ++size)
    {
        const Bytes cut(good.begin(), good.begin() + size);
        EXPECT_EQ(Read(cut), 1) << "segment cut to " << size << " bytes";
    }
}
}
