// Every picture of the corpus, converted by the shipped converter, against
// what libjpeg-turbo's djpeg (JPEG) or ImageMagick (the other formats, blended
// over the desktop colour) decodes from the same file, turned upright where
// the file says so. Two correct decoders differ by a level or two; 40 dB
// allows that and nothing like a shifted, mirrored or miscoloured picture.
#include <gtest/gtest.h>

#include <memory>

#include "converter_support.h"
#include "standin_registration.h"
#include "test_support.h"

namespace
{
const double MinimumPsnr = 40.0;

class CorpusTest : public ::testing::TestWithParam<const char *>
{
protected:
    static void SetUpTestSuite()
    {
        folder = new std::string(ScratchFolder("corpus"));
        desktop = new CorpusDesktopColour;
        ASSERT_TRUE(desktop->IsSet());
    }
    static void TearDownTestSuite()
    {
        delete desktop;
        desktop = NULL;
        DeleteTree(*folder);
        delete folder;
        folder = NULL;
    }

    // The picture converted, against its reference.
    static void ExpectTheReference(const std::string &name);

    static std::string *folder;
    static CorpusDesktopColour *desktop;
};

std::string *CorpusTest::folder = NULL;
CorpusDesktopColour *CorpusTest::desktop = NULL;

// Test names are the file names, with the characters gtest allows.
std::string FileName(const ::testing::TestParamInfo<const char *> &info)
{
    std::string name = info.param;
    for (size_t i = 0; i < name.size(); ++i)
        if (name[i] == '-' || name[i] == '.')
            name[i] = '_';
    return name;
}

void CorpusTest::ExpectTheReference(const std::string &name)
{
    const std::string source = CorpusSource(name);
    ASSERT_TRUE(FileExists(source)) << source << " is missing: the corpus step did not make it";
    const NarrowImageConverter convert = ShippedConvert();
    ASSERT_TRUE(convert != NULL) << "cannot load " << ShippedConverter();

    const std::string destination = *folder + "\\" + name + ".bmp";
    ASSERT_EQ(convert(source.c_str(), destination.c_str()), 0) << name;
    EXPECT_EQ(ConverterBitmapProblem(destination), "") << name;

    Pixels converted, reference;
    ASSERT_EQ(ReadBitmap(destination, &converted), "") << name;
    ASSERT_EQ(ReadBitmap(CorpusReferenceOf(name), &reference), "") << "reference of " << name;
    ASSERT_EQ(converted.width, reference.width) << name;
    ASSERT_EQ(converted.height, reference.height) << name;
    const SIZE loaded = LoadedBitmapSize(Wide(destination).c_str());
    EXPECT_EQ(loaded.cx, reference.width) << name << ": LoadImageW refused or misread the bitmap";
    EXPECT_EQ(loaded.cy, reference.height) << name;

    if (name == "cmyk" && RunningUnderWine())
    {
        // Wine 8's JPEG decoder treats every four-component Adobe file as
        // YCCK, transform 0 (plain CMYK) included, so its colours are not the
        // file's. Windows' decoder reads the transform; there the colours are
        // compared like every other file's.
        GTEST_SKIP() << "colours of plain CMYK under Wine (size and format were checked)";
    }
    EXPECT_GE(Psnr(converted, reference), MinimumPsnr) << name;
}

TEST_P(CorpusTest, BecomesTheBitmapAReferenceDecoderDecodes)
{
    ExpectTheReference(GetParam());
}

// Chroma sampling, progressive and restart-marker scans, encoders and colour
// spaces. The bands pictures span several bands of rows.
const char *const Encodings[] = {
    "baseline-420",      "baseline-422",         "baseline-444",          "baseline-440",
    "optimized-420",     "progressive-420",      "progressive-444",       "grayscale",
    "grayscale-progressive", "restart-every-row", "restart-every-3-blocks", "imagemagick-420",
    "imagemagick-progressive", "ycck",           "cmyk",                  "bands-420",
    "bands-grayscale", "large-420",
};
INSTANTIATE_TEST_SUITE_P(Encodings, CorpusTest, ::testing::ValuesIn(Encodings), FileName);

// A pixel, rows of padded widths, sizes that are no whole number of blocks,
// single rows and columns; 4:2:0 and 4:4:4.
const char *const Sizes[] = {
    "size-1x1",      "size-1x1-444",   "size-17x9",     "size-17x9-444",   "size-13x7",
    "size-13x7-444", "size-1x31",      "size-1x31-444", "size-31x1",       "size-31x1-444",
    "size-255x3",    "size-255x3-444", "size-333x250",  "size-333x250-444",
};
INSTANTIATE_TEST_SUITE_P(Sizes, CorpusTest, ::testing::ValuesIn(Sizes), FileName);

// Every EXIF orientation, on a picture of a few pixels and on one of several
// bands, with both byte orders and both places the EXIF segment is found in.
const char *const Orientations[] = {
    "orientation-1-small", "orientation-2-small", "orientation-3-small", "orientation-4-small",
    "orientation-5-small", "orientation-6-small", "orientation-7-small", "orientation-8-small",
    "orientation-1-bands", "orientation-2-bands", "orientation-3-bands", "orientation-4-bands",
    "orientation-5-bands", "orientation-6-bands", "orientation-7-bands", "orientation-8-bands",
};
INSTANTIATE_TEST_SUITE_P(Orientations, CorpusTest, ::testing::ValuesIn(Orientations), FileName);

// Scaled down for a screen, in the same pass as the turn upright, against
// ImageMagick's area-averaging scale of djpeg's decoding: a smooth photo
// differs by rounding, nothing like a picked pixel or a shifted row. Each row
// with Wine's decoder, then with the stand-in for Windows' JPEG decoder, which
// scales by halves while decoding (tests/codec_standins), in both readings of
// its closest size: it must decode at the smallest of its sizes that covers
// the need (0 x 0: it is never asked for a scaled copy), each row once.
TEST(ScaledCorpus, BecomesTheAreaAverageOfTheDecodedPicture)
{
    const ScaledImageConverter convert = ShippedScaledConvert();
    ASSERT_TRUE(convert != NULL) << "no scaled export in " << ShippedConverter();
    const std::string folder = ScratchFolder("scaled-corpus");
    const struct
    {
        const char *name;
        UINT boxWidth, boxHeight;
        int fit;
        const char *reference;
        UINT decodedWidth, decodedHeight;
    } rows[] = {
        {"large-420", 1024, 768, 0, "large-420-1152x768", 1200, 800},             // a cover, by height
        {"orientation-6-bands", 300, 300, 0, "orientation-6-bands-300x699", 0, 0}, // turned, then by width
        {"png-rgba.png", 160, 100, 0, "png-rgba-160x120", 0, 0},                   // blended, then scaled
        // Camera photos on Fill desktops: the nearest of the decoder's sizes
        // is 1500 x 1000 for the first and 1000 x 563 for the second, smaller
        // than they need. The last needs its full size.
        {"photo-6000x4000.jpg", 1920, 1080, 0, "photo-6000x4000-1920x1280", 3000, 2000},
        {"photo-4000x2250.jpg", 1024, 768, 0, "photo-4000x2250-1366x768", 2000, 1125},
        {"photo-4000x2250-turned.jpg", 1024, 768, 0, "photo-4000x2250-turned-1024x1821", 2000, 1125},
        {"photo-800x600.jpg", 1920, 1080, 0, "photo-800x600-800x600", 0, 0},
    };
    const CorpusDesktopColour desktop;
    ASSERT_TRUE(desktop.IsSet());
    for (const char *mode : {"", "at-least", "nearest"})
    {
        std::unique_ptr<CodecStandIns> standIns(mode[0] != '\0' ? new CodecStandIns : NULL);
        ASSERT_TRUE(standIns == NULL || standIns->Problem().empty()) << standIns->Problem();
        SetStandInMode(mode);
        for (const auto &row : rows)
        {
            StartStandInLog(standIns != NULL ? folder + "\\standin.log" : "");
            const std::string destination = folder + "\\" + row.name + ".bmp";
            ASSERT_EQ(convert(Wide(CorpusSource(row.name)).c_str(), Wide(destination).c_str(), row.boxWidth,
                              row.boxHeight, row.fit),
                      0)
                << row.name << " " << mode;
            EXPECT_EQ(ConverterBitmapProblem(destination), "") << row.name;
            Pixels converted, reference;
            ASSERT_EQ(ReadBitmap(destination, &converted), "") << row.name;
            ASSERT_EQ(ReadBitmap(CorpusFolder() + "\\scaled\\" + row.reference + ".bmp", &reference), "");
            EXPECT_GE(Psnr(converted, reference), 35.0) << row.name << " scaled " << mode;
            if (standIns != NULL)
            {
                EXPECT_EQ(ScaledCopiesProblem(StandInLog(), row.decodedWidth, row.decodedHeight), "")
                    << row.name << ", the stand-in rounding " << mode;
            }
        }
    }
    DeleteTree(folder);
}

// Every depth and kind of transparency, interlacing, a GIF's first frame set
// off on its logical screen, a TIFF's orientation tag, and a JPEG under
// another format's name.
const char *const Formats[] = {
    "png-rgb.png",     "png-rgba.png",       "png-gray-alpha.png",  "png-16-bit.png",
    "png-palette.png", "png-interlaced.png", "png-1-bit.png",       "gif-frames.gif",
    "tiff-lzw-turned.tif", "tiff-palette.tiff", "jpeg-named.png",
};
INSTANTIATE_TEST_SUITE_P(Formats, CorpusTest, ::testing::ValuesIn(Formats), FileName);

// WebP, HEIC and AVIF files decoded by the stand-ins for Microsoft's
// decoders (tests/codec_standins), turned as System.Photo.Orientation says
// when it is a VT_UI2 of 1 to 8, and as stored when it is 0, 9, a VT_UI4 or
// missing.
class StandInCorpusTest : public CorpusTest
{
protected:
    static void SetUpTestSuite()
    {
        CorpusTest::SetUpTestSuite();
        standIns = new CodecStandIns;
        ASSERT_EQ(standIns->Problem(), "");
    }
    static void TearDownTestSuite()
    {
        delete standIns;
        standIns = NULL;
        CorpusTest::TearDownTestSuite();
    }

