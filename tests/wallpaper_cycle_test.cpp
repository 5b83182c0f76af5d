// Whole wallpaper runs in this process, against the real registry, folders
// and desktop. No converter is reachable from this program, so JPEGs here are
// unusable entries; conversions are covered by the conversion and library
// tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlwapi.h>

#include <set>
#include <string>
#include <vector>

#include "settings_fixture.h"
#include "wallpaper_cycle.h"

namespace
{
class WallpaperCycleTest : public SettingsFixture
{
};

void RunAtLogon()
{
    AfterLogon(NULL, NULL, const_cast<char *>(""), SW_SHOWNORMAL);
}

std::string DeskWallpaperInUse()
{
    wchar_t path[MAX_PATH] = L"";
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return Utf8(path);
}

const std::string DefaultFolder = Utf8(DefaultImageDir);

TEST_F(WallpaperCycleTest, FreshProfileGetsAllNineValuesWithTheirDefaults)
{
    // The default folder does not exist here, so the run ends after reading.
    DeleteTree(DefaultFolder);
    RunAtLogon();

    std::string imageDir;
    DWORD type = 0;
    ASSERT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &imageDir, &type)) << "no ImageDir written back";
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(imageDir, DefaultFolder);
    const struct
    {
        const char *name;
        DWORD value;
    } dwords[] = {
        {IsActiveValue, 1},        {DoRandomSearchValue, 1},  {DoTileValue, 0},          {ImmediateChangeValue, 1},
        {DoPerMonitorValue, 0},    {LastImageShownValue, 0},  {LastImageShown1Value, 1}, {LastImageShown2Value, 2},
    };
    for (size_t i = 0; i < sizeof(dwords) / sizeof(dwords[0]); ++i)
    {
        DWORD value = 0xdead;
        type = 0;
        EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, dwords[i].name, &value, &type)) << dwords[i].name << " missing";
        EXPECT_EQ(type, (DWORD)REG_DWORD) << dwords[i].name;
        EXPECT_EQ(value, dwords[i].value) << dwords[i].name;
    }
    EXPECT_EQ(Wallpaper(), "untouched");
}

TEST_F(WallpaperCycleTest, FreshProfileFirstRunShowsTheDefaultFolder)
{
    DeleteTree(DefaultFolder);
    ASSERT_TRUE(CreateDirectoryW(DefaultImageDir, NULL)) << "cannot make " << DefaultFolder;
    MakeEntries(DefaultFolder, {"only.bmp"});
    RunAtLogon();
    DeleteTree(DefaultFolder);

    EXPECT_EQ(Wallpaper(), DefaultFolder + "only.bmp");
    // One entry goes in turn even in random mode: (0 + 1) mod 1.
    EXPECT_HISTORY(this, 0, 0, 1);
}

TEST_F(WallpaperCycleTest, WorkedExampleSkipsTheTextFile)
{
    const std::vector<std::string> names =
        MakeEntriesListedInOrder(folder, {"a.bmp", "b.jpg", "notes.txt", "c.bmp"});
    ASSERT_EQ(names.size(), 4u) << "could not make the folder list in the wanted order";
    UseFolder(0);
    StoreHistory(1, 0, 3);

    RunAtLogon();
    EXPECT_EQ(ShownEntry(), names[3]);
    EXPECT_HISTORY(this, 3, 2, 2);
}

TEST_F(WallpaperCycleTest, InTurnWalksForwardPastEveryUnusableEntry)
{
    const std::vector<std::string> names =
        MakeEntriesListedInOrder(folder, {"p.bmp", "sub\\", "t.txt", "x.jpg", "q.bmp"});
    ASSERT_EQ(names.size(), 5u);
    UseFolder(0);
    StoreHistory(0, 4, 4);

    RunAtLogon();
    EXPECT_EQ(ShownEntry(), names[4]) << "the subdirectory, the text and the unconvertible JPEG are passed over";
    EXPECT_HISTORY(this, 4, 3, 3);
}

