// Which paths are bitmaps, which are JPEGs, and which are neither.
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

TEST(ClassifyImage, JpegsMustEndInTheirFirstExtension)
{
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpg"), JpegImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.JPEG"), JpegImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpg.txt"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.jpe"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.gif"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\jpg"), UnusableImage);
}

TEST(ClassifyImage, AJpegNamedFolderBlocksOnlyItsOwnExtension)
{
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpg\\sea.jpg"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpg\\sea.jpeg"), JpegImage) << "\".JPG\" is not part of \".JPEG\"";
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpeg\\sea.jpeg"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\a.jpeg\\sea.jpg"), JpegImage);
}

TEST(ClassifyImage, OnlyAsciiLettersAreFoldedInAnyScript)
{
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\caf\xE9.jpg"), JpegImage);
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\x.\xE2mp"), UnusableImage);
    EXPECT_EQ(ClassifyImage(L"C:\\\x0424\x043e\x0442\x043e\\\x0417\x0430\x043a\x0430\x0442.BMP"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\\x5199\x771f\\\x5915\x65e5.jpeg"), JpegImage);
    EXPECT_EQ(ClassifyImage(L"C:\\nb\\\U0001F305.bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage(L"C:\\nb\\\xC9t\xE9-\x6d77.Jpg"), JpegImage);
    // Fullwidth letters are not ASCII ones: no extension here.
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\sea.\xFF2A\xFF30\xFF27"), UnusableImage);
    // A surrogate without its pair is no whole text.
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\\xD83C.bmp"), UnusableImage) << "a high surrogate alone";
    EXPECT_EQ(ClassifyImage(L"C:\\Pics\\\xDF05x.jpg"), UnusableImage) << "a low surrogate alone";
}
}
