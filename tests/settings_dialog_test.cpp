// The settings dialog at work, shown modally and driven from inside its own
// loop: what it loads, saves, drops and changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet_settings.h"
#include "dialog_driver.h"
#include "resource.h"
#include "settings_dialog.h"
#include "settings_fixture.h"

namespace
{
class SettingsDialogTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        ASSERT_NE(AppletModule(), (HMODULE)NULL) << "cannot load " << ShippedApplet();
    }
    INT_PTR Run(DialogScript script, void *context = NULL)
    {
        return RunDialog(IDD_SETTINGS, SettingsDialogProc, script, context);
    }
    std::string StoredImageDir()
    {
        std::string text;
        ReadStringValue(SettingsKeyPath, ImageDirValue, &text);
        return text;
    }
    DWORD StoredDword(const char *name)
    {
        DWORD value = 0xdead;
        ReadDwordValue(SettingsKeyPath, name, &value);
        return value;
    }
};

// What a script saw, for the test to check once the dialog has closed.
struct Seen
{
    std::string text;
    UINT states[4];
    bool openAfterChange;
    HDROP drop;
    std::vector<std::string> paths;
};

void ReadControls(HWND dialog, Seen *seen)
{
    seen->text = ControlText(dialog, IDC_IMAGE_DIR);
    seen->states[0] = IsDlgButtonChecked(dialog, IDC_CHANGE_AT_LOGON);
    seen->states[1] = IsDlgButtonChecked(dialog, IDC_RANDOM_SELECTION);
    seen->states[2] = IsDlgButtonChecked(dialog, IDC_TILE_WALLPAPER);
    seen->states[3] = IsDlgButtonChecked(dialog, IDC_PER_MONITOR);
}

// Drops what context holds, notes what the controls then show, presses OK.
void DropReadAndPressOk(HWND dialog, void *context)
{
    Seen *seen = static_cast<Seen *>(context);
    SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(seen->drop), 0);
    ReadControls(dialog, seen);
    Press(dialog, IDOK);
}

// A folder named outside the code page is shown, and kept by OK, as stored.
TEST_F(SettingsDialogTest, OpensWithTheStoredSettings)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Фото\\Лето 🌅");
    WriteDwordValue(SettingsKeyPath, IsActiveValue, 0);
    WriteDwordValue(SettingsKeyPath, DoRandomSearchValue, 1);
    WriteDwordValue(SettingsKeyPath, DoTileValue, 1);
    WriteDwordValue(SettingsKeyPath, DoPerMonitorValue, 1);
    Seen seen;
    EXPECT_EQ(Run([](HWND dialog, void *context) {
                  ReadControls(dialog, static_cast<Seen *>(context));
                  Press(dialog, IDOK);
              },
              &seen),
              1);
    EXPECT_EQ(seen.text, "D:\\Фото\\Лето 🌅");
    EXPECT_EQ(StoredImageDir(), "D:\\Фото\\Лето 🌅");
    EXPECT_EQ(seen.states[0], (UINT)BST_UNCHECKED);
    EXPECT_EQ(seen.states[1], (UINT)BST_CHECKED);
    EXPECT_EQ(seen.states[2], (UINT)BST_CHECKED);
    EXPECT_EQ(seen.states[3], (UINT)BST_CHECKED);
}

TEST_F(SettingsDialogTest, OkSavesWhatTheControlsShowAndKeepsImmediateChange)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Old");
    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 0);
    Run([](HWND dialog, void *) {
        SetDlgItemTextW(dialog, IDC_IMAGE_DIR, L"E:\\New \x5199\x771f");
        Press(dialog, IDC_CHANGE_AT_LOGON); // was checked by default
        Press(dialog, IDC_TILE_WALLPAPER);  // was unchecked
        Press(dialog, IDC_PER_MONITOR);     // was unchecked
        Press(dialog, IDOK);
    });
    EXPECT_EQ(StoredImageDir(), "E:\\New 写真");
    EXPECT_EQ(StoredDword(IsActiveValue), 0u);
    EXPECT_EQ(StoredDword(DoRandomSearchValue), 1u);
    EXPECT_EQ(StoredDword(DoTileValue), 1u);
    EXPECT_EQ(StoredDword(DoPerMonitorValue), 1u);
    EXPECT_EQ(StoredDword(ImmediateChangeValue), 0u) << "ImmediateChange has no control and must survive an OK";
    DWORD value;
    EXPECT_FALSE(ReadDwordValue(SettingsKeyPath, LastImageShownValue, &value)) << "OK is not a wallpaper run";
}

