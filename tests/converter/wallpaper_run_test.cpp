// The logon run with the real converter: Vistrane.cpl and Vistrane-jpeg.dll
// copied side by side, as an installation places them, over a folder of
// pictures to convert, run by Wine's rundll32.exe.
#include <gtest/gtest.h>

#include <set>

#include "converter_support.h"
#include "settings_fixture.h"
#include "standin_registration.h"

namespace
{
class WallpaperRunTest : public SettingsFixture
{
protected:
    void TearDown() override
    {
        DeleteTree(WindowsFolder() + "\\vistrane.bmp");
        DeleteTree(installed);
        SettingsFixture::TearDown();
    }

    void ExpectEachShownInTurn(const char *const (&corpus)[3], const char *const (&names)[3]);

    std::string installed;
};

// Each run in turn over a folder of three corpus pictures under the run's own
// names shows the next of them, converted and upright.
void WallpaperRunTest::ExpectEachShownInTurn(const char *const (&corpus)[3], const char *const (&names)[3])
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(CopyOneFile(CorpusSource(corpus[i]), folder + "\\" + names[i])) << corpus[i];
    installed = ScratchFolder("wallpaper-run-install-Установка");
    const std::string applet = installed + "\\Vistrane.cpl";
    ASSERT_TRUE(CopyOneFile(ShippedApplet(), applet));
    ASSERT_TRUE(CopyOneFile(ShippedConverter(), installed + "\\Vistrane-jpeg.dll"));
    const std::vector<std::string> listing = ListingOrder(folder);
    ASSERT_EQ(listing.size(), 3u);
    UseFolder(0);

    const std::string bitmap = WindowsFolder() + "\\vistrane.bmp";
    std::set<std::string> shownEntries;
    for (int run = 0; run < 3; ++run)
    {
        ResetDesktopValues();
        ASSERT_EQ(RunProgram("rundll32.exe \"" + applet + "\",AfterLogon"), 0);
        ASSERT_EQ(Wallpaper(), bitmap) << "run " << run;
        const int shown = StoredHistory().h0;
        ASSERT_TRUE(shown >= 0 && shown < 3) << "run " << run << " recorded position " << shown;
        const std::string entry = listing[shown];
        shownEntries.insert(entry);
        const char *source = NULL;
        for (int i = 0; i < 3; ++i)
            if (entry == names[i])
                source = corpus[i];
        ASSERT_TRUE(source != NULL) << entry;

        EXPECT_EQ(ConverterBitmapProblem(bitmap), "") << entry;
        Pixels shownPixels, reference;
        ASSERT_EQ(ReadBitmap(bitmap, &shownPixels), "");
        ASSERT_EQ(ReadBitmap(CorpusReferenceOf(source), &reference), "");
        EXPECT_GE(Psnr(shownPixels, reference), 40.0) << "the wallpaper is not " << entry << " upright";
    }
    EXPECT_EQ(shownEntries.size(), 3u) << "three runs in turn must show the three pictures";
}

TEST_F(WallpaperRunTest, AFolderOfJpegsBecomesTheWallpaperPictureByPicture)
{
    // A phone's picture turned on its side, a camera's, an editor's
    // progressive one; two named in scripts the code page does not hold,
    // converted through the wide export.
    ExpectEachShownInTurn({"orientation-6-bands", "baseline-420", "progressive-420"},
                          {"夕日.jpg", "Été-海.jpeg", "editor.JPG"});
}

// Through the stand-ins for Microsoft's decoders (tests/codec_standins),
// each upright as its decoder's orientation says.
TEST_F(WallpaperRunTest, AFolderOfWebpHeicAndAvifPicturesBecomesTheWallpaperPictureByPicture)
{
    const CodecStandIns standIns;
    ASSERT_EQ(standIns.Problem(), "");
    ExpectEachShownInTurn({"webp-6.webp", "heic-3.heic", "avif-8.avif"}, {"Strand.webp", "山.heic", "Katze.avif"});
}

TEST_F(WallpaperRunTest, AFolderOfPngGifAndTiffPicturesBecomesTheWallpaperPictureByPicture)
{
    // Transparent pixels are blended over the desktop colour the references
    // were made with.
    const CorpusDesktopColour desktop;
    ASSERT_TRUE(desktop.IsSet());
    ExpectEachShownInTurn({"png-rgba.png", "gif-frames.gif", "tiff-lzw-turned.tif"},
                          {"Lagune.png", "ダンス.gif", "scan.TIFF"});
}
}