// Names the ANSI code page cannot hold, a 259-character one among them: each
// becomes the wallpaper under its true name, told to the desktop as it is.
TEST_F(WallpaperCycleTest, NamesInAnyScriptBecomeTheWallpaperAsTheyAre)
{
    ASSERT_NE(GetACP(), (UINT)CP_UTF8) << "in a UTF-8 code page every name fits: this would show nothing";
    // A file name holds at most 255 bytes on the Unix side of Wine, so the
    // folder takes up the length.
    std::string longest;
    for (int i = 0; i < 60; ++i)
        longest += "海";
    longest += ".bmp";
    std::string pictures = folder + "\\Фото 写真 ";
    pictures += std::string(259 - Wide(pictures + "\\" + longest).size(), 'p');
    ASSERT_TRUE(CreateDirectoryW(Wide(pictures).c_str(), NULL));
    MakeEntries(pictures, {"Закат.bmp", "🌅.bmp", "Été-海.bmp", longest});
    const std::vector<std::string> listing = ListingOrder(pictures);
    ASSERT_EQ(listing.size(), 4u);
    ASSERT_EQ(Wide(pictures + "\\" + longest).size(), 259u);
    WriteStringValue(SettingsKeyPath, ImageDirValue, pictures);
    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, 0);
    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 1);
    StoreHistory(3, 2, 1);
    for (size_t run = 0; run < listing.size(); ++run)
    {
        RunAtLogon();
        EXPECT_EQ(Wallpaper(), pictures + "\\" + listing[run]) << "run " << run;
        EXPECT_EQ(DeskWallpaperInUse(), Wallpaper()) << "run " << run;
    }
}

TEST_F(WallpaperCycleTest, InTurnWrapsAroundAndSurvivesAShrunkenFolder)
{
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(0);
    StoreHistory(4, 3, 2);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[0]);
    EXPECT_HISTORY(this, 0, 4, 3);

    DeleteTree(folder + "\\" + listing[4]);
    const std::vector<std::string> shrunk = ListingOrder(folder);
    StoreHistory(9, 8, 7);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), shrunk[2]) << "10 mod 4";
    EXPECT_HISTORY(this, 2, 9, 8);
}

TEST_F(WallpaperCycleTest, HistoryFromOutsideStillSelectsInsideTheList)
{
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(0);

    StoreHistory(-1, 0, 0);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[0]);

    StoreHistory(0x7fffffff, 0, 0);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[(0x7fffffffLL + 1) % 3]);
}

TEST_F(WallpaperCycleTest, EntryWhosePathDoesNotFitIsAnUnusableTry)
{
    // A folder path of 230 characters and a 45-character name: 276 in all.
    // Only the system's long-path form can make such a file.
    const std::string deep = folder + "\\" + std::string(229 - folder.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), NULL));
    const std::string longName = std::string(40, 'n') + ".bmp";
    const std::string longPath = "\\\\?\\" + deep + "\\" + longName;
    const std::wstring wideLongPath(longPath.begin(), longPath.end());
    const HANDLE file = CreateFileW(wideLongPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make a file with a path of 276 characters";
    CloseHandle(file);
    MakeEntries(deep, {"short.bmp"});
    const std::vector<std::string> listing = ListingOrder(deep);
    ASSERT_EQ(listing.size(), 2u);
    const int longAt = PositionOf(listing, longName);
    const int shortAt = 1 - longAt;

    UseFolder(0);
    WriteStringValue(SettingsKeyPath, ImageDirValue, deep);
    StoreHistory(shortAt, 0, 0);
    RunAtLogon();
    DeleteFileW(wideLongPath.c_str());

    EXPECT_EQ(Wallpaper(), deep + "\\short.bmp") << "the cut path must not be used, and the run must go on";
    EXPECT_HISTORY(this, shortAt, longAt, longAt);
}

TEST_F(WallpaperCycleTest, EveryTryUnusableKeepsTheDesktopAndRecordsTheLastTwo)
{
    MakeEntries(folder, {"a.txt", "b.txt", "c.txt"});
    UseFolder(0);
    StoreHistory(0, 1, 2);

    RunAtLogon();
    EXPECT_EQ(Wallpaper(), "untouched");
    // Tries take 1, 2, 0, 1, ...: the 101st takes 101 mod 3 = 2 after 1.
    EXPECT_HISTORY(this, 2, 1, 1);
}

TEST_F(WallpaperCycleTest, RandomNeverRepeatsOneOfTheLastThree)
{
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp", "6.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(1);
    StoreHistory(0, 1, 2);

    for (int run = 0; run < 150; ++run)
    {
        const RotationHistory before = StoredHistory();
        ChangeNow({1, 0, 0, 0});
        const RotationHistory after = StoredHistory();
        ASSERT_NE(after.h0, before.h0) << "run " << run;
        ASSERT_NE(after.h0, before.h1) << "run " << run;
        ASSERT_NE(after.h0, before.h2) << "run " << run;
        ASSERT_EQ(after.h1, before.h0) << "run " << run;
        ASSERT_EQ(after.h2, before.h1) << "run " << run;
        ASSERT_EQ(ShownEntry(), listing[after.h0]) << "run " << run;
    }
}

TEST_F(WallpaperCycleTest, RandomWithTwoEntriesAlternates)
{
    MakeEntries(folder, {"1.bmp", "2.bmp"});
    UseFolder(1);
    StoreHistory(0, 1, 2);
    for (int run = 1; run <= 6; ++run)
    {
        ChangeNow({1, 0, 0, 0});
        EXPECT_EQ(StoredHistory().h0, run % 2) << "run " << run;
    }
}