TEST_F(SettingsDialogTest, OkKeepsAt298CharactersAndStoresAClearedBoxAsEmpty)
{
    Run([](HWND dialog, void *) {
        SetDlgItemTextW(dialog, IDC_IMAGE_DIR, std::wstring(299, L'\x5199').c_str());
        Press(dialog, IDOK);
    });
    EXPECT_EQ(StoredImageDir(), Utf8(std::wstring(298, L'\x5199'))) << "counted in characters, not bytes";

    Run([](HWND dialog, void *) {
        SetDlgItemTextA(dialog, IDC_IMAGE_DIR, "");
        Press(dialog, IDOK);
    });
    DWORD type = 0;
    std::string stored = "not read";
    EXPECT_TRUE(ReadStringValue(SettingsKeyPath, ImageDirValue, &stored, &type));
    EXPECT_EQ(stored, "");
    EXPECT_EQ(type, (DWORD)REG_SZ);
}

TEST_F(SettingsDialogTest, CancelSavesNothing)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Kept");
    WriteDwordValue(SettingsKeyPath, DoTileValue, 0);
    Run([](HWND dialog, void *) {
        SetDlgItemTextA(dialog, IDC_IMAGE_DIR, "E:\\Typed");
        Press(dialog, IDC_TILE_WALLPAPER);
        Press(dialog, IDC_RANDOM_SELECTION);
        Press(dialog, IDC_PER_MONITOR);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(StoredImageDir(), "D:\\Kept");
    EXPECT_EQ(StoredDword(DoTileValue), 0u);
    EXPECT_EQ(StoredDword(DoRandomSearchValue), 1u);
    EXPECT_EQ(StoredDword(DoPerMonitorValue), 0u);
}

TEST_F(SettingsDialogTest, ClosesWithOneWhicheverWayItIsClosed)
{
    const DialogScript ways[] = {
        [](HWND dialog, void *) { Press(dialog, IDOK); },
        [](HWND dialog, void *) { Press(dialog, IDCANCEL); },
        [](HWND dialog, void *) { PostEscape(dialog); },
        [](HWND dialog, void *) { PostCloseBox(dialog); },
    };
    const char *names[] = {"OK", "Cancel", "Esc", "close box"};
    for (size_t i = 0; i < sizeof(ways) / sizeof(ways[0]); ++i)
        EXPECT_EQ(Run(ways[i]), 1) << names[i];
}

TEST_F(SettingsDialogTest, ChangeNowUsesTheStoredFolderNotTheTypedOne)
{
    MakeEntries(folder, {"stored.bmp"});
    UseFolder(1);
    const std::string typed = ScratchFolder("typed-folder");
    MakeEntries(typed, {"typed.bmp"});
    Seen seen;
    seen.text = typed;
    Run([](HWND dialog, void *context) {
            Seen *seen = static_cast<Seen *>(context);
            SetDlgItemTextA(dialog, IDC_IMAGE_DIR, seen->text.c_str());
            Press(dialog, IDC_CHANGE_NOW);
            seen->openAfterChange = IsWindow(dialog) && IsWindowVisible(dialog);
            Press(dialog, IDCANCEL);
        },
        &seen);
    DeleteTree(typed);
    EXPECT_EQ(ShownEntry(), "stored.bmp");
    EXPECT_TRUE(seen.openAfterChange) << "Change now must leave the dialog open";
}

TEST_F(SettingsDialogTest, ChangeNowGoesInTurnWhenRandomIsUncheckedForThatPressOnly)
{
    MakeEntries(folder, {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"});
    const std::vector<std::string> listing = ListingOrder(folder);
    UseFolder(1);
    StoreHistory(2, 1, 0);
    Seen seen;
    Run([](HWND dialog, void *context) {
            Seen *seen = static_cast<Seen *>(context);
            Press(dialog, IDC_RANDOM_SELECTION); // unchecks it
            for (int press = 0; press < 3; ++press)
            {
                Press(dialog, IDC_CHANGE_NOW);
                seen->paths.push_back(Wallpaper());
            }
            Press(dialog, IDCANCEL);
        },
        &seen);
    ASSERT_EQ(seen.paths.size(), 3u);
    EXPECT_EQ(seen.paths[0], folder + "\\" + listing[3]);
    EXPECT_EQ(seen.paths[1], folder + "\\" + listing[4]);
    EXPECT_EQ(seen.paths[2], folder + "\\" + listing[0]);
    EXPECT_EQ(StoredDword(DoRandomSearchValue), 1u) << "the unchecked box was never saved";
}

TEST_F(SettingsDialogTest, ChangeNowWorksWithLogonChangesOffAndTilesAsShown)
{
    MakeEntries(folder, {"only.bmp"});
    UseFolder(0);
    WriteDwordValue(SettingsKeyPath, IsActiveValue, 0);
    Run([](HWND dialog, void *) {
        Press(dialog, IDC_TILE_WALLPAPER);
        Press(dialog, IDC_CHANGE_NOW);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(ShownEntry(), "only.bmp");
    std::string tile;
    EXPECT_TRUE(ReadStringValue(DesktopKeyPath, TileWallpaperValue, &tile));
    EXPECT_EQ(tile, "1");
    EXPECT_EQ(StoredDword(DoTileValue), 0u);
}

TEST_F(SettingsDialogTest, ChangeNowRunsWithThePerMonitorBoxAsShown)
{
    WriteDwordValue(SettingsKeyPath, ImmediateChangeValue, 7);
    CycleOptions shown = {};
    Run([](HWND dialog, void *context) {
            Press(dialog, IDC_PER_MONITOR); // was unchecked
            *static_cast<CycleOptions *>(context) = ShownRunOptions(dialog);
            Press(dialog, IDCANCEL);
        },
        &shown);
    EXPECT_EQ(shown.perMonitor, 1);
    EXPECT_EQ(shown.tile, 0) << "the tile box was left unchecked";
    EXPECT_EQ(shown.immediate, 7) << "ImmediateChange has no box: the stored value";
}

TEST_F(SettingsDialogTest, DroppedFoldersGiveTheFirstToTheBoxAndOkSavesIt)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Before");
    Seen seen;
    seen.drop = MakeDrop({"E:\\Été-海 first", "F:\\Dropped second", "G:\\third"});
    Run(DropReadAndPressOk, &seen);
    EXPECT_EQ(seen.text, "E:\\Été-海 first");
    EXPECT_EQ(GlobalSize(seen.drop), 0u) << "the drop handle was not released with DragFinish";
    EXPECT_EQ(StoredImageDir(), "E:\\Été-海 first");
}

TEST_F(SettingsDialogTest, CancelAfterADropKeepsTheStoredFolder)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Before");
    Seen seen;
    seen.drop = MakeDrop({"E:\\Dropped"});
    Run([](HWND dialog, void *context) {
            SendMessageA(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(static_cast<Seen *>(context)->drop), 0);
            Press(dialog, IDCANCEL);
        },
        &seen);
    EXPECT_EQ(StoredImageDir(), "D:\\Before");
    Run([](HWND dialog, void *context) {
            ReadControls(dialog, static_cast<Seen *>(context));
            Press(dialog, IDCANCEL);
        },
        &seen);
    EXPECT_EQ(seen.text, "D:\\Before") << "the next opening must show the stored folder again";
}

TEST_F(SettingsDialogTest, DroppedPathTooLongForTheRecordIsLeftOut)
{
    WriteStringValue(SettingsKeyPath, ImageDirValue, "D:\\Before");
    Seen seen;
    seen.drop = MakeDrop({"E:\\" + Utf8(std::wstring(297, L'\x5199'))}); // 300 characters
    Run(DropReadAndPressOk, &seen);
    EXPECT_EQ(seen.text, "D:\\Before") << "a cut path would name another folder";
    EXPECT_EQ(GlobalSize(seen.drop), 0u);
    EXPECT_EQ(StoredImageDir(), "D:\\Before");
}
}
