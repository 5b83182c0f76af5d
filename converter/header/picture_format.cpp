// Signatures at fixed places in the first bytes. The box-structured formats
// (HEIF, AVIF) open with an "ftyp" box whose brands say what reads them: the
// major brand, or one of the compatible brands after it, which writers use
// when their major brand is a newer or private one.
#include "picture_format.h"

#include <string.h>

namespace
{
const uint8_t JpegSignature[] = {0xFF, 0xD8, 0xFF};
const uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const uint8_t TiffLittle[] = {'I', 'I', 42, 0};
const uint8_t TiffBig[] = {'M', 'M', 0, 42};
// The JPEG XR container: little-endian only, then its own marker and a
// version byte, of which readers take 0 (the first writers') and 1.
const uint8_t JpegXrSignature[] = {'I', 'I', 0xBC};
const uint8_t JpegXrNewestVersion = 1;

const size_t BoxSizeBytes = 4;
const size_t BrandBytes = 4;
const size_t MajorBrandOffset = 8;
const size_t CompatibleBrandsOffset = 16; // after the major brand and minor version
const char *const HeifBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                  "mif1", "msf1", "avif", "avis"};

bool StartsWith(const uint8_t *head, size_t length, size_t offset, const void *text, size_t size)
{
    return offset <= length && length - offset >= size && memcmp(head + offset, text, size) == 0;
}

template <size_t Size> bool StartsWith(const uint8_t *head, size_t length, const uint8_t (&signature)[Size])
{
    return StartsWith(head, length, 0, signature, Size);
}

bool IsHeifBrand(const uint8_t *brand)
{
    for (size_t i = 0; i < sizeof(HeifBrands) / sizeof(HeifBrands[0]); ++i)
    {
        if (memcmp(brand, HeifBrands[i], BrandBytes) == 0)
            return true;
    }
    return false;
}

bool IsHeif(const uint8_t *head, size_t length)
{
    if (!StartsWith(head, length, BoxSizeBytes, "ftyp", 4) || length < MajorBrandOffset + BrandBytes)
        return false;
    if (IsHeifBrand(head + MajorBrandOffset))
        return true;
    // The compatible brands fill the rest of the box; a size below the
    // brands' start (such as 1, a 64-bit size that follows) leaves the
    // head's end as the only bound.
    const uint32_t boxSize = static_cast<uint32_t>(head[0]) << 24 | head[1] << 16 | head[2] << 8 | head[3];
    size_t end = length;
    if (boxSize >= CompatibleBrandsOffset && boxSize < end)
        end = boxSize;
    for (size_t brand = CompatibleBrandsOffset; brand + BrandBytes <= end; brand += BrandBytes)
    {
        if (IsHeifBrand(head + brand))
            return true;
    }
    return false;
}
}

PictureFormat SniffPictureFormat(const uint8_t *head, size_t length)
{
    if (StartsWith(head, length, JpegSignature))
        return JpegFormat;
    if (StartsWith(head, length, PngSignature))
        return PngFormat;
    if (StartsWith(head, length, 0, "GIF87a", 6) || StartsWith(head, length, 0, "GIF89a", 6))
        return GifFormat;
    if (StartsWith(head, length, TiffLittle) || StartsWith(head, length, TiffBig))
        return TiffFormat;
    if (StartsWith(head, length, JpegXrSignature) && length > sizeof(JpegXrSignature) &&
        head[sizeof(JpegXrSignature)] <= JpegXrNewestVersion)
        return JpegXrFormat;
    if (StartsWith(head, length, 0, "RIFF", 4) && StartsWith(head, length, 8, "WEBP", 4))
        return WebpFormat;
    // Before the boxes: a box that opens with "BM" would claim a size past a
    // gigabyte, and a head cut short must not turn a bitmap into anything.
    if (StartsWith(head, length, 0, "BM", 2))
        return BmpFormat;
    if (IsHeif(head, length))
        return HeifFormat;
    return UnknownFormat;
}
