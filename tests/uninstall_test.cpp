// The uninstall entry: the file it names goes at the next restart, by a
// delayed move or, where the system refuses one, by WININIT.INI; then the
// farewell dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "farewell_dialog.h"
#include "resource.h"
#include "scheduled_removal.h"
#include "test_support.h"

namespace
{
BOOL WINAPI RefuseDelayedMove(LPCWSTR, LPCWSTR, DWORD)
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

// The multi-string's texts, whatever their character width on this system.
std::vector<std::string> PendingTexts()
{
    const std::vector<BYTE> raw = ReadPendingRenames();
    std::vector<std::string> texts;
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i)
    {
        if (raw[i] == 0)
        {
            if (!text.empty())
                texts.push_back(text);
            text.clear();
        }
        else
            text += static_cast<char>(raw[i]);
    }
    return texts;
}

int CountOccurrences(const std::string &text, const std::string &part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class UninstallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wininit = WindowsFolder() + "\\WININIT.INI";
        DeleteTree(wininit);
        DeleteTree(WindowsFolder() + "\\WININIT.BAK");
        pendingBefore = ReadPendingRenames();
        folder = ScratchFolder("uninstall");
        doomed = folder + "\\Vistrane copy.cpl";
        ASSERT_TRUE(CopyOneFile(ShippedApplet(), doomed));
    }
    void TearDown() override
    {
        WritePendingRenames(pendingBefore);
        DeleteTree(wininit);
        DeleteTree(WindowsFolder() + "\\WININIT.BAK");
        DeleteTree(folder);
    }
    std::string Wininit(const char *key)
    {
        wchar_t value[1024] = L"missing";
        GetPrivateProfileStringW(WininitSection, Wide(key).c_str(), L"missing", value, 1024, Wide(wininit).c_str());
        return Utf8(value);
    }

    std::string wininit, folder, doomed;
    std::vector<BYTE> pendingBefore;
};

TEST_F(UninstallTest, DelayedMoveIsRecordedAndWininitLeftAlone)
{
    ScheduleRemoval(Wide(doomed).c_str(), MoveFileExW);
    const std::vector<std::string> pending = PendingTexts();
    bool recorded = false;
    for (size_t i = 0; i < pending.size(); ++i)
        recorded = recorded || pending[i].find(doomed) != std::string::npos;
    EXPECT_TRUE(recorded) << "no pending deletion of " << doomed;
    EXPECT_FALSE(FileExists(wininit)) << "WININIT.INI must not be touched where delayed moves work";
    EXPECT_TRUE(FileExists(doomed)) << "the file goes at the restart, not now";
}

TEST_F(UninstallTest, RefusedMoveWritesAWininitEntryInANewFile)
{
    ScheduleRemoval(Wide(doomed).c_str(), RefuseDelayedMove);
    EXPECT_EQ(Wininit("NUL"), doomed);
}

TEST_F(UninstallTest, WininitKeepsOtherEntriesAndReplacesAnOldDeletion)
{
    ASSERT_TRUE(WriteTextFile(wininit, "[Other]\r\nkey=value\r\n[Rename]\r\nNUL=C:\\old.txt\r\n"
                                       "C:\\new.txt=C:\\source.txt\r\n"));
    ScheduleRemoval(Wide(doomed).c_str(), RefuseDelayedMove);
    EXPECT_EQ(Wininit("NUL"), doomed);
    EXPECT_EQ(Wininit("C:\\new.txt"), "C:\\source.txt") << "another entry of the section was lost";
    char other[64] = "";
    GetPrivateProfileStringA("Other", "key", "", other, sizeof(other), wininit.c_str());
    EXPECT_STREQ(other, "value");
    const std::vector<BYTE> written = ReadBytes(wininit);
    EXPECT_EQ(CountOccurrences(std::string(written.begin(), written.end()), "NUL="), 1) << "the old deletion must be replaced, not doubled";
}

TEST_F(UninstallTest, WininitGetsTheSectionWhenItIsMissing)
{
    ASSERT_TRUE(WriteTextFile(wininit, "[Other]\r\nkey=value\r\n"));
    ScheduleRemoval(Wide(doomed).c_str(), RefuseDelayedMove);
    EXPECT_EQ(Wininit("NUL"), doomed);
}

void ExpectPlaced(HWND dialog, HWND control, const RECT &units)
{
    const RECT place = PlaceInDialog(dialog, control);
    const RECT expected = DialogUnitsToPixels(dialog, units);
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right, expected.right);
    EXPECT_EQ(place.bottom, expected.bottom);
}