namespace
{
// The desktop's style decides the bitmap's size: under Fill it is made for
// the display (Wine's without a screen is 1024 x 768), under Center or
// tiling it keeps the picture's own.
TEST_F(WallpaperRunTest, APictureLargerThanTheDisplayIsScaledOnlyWhereTheStyleScalesIt)
{
    ASSERT_TRUE(CopyOneFile(CorpusJpeg("large-420"), folder + "\\big.jpg"));
    installed = ScratchFolder("scaled-run-install");
    const std::string applet = installed + "\\Vistrane.cpl";
    ASSERT_TRUE(CopyOneFile(ShippedApplet(), applet));
    ASSERT_TRUE(CopyOneFile(ShippedConverter(), installed + "\\Vistrane-jpeg.dll"));
    UseFolder(0);
    std::string style;
    const bool hadStyle = ReadStringValue(DesktopKeyPath, "WallpaperStyle", &style);
    const struct
    {
        const char *style;
        int tile;
        int width, height;
    } rows[] = {{"10", 0, 1152, 768}, {"0", 0, 2400, 1600}, {"10", 1, 2400, 1600}, {"6", 0, 1024, 683},
                {NULL, 0, 2400, 1600}};
    for (const auto &row : rows)
    {
        // Last, Fill as a number, not the text Windows writes: a style the
        // run does not know.
        if (row.style != NULL)
            WriteStringValue(DesktopKeyPath, "WallpaperStyle", row.style);
        else
            WriteDwordValue(DesktopKeyPath, "WallpaperStyle", 10);
        WriteDwordValue(SettingsKeyPath, DoTileValue, row.tile);
        ASSERT_EQ(RunProgram("rundll32.exe \"" + applet + "\",AfterLogon"), 0);
        Pixels shown;
        const std::string style = row.style != NULL ? row.style : "10 as a number";
        ASSERT_EQ(ReadBitmap(WindowsFolder() + "\\vistrane.bmp", &shown), "") << "style " << style;
        EXPECT_EQ(shown.width, row.width) << "style " << style << ", tiled " << row.tile;
        EXPECT_EQ(shown.height, row.height) << "style " << style << ", tiled " << row.tile;
    }
    WriteStringValue(DesktopKeyPath, "WallpaperStyle", hadStyle ? style : "0");
}

// A decoder that fails halfway down a camera photo (the stand-in for
// Windows' JPEG decoder, in its scaled decode for the Fill desktop): the run
// moves on to the folder's other picture, and the bitmap an earlier run
// converted stays as it was.
TEST_F(WallpaperRunTest, ADecoderFailingHalfwayLeavesTheEarlierBitmapAndTheRunMovesOn)
{
    ASSERT_TRUE(CopyOneFile(CorpusSource("photo-4000x2250.jpg"), folder + "\\camera.jpg"));
    MakeEntries(folder, {"other.bmp"});
    installed = ScratchFolder("failing-decoder-install");
    const std::string applet = installed + "\\Vistrane.cpl";
    ASSERT_TRUE(CopyOneFile(ShippedApplet(), applet));
    ASSERT_TRUE(CopyOneFile(ShippedConverter(), installed + "\\Vistrane-jpeg.dll"));
    UseFolder(0);
    const int camera = PositionOf(ListingOrder(folder), "camera.jpg");
    ASSERT_GE(camera, 0);
    StoreHistory(1 - camera, 0, 0); // in turn, the photo comes next
    const std::string bitmap = WindowsFolder() + "\\vistrane.bmp";
    const std::vector<BYTE> earlier = ReadBytes(CorpusReference("size-17x9"));
    ASSERT_TRUE(WriteBytes(bitmap, earlier));
    const CodecStandIns standIns;
    ASSERT_EQ(standIns.Problem(), "");
    std::string style;
    const bool hadStyle = ReadStringValue(DesktopKeyPath, "WallpaperStyle", &style);
    WriteStringValue(DesktopKeyPath, "WallpaperStyle", "10");
    SetStandInMode("copy-fails");
    StartStandInLog(installed + "\\standin.log");
    EXPECT_EQ(RunProgram("rundll32.exe \"" + applet + "\",AfterLogon"), 0);
    WriteStringValue(DesktopKeyPath, "WallpaperStyle", hadStyle ? style : "0");
    EXPECT_EQ(ShownEntry(), "other.bmp") << "the run did not move on";
    EXPECT_EQ(ReadBytes(bitmap), earlier) << "the earlier bitmap was changed";
    bool failed = false;
    for (const std::string &line : StandInLog())
        failed = failed || (line.find("scaled-copy 2000x1125") != std::string::npos &&
                            line.find("-> 0x0") == std::string::npos);
    EXPECT_TRUE(failed) << "the stand-in's scaled decode never failed";
    for (const std::string &name : ListingOrder(WindowsFolder()))
        EXPECT_FALSE(name.compare(0, 9, "vistrane.") == 0 && name != "vistrane.bmp") << name << " was left behind";
}

// What a reader finds wrong with the bitmap at this moment: "" when it is
// whole, or missing. It is read as the desktop would, sharing everything, so
// the watch itself never stops a run from replacing it.
std::string BitmapNowProblem(const std::string &path)
{
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? "" : "cannot be opened";
    BITMAPFILEHEADER header = {};
    DWORD read = 0;
    const DWORD size = GetFileSize(file, NULL);
    const BOOL readHeader = ReadFile(file, &header, sizeof(header), &read, NULL);
    CloseHandle(file);
    if (!readHeader || read != sizeof(header) || header.bfType != 0x4D42 || header.bfSize != size)
        return "a file of " + std::to_string(size) + " bytes whose header says " + std::to_string(header.bfSize);
    return "";
}

// Runs overlap on a real PC: the logon run and "Change now", two sessions of
// one user. Eight at once, round after round, over large JPEGs (one turned),
// a truncated one and two bitmaps.
TEST_F(WallpaperRunTest, OverlappingRunsNeverShowAnEmptyOrPartialBitmap)
{
    const char *const corpus[] = {"orientation-6-bands", "bands-420", "progressive-420"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(CopyOneFile(CorpusJpeg(corpus[i]), folder + "\\" + corpus[i] + ".jpg")) << corpus[i];
    // The first half of a picture, as an interrupted download leaves it.
    ASSERT_TRUE(CopyOneFile(CorpusJpeg("bands-420"), folder + "\\cut.jpg"));
    const HANDLE cut = CreateFileW(Wide(folder + "\\cut.jpg").c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(cut, INVALID_HANDLE_VALUE);
    SetFilePointer(cut, GetFileSize(cut, NULL) / 2, NULL, FILE_BEGIN);
    SetEndOfFile(cut);
    CloseHandle(cut);
    MakeEntries(folder, {"a.bmp", "b.bmp"});
    installed = ScratchFolder("overlapping-install");
    const std::string applet = installed + "\\Vistrane.cpl";
    ASSERT_TRUE(CopyOneFile(ShippedApplet(), applet));
    ASSERT_TRUE(CopyOneFile(ShippedConverter(), installed + "\\Vistrane-jpeg.dll"));
    // In turn from just before a JPEG: the first run to read the history
    // converts it, whichever second the runs start in; the runs after it
    // walk on through the truncated one, the others and the bitmaps.
    UseFolder(0);
    const std::vector<std::string> listing = ListingOrder(folder);
    const int first = PositionOf(listing, "bands-420.jpg");
    ASSERT_GE(first, 0);
    StoreHistory(first == 0 ? static_cast<int>(listing.size()) - 1 : first - 1, 0, 0);

    const std::string bitmap = WindowsFolder() + "\\vistrane.bmp";
    DeleteTree(bitmap);
    const int Rounds = 3, Runs = 8;
    for (int round = 0; round < Rounds; ++round)
    {
        HANDLE runs[Runs];
        for (int run = 0; run < Runs; ++run)
            ASSERT_NE(runs[run] = StartProgram("rundll32.exe \"" + applet + "\",AfterLogon"), (HANDLE)NULL);
        std::string problem;
        do
            problem = BitmapNowProblem(bitmap);
        while (problem.empty() && WaitForMultipleObjects(Runs, runs, TRUE, 0) == WAIT_TIMEOUT);
        WaitForMultipleObjects(Runs, runs, TRUE, INFINITE);
        for (int run = 0; run < Runs; ++run)
            CloseHandle(runs[run]);
        ASSERT_EQ(problem, "") << "round " << round << ": the desktop's bitmap while runs overlapped";
        const std::string shown = Wallpaper();
        if (shown == bitmap)
            EXPECT_EQ(ConverterBitmapProblem(bitmap), "") << "round " << round;
        else
            EXPECT_EQ(shown.compare(0, folder.size(), folder), 0) << "round " << round << ": " << shown;
    }
    EXPECT_TRUE(FileExists(bitmap)) << "the first run did not convert bands-420.jpg";
    const std::vector<std::string> left = ListingOrder(WindowsFolder());
    for (const std::string &name : left)
        EXPECT_FALSE(name.compare(0, 9, "vistrane.") == 0 && name != "vistrane.bmp") << name << " was left behind";
}
}
