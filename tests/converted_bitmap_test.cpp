// Converting a JPEG into the desktop's bitmap: where it goes, and that a
// failed conversion never costs the bitmap the desktop is showing.
#include <gtest/gtest.h>

#include <string>

#include "bitmap_file.h"
#include "converted_bitmap.h"
#include "converter_library.h"
#include "pending_bitmap.h"
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
        windowsPending = Pending(WindowsFolder());
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
    bool Convert(const char *kind, wchar_t (&path)[MAX_PATH])
    {
        lstrcpynW(path, Wide(source).c_str(), MAX_PATH);
        const ImageConverter convert = LoadTestConverter(kind);
        EXPECT_TRUE(convert.wide != NULL || convert.narrow != NULL) << kind << " did not load";
        return ConvertPicture(path, convert, FullSizeTarget);
    }
    // This thread's temporary file in folder: a run's own.
    static std::string Pending(const std::string &folder)
    {
        wchar_t pending[MAX_PATH] = L"";
        EXPECT_TRUE(PendingBitmapPath(Wide(folder).c_str(), pending));
        return Utf8(pending);
    }
    // The loaded size of the bitmap at a UTF-8 path.
    static SIZE Loaded(const std::string &bitmap) { return LoadedBitmapSize(Wide(bitmap).c_str()); }

    std::string windowsBitmap, windowsPending, userFolder, folder, source;
};


TEST_F(ConvertedBitmapTest, SuccessReplacesTheBitmapInTheWindowsFolder)
{
    ASSERT_TRUE(WriteBitmapFile(Wide(windowsBitmap).c_str(), 1, 1, RGB(0, 0, 255)));
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap", path));
    EXPECT_EQ(Utf8(path), windowsBitmap);
    const SIZE size = Loaded(windowsBitmap);
    EXPECT_EQ(size.cx, 4) << "the converter's 4 x 3 bitmap must have replaced the old 1 x 1";
    EXPECT_EQ(size.cy, 3);
    EXPECT_FALSE(FileExists(windowsPending)) << "the temporary file was left behind";
}

TEST_F(ConvertedBitmapTest, FailureKeepsThePreviousBitmap)
{
    const char *failing[] = {"returns-failure", "null-pointer", "raises-exception", "divides-by-zero"};
    for (size_t i = 0; i < sizeof(failing) / sizeof(failing[0]); ++i)
    {
        ASSERT_TRUE(WriteBitmapFile(Wide(windowsBitmap).c_str(), 1, 1, RGB(0, 0, 255)));
        wchar_t path[MAX_PATH];
        EXPECT_FALSE(Convert(failing[i], path)) << failing[i];
        EXPECT_EQ(Utf8(path), source) << failing[i] << " changed the chosen path";
        EXPECT_EQ(Loaded(windowsBitmap).cx, 1) << failing[i] << " cost the desktop its bitmap";
        EXPECT_FALSE(FileExists(windowsPending)) << failing[i] << " left its half-written bitmap";
    }
}

TEST_F(ConvertedBitmapTest, UnwritableWindowsFolderFallsBackToTheUsersFolder)
{
    // Wine does not enforce permissions; a folder in the place of this run's
    // temporary file makes the Windows folder just as unusable.
    ASSERT_TRUE(CreateDirectoryA(windowsPending.c_str(), NULL));
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap", path));
    const std::string userBitmap = userFolder + "\\vistrane.bmp";
    EXPECT_EQ(Utf8(path), userBitmap);
    EXPECT_EQ(Loaded(userBitmap).cx, 4);
    EXPECT_FALSE(FileExists(Pending(userFolder)));
    EXPECT_FALSE(FileExists(windowsBitmap));

    // A second conversion replaces it there as well.
    ASSERT_TRUE(Convert("writes-bitmap", path));
    EXPECT_EQ(Utf8(path), userBitmap);
}

// A profile folder named outside the code page: the wide converter writes
// there; one with only the narrow export could only be handed question marks,
// so the conversion is refused and nothing is left behind.
TEST_F(ConvertedBitmapTest, UsersFolderNamedInAnyScript)
{
    const char *const shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    // As stored, unexpanded, to be put back as it was.
    wchar_t saved[MAX_PATH] = L"";
    DWORD savedType = REG_NONE, savedSize = sizeof(saved);
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, shellFolders, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegQueryValueExW(key, L"Local AppData", NULL, &savedType, reinterpret_cast<BYTE *>(saved), &savedSize),
              ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string profile = ScratchFolder("Пользователь");
    WriteStringValue(shellFolders, "Local AppData", profile);
    ASSERT_EQ(LocalAppDataFolder(), profile) << "the profile folder could not be moved for the test";
    ASSERT_TRUE(CreateDirectoryA(windowsPending.c_str(), NULL));

    wchar_t path[MAX_PATH];
    EXPECT_FALSE(Convert("writes-bitmap-narrow", path));
    EXPECT_EQ(Utf8(path), source);
    const bool converted = Convert("writes-bitmap", path);
    WriteRawValue(shellFolders, "Local AppData", savedType, saved, savedSize);
    DeleteTree(profile);
    ASSERT_TRUE(converted);
    EXPECT_EQ(Utf8(path), profile + "\\Vistrane\\vistrane.bmp");
}

