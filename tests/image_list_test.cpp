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
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(JoinPath(path, L"C:\\Pics", L"a.bmp"));
    EXPECT_STREQ(path, L"C:\\Pics\\a.bmp");
    ASSERT_TRUE(JoinPath(path, L"C:\\Pics\\", L"a.bmp"));
    EXPECT_STREQ(path, L"C:\\Pics\\a.bmp");
}

TEST(JoinPath, RefusesWhatDoesNotFitInsteadOfCuttingIt)
{
    wchar_t path[MAX_PATH];
    const std::wstring folder(250, L'\x5199');
    EXPECT_TRUE(JoinPath(path, folder.c_str(), L"12345678")) << "250 + 1 + 8 = 259 characters fit";
    EXPECT_FALSE(JoinPath(path, folder.c_str(), L"123456789"));
    EXPECT_STREQ(path, L"") << "a refused join must not leave a partial path behind";
}

TEST(JoinPath, RefusesAnEmptyFolder)
{
    wchar_t path[MAX_PATH];
    EXPECT_FALSE(JoinPath(path, L"", L"*.*")) << "\"\\*.*\" would list the root of the current drive";
}

TEST(ListImages, SkipsDotNamesAndKeepsEverythingElse)
{
    // Names and a folder in scripts the code page does not hold.
    const std::string folder = ScratchFolder("list-kinds-Фото-写真");
    MakeEntries(folder, {"a.bmp", ".hidden.bmp", "notes.txt", "Закат.bmp", "🌅.bmp", "夕日.jpg", "Été-海.jpg"});
    CreateDirectoryW(Wide(folder + "\\sub").c_str(), NULL);

    ImageList list;
    ASSERT_TRUE(ListImages(Wide(folder).c_str(), list));
    std::vector<std::string> names;
    for (int i = 0; i < list.count; ++i)
        names.push_back(Utf8(list.names[i]));
    EXPECT_EQ(names, ListingOrder(folder)) << "the run must keep the file system's order and true names";
    EXPECT_EQ(list.count, 7) << "a.bmp, notes.txt, four pictures and the subdirectory; no dot names";
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
    ASSERT_TRUE(ListImages(Wide(folder).c_str(), list));
    ASSERT_EQ(list.count, 100);
    const std::vector<std::string> order = ListingOrder(folder);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(Utf8(list.names[i]), order[i]) << "slot " << i;
    DeleteTree(folder);
}

TEST(ListImages, FailsWhenTheFolderCannotBeSearched)
{
    ImageList list;
    EXPECT_FALSE(ListImages(L"C:\\no\\such\\folder", list));
    EXPECT_EQ(list.count, 0);
    EXPECT_FALSE(ListImages(L"", list));
    const std::wstring tooLong = L"C:\\" + std::wstring(254, L'x'); // with "\*.*" 261 characters
    EXPECT_FALSE(ListImages(tooLong.c_str(), list));
}
}
