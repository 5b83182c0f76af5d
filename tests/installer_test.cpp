// The setup program as a user runs it, on 32-bit Windows and under WoW64: a
// silent install (twice in a row), the logon run it registers for the
// machine, a silent uninstall, an install again before the restart, and the
// restarts that carry out what is left pending. Another program's
// registrations and pending operations are planted first and must survive.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "pending_removal.h"
#include "settings_fixture.h"

namespace
{
const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char CplsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls";
const char CategoryKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Extended Properties\\System.ControlPanel.Category";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vistrane";
const char PictureFolder[] = "C:\\Program Files\\Vistrane";
const char *const SamplePictures[] = {"Dawn.bmp", "Sea.jpg", "Hills.bmp", "Night.jpg", "Dusk.bmp", "Meadow.png"};
const char OtherWininit[] = "[Rename]\r\nNUL=C:\\Other\\gone.tmp\r\n";

bool RunningUnderWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// A machine value in one registry view (KEY_WOW64_32KEY or _64KEY), as
// stored: strings without their terminator, a DWORD as its four bytes.
bool ReadMachineValue(const char *keyPath, const char *name, REGSAM view, std::string *value, DWORD *type = NULL)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    char data[2048];
    DWORD size = sizeof(data), storedType = REG_NONE;
    const LONG status = RegQueryValueExA(key, name, NULL, &storedType, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(key);
    const bool text = storedType == REG_SZ || storedType == REG_EXPAND_SZ;
    if (status == ERROR_SUCCESS)
        value->assign(data, text && size > 0 && data[size - 1] == '\0' ? size - 1 : size);
    if (type != NULL)
        *type = storedType;
    return status == ERROR_SUCCESS;
}

// A pending operations list as text, each terminator shown as '|', and back.
std::string Readable(const std::vector<BYTE> &list)
{
    std::string text(list.begin(), list.end());
    std::replace(text.begin(), text.end(), '\0', '|');
    return text;
}
std::vector<BYTE> Stored(std::string text)
{
    std::replace(text.begin(), text.end(), '|', '\0');
    return std::vector<BYTE>(text.begin(), text.end());
}

void WriteMachineString(const char *keyPath, const char *name, REGSAM view, const std::string &value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, NULL, 0, KEY_SET_VALUE | view, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), value.size() + 1);
    RegCloseKey(key);
}

