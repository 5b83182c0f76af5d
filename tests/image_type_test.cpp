// Which paths are bitmaps, which are JPEGs, and which are neither.
#include <gtest/gtest.h>

#include "image_type.h"

namespace
{
TEST(ClassifyImage, BitmapsAreFoundAnywhereInThePath)
{
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\SEA.Bmp"), BitmapImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\notes.bmp.txt"), BitmapImage);
    EXPECT_EQ(ClassifyImage("C:\\old.bmp.files\\song.mp3"), BitmapImage) << "the directory counts too";
}

TEST(ClassifyImage, JpegsMustEndInTheirFirstExtension)
{
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.jpg"), JpegImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.JPEG"), JpegImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.jpg.txt"), UnusableImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.jpe"), UnusableImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\sea.gif"), UnusableImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\jpg"), UnusableImage);
}

TEST(ClassifyImage, AJpegNamedFolderBlocksOnlyItsOwnExtension)
{
    EXPECT_EQ(ClassifyImage("C:\\a.jpg\\sea.jpg"), UnusableImage);
    EXPECT_EQ(ClassifyImage("C:\\a.jpg\\sea.jpeg"), JpegImage) << "\".JPG\" is not part of \".JPEG\"";
    EXPECT_EQ(ClassifyImage("C:\\a.jpeg\\sea.jpeg"), UnusableImage);
    EXPECT_EQ(ClassifyImage("C:\\a.jpeg\\sea.jpg"), JpegImage);
}

TEST(ClassifyImage, OnlyAsciiLettersAreFolded)
{
    // 0xE9 is a Latin-1 letter; folding it would be wrong and harmless here,
    // but bytes of other code pages must pass through untouched.
    EXPECT_EQ(ClassifyImage("C:\\Pics\\caf\xE9.jpg"), JpegImage);
    EXPECT_EQ(ClassifyImage("C:\\Pics\\x.\xE2mp"), UnusableImage);
}
}