TEST_F(WallpaperCycleTest, RandomWithThreeEntriesAllRecentStillChanges)
{
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(1);
    StoreHistory(0, 1, 2);

    ChangeNow({1, 0, 0, 0});
    const RotationHistory after = StoredHistory();
    ASSERT_GE(after.h0, 0);
    ASSERT_LT(after.h0, 3);
    EXPECT_EQ(ShownEntry(), listing[after.h0]) << "the hundredth redraw must be taken";
    EXPECT_EQ(after.h1, 0);
    EXPECT_EQ(after.h2, 1);
}

TEST_F(WallpaperCycleTest, OnlyTheFirstHundredListedAreCandidates)
{
    std::vector<std::string> names;
    for (int i = 0; i < 150; ++i)
        names.push_back("p" + std::to_string(i) + ".bmp");
    MakeEntries(folder, names);
    const std::vector<std::string> listing = ListingOrder(folder);
    const std::set<std::string> firstHundred(listing.begin(), listing.begin() + 100);

    UseFolder(0);
    StoreHistory(98, 0, 0);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[99]);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[0]) << "in turn wraps after the hundredth entry";

    for (int run = 0; run < 100; ++run)
    {
        ChangeNow({1, 0, 0, 0});
        ASSERT_EQ(firstHundred.count(ShownEntry()), 1u) << ShownEntry() << " is not among the first 100";
    }
}

TEST_F(WallpaperCycleTest, ImmediateChangeDecidesWhetherTheDesktopIsTold)
{
    MakeEntries(folder, {"1.bmp", "2.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(0);
    StoreHistory(1, 0, 0);
    const std::string before = folder + "\\" + listing[1];
    std::wstring wideBefore = Wide(before);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &wideBefore[0], 0));

    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 0);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[0]) << "the stored value changes either way";
    EXPECT_EQ(DeskWallpaperInUse(), before) << "ImmediateChange 0 must not tell the desktop";

    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 1);
    RunAtLogon();
    EXPECT_EQ(ShownEntry(), listing[1]);
    EXPECT_EQ(DeskWallpaperInUse(), folder + "\\" + listing[1]) << "ImmediateChange 1 must tell the desktop";
}

TEST_F(WallpaperCycleTest, InactiveLogonRunOnlyFillsInMissingValues)
{
    MakeEntries(folder, {"1.bmp", "2.bmp"});
    WriteStringValue(SettingsKeyPath, ImageDirValue, folder);
    WriteDwordValue(SettingsKeyPath, IsActiveValue, 0);

    RunAtLogon();
    EXPECT_EQ(Wallpaper(), "untouched");
    EXPECT_HISTORY(this, 0, 1, 2);
    DWORD value = 0;
    EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, ImmediateChangeValue, &value)) << "missing switches are written back";
    EXPECT_TRUE(ReadDwordValue(SettingsKeyPath, DoTileValue, &value));

    ChangeNow({0, 0, 0, 0});
    EXPECT_NE(Wallpaper(), "untouched") << "Change now ignores IsActive";
}

// The style as stored: its type and bytes, or type REG_NONE when missing.
std::pair<DWORD, std::string> WallpaperStyle()
{
    char data[64] = "";
    DWORD type = REG_NONE, size = sizeof(data);
    if (SHGetValueA(HKEY_CURRENT_USER, DesktopKeyPath, WallpaperStyleValue, &type, data, &size) != ERROR_SUCCESS)
        return std::make_pair(static_cast<DWORD>(REG_NONE), std::string());
    return std::make_pair(type, std::string(data, size));
}