void DeleteMachineValue(const char *keyPath, const char *name, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
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

// Waits while a process of that name runs, however long the machine takes;
// false as soon as a dialog with that caption shows, which such a process
// would wait on for ever.
bool WaitWhileRunning(const char *exeName, const char *dialogCaption)
{
    while (ProcessRunning(exeName))
    {
        if (FindWindowA("#32770", dialogCaption) != NULL)
            return false;
        Sleep(100);
    }
    return true;
}

class InstallerTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        setup = TestsFolder() + "\\..\\dist\\Vistrane-2.1.0-setup.exe";
        installed = ProgramFilesFolder() + "\\Calderane\\Vistrane";
        applet = installed + "\\Vistrane.cpl";
        wininit = WindowsFolder() + "\\WININIT.INI";
        ASSERT_TRUE(FileExists(setup)) << "no " << setup;
        DeleteTree(PictureFolder);
        pendingBefore = ReadPendingRenames();
        // The only view on 32-bit Windows; the redirected ones under WoW64.
        views.push_back(KEY_WOW64_32KEY);
        if (RunningUnderWow64())
            views.push_back(KEY_WOW64_64KEY);
    }
    void TearDown() override
    {
        DeleteTree(installed);
        DeleteTree(PictureFolder);
        DeleteTree(wininit);
        DeleteTree(WindowsFolder() + "\\WININIT.BAK");
        WritePendingRenames(pendingBefore);
        for (size_t i = 0; i < views.size(); ++i)
        {
            DeleteMachineValue(RunKey, "Other", views[i]);
            DeleteMachineValue(CplsKey, "Other", views[i]);
        }
        SettingsFixture::TearDown();
    }

    // Another program's Run and Cpls values in every view, its pending
    // operations, and what an earlier build of ours left: the installing
    // user's logon run and a Control Panel value in the 64-bit view.
    void PlantOthers()
    {
        for (size_t i = 0; i < views.size(); ++i)
        {
            WriteMachineString(RunKey, "Other", views[i], "C:\\Other\\other.exe");
            WriteMachineString(CplsKey, "Other", views[i], "C:\\Other\\other.cpl");
        }
        WriteStringValue(RunKey, "Vistrane", "rundll32.exe \"" + applet + "\",AfterLogon");
        WriteMachineString(CplsKey, "Vistrane", views.back(), applet);
        // Another program's deletion, rename, and deletion of a path that
        // only begins like ours.
        otherOperations = Stored("\\??\\C:\\Other\\gone.tmp||\\??\\C:\\Other\\new.dll|!\\??\\C:\\Other\\old.dll|"
                                 "\\??\\" + applet + ".old|||");
        WritePendingRenames(otherOperations);
        ASSERT_TRUE(WriteTextFile(wininit, OtherWininit));
    }
    void ExpectOthersUnchanged(const char *when)
    {
        std::string value;
        for (size_t i = 0; i < views.size(); ++i)
        {
            EXPECT_TRUE(ReadMachineValue(RunKey, "Other", views[i], &value)) << when;
            EXPECT_EQ(value, "C:\\Other\\other.exe") << when;
            EXPECT_TRUE(ReadMachineValue(CplsKey, "Other", views[i], &value)) << when;
            EXPECT_EQ(value, "C:\\Other\\other.cpl") << when;
        }
    }

    // Exactly one set: each value once, in its own view, nothing elsewhere.
    void ExpectRegistered()
    {
        std::string value, other;
        DWORD type = 0;
        const REGSAM runView = views.back();
        ASSERT_TRUE(ReadMachineValue(RunKey, "Vistrane", runView, &logonCommand)) << "no logon run for the machine";
        const std::string host =
            RunningUnderWow64() ? WindowsFolder() + "\\SysWOW64\\rundll32.exe" : SystemFolder() + "\\rundll32.exe";
        EXPECT_EQ(logonCommand, "\"" + host + "\" \"" + applet + "\",AfterLogon");
        EXPECT_FALSE(ReadStringValue(RunKey, "Vistrane", &value)) << "the installing user's own logon run is left";
        EXPECT_TRUE(ReadMachineValue(CplsKey, "Vistrane", KEY_WOW64_32KEY, &value, &type));
        EXPECT_EQ(value, applet);
        EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_TRUE(ReadMachineValue(CategoryKey, applet.c_str(), KEY_WOW64_32KEY, &value, &type));
        EXPECT_EQ(value, std::string("\1\0\0\0", 4)) << "Appearance and Personalization";
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        if (views.size() > 1)
        {
            EXPECT_FALSE(ReadMachineValue(CplsKey, "Vistrane", KEY_WOW64_64KEY, &other)) << "64-bit view: " << other;
            EXPECT_FALSE(ReadMachineValue(RunKey, "Vistrane", KEY_WOW64_32KEY, &other)) << "32-bit view: " << other;
        }
    }
    void ExpectUnregistered()
    {
        std::string value;
        for (size_t i = 0; i < views.size(); ++i)
        {
            EXPECT_FALSE(ReadMachineValue(RunKey, "Vistrane", views[i], &value)) << "the logon run is still registered";
            EXPECT_FALSE(ReadMachineValue(CplsKey, "Vistrane", views[i], &value)) << "the Control Panel still lists it";
            EXPECT_FALSE(ReadMachineValue(CategoryKey, applet.c_str(), views[i], &value)) << "its category is left";
        }
        EXPECT_FALSE(ReadStringValue(RunKey, "Vistrane", &value)) << "the user's logon run of an earlier build is left";
        EXPECT_FALSE(ReadMachineValue(UninstallKey, "DisplayName", KEY_WOW64_32KEY, &value)) << "Add/Remove lists it";
    }

    // The quiet uninstall string: the uninstaller hands over to a copy of
    // itself (Un.exe), which must end without waiting for anyone.
    void UninstallSilently()
    {
        std::string command;
        ASSERT_TRUE(ReadMachineValue(UninstallKey, "QuietUninstallString", KEY_WOW64_32KEY, &command));
        ASSERT_EQ(RunProgram(command), 0);
        EXPECT_TRUE(WaitWhileRunning("Un.exe", "Vistrane")) << "the silent uninstallation waits on a dialog";
        EXPECT_EQ(FindWindowA("#32770", "Vistrane"), (HWND)NULL) << "a silent uninstallation showed a dialog";
        EXPECT_FALSE(ProcessRunning("rundll32.exe")) << "a silent uninstallation left the applet's entry running";
    }

    // Runs the registered command as the system would at logon.
    void ExpectLogonChangesWallpaper(int logon)
    {
        std::set<std::string> candidates;
        for (size_t i = 0; i < sizeof(SamplePictures) / sizeof(SamplePictures[0]); ++i)
            candidates.insert(std::string(PictureFolder) + "\\" + SamplePictures[i]);
        candidates.insert(WindowsFolder() + "\\vistrane.bmp");
        ResetDesktopValues();
        ASSERT_EQ(RunProgram(logonCommand), 0);
        EXPECT_EQ(candidates.count(Wallpaper()), 1u) << "logon " << logon << " showed " << Wallpaper();
    }

    std::string setup, installed, applet, wininit, logonCommand;
    std::vector<REGSAM> views;
    std::vector<BYTE> pendingBefore, otherOperations;
};

