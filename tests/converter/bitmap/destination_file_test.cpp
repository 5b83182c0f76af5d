// The bitmap file under construction: kept only when finished.
#include <gtest/gtest.h>

#include "converter_support.h"
#include "destination_file.h"
#include "test_support.h"

namespace
{
TEST(DestinationFile, AnUnfinishedFileIsDeletedAndAFinishedOneKept)
{
    const std::string folder = ScratchFolder("destination-file");
    const std::string path = folder + "\\out.bmp";
    const std::wstring widePath = Wide(path); // the file keeps the pointer
    {
        DestinationFile file(widePath.c_str());
        ASSERT_TRUE(file.Create());
        ASSERT_TRUE(file.WriteAt(10, "abc", 3));
        EXPECT_TRUE(FileExists(path));
        char back[4] = "xyz";
        EXPECT_TRUE(file.ReadAt(10, back, 3));
        EXPECT_STREQ(back, "abc") << "what was written is not what is read back";
        EXPECT_FALSE(file.ReadAt(11, back, 3)) << "a read past the end of the file succeeded";
    }
    EXPECT_FALSE(FileExists(path)) << "a file given up on stayed";

    {
        DestinationFile file(widePath.c_str());
        ASSERT_TRUE(file.Create());
        ASSERT_TRUE(file.WriteAt(3, "def", 3));
        ASSERT_TRUE(file.WriteAt(0, "abc", 3));
        ASSERT_TRUE(file.Finish());
    }
    const std::vector<BYTE> kept = ReadBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "abcdef");
    DeleteTree(folder);
}

TEST(DestinationFile, AFileThatCannotBeCreatedDeletesNothing)
{
    const std::string folder = ScratchFolder("destination-file");
    const std::string path = folder + "\\in-use.bmp";
    const std::wstring widePath = Wide(path);
    ASSERT_TRUE(WriteTextFile(path, "in use"));
    // Held open without sharing, as a program showing it might.
    const HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        DestinationFile file(widePath.c_str());
        EXPECT_FALSE(file.Create());
    }
    CloseHandle(holder);
    const std::vector<BYTE> kept = ReadBytes(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "in use");
    DeleteTree(folder);
}
}
