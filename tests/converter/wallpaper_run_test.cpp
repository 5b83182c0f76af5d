// The logon run with the real converter: Vistrane.cpl and Vistrane-jpeg.dll
// copied side by side, as an installation places them, over a folder that
// holds JPEG files only, run by Wine's rundll32.exe.
#include <gtest/gtest.h>

#include <set>

#include "converter_support.h"
#include "settings_fixture.h"

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

    std::string installed;
};

TEST_F(WallpaperRunTest, AFolderOfJpegsBecomesTheWallpaperPictureByPicture)
{
    // The run's own names for the corpus files: a phone's picture turned on
    // its side, a camera's, an editor's progressive one; two named in scripts
    // the code page does not hold, converted through the wide export.
    const char *const corpus[] = {"orientation-6-bands", "baseline-420", "progressive-420"};
    const char *const names[] = {"夕日.jpg", "Été-海.jpeg", "editor.JPG"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(CopyOneFile(CorpusJpeg(corpus[i]), folder + "\\" + names[i])) << corpus[i];
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
        ASSERT_EQ(ReadBitmap(CorpusReference(source), &reference), "");
        EXPECT_GE(Psnr(shownPixels, reference), 40.0) << "the wallpaper is not " << entry << " upright";
    }
    EXPECT_EQ(shownEntries.size(), 3u) << "three runs in turn must show the three pictures";
}
}