TEST_F(InstallerTest, InstallLogonUninstallReinstallBeforeTheRestart)
{
    PlantOthers();
    ASSERT_EQ(RunProgram("\"" + setup + "\" /S"), 0) << "setup /S failed";
    // Windows NT never reads WININIT.INI: one that cannot be read is no failure.
    const HANDLE lockedWininit = CreateFileA(wininit.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lockedWininit, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProgram("\"" + setup + "\" /S"), 0) << "setup /S failed the second time, WININIT.INI unreadable";
    CloseHandle(lockedWininit);

    // What the installation placed.
    EXPECT_TRUE(FileExists(applet));
    EXPECT_TRUE(FileExists(installed + "\\Vistrane-jpeg.dll")) << "the converter must sit beside the applet";
    EXPECT_TRUE(FileExists(installed + "\\uninstall.exe"));
    for (size_t i = 0; i < sizeof(SamplePictures) / sizeof(SamplePictures[0]); ++i)
        EXPECT_TRUE(FileExists(std::string(PictureFolder) + "\\" + SamplePictures[i])) << SamplePictures[i];
    ExpectRegistered();
    std::string value;
    EXPECT_TRUE(ReadMachineValue(UninstallKey, "DisplayVersion", KEY_WOW64_32KEY, &value));
    EXPECT_EQ(value, "2.1.0.0");
    EXPECT_TRUE(ReadMachineValue(UninstallKey, "DisplayIcon", KEY_WOW64_32KEY, &value));
    EXPECT_EQ(value, applet + ",0");
    EXPECT_TRUE(ReadMachineValue(UninstallKey, "EstimatedSize", KEY_WOW64_32KEY, &value));

    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, 0);
    for (int logon = 0; logon < 6; ++logon)
        ExpectLogonChangesWallpaper(logon);
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &value));
    EXPECT_EQ(value, std::string(PictureFolder) + "\\");

    UninstallSilently();
    ExpectUnregistered();
    ExpectOthersUnchanged("after uninstalling");
    EXPECT_FALSE(FileExists(installed + "\\Vistrane-jpeg.dll"));
    EXPECT_FALSE(FileExists(PictureFolder)) << "the sample pictures were not removed";
    EXPECT_TRUE(FileExists(applet)) << "the applet goes at the restart, not before";
    EXPECT_NE(Readable(ReadPendingRenames()).find("\\??\\" + applet + "||"), std::string::npos)
        << "the applet's deletion is not pending";

    // An uninstallation started from a short install path writes the
    // applet's 8.3 spelling.
    char shortApplet[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(applet.c_str(), shortApplet, MAX_PATH), 0u);
    ASSERT_NE(applet, shortApplet) << "no 8.3 spelling to try";
    std::string shortened = Readable(ReadPendingRenames());
    const size_t longForm = shortened.find("\\??\\" + applet + "||");
    ASSERT_NE(longForm, std::string::npos);
    shortened.replace(longForm + 4, applet.size(), shortApplet);
    // Behind an empty text, where the list has ended, ours is not setup's to
    // edit: the list stays byte for byte, and setup reports failure.
    const std::vector<BYTE> uneditable = Stored("|" + shortened);
    WritePendingRenames(uneditable);
    EXPECT_EQ(RunProgram("\"" + setup + "\" /S"), 2) << "our deletion left pending went unreported";
    EXPECT_EQ(Readable(ReadPendingRenames()), Readable(uneditable));
    WritePendingRenames(Stored(shortened));

    // Installing again before the restart, with the applet's deletion also
    // left in WININIT.INI, as the uninstall entry does where delayed moves
    // are refused.
    ASSERT_TRUE(WriteTextFile(wininit, (std::string(OtherWininit) + "NUL=" + applet + "\r\n").c_str()));
    ASSERT_EQ(RunProgram("\"" + setup + "\" /S"), 0) << "setup /S over a pending removal failed";
    // Another program's operations stay as they were, ahead of those the
    // uninstaller's own temporary copy left; ours are gone.
    const std::string pending = Readable(ReadPendingRenames()), planted = Readable(otherOperations);
    EXPECT_EQ(pending.compare(0, planted.size() - 1, planted, 0, planted.size() - 1), 0) << pending;
    EXPECT_EQ(pending.find(applet + "||"), std::string::npos) << pending;
    EXPECT_EQ(pending.find(std::string(shortApplet) + "||"), std::string::npos) << pending;
    EXPECT_EQ(pending.find(installed + "||"), std::string::npos) << pending;
    EXPECT_EQ(pending.find(ProgramFilesFolder() + "\\Calderane||"), std::string::npos) << pending;
    const std::vector<BYTE> wininitText = ReadBytes(wininit);
    EXPECT_EQ(std::string(wininitText.begin(), wininitText.end()), OtherWininit);
    ExpectRegistered();
    ExpectOthersUnchanged("after installing again");
    ASSERT_EQ(RunProgram("wineboot.exe --restart"), 0);
    EXPECT_TRUE(FileExists(applet)) << "the restart deleted the applet just installed";
    ExpectLogonChangesWallpaper(7);

    // The last uninstallation: the restart removes everything but the
    // user's settings.
    UninstallSilently();
    ASSERT_EQ(RunProgram("wineboot.exe --restart"), 0);
    EXPECT_FALSE(FileExists(applet)) << "the restart did not remove the applet";
    EXPECT_FALSE(FileExists(installed)) << "the restart did not remove the installation folder";
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &value)) << "the user's settings must stay";
}

