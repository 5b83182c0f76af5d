// What the converter tests share: the shipped converter, the pictures the
// corpus step made, and reading back the bitmaps it writes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bitmap_file.h"
#include "image_converter.h"
#include "test_support.h"

// The shipped converter's export, loaded once by full path and never unloaded; NULL when the
// library or the export cannot be found.
NarrowImageConverter ShippedConvert();
// Its scaled export, the same way.
ScaledImageConverter ShippedScaledConvert();

// The folder the corpus step filled: jpeg\NAME.jpg, reference\NAME.bmp and
// picture\NAME.EXT (the other formats), standin\NAME.EXT (the pictures for
// the decoder stand-ins) and other\ (pictures to refuse).
std::string CorpusFolder();
std::string CorpusJpeg(const std::string &name);
std::string CorpusReference(const std::string &name);
// Any picture of the corpus by its name: a JPEG's has no extension (NAME),
// every other's has its own (NAME.EXT, in picture\, else in standin\); and
// its reference.
std::string CorpusSource(const std::string &name);
std::string CorpusReferenceOf(const std::string &name);

// The desktop colour the corpus step blends transparent pictures over (the
// converter blends over the desktop's), set while the object lives; the
// colour before it comes back after.
class CorpusDesktopColour
{
public:
    CorpusDesktopColour();
    ~CorpusDesktopColour();
    CorpusDesktopColour(const CorpusDesktopColour &) = delete;
    CorpusDesktopColour &operator=(const CorpusDesktopColour &) = delete;
    bool IsSet() const { return set; }

private:
    const COLORREF kept;
    bool set;
};

// Wine's ntdll exports wine_get_version; Windows' does not.
bool RunningUnderWine();

bool WriteBytes(const std::string &path, const std::vector<BYTE> &bytes);
// Offset of the first marker 0xFF code at or after from, or npos.
size_t FindMarker(const std::vector<BYTE> &bytes, BYTE code, size_t from = 0);

// A 24-bit bitmap's pixels, rows top to bottom, 3 bytes a pixel (B, G, R),
// no padding.
struct Pixels
{
    int width = 0;
    int height = 0;
    std::vector<BYTE> bgr;
};

// Reads a 24-bit uncompressed bitmap file. Returns an empty string, or what
// keeps the file from being one.
std::string ReadBitmap(const std::string &path, Pixels *pixels);
// What keeps the file from being exactly the bitmap the converter promises:
// a file header and an info header, 24 bits, uncompressed, bottom-up, the
// sizes in the headers equal to the file's, rows padded to 4 bytes with zero
// bytes. Empty when it is one.
std::string ConverterBitmapProblem(const std::string &path);

// Peak signal-to-noise ratio over all channels, in decibels; a large number
// (1000) for identical pictures, a negative one when the sizes differ.
double Psnr(const Pixels &a, const Pixels &b);

