// What the converter does with what is not a usable picture, with destinations
// it cannot or must not write, and with the COM apartment and the resources
// of the thread that calls it.
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>
#include <wincodec.h>

#include <algorithm>

#include "convert_result.h"
#include "converter_support.h"
#include "standin_registration.h"
#include "test_support.h"

namespace
{
class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = ScratchFolder("bad-input");
        convert = ShippedConvert();
        ASSERT_TRUE(convert != NULL) << "cannot load " << ShippedConverter();
        good = ReadBytes(CorpusJpeg("bands-420"));
        ASSERT_GT(good.size(), 1000u) << "the corpus step did not make bands-420";
    }
    void TearDown() override { DeleteTree(folder); }

    // Writes bytes as NAME.jpg (or another extension), converts it to NAME.bmp, and checks that the
    // conversion failed and left no bitmap.
    void ExpectRefused(const char *name, const std::vector<BYTE> &bytes, const char *extension = ".jpg")
    {
        const std::string source = folder + "\\" + name + extension;
        const std::string destination = folder + "\\" + name + ".bmp";
        ASSERT_TRUE(WriteBytes(source, bytes)) << name;
        const int result = convert(source.c_str(), destination.c_str());
        EXPECT_NE(result, 0) << name << " was converted";
        // Refused before harm, not saved by the guard from a fault: a fault
        // in the decoder may already have damaged the caller's heap.
        EXPECT_NE(result, ConvertFaulted) << name << " made the decoder fault";
        EXPECT_FALSE(FileExists(destination)) << name << " left a file at the destination";
    }

    // good with count bytes from offset replaced by value.
    std::vector<BYTE> Overwritten(size_t offset, size_t count, BYTE value)
    {
        std::vector<BYTE> bytes = good;
        for (size_t i = offset; i < offset + count && i < bytes.size(); ++i)
            bytes[i] = value;
        return bytes;
    }

    // original (good by default) with the frame header's height and width
    // replaced.
    std::vector<BYTE> FrameSize(WORD width, WORD height) { return FrameSize(good, width, height); }
    std::vector<BYTE> FrameSize(const std::vector<BYTE> &original, WORD width, WORD height)
    {
        std::vector<BYTE> bytes = original;
        const size_t frame = FindMarker(bytes, 0xC0);
        EXPECT_NE(frame, std::string::npos);
        // Marker, length, precision, then height and width, big-endian.
        bytes[frame + 5] = HIBYTE(height);
        bytes[frame + 6] = LOBYTE(height);
        bytes[frame + 7] = HIBYTE(width);
        bytes[frame + 8] = LOBYTE(width);
        return bytes;
    }

    std::string folder;
    NarrowImageConverter convert = NULL;
    std::vector<BYTE> good;
};

TEST_F(BadInputTest, DamagedOrForeignFilesAreRefused)
{
    ExpectRefused("zero-bytes", std::vector<BYTE>());
    const char text[] = "These are holiday notes, not a picture.\r\n";
    ExpectRefused("text", std::vector<BYTE>(text, text + sizeof(text) - 1));
    ExpectRefused("start-of-image-only", std::vector<BYTE>(good.begin(), good.begin() + 2));
    ExpectRefused("cut-in-the-headers", std::vector<BYTE>(good.begin(), good.begin() + 300));
    ExpectRefused("cut-in-the-picture", std::vector<BYTE>(good.begin(), good.begin() + good.size() / 2));
    ExpectRefused("cut-before-the-end-marker", std::vector<BYTE>(good.begin(), good.end() - 2));

    const size_t tables = FindMarker(good, 0xC4);
    ASSERT_NE(tables, std::string::npos);
    ExpectRefused("corrupt-huffman-table", Overwritten(tables + 4, 40, 0xEE));
    const size_t frame = FindMarker(good, 0xC0);
    ASSERT_NE(frame, std::string::npos);
    ExpectRefused("no-components", Overwritten(frame + 9, 1, 0));
    ExpectRefused("zero-sampling-factors", Overwritten(frame + 11, 1, 0));
    ExpectRefused("segment-length-below-two", Overwritten(frame + 2, 2, 0));

    ExpectRefused("claims-65535-by-65535", FrameSize(65535, 65535));
    const std::vector<BYTE> turned = ReadBytes(CorpusJpeg("orientation-6-bands"));
    ExpectRefused("turned-claims-65535-by-65535", FrameSize(turned, 65535, 65535));
    // A bitmap of 3.6 GB, which a bitmap file can state, but 4.8 GB at the
    // 4 bytes a pixel a four-component picture decodes to: a decoder working
    // its buffer out in 32 bits (Wine's does) allocates too little and
    // writes past it.
    ExpectRefused("four-components-claim-40000-by-30000", FrameSize(ReadBytes(CorpusJpeg("ycck")), 40000, 30000));
    ExpectRefused("claims-zero-height", FrameSize(1203, 0));
    ExpectRefused("claims-zero-width", FrameSize(0, 517));

    const size_t scan = FindMarker(good, 0xDA);
    ASSERT_NE(scan, std::string::npos);
    std::vector<BYTE> noScan(good.begin(), good.begin() + scan);
    noScan.push_back(0xFF);
    noScan.push_back(0xD9);
    ExpectRefused("no-scan", noScan);
    std::vector<BYTE> twoStarts = good;
    twoStarts.insert(twoStarts.begin() + 2, good.begin(), good.begin() + 2);
    ExpectRefused("two-start-markers", twoStarts);

}

