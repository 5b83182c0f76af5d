// A TIFF is an eight-byte header (byte order, 42, the first directory's
// offset) and image directories anywhere in the file, each a count, 12-byte
// entries (tag, type, value count, the value itself when it fits in four
// bytes or else its offset) and the next directory's offset, 0 for none.
// Every offset counts from the file's start. The walk reads the first
// directory's entries and only the counts and links of the rest: a chain
// that loops or runs off the file keeps some decoders counting frames
// forever.
#include "tiff_header.h"

#include "byte_reader.h"

namespace
{
const size_t HeaderBytes = 8;
const size_t CountBytes = 2;
const size_t EntryBytes = 12;
const size_t LinkBytes = 4;
const size_t InlineBytes = 4;
const uint16_t ClassicMagic = 42;
const uint16_t ShortType = 3;
const uint16_t LongType = 4;
// Values of a strip offset and byte count array read together per pass: the
// two arrays usually lie apart, and each pass seeks once to each.
const size_t BatchValues = 256;

enum Field
{
    ImageWidth,
    ImageLength,
    Orientation,
    StripOffsets,
    StripByteCounts,
    TileOffsets,
    TileByteCounts,
    FieldCount,
};
const uint16_t FieldTags[FieldCount] = {256, 257, 274, 273, 279, 324, 325};

struct Entry
{
    bool present;
    uint16_t type;
    uint32_t count;
    uint8_t value[InlineBytes]; // the values when they fit, else their offset
};

bool IsNumberType(uint16_t type)
{
    return type == ShortType || type == LongType;
}

size_t TypeBytes(uint16_t type)
{
    return type == ShortType ? 2 : 4;
}

class DirectoryWalk
{
public:
    DirectoryWalk(ByteSource &source, uint64_t fileLength)
        : reader(source), fileLength(fileLength), bigEndian(false), fields()
    {
    }

    LayoutCheck Run(PictureLayout *layout);

private:
    uint16_t Word(const uint8_t *bytes) const
    {
        return static_cast<uint16_t>(bigEndian ? bytes[0] << 8 | bytes[1] : bytes[1] << 8 | bytes[0]);
    }
    uint32_t Long(const uint8_t *bytes) const
    {
        return bigEndian ? static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                               static_cast<uint32_t>(bytes[2]) << 8 | bytes[3]
                         : static_cast<uint32_t>(bytes[3]) << 24 | static_cast<uint32_t>(bytes[2]) << 16 |
                               static_cast<uint32_t>(bytes[1]) << 8 | bytes[0];
    }
    bool IsInline(const Entry &entry) const
    {
        return static_cast<uint64_t>(entry.count) * TypeBytes(entry.type) <= InlineBytes;
    }
    // The first directory's wanted entries are kept in fields; the others'
    // entries are skipped.
    LayoutCheck ReadDirectory(uint32_t offset, bool first, uint32_t *next);
    LayoutCheck Dimension(Field field, uint32_t *value) const;
    LayoutCheck CheckPieces(Field offsetsField, Field countsField);
    LayoutCheck ReadValues(const Entry &entry, uint64_t first, size_t count, uint32_t *values);
    LayoutCheck Ended() const { return reader.Failed() ? LayoutUnreadable : LayoutTruncated; }