// The setup program's first page in the user's interface language (run under
// German too, tests/CMakeLists.txt): caption and Next button as NSIS's
// translation has them.
TEST(SetupLanguageTest, FirstPageSpeaksTheUsersLanguage)
{
    const char *const pages[][3] = {{"en", "Vistrane Setup", "&Next >"}, {"de", "Installation von Vistrane", "&Weiter >"}};
    char language[16] = "";
    GetLocaleInfoA(GetUserDefaultUILanguage(), LOCALE_SISO639LANGNAME, language, sizeof(language));
    const HANDLE setup = StartProgram("\"" + TestsFolder() + "\\..\\dist\\Vistrane-2.1.0-setup.exe\"");
    ASSERT_NE(setup, (HANDLE)NULL);
    HWND page = NULL; // the setup's window, once shown
    while (page == NULL && WaitForSingleObject(setup, 100) == WAIT_TIMEOUT)
        for (HWND w = FindWindowExA(NULL, NULL, "#32770", NULL); w != NULL; w = FindWindowExA(NULL, w, "#32770", NULL))
        {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == GetProcessId(setup) && IsWindowVisible(w))
                page = w;
        }
    ASSERT_NE(page, (HWND)NULL) << "setup ended without showing a page";
    const std::string caption = WindowText(page), next = WindowText(GetDlgItem(page, IDOK));
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(WaitForSingleObject(setup, INFINITE), WAIT_OBJECT_0);
    CloseHandle(setup);
    for (const auto &row : pages)
        if (lstrcmpA(row[0], language) == 0)
        {
            EXPECT_EQ(caption, row[1]);
            EXPECT_EQ(next, row[2]);
            return;
        }
    ADD_FAILURE() << "no page known for " << language;
}