TEST_F(BadInputTest, DamagedPicturesOfTheOtherFormatsAreRefused)
{
    const std::vector<BYTE> png = ReadBytes(CorpusFolder() + "\\picture\\png-rgb.png");
    ASSERT_GT(png.size(), 1000u);
    ExpectRefused("png-cut-in-the-picture", std::vector<BYTE>(png.begin(), png.begin() + png.size() / 2));
    ExpectRefused("png-cut-before-its-end", std::vector<BYTE>(png.begin(), png.end() - 4));
    // 40,000 x 40,000 in the header (bytes 16 to 23, big-endian) of a small
    // file: refused by its header, before a decoder allocates for it.
    std::vector<BYTE> huge = png;
    const BYTE claim[] = {0, 0, 0x9C, 0x40, 0, 0, 0x9C, 0x40};
    std::copy(claim, claim + sizeof(claim), huge.begin() + 16);
    ExpectRefused("png-claims-40000-by-40000", huge);
    ExpectRefused("palette-index-beyond-the-palette", ReadBytes(CorpusFolder() + "\\other\\palette-beyond.png"));

    const std::vector<BYTE> tiff = ReadBytes(CorpusFolder() + "\\picture\\tiff-lzw-turned.tif");
    ASSERT_GT(tiff.size(), 1000u);
    ExpectRefused("tiff-cut-in-the-picture", std::vector<BYTE>(tiff.begin(), tiff.begin() + tiff.size() / 2));
    // A logical screen, then the trailer: no frame at all.
    const BYTE noFrames[] = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B};
    ExpectRefused("gif-without-frames", std::vector<BYTE>(noFrames, noFrames + sizeof(noFrames)));
    const char text[] = "<svg>not a bitmap of any kind</svg>";
    ExpectRefused("text-named-png", std::vector<BYTE>(text, text + sizeof(text) - 1), ".png");
}

// A WebP, HEIC or AVIF converts where Microsoft's codec for it is installed;
// elsewhere (Wine, an older Windows) it is refused as having no decoder,
// leaving no file. The HEIC and AVIF files are the stand-ins' own, which a
// real codec refuses.
TEST_F(BadInputTest, WebpHeicAndAvifConvertOnlyWhereTheirCodecIsInstalled)
{
    const struct
    {
        std::string path;
        const CLSID *codec;
        bool real;
    } rows[] = {{CorpusFolder() + "\\other\\scene.webp", &CLSID_WICWebpDecoder, true},
                {CorpusSource("heic-1.heic"), &CLSID_WICHeifDecoder, false},
                {CorpusSource("avif-1.avif"), &CLSID_WICHeifDecoder, false}};
    for (const auto &row : rows)
    {
        const HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        IWICBitmapDecoder *decoder = NULL;
        const bool codec =
            SUCCEEDED(CoCreateInstance(*row.codec, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&decoder)));
        if (decoder != NULL)
            decoder->Release();
        if (SUCCEEDED(com))
            CoUninitialize();
        const std::string destination = folder + "\\picture.bmp";
        const int result = convert(row.path.c_str(), destination.c_str());
        if (!codec)
            EXPECT_EQ(result, ConvertNoDecoder) << row.path;
        else
            EXPECT_EQ(result == 0, row.real) << row.path;
        EXPECT_EQ(FileExists(destination), codec && row.real) << row.path;
        DeleteTree(destination);
    }
}