// Windows 7 and later tile only while "WallpaperStyle" is "0", so tiling sets
// it; not tiling leaves whatever style the user chose, in whatever form.
TEST_F(WallpaperCycleTest, TilingSetsTheTilingStyleAndOtherwiseKeepsTheUsers)
{
    MakeEntries(folder, {"1.bmp"});
    UseFolder(0);
    const DWORD fill = 10;
    const struct
    {
        DWORD type;
        const void *data;
        DWORD size;
    } styles[] = {{REG_NONE, NULL, 0}, {REG_SZ, "", 1}, {REG_SZ, "10", 3}, {REG_SZ, "6", 2},
                  {REG_SZ, "fill", 5}, {REG_DWORD, &fill, sizeof(fill)}};
    for (size_t i = 0; i < sizeof(styles) / sizeof(styles[0]); ++i)
    {
        for (DWORD doTile = 0; doTile < 3; ++doTile) // 0, 1, then Change now tiling
        {
            SHDeleteValueA(HKEY_CURRENT_USER, DesktopKeyPath, WallpaperStyleValue);
            if (styles[i].type != REG_NONE)
                SHSetValueA(HKEY_CURRENT_USER, DesktopKeyPath, WallpaperStyleValue, styles[i].type, styles[i].data,
                            styles[i].size);
            const std::pair<DWORD, std::string> before = WallpaperStyle();
            WriteDwordValue(SettingsKeyPath, DoTileValue, doTile == 1 ? 49 : 0);
            if (doTile == 2)
                ChangeNow({0, 1, 0, 0});
            else
                RunAtLogon();
            std::string tile;
            ASSERT_TRUE(ReadStringValue(DesktopKeyPath, TileWallpaperValue, &tile));
            EXPECT_EQ(tile, doTile ? "1" : "0") << "style " << i << ", run " << doTile;
            if (doTile)
                EXPECT_EQ(WallpaperStyle(), std::make_pair(static_cast<DWORD>(REG_SZ), std::string("0", 2)))
                    << "style " << i << ", run " << doTile << ": tiling needs the style \"0\"";
            else
                EXPECT_EQ(WallpaperStyle(), before) << "style " << i << ": the user's style was changed";
        }
    }
}

// After pictures on several monitors, which the desktop tiles, one picture
// again (the switch off, or one monitor left, as Wine's null display has)
// gives the desktop back the style the user had, or no style where the
// user had none, unless the user has chosen another since; and forgets it.
TEST_F(WallpaperCycleTest, OnePictureAgainGivesBackTheUsersStyle)
{
    MakeEntries(folder, {"1.bmp"});
    UseFolder(0);
    const struct
    {
        const char *kept, *desktop, *expected;
    } rows[] = {{"10", "0", "10"}, {"", "0", ""}, {"10", "6", "6"}};
    for (int perMonitor = 0; perMonitor < 2; ++perMonitor)
        for (const auto &row : rows)
        {
            WriteDwordValue(SettingsKeyPath, DoPerMonitorValue, perMonitor);
            WriteStringValue(SettingsKeyPath, UserWallpaperStyleValue, row.kept);
            WriteStringValue(SettingsKeyPath, UserTileWallpaperValue, "0");
            WriteStringValue(DesktopKeyPath, WallpaperStyleValue, row.desktop);
            WriteStringValue(DesktopKeyPath, TileWallpaperValue, "1");
            RunAtLogon();
            EXPECT_EQ(ShownEntry(), "1.bmp");
            const std::string expected = row.expected;
            EXPECT_EQ(WallpaperStyle().second, expected.empty() ? expected : expected + '\0')
                << "switch " << perMonitor << ", kept \"" << row.kept << "\", desktop \"" << row.desktop << "\"";
            std::string value;
            EXPECT_TRUE(ReadStringValue(DesktopKeyPath, TileWallpaperValue, &value) && value == "0");
            EXPECT_FALSE(ReadStringValue(SettingsKeyPath, UserWallpaperStyleValue, &value)) << "still kept";
            EXPECT_FALSE(ReadStringValue(SettingsKeyPath, UserTileWallpaperValue, &value)) << "still kept";
        }
}

TEST_F(WallpaperCycleTest, TrailingBackslashGivesTheSamePath)
{
    MakeEntries(folder, {"1.bmp"});
    UseFolder(0);
    RunAtLogon();
    const std::string without = Wallpaper();
    WriteStringValue(SettingsKeyPath, ImageDirValue, folder + "\\");
    RunAtLogon();
    EXPECT_EQ(Wallpaper(), without);
    EXPECT_EQ(ShownEntry(), "1.bmp");
}

TEST_F(WallpaperCycleTest, EmptyOrOverlongImageDirChangesNothing)
{
    UseFolder(0);
    WriteStringValue(SettingsKeyPath, ImageDirValue, "");
    RunAtLogon();
    EXPECT_EQ(Wallpaper(), "untouched") << "an empty folder name must not list the root of the drive";
    EXPECT_HISTORY(this, 0, 1, 2);

    // 257 characters fit the 260-byte reader, but not with "\*.*" after them.
    WriteStringValue(SettingsKeyPath, ImageDirValue, "C:\\" + std::string(254, 'x'));
    RunAtLogon();
    EXPECT_EQ(Wallpaper(), "untouched");
    EXPECT_HISTORY(this, 0, 1, 2);

    // 260 characters do not fit the reader: the default replaces them.
    WriteStringValue(SettingsKeyPath, ImageDirValue, "C:\\" + std::string(257, 'x'));
    DeleteTree(DefaultFolder);
    RunAtLogon();
    std::string stored;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored));
    EXPECT_EQ(stored, DefaultFolder);
}
}
