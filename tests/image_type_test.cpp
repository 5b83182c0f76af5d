// Which paths are bitmaps, which are pictures to convert, and which are neither.
#include <gtest/gtest.h>

#include "image_type.h"

namespace
{
TEST(ClassifyImage, BitmapsAreFoundAnywhereInThePath)
{
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\SEA.Bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\notes.bmp.txt"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\old.bmp.files\\song.mp3"), BitmapImage) << "the directory counts too";
}

TEST(ClassifyImage, PicturesMustEndInTheirFirstExtension)
{
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpg"), ConvertedImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.JPEG"), ConvertedImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpg.txt"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpe"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\jpg"), UnusableImage);
    const wchar_t *const converted[] = {L"a.png", L"a.GIF", L"a.tif", L"a.Tiff", L"a.jxr", L"a.wdp", L"a.HDP",
                                        L"a.webp", L"a.heic", L"a.heif", L"a.AVIF", L"a.tif\\b.tiff"};
    for (const wchar_t *name : converted)
        EXPECT_EQ(ClassifyImage(name), ConvertedImage) << name;
    const wchar_t *const unusable[] = {L"a.png.txt", L"a.png\\b.png", L"a.tiff\\b.tiff", L"a.pn", L"a.svg", L"a.ico"};
    for (const wchar_t *name : unusable)
        EXPECT_EQ(ClassifyImage(name), UnusableImage) << name;
    EXPECT_EQ(ClassifyImage(L"a.bmp.png"), BitmapImage) << "\".BMP\" anywhere wins";
}

TEST(ClassifyImage, AJpegNamedFolderBlocksOnlyItsOwnExtension)
{
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpg\\sea.jpg"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpg\\sea.jpeg"), ConvertedImage) << "\".JPG\" is not part of \".JPEG\"";
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpeg\\sea.jpeg"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpeg\\sea.jpg"), ConvertedImage);
}

TEST(ClassifyImage, OnlyAsciiLettersAreFoldedInAnyScript)
{
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\caf\xE9.jpg"), ConvertedImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\x.\xE2mp"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\\x0424\x043e\x0442\x043e\\\x0417\x0430\x043a\x0430\x0442.BMP"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\\x5199\x771f\\\x5915\x65e5.jpeg"), ConvertedImage);
    EXPECT_EQ(ClassifyImage(L"C:\\nb\\\U0001F305.bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\nb\\\xC9t\xE9-\x6d77.Jpg"), ConvertedImage);
    // Fullwidth letters are not ASCII ones: no extension here.
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.\xFF2A\xFF30\xFF27"), UnusableImage);
    // A surrogate without its pair is no whole text.
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\\xD83C.bmp"), UnusableImage) << "a high surrogate alone";
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\\xDF05x.jpg"), UnusableImage) << "a low surrogate alone";
}
}