// Decoders that fail (the stand-ins for Windows' own, tests/codec_standins)
// leave no file; a decoder's closest size or pixel format that no sound
// decoder would answer is passed over, and the photo decoded at full size.
TEST_F(BadInputTest, DecodersThatFailOrAnswerOddlyLeaveNoFileOrAreNotTrusted)
{
    const ScaledImageConverter scaled = ShippedScaledConvert();
    ASSERT_TRUE(scaled != NULL);
    const CodecStandIns standIns;
    ASSERT_EQ(standIns.Problem(), "");
    const struct
    {
        const char *name;
        const char *mode;
        bool converts;
    } rows[] = {
        {"photo-6000x4000.jpg", "copy-fails", false},   // in its scaled decode, halfway
        {"photo-800x600.jpg", "copy-fails", false},     // at full size
        {"webp-6.webp", "copy-fails", false},
        {"heic-1.heic", "init-fails", false},
        {"webp-8.webp", "init-fails", false},
        {"photo-6000x4000.jpg", "size-larger", true},   // twice the frame
        {"photo-6000x4000.jpg", "size-zero", true},
        {"photo-6000x4000.jpg", "format-other", true},  // 32-bit BGRA for a 24-bit frame
    };
    for (const auto &row : rows)
    {
        SetStandInMode(row.mode);
        StartStandInLog(folder + "\\standin.log");
        const std::string destination = folder + "\\odd.bmp";
        const int result = scaled(Wide(CorpusSource(row.name)).c_str(), Wide(destination).c_str(), 1920, 1080, 0);
        const std::string what = std::string(row.name) + ", " + row.mode;
        EXPECT_FALSE(StandInLog().empty()) << what << ": the stand-in was not asked";
        if (!row.converts)
        {
            EXPECT_NE(result, 0) << what;
            EXPECT_NE(result, ConvertFaulted) << what;
            EXPECT_FALSE(FileExists(destination)) << what << " left a file";
            continue;
        }
        EXPECT_EQ(result, 0) << what;
        EXPECT_EQ(ScaledCopiesProblem(StandInLog(), 0, 0), "") << what;
        Pixels converted, reference;
        ASSERT_EQ(ReadBitmap(destination, &converted), "") << what;
        ASSERT_EQ(ReadBitmap(CorpusFolder() + "\\scaled\\photo-6000x4000-1920x1280.bmp", &reference), "");
        EXPECT_GE(Psnr(converted, reference), 35.0) << what;
        DeleteTree(destination);
    }
}

TEST_F(BadInputTest, PathsThatCannotBeUsedAreRefused)
{
    const std::string source = CorpusJpeg("baseline-420");
    const std::string destination = folder + "\\out.bmp";
    EXPECT_NE(convert((folder + "\\no-such-file.jpg").c_str(), destination.c_str()), 0);
    EXPECT_NE(convert((folder + "\\no-such-folder\\sea.jpg").c_str(), destination.c_str()), 0);
    EXPECT_FALSE(FileExists(destination));

    const std::string missingFolder = folder + "\\no-such-folder\\out.bmp";
    EXPECT_NE(convert(source.c_str(), missingFolder.c_str()), 0);
    EXPECT_FALSE(FileExists(missingFolder));
    EXPECT_NE(convert(source.c_str(), folder.c_str()), 0) << "a folder as the destination";

    EXPECT_NE(convert(NULL, destination.c_str()), 0);
    EXPECT_NE(convert(source.c_str(), NULL), 0);
    EXPECT_NE(convert("", destination.c_str()), 0);
    EXPECT_NE(convert(source.c_str(), ""), 0);
    EXPECT_FALSE(FileExists(destination));
}

TEST_F(BadInputTest, AnExistingDestinationIsReplacedWhole)
{
    // Longer than the bitmap: what is left of it past the bitmap's end would
    // show that the file was overwritten rather than replaced.
    const std::string destination = folder + "\\out.bmp";
    ASSERT_TRUE(WriteBytes(destination, std::vector<BYTE>(1 << 20, 0x5A)));
    ASSERT_EQ(convert(CorpusJpeg("size-17x9").c_str(), destination.c_str()), 0);
    EXPECT_EQ(ConverterBitmapProblem(destination), "");
}

