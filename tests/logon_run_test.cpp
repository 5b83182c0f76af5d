// The logon run end to end: the built Vistrane.cpl, copied with a converter
// beside it as an installation would place them, called as a host calls it
// and through Wine's own rundll32.exe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bitmap_file.h"
#include "pending_bitmap.h"
#include "settings_fixture.h"

namespace
{
typedef void(CALLBACK *CommandLineEntry)(HWND, HINSTANCE, LPSTR, int);

class LogonRunTest : public SettingsFixture
{
protected:
    void TearDown() override
    {
        DeleteTree(WindowsFolder() + "\\vistrane.bmp");
        DeleteTree(WindowsFolder() + "\\Vistrane-jpeg.dll");
        DeleteTree(SystemFolder() + "\\Vistrane-jpeg.dll");
        SettingsFixture::TearDown();
    }

    // A folder holding a copy of Vistrane.cpl and, unless converterKind is
    // NULL, a test converter beside it. Returns the copy's path.
    std::string Install(const char *name, const char *converterKind)
    {
        const std::string place = ScratchFolder(name);
        const std::string applet = place + "\\Vistrane.cpl";
        EXPECT_TRUE(CopyOneFile(ShippedApplet(), applet)) << "cannot copy " << ShippedApplet();
        if (converterKind != NULL)
        {
            EXPECT_TRUE(CopyOneFile(TestConverter(converterKind), place + "\\Vistrane-jpeg.dll")) << converterKind;
        }
        installed.push_back(place);
        return applet;
    }

    // Loads the applet, calls AfterLogon the way rundll32 would, unloads it.
    void RunLoaded(const std::string &applet)
    {
        const HMODULE library = LoadLibraryA(applet.c_str());
        ASSERT_NE(library, (HMODULE)NULL) << "cannot load " << applet;
        const CommandLineEntry afterLogon =
            reinterpret_cast<CommandLineEntry>(reinterpret_cast<void *>(GetProcAddress(library, "AfterLogon")));
        ASSERT_NE(afterLogon, (CommandLineEntry)NULL) << "AfterLogon is not exported by that name";
        afterLogon(NULL, library, const_cast<char *>(""), SW_SHOWNORMAL);
        FreeLibrary(library);
    }

    int RunThroughRundll32(const std::string &applet, const char *currentFolder = NULL)
    {
        return RunProgram("rundll32.exe \"" + applet + "\",AfterLogon", currentFolder);
    }

