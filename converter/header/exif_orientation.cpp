// An EXIF segment is "Exif\0\0" followed by a TIFF structure: a byte-order
// mark, the number 42, and the offset of the first image directory, which is
// a count and then 12-byte entries (tag, type, count, value). All offsets
// count from the TIFF header and every one is checked against the segment.
#include "exif_orientation.h"

#include <string.h>

namespace
{
const uint8_t ExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
const uint16_t OrientationTag = 0x0112;
const uint16_t ShortType = 3;
const size_t DirectoryEntryBytes = 12;

class TiffData
{
public:
    TiffData(const uint8_t *data, size_t size, bool bigEndian) : data(data), size(size), bigEndian(bigEndian) {}

    bool Word(size_t offset, uint16_t *value) const
    {
        if (offset > size || size - offset < 2)
            return false;
        const uint8_t *p = data + offset;
        *value = bigEndian ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
        return true;
    }
    bool Long(size_t offset, uint32_t *value) const
    {
        if (offset > size || size - offset < 4)
            return false;
        const uint8_t *p = data + offset;
        *value = bigEndian ? static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]
                           : static_cast<uint32_t>(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0];
        return true;
    }
    size_t Size() const { return size; }

private:
    const uint8_t *data;
    size_t size;
    bool bigEndian;
};

int OrientationEntry(const TiffData &tiff, size_t entry)
{
    uint16_t type = 0, value = 0;
    uint32_t count = 0;
    // A SHORT with a count of 1 sits in the first two bytes of the value field.
    if (!tiff.Word(entry + 2, &type) || !tiff.Long(entry + 4, &count) || !tiff.Word(entry + 8, &value))
        return UprightOrientation;
    if (type != ShortType || count != 1 || value < 1 || value > 8)
        return UprightOrientation;
    return value;
}
}

bool IsExifSegment(const uint8_t *payload, size_t size)
{
    return size >= sizeof(ExifSignature) && memcmp(payload, ExifSignature, sizeof(ExifSignature)) == 0;
}

int ExifOrientation(const uint8_t *payload, size_t size)
{
    if (!IsExifSegment(payload, size))
        return UprightOrientation;
    const uint8_t *header = payload + sizeof(ExifSignature);
    const size_t tiffSize = size - sizeof(ExifSignature);
    if (tiffSize < 8)
        return UprightOrientation;
    bool bigEndian;
    if (header[0] == 'M' && header[1] == 'M')
        bigEndian = true;
    else if (header[0] == 'I' && header[1] == 'I')
        bigEndian = false;
    else
        return UprightOrientation;
    const TiffData tiff(header, tiffSize, bigEndian);

    uint16_t magic = 0, entries = 0;
    uint32_t directory = 0;
    if (!tiff.Word(2, &magic) || magic != 42 || !tiff.Long(4, &directory) || !tiff.Word(directory, &entries))
        return UprightOrientation;
    // A directory that claims more entries than the segment holds is damaged;
    // what it says about orientation is not to be trusted either.
    const size_t first = static_cast<size_t>(directory) + 2;
    if ((tiff.Size() - first) / DirectoryEntryBytes < entries)
        return UprightOrientation;
    for (uint16_t i = 0; i < entries; ++i)
    {
        const size_t entry = first + i * DirectoryEntryBytes;
        uint16_t tag = 0;
        if (!tiff.Word(entry, &tag))
            return UprightOrientation;
        if (tag == OrientationTag)
            return OrientationEntry(tiff, entry);
    }
    return UprightOrientation;
}