// The helper's decisions on lists another program shares with us. None of
// these paths exists, so they are compared by their normalised text.
TEST(PendingRemovalTest, OnlyDeletionsOfInstalledPathsAreCancelled)
{
    const InstalledFiles installed = DescribeInstalled(
        {L"C:\\Apps\\Vistrane\\Vistrane.cpl", L"C:\\Apps\\Vistrane", L"\\\\server\\share\\Vistrane.cpl"});
    const WCHAR list[] = L"\\??\\C:\\Other\\x.dll\0\0"
                         L"\\??\\c:\\APPS\\vistrane\\Vistrane.cpl\0\0"
                         L"\\GLOBAL??\\C:\\Apps\\Vistrane\\Vistrane.cpl\0\0"
                         L"\\DosDevices\\C:/Apps/Vistrane/\0\0"
                         L"\\??\\UNC\\server\\share\\Vistrane.cpl\0\0"
                         L"\\??\\C:\\Apps\\Vistrane\\Vistrane.cpl\0!\\??\\C:\\Other\\y.cpl\0"
                         L"\\??\\C:\\Apps\\Vistrane\\Vistrane.cpl.old\0\0"
                         L"\\??\\C:\\Apps\\Vistrane\0\0"
                         L"\0\\??\\C:\\Other";
    const WCHAR kept[] = L"\\??\\C:\\Other\\x.dll\0\0"
                         L"\\??\\C:\\Apps\\Vistrane\\Vistrane.cpl\0!\\??\\C:\\Other\\y.cpl\0"
                         L"\\??\\C:\\Apps\\Vistrane\\Vistrane.cpl.old\0\0"
                         L"\0\\??\\C:\\Other";
    std::wstring operations(list, sizeof(list) / sizeof(WCHAR) - 1);
    Removal removal = RemoveInstalledDeletions(&operations[0], operations.size(), installed);
    EXPECT_FALSE(removal.installedLeft);
    operations.resize(removal.length);
    EXPECT_EQ(operations, std::wstring(kept, sizeof(kept) / sizeof(WCHAR) - 1));

    // Ours after the list's end, cut short: the whole list stays.
    const WCHAR behindEnd[] = L"\\??\\C:\\Other\\x.dll\0\0\0\\??\\C:/Apps/Vistrane";
    operations.assign(behindEnd, sizeof(behindEnd) / sizeof(WCHAR) - 1);
    removal = RemoveInstalledDeletions(&operations[0], operations.size(), installed);
    EXPECT_TRUE(removal.installedLeft);
    EXPECT_EQ(removal.length, operations.size());
    EXPECT_EQ(operations, std::wstring(behindEnd, sizeof(behindEnd) / sizeof(WCHAR) - 1));

    std::string wininitText = "[Other]\r\nNUL=C:\\Apps\\Vistrane\\Vistrane.cpl\r\n[ rename ]\r\n"
                              "NUL=C:\\Other\\x.dll\r\n nul = \"c:\\apps\\vistrane\\VISTRANE.CPL\" \r\n"
                              "NUL=C:\\Apps\\Vistrane\\Vistrane.cpl.old\r\nC:\\New=C:\\Apps\\Vistrane\r\n"
                              "NUL=C:\\Apps\\Vistrane";
    wininitText.resize(RemoveInstalledWininitLines(&wininitText[0], wininitText.size(), installed));
    EXPECT_EQ(wininitText, "[Other]\r\nNUL=C:\\Apps\\Vistrane\\Vistrane.cpl\r\n[ rename ]\r\n"
                           "NUL=C:\\Other\\x.dll\r\nNUL=C:\\Apps\\Vistrane\\Vistrane.cpl.old\r\n"
                           "C:\\New=C:\\Apps\\Vistrane\r\n");
}
}