TEST_F(BadInputTest, AFailureLeavesAnExistingFileItCouldNotReplaceAsItWas)
{
    // Held open without sharing, as a program showing it might. (A read-only
    // file would do as well on Windows; Wine run as root writes it anyway.)
    const std::vector<BYTE> marker(100, 0x42);
    const std::string inUse = folder + "\\in-use.bmp";
    ASSERT_TRUE(WriteBytes(inUse, marker));
    const HANDLE holder = CreateFileA(inUse.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_NE(convert(CorpusJpeg("size-17x9").c_str(), inUse.c_str()), 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(inUse), marker) << "a destination in use was changed";

    // Converting a file onto itself must not destroy the picture it reads.
    const std::string itself = folder + "\\itself.jpg";
    ASSERT_TRUE(WriteBytes(itself, good));
    EXPECT_NE(convert(itself.c_str(), itself.c_str()), 0);
    EXPECT_EQ(ReadBytes(itself), good) << "the source was overwritten by its own conversion";

    // A failure before the bitmap is begun does not touch what is there.
    const std::string existing = folder + "\\existing.bmp";
    ASSERT_TRUE(WriteBytes(existing, marker));
    const std::string text = folder + "\\text.jpg";
    ASSERT_TRUE(WriteTextFile(text, "not a picture"));
    EXPECT_NE(convert(text.c_str(), existing.c_str()), 0);
    EXPECT_EQ(ReadBytes(existing), marker);
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

TEST_F(BadInputTest, ConversionsKeepNoHandleOrMemory)
{
    const std::string source = folder + "\\source.jpg";
    const std::string truncated = folder + "\\truncated.jpg";
    const std::string huffman = folder + "\\huffman.jpg";
    const std::string destination = folder + "\\out.bmp";
    ASSERT_TRUE(WriteBytes(source, good));
    ASSERT_TRUE(WriteBytes(truncated, std::vector<BYTE>(good.begin(), good.end() - 100)));
    ASSERT_TRUE(WriteBytes(huffman, Overwritten(FindMarker(good, 0xC4) + 4, 40, 0xEE)));
    // One of each first: the system libraries and heaps are then in place.
    convert(source.c_str(), destination.c_str());
    convert(truncated.c_str(), destination.c_str());
    convert(huffman.c_str(), destination.c_str());
    const int handles = CountProcessHandles();
    ASSERT_GT(handles, 0) << "cannot count this process's handles";
    const SIZE_T memory = PrivateBytes();

    for (int i = 0; i < 10; ++i)
    {
        ASSERT_EQ(convert(source.c_str(), destination.c_str()), 0);
        ASSERT_NE(convert(truncated.c_str(), destination.c_str()), 0);
        ASSERT_NE(convert(huffman.c_str(), destination.c_str()), 0);
    }
    EXPECT_EQ(CountProcessHandles(), handles) << "30 conversions left handles open";
    // A decoder kept alive holds its whole picture (1.8 MB here): 30 of them
    // would be tens of megabytes. Heaps keep some slack, hence the margin.
    const SIZE_T picture = 1203 * 517 * 3;
    EXPECT_LT(PrivateBytes(), memory + picture) << "30 conversions kept memory: " << PrivateBytes() - memory;
    // Nothing holds the files open.
    EXPECT_TRUE(DeleteFileA(source.c_str()));
    EXPECT_TRUE(DeleteFileA(huffman.c_str()));
    EXPECT_TRUE(DeleteFileA(destination.c_str()));
}

// The apartment a thread is in, told by what a new initialisation answers:
// S_OK none (undone again at once), S_FALSE multithreaded,
// RPC_E_CHANGED_MODE single-threaded.
HRESULT ApartmentProbe()
{
    const HRESULT hr = CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr;
}

struct ApartmentRun
{
    DWORD initialisation; // COINIT_*, or ~0 for a thread without COM
    int result;
    HRESULT before;
    HRESULT after;
};

DWORD WINAPI ConvertInApartment(void *parameter)
{
    ApartmentRun *run = static_cast<ApartmentRun *>(parameter);
    const bool own = run->initialisation != ~0u && SUCCEEDED(CoInitializeEx(NULL, run->initialisation));
    run->before = ApartmentProbe();
    const std::string destination = ScratchFolder("apartment") + "\\out.bmp";
    run->result = ShippedConvert()(CorpusJpeg("size-17x9").c_str(), destination.c_str());
    run->after = ApartmentProbe();
    if (own)
        CoUninitialize();
    return 0;
}

ApartmentRun RunInThread(DWORD initialisation)
{
    ApartmentRun run = {initialisation, -1, E_FAIL, E_FAIL};
    const HANDLE thread = CreateThread(NULL, 0, ConvertInApartment, &run, 0, NULL);
    if (thread != NULL)
    {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    return run;
}

TEST_F(BadInputTest, WorksInTheCallersApartmentAndLeavesItAsItWas)
{
    const ApartmentRun none = RunInThread(~0u);
    EXPECT_EQ(none.result, 0);
    EXPECT_EQ(none.before, S_OK);
    EXPECT_EQ(none.after, S_OK) << "the converter left COM initialised on a thread that had none";

    const ApartmentRun single = RunInThread(COINIT_APARTMENTTHREADED);
    EXPECT_EQ(single.result, 0);
    EXPECT_EQ(single.before, RPC_E_CHANGED_MODE);
    EXPECT_EQ(single.after, RPC_E_CHANGED_MODE) << "the caller's single-threaded apartment was undone";

    const ApartmentRun multi = RunInThread(COINIT_MULTITHREADED);
    EXPECT_EQ(multi.result, 0) << "no conversion in the caller's multithreaded apartment";
    EXPECT_EQ(multi.before, S_FALSE);
    EXPECT_EQ(multi.after, S_FALSE) << "the caller's multithreaded apartment was undone";
    DeleteTree(ScratchFolder("apartment"));
}
}