TEST_F(UninstallTest, FarewellTemplateAsTheUserSeesIt)
{
    ASSERT_NE(AppletModule(), (HMODULE)NULL);
    const HWND dialog =
        CreateDialogParamA(AppletModule(), MAKEINTRESOURCEA(IDD_FAREWELL), NULL, FarewellDialogProc, 0);
    ASSERT_NE(dialog, (HWND)NULL) << "template 103 did not make a dialog";
    char text[128] = "";
    GetWindowTextA(dialog, text, sizeof(text));
    EXPECT_STREQ(text, "Vistrane");
    const DWORD style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT),
              DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(style & (WS_SYSMENU | DS_CENTER), 0u) << "no system menu, not centred";

    RECT size = {0, 0, 186, 58};
    MapDialogRect(dialog, &size);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    RECT window;
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);

    const HWND ok = GetWindow(dialog, GW_CHILD);
    ASSERT_NE(ok, (HWND)NULL);
    EXPECT_EQ(GetDlgCtrlID(ok), IDOK);
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP), DWORD(BS_DEFPUSHBUTTON | WS_TABSTOP));
    ExpectPlaced(dialog, ok, {129, 37, 50, 14});

    const HWND message = GetWindow(ok, GW_HWNDNEXT);
    ASSERT_NE(message, (HWND)NULL);
    GetWindowTextA(message, text, sizeof(text));
    EXPECT_STREQ(text, "The Vistrane has been uninstalled successfully. Thanks for using it !");
    EXPECT_EQ(GetWindowLongA(message, GWL_STYLE) & (SS_TYPEMASK | WS_GROUP), DWORD(SS_LEFT | WS_GROUP));
    ExpectPlaced(dialog, message, {7, 7, 172, 25});
    EXPECT_EQ(GetWindow(message, GW_HWNDNEXT), (HWND)NULL) << "only the button and the message";
    DestroyWindow(dialog);
}

TEST_F(UninstallTest, FarewellClosesWithOneFromOkAndFromEsc)
{
    EXPECT_EQ(RunDialog(IDD_FAREWELL, FarewellDialogProc, [](HWND dialog, void *) { Press(dialog, IDOK); }, NULL), 1);
    EXPECT_EQ(RunDialog(IDD_FAREWELL, FarewellDialogProc, [](HWND dialog, void *) { PostEscape(dialog); }, NULL), 1);
}

typedef int(CALLBACK *CommandLineEntry)(HWND, HINSTANCE, LPSTR, int);

void CALLBACK PressFarewellOk(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND dialog = FindWindowA("#32770", "Vistrane");
    if (dialog == NULL)
        return;
    KillTimer(NULL, timer);
    Press(dialog, IDOK);
}

TEST_F(UninstallTest, EmptyCommandLineLeavesAnEmptyEntryAndStillThanks)
{
    const CommandLineEntry deinstall =
        reinterpret_cast<CommandLineEntry>(reinterpret_cast<void *>(GetProcAddress(AppletModule(), "DeinstallNT")));
    ASSERT_NE(deinstall, (CommandLineEntry)NULL) << "DeinstallNT is not exported by that name";
    SetTimer(NULL, 0, 10, PressFarewellOk);
    EXPECT_EQ(deinstall(NULL, NULL, const_cast<char *>(""), SW_SHOWNORMAL), 1);
    EXPECT_EQ(Wininit("NUL"), "") << "the refused move of an empty path leaves an empty entry";
}

// The restart itself: wineboot --restart carries out what was scheduled,
// as Windows does when it starts.
int RestartWine()
{
    return RunProgram("wineboot.exe --restart");
}

// Through the real rundll32, which hands the entry its argument in the code
// page: also for an applet installed in a folder named outside it, which
// names itself.
TEST_F(UninstallTest, RestartDeletesTheFileTheUninstallationNamed)
{
    const std::string installed = ScratchFolder("Программы 程序") + "\\Vistrane.cpl";
    ASSERT_TRUE(CopyOneFile(ShippedApplet(), installed));
    const std::string runs[][2] = {{ShippedApplet(), doomed}, {installed, installed}};
    for (const auto &run : runs)
    {
        const HANDLE entry = StartProgram("rundll32.exe \"" + run[0] + "\",DeinstallNT " + run[1]);
        ASSERT_NE(entry, (HANDLE)NULL);
        const HWND farewell = WaitForDialog("Vistrane", entry);
        EXPECT_NE(farewell, (HWND)NULL) << "rundll32 ended without the farewell dialog";
        if (farewell != NULL)
            PostMessageA(farewell, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(WaitForSingleObject(entry, INFINITE), WAIT_OBJECT_0);
        CloseHandle(entry);
        EXPECT_TRUE(FileExists(run[1])) << "the file goes at the restart, not before";
    }
    ASSERT_EQ(RestartWine(), 0);
    EXPECT_FALSE(FileExists(doomed)) << "the restart did not delete the file";
    EXPECT_FALSE(FileExists(installed)) << "the path came through the code page with question marks";
    DeleteTree(installed.substr(0, installed.rfind('\\')));
}

TEST_F(UninstallTest, RestartCarriesOutTheWininitEntry)
{
    ScheduleRemoval(Wide(doomed).c_str(), RefuseDelayedMove);
    ASSERT_EQ(Wininit("NUL"), doomed);
    ASSERT_EQ(RestartWine(), 0);
    EXPECT_FALSE(FileExists(doomed)) << "the restart did not carry out WININIT.INI";
}
}