    ByteReader reader;
    uint64_t fileLength;
    bool bigEndian;
    Entry fields[FieldCount];
};

LayoutCheck DirectoryWalk::ReadDirectory(uint32_t offset, bool first, uint32_t *next)
{
    if (offset < HeaderBytes || static_cast<uint64_t>(offset) + CountBytes > fileLength)
        return LayoutDamaged;
    uint8_t countBytes[CountBytes];
    if (!reader.SeekTo(offset))
        return LayoutUnreadable;
    if (!reader.Bytes(countBytes, sizeof(countBytes)))
        return Ended();
    const uint32_t count = Word(countBytes);
    if (count == 0 || count > MaxTiffDirectoryEntries)
        return LayoutDamaged;
    const uint64_t link = static_cast<uint64_t>(offset) + CountBytes + count * EntryBytes;
    if (link + LinkBytes > fileLength)
        return LayoutTruncated;
    for (uint32_t i = 0; first && i < count; ++i)
    {
        uint8_t entry[EntryBytes];
        if (!reader.Bytes(entry, sizeof(entry)))
            return Ended();
        const uint16_t tag = Word(entry);
        for (size_t f = 0; f < FieldCount; ++f)
        {
            // A repeated tag is ignored, as decoders do.
            if (tag != FieldTags[f] || fields[f].present)
                continue;
            fields[f].present = true;
            fields[f].type = Word(entry + 2);
            fields[f].count = Long(entry + 4);
            for (size_t b = 0; b < InlineBytes; ++b)
                fields[f].value[b] = entry[8 + b];
        }
    }
    uint8_t linkBytes[LinkBytes];
    if (!reader.SeekTo(link))
        return LayoutUnreadable;
    if (!reader.Bytes(linkBytes, sizeof(linkBytes)))
        return Ended();
    *next = Long(linkBytes);
    return LayoutWhole;
}

LayoutCheck DirectoryWalk::Dimension(Field field, uint32_t *value) const
{
    const Entry &entry = fields[field];
    if (!entry.present || !IsNumberType(entry.type) || entry.count != 1)
        return LayoutDamaged;
    *value = entry.type == ShortType ? Word(entry.value) : Long(entry.value);
    return *value == 0 ? LayoutDamaged : LayoutWhole;
}

LayoutCheck DirectoryWalk::ReadValues(const Entry &entry, uint64_t first, size_t count, uint32_t *values)
{
    const size_t size = TypeBytes(entry.type);
    uint8_t raw[BatchValues * 4];
    const uint8_t *bytes = raw;
    if (IsInline(entry))
        bytes = entry.value + first * size;
    else
    {
        if (!reader.SeekTo(Long(entry.value) + first * size))
            return LayoutUnreadable;
        if (!reader.Bytes(raw, count * size))
            return Ended();
    }
    for (size_t i = 0; i < count; ++i)
        values[i] = size == 2 ? Word(bytes + 2 * i) : Long(bytes + 4 * i);
    return LayoutWhole;
}

LayoutCheck DirectoryWalk::CheckPieces(Field offsetsField, Field countsField)
{
    const Entry &offsets = fields[offsetsField];
    const Entry &counts = fields[countsField];
    if (!offsets.present || !counts.present || !IsNumberType(offsets.type) || !IsNumberType(counts.type))
        return LayoutDamaged;
    if (offsets.count == 0 || offsets.count != counts.count)
        return LayoutDamaged;
    // Both arrays within the file first, so that a count of billions ends
    // the walk at once instead of after reading what is there.
    const Entry *arrays[] = {&offsets, &counts};
    for (size_t a = 0; a < 2; ++a)
    {
        const uint64_t bytes = static_cast<uint64_t>(arrays[a]->count) * TypeBytes(arrays[a]->type);
        if (!IsInline(*arrays[a]) && Long(arrays[a]->value) + bytes > fileLength)
            return LayoutTruncated;
    }
    uint32_t starts[BatchValues], sizes[BatchValues];
    for (uint64_t first = 0; first < offsets.count; first += BatchValues)
    {
        const uint64_t left = offsets.count - first;
        const size_t take = left < BatchValues ? static_cast<size_t>(left) : BatchValues;
        LayoutCheck check = ReadValues(offsets, first, take, starts);
        if (check == LayoutWhole)
            check = ReadValues(counts, first, take, sizes);
        if (check != LayoutWhole)
            return check;
        for (size_t i = 0; i < take; ++i)
        {
            if (static_cast<uint64_t>(starts[i]) + sizes[i] > fileLength)
                return LayoutTruncated;
        }
    }
    return LayoutWhole;
}

LayoutCheck DirectoryWalk::Run(PictureLayout *layout)
{
    uint8_t header[HeaderBytes];
    if (!reader.Bytes(header, sizeof(header)))
        return reader.Failed() ? LayoutUnreadable : LayoutDamaged;
    if (header[0] == 'M' && header[1] == 'M')
        bigEndian = true;
    else if (header[0] != 'I' || header[1] != 'I')
        return LayoutDamaged;
    if (Word(header + 2) != ClassicMagic)
        return LayoutDamaged;

    // Every directory met so far: a link back to any of them is a loop.
    uint32_t visited[MaxTiffDirectories];
    size_t directories = 0;
    uint32_t next = Long(header + 4);
    for (bool first = true; next != 0; first = false)
    {
        if (directories == MaxTiffDirectories)
            return LayoutDamaged;
        for (size_t i = 0; i < directories; ++i)
        {
            if (visited[i] == next)
                return LayoutDamaged;
        }
        visited[directories++] = next;
        const LayoutCheck check = ReadDirectory(next, first, &next);
        if (check != LayoutWhole)
            return check;
    }
    // A first directory offset of 0: no picture at all.
    if (directories == 0)
        return LayoutDamaged;

    uint32_t width = 0, height = 0;
    LayoutCheck check = Dimension(ImageWidth, &width);
    if (check == LayoutWhole)
        check = Dimension(ImageLength, &height);
    if (check == LayoutWhole)
    {
        const bool tiled = fields[TileOffsets].present || fields[TileByteCounts].present;
        check = tiled ? CheckPieces(TileOffsets, TileByteCounts) : CheckPieces(StripOffsets, StripByteCounts);
    }
    if (check != LayoutWhole)
        return check;

    const Entry &turn = fields[Orientation];
    const uint16_t orientation = turn.present && turn.type == ShortType && turn.count == 1 ? Word(turn.value) : 1;
    layout->width = width;
    layout->height = height;
    layout->orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
    layout->frameLeft = 0;
    layout->frameTop = 0;
    layout->frameWidth = width;
    layout->frameHeight = height;
    return LayoutWhole;
}
}

LayoutCheck WalkTiffLayout(ByteSource &source, PictureLayout *layout)
{
    uint64_t fileLength = 0;
    if (!source.Seek(0) || !source.Length(&fileLength))
        return LayoutUnreadable;
    DirectoryWalk walk(source, fileLength);
    return walk.Run(layout);
}