TEST_F(ConvertedBitmapTest, NarrowOnlyConverterTakesWhatTheCodePageHolds)
{
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap-narrow", path)) << "a path the code page holds goes through as before";
    EXPECT_EQ(Utf8(path), windowsBitmap);
    DeleteTree(windowsBitmap);

    source = folder + "\\夕日.jpg";
    ASSERT_TRUE(WriteTextFile(source, "stands in for a JPEG"));
    EXPECT_FALSE(Convert("writes-bitmap-narrow", path)) << "a name with question marks is another file";
    EXPECT_EQ(Utf8(path), source);
    EXPECT_FALSE(FileExists(windowsBitmap));
    EXPECT_FALSE(FileExists(windowsPending));
    ASSERT_TRUE(Convert("writes-bitmap", path)) << "the wide export takes any name";
    EXPECT_EQ(Utf8(path), windowsBitmap);
}

// A run that died mid-conversion left its temporary file: a later run removes
// it once it is stale, and nothing else.
TEST_F(ConvertedBitmapTest, StaleTemporaryFilesOfDeadRunsAreRemoved)
{
    const std::string windows = WindowsFolder() + "\\";
    const std::string stale = windows + "vistrane.0000beef-00000abc.tmp";
    // A monitor's picture, of a run that showed one on each.
    const std::string stalePiece = windows + "vistrane.0000beef-00000abc-0f.tmp";
    const std::string fresh = windows + "vistrane.0000beef-00000abd.tmp";
    const std::string others[] = {windows + "vistrane.0000beeg-00000abc.tmp", windows + "vistrane.beef-abc.tmp",
                                  windows + "vistrane.0000beef-00000abc.tmp.txt",
                                  windows + "vistrane.0000beef-00000abc-f.tmp"};
    FILETIME now, old;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG past = ((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) -
                           PendingBitmapStaleAfter - 10000000;
    old.dwLowDateTime = static_cast<DWORD>(past);
    old.dwHighDateTime = static_cast<DWORD>(past >> 32);
    for (const std::string &name : {stale, stalePiece, fresh, others[0], others[1], others[2], others[3]})
    {
        ASSERT_TRUE(WriteTextFile(name, "BMhalf"));
        if (name == fresh)
            continue;
        const HANDLE file = CreateFileW(Wide(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_TRUE(SetFileTime(file, &old, &old, &old));
        CloseHandle(file);
    }
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(Convert("writes-bitmap", path));
    EXPECT_FALSE(FileExists(stale)) << "a dead run's temporary file stayed";
    EXPECT_FALSE(FileExists(stalePiece)) << "a dead run's monitor picture stayed";
    EXPECT_TRUE(FileExists(fresh)) << "a temporary file another run may still be writing was removed";
    for (const std::string &other : others)
    {
        EXPECT_TRUE(FileExists(other)) << other << " is not a temporary file of ours";
        DeleteTree(other);
    }
    DeleteTree(fresh);
}

TEST_F(ConvertedBitmapTest, NoWritablePlaceMeansNoConversion)
{
    ASSERT_TRUE(CreateDirectoryA(windowsPending.c_str(), NULL));
    ASSERT_TRUE(WriteTextFile(userFolder, "a file where the folder should be"));
    wchar_t path[MAX_PATH];
    EXPECT_FALSE(Convert("writes-bitmap", path));
    EXPECT_EQ(Utf8(path), source);
}

TEST_F(ConvertedBitmapTest, WithoutAConverterOnlyBitmapsAreUsable)
{
    // Nothing named Vistrane-jpeg.dll sits beside this program, in the
    // system folder or in the Windows folder.
    wchar_t path[MAX_PATH];
    lstrcpynW(path, Wide(source).c_str(), MAX_PATH);
    EXPECT_FALSE(PrepareImage(path, 0));
    EXPECT_EQ(Utf8(path), source);

    const std::string bitmap = folder + "\\sea.BMP";
    lstrcpynW(path, Wide(bitmap).c_str(), MAX_PATH);
    EXPECT_TRUE(PrepareImage(path, 0));
    EXPECT_EQ(Utf8(path), bitmap) << "a bitmap is used as it is";
}
}