    std::vector<std::string> installed;

public:
    ~LogonRunTest()
    {
        for (size_t i = 0; i < installed.size(); ++i)
            DeleteTree(installed[i]);
    }
};


TEST_F(LogonRunTest, HostCallConvertsAJpegWithTheConverterBesideIt)
{
    MakeEntries(folder, {"sea.jpg"});
    UseFolder(0);
    RunLoaded(Install("host-call", "writes-bitmap"));
    EXPECT_EQ(Wallpaper(), WindowsFolder() + "\\vistrane.bmp");
    EXPECT_EQ(LoadedBitmapSize(Wide(Wallpaper()).c_str()).cx, 4);
    EXPECT_HISTORY(this, 0, 0, 1);
}

// Names the code page cannot hold, in the pictures and in the folder the
// applet (and so its converter) is installed in.
TEST_F(LogonRunTest, Rundll32RunsTheLogonEntry)
{
    MakeEntries(folder, {"Закат.bmp", "Море.jpg"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(0);
    StoreHistory(1, 0, 0);
    const std::string applet = Install("rundll32 Установка", "writes-bitmap");

    ASSERT_EQ(RunThroughRundll32(applet), 0);
    EXPECT_EQ(ShownEntry(), listing[0]);
    ASSERT_EQ(RunThroughRundll32(applet), 0);
    const std::string expected =
        listing[1] == "Море.jpg" ? WindowsFolder() + "\\vistrane.bmp" : folder + "\\Закат.bmp";
    EXPECT_EQ(Wallpaper(), expected);
    EXPECT_HISTORY(this, 1, 0, 1);
}

TEST_F(LogonRunTest, AFailingConverterMakesTheRunMoveOnToTheNextPicture)
{
    const char *failing[] = {"returns-failure", "no-export", "null-pointer", "raises-exception", "divides-by-zero"};
    const std::vector<std::string> names = MakeEntriesListedInOrder(folder, {"a.jpg", "b.bmp"});
    ASSERT_EQ(names.size(), 2u);
    UseFolder(0);
    const std::string previous = WindowsFolder() + "\\vistrane.bmp";
    for (size_t i = 0; i < sizeof(failing) / sizeof(failing[0]); ++i)
    {
        ASSERT_TRUE(WriteBitmapFile(Wide(previous).c_str(), 1, 1, RGB(0, 0, 255)));
        ResetDesktopValues();
        StoreHistory(1, 0, 0);
        RunLoaded(Install(failing[i], failing[i]));
        EXPECT_EQ(ShownEntry(), names[1]) << failing[i] << ": the same run must go on to the bitmap";
        EXPECT_HISTORY(this, 1, 0, 0);
        EXPECT_EQ(LoadedBitmapSize(Wide(previous).c_str()).cx, 1) << failing[i] << " cost the previous converted bitmap";
        wchar_t pending[MAX_PATH];
        ASSERT_TRUE(PendingBitmapPath(Wide(WindowsFolder()).c_str(), pending));
        EXPECT_FALSE(FileExists(Utf8(pending))) << failing[i] << " left the run's temporary file";
    }
}

TEST_F(LogonRunTest, ConverterPlantedInTheCurrentFolderOrPathNeverLoads)
{
    MakeEntries(folder, {"sea.jpg"});
    UseFolder(0);
    const std::string applet = Install("no-converter", NULL);
    const std::string planted = ScratchFolder("planted");
    ASSERT_TRUE(CopyOneFile(TestConverter("leaves-marker"), planted + "\\Vistrane-jpeg.dll"));
    const std::string marker = planted + "\\planted-converter-ran.txt";

    char savedFolder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, savedFolder);
    char savedPath[8192] = "";
    GetEnvironmentVariableA("PATH", savedPath, sizeof(savedPath));
    SetEnvironmentVariableA("PATH", (planted + ";" + savedPath).c_str());
    SetCurrentDirectoryA(planted.c_str());

    RunLoaded(applet);
    EXPECT_EQ(RunThroughRundll32(applet, planted.c_str()), 0);

    SetCurrentDirectoryA(savedFolder);
    SetEnvironmentVariableA("PATH", savedPath);
    EXPECT_FALSE(FileExists(marker)) << "the converter in the current folder or PATH was loaded";
    EXPECT_EQ(Wallpaper(), "untouched") << "no converter may be found, so the JPEG is unusable";
    DeleteTree(planted);
}

// Where the converter is looked for, shown through runs in processes of their
// own, so no library stays loaded from the system folders afterwards.
TEST_F(LogonRunTest, ConverterIsLookedForBesideTheAppletThenInTheSystemThenTheWindowsFolder)
{
    MakeEntries(folder, {"sea.jpg"});
    UseFolder(0);
    const std::string windowsConverter = WindowsFolder() + "\\Vistrane-jpeg.dll";
    const std::string systemConverter = SystemFolder() + "\\Vistrane-jpeg.dll";

    ASSERT_TRUE(CopyOneFile(TestConverter("writes-bitmap"), windowsConverter));
    ASSERT_EQ(RunThroughRundll32(Install("windows-only", NULL)), 0);
    EXPECT_EQ(Wallpaper(), WindowsFolder() + "\\vistrane.bmp") << "the Windows folder is the last place looked in";

    ResetDesktopValues();
    ASSERT_TRUE(CopyOneFile(TestConverter("returns-failure"), windowsConverter));
    ASSERT_TRUE(CopyOneFile(TestConverter("writes-bitmap"), systemConverter));
    ASSERT_EQ(RunThroughRundll32(Install("system-first", NULL)), 0);
    EXPECT_EQ(Wallpaper(), WindowsFolder() + "\\vistrane.bmp") << "the system folder comes before the Windows folder";

    ResetDesktopValues();
    ASSERT_EQ(RunThroughRundll32(Install("beside-first", "returns-failure")), 0);
    EXPECT_EQ(Wallpaper(), "untouched") << "the converter beside the applet comes first";
}
}
