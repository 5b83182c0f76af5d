// Listing the image directory, and the limits of the joined paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image_list.h"
#include "join_path.h"
#include "test_support.h"

namespace
{
TEST(JoinPath, AddsABackslashOnlyWhenMissing)
{
    char path[MAX_PATH];
    ASSERT_TRUE(JoinPath(path, "C:\\Pics", "a.bmp"));
    EXPECT_STREQ(path, "C:\\Pics\\a.bmp");
    ASSERT_TRUE(JoinPath(path, "C:\\Pics\\", "a.bmp"));
    EXPECT_STREQ(path, "C:\\Pics\\a.bmp");
}

TEST(JoinPath, RefusesWhatDoesNotFitInsteadOfCuttingIt)
{
    char path[MAX_PATH];
    const std::string folder(250, 'd');
    EXPECT_TRUE(JoinPath(path, folder.c_str(), "12345678")) << "250 + 1 + 8 = 259 characters fit";
    EXPECT_FALSE(JoinPath(path, folder.c_str(), "123456789"));
    EXPECT_STREQ(path, "") << "a refused join must not leave a partial path behind";
}

TEST(JoinPath, RefusesAnEmptyFolder)
{
    char path[MAX_PATH];
    EXPECT_FALSE(JoinPath(path, "", "*.*")) << "\"\\*.*\" would list the root of the current drive";
}

TEST(ListImages, SkipsDotNamesAndKeepsEverythingElse)
{
    const std::string folder = ScratchFolder("list-kinds");
    MakeEntries(folder, {"a.bmp", ".hidden.bmp", "notes.txt"});
    CreateDirectoryA((folder + "\\sub").c_str(), NULL);

    ImageList list;
    ASSERT_TRUE(ListImages(folder.c_str(), list));
    std::vector<std::string> names;
    for (int i = 0; i < list.count; ++i)
        names.push_back(list.names[i]);
    EXPECT_EQ(names, ListingOrder(folder)) << "the run must keep the file system's order";
    EXPECT_EQ(list.count, 3) << "a.bmp, notes.txt and the subdirectory; no dot names";
    EXPECT_EQ(PositionOf(names, ".hidden.bmp"), -1);
    DeleteTree(folder);
}

TEST(ListImages, TakesOnlyTheFirstHundredEntries)
{
    const std::string folder = ScratchFolder("list-150");
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i)
        names.push_back("p" + std::to_string(i) + ".bmp");
    MakeEntries(folder, names);

    ImageList list;
    ASSERT_TRUE(ListImages(folder.c_str(), list));
    ASSERT_EQ(list.count, 100);
    const std::vector<std::string> order = ListingOrder(folder);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(list.names[i], order[i]) << "slot " << i;
    DeleteTree(folder);
}

TEST(ListImages, FailsWhenTheFolderCannotBeSearched)
{
    ImageList list;
    EXPECT_FALSE(ListImages("C:\\no\\such\\folder", list));
    EXPECT_EQ(list.count, 0);
    EXPECT_FALSE(ListImages("", list));
    const std::string tooLong = "C:\\" + std::string(254, 'x'); // with "\*.*" 261 bytes
    EXPECT_FALSE(ListImages(tooLong.c_str(), list));
}
}