    static CodecStandIns *standIns;
};

CodecStandIns *StandInCorpusTest::standIns = NULL;

TEST_P(StandInCorpusTest, BecomesThePictureTurnedAsItsDecoderSays)
{
    ExpectTheReference(GetParam());
}

const char *const StandIns[] = {
    "webp-1.webp", "webp-3.webp", "webp-6.webp",    "webp-8.webp", "heic-1.heic",     "heic-3.heic",
    "heic-6.heic", "heic-8.heic", "avif-1.avif",    "avif-3.avif", "avif-6.avif",     "avif-8.avif",
    "webp-0.webp", "heic-9.heic", "avif-ui4-6.avif", "webp-none.webp",
};
INSTANTIATE_TEST_SUITE_P(StandIns, StandInCorpusTest, ::testing::ValuesIn(StandIns), FileName);

TEST(Corpus, HoldsNoFileTheTestsDoNotName)
{
    size_t named = sizeof(Encodings) / sizeof(Encodings[0]) + sizeof(Sizes) / sizeof(Sizes[0]) +
                   sizeof(Orientations) / sizeof(Orientations[0]);
    EXPECT_EQ(ListingOrder(CorpusFolder() + "\\jpeg").size(), named)
        << "the corpus step makes files no test converts, or misses some";
    EXPECT_EQ(ListingOrder(CorpusFolder() + "\\picture").size(), sizeof(Formats) / sizeof(Formats[0]));
    // With the four camera photos of the scaled rows.
    EXPECT_EQ(ListingOrder(CorpusFolder() + "\\standin").size(), sizeof(StandIns) / sizeof(StandIns[0]) + 4);
}
}
