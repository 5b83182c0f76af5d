// A few hundred corpus files damaged at random, from a fixed seed so every
// run damages them alike. Whatever the damage, a conversion either succeeds
// with a proper bitmap or fails with no file left, and the process goes on.
#include <gtest/gtest.h>

#include <random>

#include "convert_result.h"
#include "converter_support.h"
#include "test_support.h"

namespace
{
const int MutantsPerFile = 40;
// Small files with the structures worth damaging: EXIF segments in both
// byte orders, progressive scans, restart markers, grey, four components.
const char *const Seeds[] = {"orientation-6-small", "orientation-5-small", "size-333x250", "progressive-420",
                             "restart-every-3-blocks", "grayscale", "ycck", "size-1x31"};

class Mutator
{
public:
    explicit Mutator(unsigned seed) : random(seed) {}

    std::vector<BYTE> Mutate(const std::vector<BYTE> &original)
    {
        std::vector<BYTE> bytes = original;
        const int damages = 1 + Below(4);
        for (int i = 0; i < damages && !bytes.empty(); ++i)
        {
            switch (Below(6))
            {
            case 0: // flipped bits
                bytes[Below(bytes.size())] ^= static_cast<BYTE>(1 << Below(8));
                break;
            case 1: // a run of random bytes
                for (size_t at = Below(bytes.size()), n = 1 + Below(16); n > 0 && at < bytes.size(); --n, ++at)
                    bytes[at] = static_cast<BYTE>(Below(256));
                break;
            case 2: // cut short
                bytes.resize(Below(bytes.size()));
                break;
            case 3: // a marker where there was none
                bytes[Below(bytes.size())] = 0xFF;
                break;
            case 4: // damage among the headers, EXIF included
                bytes[Below(bytes.size() < 700 ? bytes.size() : 700)] = static_cast<BYTE>(Below(256));
                break;
            case 5: // bytes added
                bytes.insert(bytes.begin() + Below(bytes.size()), static_cast<BYTE>(Below(256)));
                break;
            }
        }
        KeepFrameSmall(bytes, original);
        return bytes;
    }

private:
    size_t Below(size_t bound) { return bound == 0 ? 0 : std::uniform_int_distribution<size_t>(0, bound - 1)(random); }

    // A damaged frame size can ask for a picture of gigabytes that decodes,
    // grey, for minutes: the run stays short by keeping sizes below 2048.
    // Large sizes have cases of their own among the bad inputs.
    static void KeepFrameSmall(std::vector<BYTE> &bytes, const std::vector<BYTE> &original)
    {
        const BYTE frames[] = {0xC0, 0xC1, 0xC2};
        for (size_t f = 0; f < sizeof(frames); ++f)
        {
            const size_t at = FindMarker(bytes, frames[f]);
            if (at == std::string::npos || at + 9 > bytes.size())
                continue;
            const int height = bytes[at + 5] << 8 | bytes[at + 6];
            const int width = bytes[at + 7] << 8 | bytes[at + 8];
            if (height > 2048 || width > 2048)
            {
                const size_t was = FindMarker(original, frames[f]);
                for (int i = 5; i < 9; ++i)
                    bytes[at + i] = was != std::string::npos ? original[was + i] : 0x10;
            }
        }
    }

    std::mt19937 random;
};

TEST(Mutation, DamagedFilesConvertProperlyOrFailCleanly)
{
    const NarrowImageConverter convert = ShippedConvert();
    ASSERT_TRUE(convert != NULL) << "cannot load " << ShippedConverter();
    const std::string folder = ScratchFolder("mutation");
    const std::string source = folder + "\\mutant.jpg";
    const std::string destination = folder + "\\mutant.bmp";
    Mutator mutator(20240611);
    int converted = 0, refused = 0;
    for (size_t s = 0; s < sizeof(Seeds) / sizeof(Seeds[0]); ++s)
    {
        const std::vector<BYTE> original = ReadBytes(CorpusJpeg(Seeds[s]));
        ASSERT_FALSE(original.empty()) << Seeds[s] << " is missing";
        for (int m = 0; m < MutantsPerFile; ++m)
        {
            const std::vector<BYTE> mutant = mutator.Mutate(original);
            ASSERT_TRUE(WriteBytes(source, mutant));
            DeleteFileA(destination.c_str());
            const int result = convert(source.c_str(), destination.c_str());
            if (result == 0)
            {
                ++converted;
                EXPECT_EQ(ConverterBitmapProblem(destination), "") << Seeds[s] << " mutant " << m;
                EXPECT_GT(LoadedBitmapSize(Wide(destination).c_str()).cx, 0) << Seeds[s] << " mutant " << m;
            }
            else
            {
                ++refused;
                EXPECT_NE(result, ConvertFaulted) << Seeds[s] << " mutant " << m << " made the decoder fault";
                EXPECT_FALSE(FileExists(destination)) << Seeds[s] << " mutant " << m << " failed with " << result
                                                      << " and left a file";
            }
        }
    }
    // Mostly refused (most damage breaks the structure), some decoded anyway:
    // a run where one side is empty damaged nothing or everything.
    EXPECT_GT(converted, 0);
    EXPECT_GT(refused, 0);
    printf("%d damaged files converted, %d refused\n", converted, refused);
    DeleteTree(folder);
}
}
