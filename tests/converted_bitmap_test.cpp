// Converting a JPEG into the desktop's bitmap: where it goes, and that a
// failed conversion never costs the bitmap the desktop is showing.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_file.h"
#include "converted_bitmap.h"
#include "converter_library.h"
#include "prepare_image.h"
#include "test_support.h"

namespace
{
class ConvertedBitmapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        windowsBitmap = WindowsFolder() + "\\vistrane.bmp";
        windowsPending = WindowsFolder() + "\\vistrane.new.bmp";
        userFolder = LocalAppDataFolder() + "\\Vistrane";
        ASSERT_NE(LocalAppDataFolder(), "") << "no local application data folder";
        Clean();
        folder = ScratchFolder("conversion");
        source = folder + "\\Sea View.jpg";
        ASSERT_TRUE(WriteTextFile(source, "stands in for a JPEG"));
    }
    void TearDown() override
    {
        Clean();
        DeleteTree(folder);
    }
    void Clean()
    {
        DeleteTree(windowsBitmap);
        DeleteTree(windowsPending);
        DeleteTree(userFolder);
    }
    bool Convert(const char *kind, char (&path)[MAX_PATH])
    {
        lstrcpynA(path, source.c_str(), MAX_PATH);
        const ImageConverter convert = LoadTestConverter(kind);
        EXPECT_NE(convert, (ImageConverter)NULL) << kind << " did not load";
        return convert != NULL && ConvertJpeg(path, convert);
    }

    std::string windowsBitmap, windowsPending, userFolder, folder, source;
};


TEST_F(ConvertedBitmapTest, SuccessReplacesTheBitmapInTheWindowsFolder)
{
    ASSERT_TRUE(WriteBitmapFile(windowsBitmap.c_str(), 1, 1, RGB(0, 0, 255)));
    char path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap", path));
    EXPECT_EQ(std::string(path), windowsBitmap);
    const SIZE size = LoadedBitmapSize(windowsBitmap.c_str());
    EXPECT_EQ(size.cx, 4) << "the converter's 4 x 3 bitmap must have replaced the old 1 x 1";
    EXPECT_EQ(size.cy, 3);
    EXPECT_FALSE(FileExists(windowsPending)) << "the pending bitmap was left behind";
}

TEST_F(ConvertedBitmapTest, FailureKeepsThePreviousBitmap)
{
    const char *failing[] = {"returns-failure", "null-pointer", "raises-exception", "divides-by-zero"};
    for (size_t i = 0; i < sizeof(failing) / sizeof(failing[0]); ++i)
    {
        ASSERT_TRUE(WriteBitmapFile(windowsBitmap.c_str(), 1, 1, RGB(0, 0, 255)));
        char path[MAX_PATH];
        EXPECT_FALSE(Convert(failing[i], path)) << failing[i];
        EXPECT_EQ(std::string(path), source) << failing[i] << " changed the chosen path";
        EXPECT_EQ(LoadedBitmapSize(windowsBitmap.c_str()).cx, 1) << failing[i] << " cost the desktop its bitmap";
        EXPECT_FALSE(FileExists(windowsPending)) << failing[i] << " left its half-written bitmap";
    }
}

TEST_F(ConvertedBitmapTest, UnwritableWindowsFolderFallsBackToTheUsersFolder)
{
    // Wine does not enforce permissions; a folder in the pending file's place
    // makes the Windows folder just as unusable.
    ASSERT_TRUE(CreateDirectoryA(windowsPending.c_str(), NULL));
    char path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap", path));
    const std::string userBitmap = userFolder + "\\vistrane.bmp";
    EXPECT_EQ(std::string(path), userBitmap);
    EXPECT_EQ(LoadedBitmapSize(userBitmap.c_str()).cx, 4);
    EXPECT_FALSE(FileExists(userFolder + "\\vistrane.new.bmp"));
    EXPECT_FALSE(FileExists(windowsBitmap));

    // A second conversion replaces it there as well.
    ASSERT_TRUE(Convert("writes-bitmap", path));
    EXPECT_EQ(std::string(path), userBitmap);
}

TEST_F(ConvertedBitmapTest, NoWritablePlaceMeansNoConversion)
{
    ASSERT_TRUE(CreateDirectoryA(windowsPending.c_str(), NULL));
    ASSERT_TRUE(WriteTextFile(userFolder, "a file where the folder should be"));
    char path[MAX_PATH];
    EXPECT_FALSE(Convert("writes-bitmap", path));
    EXPECT_EQ(std::string(path), source);
}

TEST_F(ConvertedBitmapTest, WithoutAConverterOnlyBitmapsAreUsable)
{
    // Nothing named Vistrane-jpeg.dll sits beside this program, in the
    // system folder or in the Windows folder.
    char path[MAX_PATH];
    lstrcpynA(path, source.c_str(), MAX_PATH);
    EXPECT_FALSE(PrepareImage(path));
    EXPECT_EQ(std::string(path), source);

    const std::string bitmap = folder + "\\sea.BMP";
    lstrcpynA(path, bitmap.c_str(), MAX_PATH);
    EXPECT_TRUE(PrepareImage(path));
    EXPECT_EQ(std::string(path), bitmap) << "a bitmap is used as it is";
}
}
