// The setup program as a user runs it: a silent install, the logon run it
// registers, and a silent uninstall carried out by the next restart.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "settings_fixture.h"

namespace
{
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char CplsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vistrane";
const char PictureFolder[] = "C:\\Program Files\\Vistrane";
const char *const SamplePictures[] = {"Dawn.bmp", "Sea.jpg", "Hills.bmp", "Night.jpg", "Dusk.bmp", "Meadow.jpg"};

bool ReadMachineString(const char *keyPath, const char *name, std::string *value)
{
    return ReadStringValue(keyPath, name, value, NULL, HKEY_LOCAL_MACHINE);
}

bool ProcessRunning(const char *exeName)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szExeFile, exeName) == 0;
    CloseHandle(snapshot);
    return found;
}

// Waits up to a minute for condition; false when it never held.
template <typename Condition> bool WaitFor(Condition condition)
{
    for (int wait = 0; wait < 600; ++wait)
    {
        if (condition())
            return true;
        Sleep(100);
    }
    return false;
}

class InstallerTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        setup = TestsFolder() + "\\..\\dist\\Vistrane-2.1.0-setup.exe";
        installed = "C:\\Program Files\\Calderane\\Vistrane";
        ASSERT_TRUE(FileExists(setup)) << "no " << setup;
        DeleteTree(PictureFolder);
    }
    void TearDown() override
    {
        DeleteTree(installed);
        DeleteTree(PictureFolder);
        SettingsFixture::TearDown();
    }

    std::string setup, installed;
};

TEST_F(InstallerTest, SilentInstallLogonRunsAndSilentUninstall)
{
    ASSERT_EQ(RunProgram("\"" + setup + "\" /S"), 0) << "setup /S failed";

    // What the installation placed.
    EXPECT_TRUE(FileExists(installed + "\\Vistrane.cpl"));
    EXPECT_TRUE(FileExists(installed + "\\Vistrane-jpeg.dll")) << "the converter must sit beside the applet";
    EXPECT_TRUE(FileExists(installed + "\\uninstall.exe"));
    for (size_t i = 0; i < sizeof(SamplePictures) / sizeof(SamplePictures[0]); ++i)
        EXPECT_TRUE(FileExists(std::string(PictureFolder) + "\\" + SamplePictures[i])) << SamplePictures[i];
    std::string value;
    EXPECT_TRUE(ReadMachineString(CplsKey, "Vistrane", &value));
    EXPECT_EQ(value, installed + "\\Vistrane.cpl");
    std::string logonCommand;
    ASSERT_TRUE(ReadStringValue(RunKey, "Vistrane", &logonCommand)) << "no logon run registered";
    EXPECT_EQ(logonCommand, "rundll32.exe \"" + installed + "\\Vistrane.cpl\",AfterLogon");
    EXPECT_TRUE(ReadMachineString(UninstallKey, "DisplayName", &value));
    EXPECT_EQ(value, "Vistrane");
    EXPECT_TRUE(ReadMachineString(UninstallKey, "DisplayVersion", &value));
    EXPECT_EQ(value, "2.1.0.0");
    EXPECT_TRUE(ReadMachineString(UninstallKey, "Publisher", &value));
    EXPECT_TRUE(ReadMachineString(UninstallKey, "DisplayIcon", &value));
    EXPECT_EQ(value, installed + "\\Vistrane.cpl,0");
    EXPECT_TRUE(ReadMachineString(UninstallKey, "UninstallString", &value));
    EXPECT_TRUE(ReadMachineString(UninstallKey, "EstimatedSize", &value));

    // Logons: the registered command, run as the system would run it.
    std::set<std::string> candidates;
    for (size_t i = 0; i < sizeof(SamplePictures) / sizeof(SamplePictures[0]); ++i)
        candidates.insert(std::string(PictureFolder) + "\\" + SamplePictures[i]);
    const std::string converted = WindowsFolder() + "\\vistrane.bmp";
    candidates.insert(converted);
    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, 0);
    for (int logon = 0; logon < 6; ++logon)
    {
        ResetDesktopValues();
        ASSERT_EQ(RunProgram(logonCommand), 0);
        EXPECT_EQ(candidates.count(Wallpaper()), 1u) << "logon " << logon << " showed " << Wallpaper();
    }
    DWORD type = 0;
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &value, &type));
    EXPECT_EQ(value, std::string(PictureFolder) + "\\");

    // A silent uninstallation: the uninstaller hands over to a copy of itself
    // and the applet's own entry thanks the user.
    ASSERT_TRUE(ReadMachineString(UninstallKey, "QuietUninstallString", &value));
    ASSERT_EQ(RunProgram(value), 0);
    const HWND farewell = WaitForDialog("Vistrane");
    EXPECT_NE(farewell, (HWND)NULL) << "the uninstallation did not call DeinstallNT";
    if (farewell != NULL)
        PostMessageA(farewell, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // NSIS names the running copy Un.exe.
    EXPECT_TRUE(WaitFor([] { return !ProcessRunning("Un.exe") && !ProcessRunning("rundll32.exe"); }))
        << "the uninstallation did not end";

    EXPECT_FALSE(ReadStringValue(RunKey, "Vistrane", &value)) << "the logon run is still registered";
    EXPECT_FALSE(ReadMachineString(CplsKey, "Vistrane", &value)) << "the Control Panel still lists it";
    EXPECT_FALSE(ReadMachineString(UninstallKey, "DisplayName", &value)) << "Add/Remove Programs still lists it";
    EXPECT_FALSE(FileExists(installed + "\\Vistrane-jpeg.dll"));
    EXPECT_FALSE(FileExists(PictureFolder)) << "the sample pictures were not removed";
    EXPECT_TRUE(FileExists(installed + "\\Vistrane.cpl")) << "the applet goes at the restart, not before";

    ASSERT_EQ(RunProgram("wineboot.exe --restart"), 0);
    EXPECT_FALSE(FileExists(installed + "\\Vistrane.cpl")) << "the restart did not remove the applet";
    EXPECT_FALSE(FileExists(installed)) << "the restart did not remove the installation folder";
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &value)) << "the user's settings must stay";
}
}
