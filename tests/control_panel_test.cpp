// The applet as the Control Panel drives it: CPlApplet from the loaded
// Vistrane.cpl, then Wine's own control.exe opening it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cpl.h>

#include <string>

#include "dialog_driver.h"
#include "farewell_dialog.h"
#include "resource.h"
#include "settings_dialog.h"
#include "settings_fixture.h"

namespace
{
typedef LONG(CALLBACK *AppletEntry)(HWND, UINT, LPARAM, LPARAM);

class ControlPanelTest : public SettingsFixture
{
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        ASSERT_NE(AppletModule(), (HMODULE)NULL) << "cannot load " << ShippedApplet();
        applet = reinterpret_cast<AppletEntry>(reinterpret_cast<void *>(GetProcAddress(AppletModule(), "CPlApplet")));
        ASSERT_NE(applet, (AppletEntry)NULL) << "CPlApplet is not exported by that name";
    }

    AppletEntry applet;
};

TEST_F(ControlPanelTest, AnswersTheHostsQuestionsAboutItsOneItem)
{
    EXPECT_EQ(applet(NULL, CPL_INIT, 0, 0), 1);
    EXPECT_EQ(applet(NULL, CPL_GETCOUNT, 0, 0), 1);

    // The wide record, which the host tells from the narrow one by its size.
    NEWCPLINFOW info;
    memset(&info, 0xcc, sizeof(info));
    EXPECT_EQ(applet(NULL, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.dwSize, 468u);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.dwHelpContext, 0u);
    EXPECT_EQ(info.lData, 0);
    EXPECT_NE(info.hIcon, (HICON)NULL);
    EXPECT_STREQ(info.szName, L"Vistrane");
    EXPECT_STREQ(info.szInfo, L"Configure Vistrane settings");
    EXPECT_STREQ(info.szHelpFile, L"") << "the help file must be emptied, whatever the host left there";

    // The item is described only through CPL_NEWINQUIRE.
    CPLINFO old;
    memset(&old, 0xcc, sizeof(old));
    EXPECT_EQ(applet(NULL, CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&old)), 0);
    EXPECT_EQ(old.idIcon, static_cast<int>(0xcccccccc)) << "CPL_INQUIRE must fill nothing";
    EXPECT_EQ(applet(NULL, CPL_SELECT, 0, 0), 0);
    EXPECT_EQ(applet(NULL, CPL_STOP, 0, 0), 0);
    EXPECT_EQ(applet(NULL, CPL_EXIT, 0, 0), 0);
    EXPECT_EQ(applet(NULL, 999, 0, 0), 0);
}

struct DoubleClick
{
    HWND owner;
    HWND dialogOwner;
    bool scriptRan;
    int way;
};

DoubleClick *Pending = NULL;

void CALLBACK CloseTheDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Vistrane 2.1");
    if (dialog == NULL)
        return;
    KillTimer(NULL, timer);
    Pending->dialogOwner = GetWindow(dialog, GW_OWNER);
    Pending->scriptRan = true;
    switch (Pending->way)
    {
    case 0:
        Press(dialog, IDOK);
        break;
    case 1:
        Press(dialog, IDCANCEL);
        break;
    case 2:
        PostEscape(dialog);
        break;
    default:
        PostCloseBox(dialog);
        break;
    }
}

TEST_F(ControlPanelTest, DoubleClickReturnsOnlyOnceTheDialogIsClosed)
{
    const HWND owner = CreateWindowA("STATIC", "control panel", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                                     NULL, NULL);
    ASSERT_NE(owner, (HWND)NULL);
    const char *ways[] = {"OK", "Cancel", "Esc", "close box"};
    for (int way = 0; way < 4; ++way)
    {
        DoubleClick click = {owner, NULL, false, way};
        Pending = &click;
        SetTimer(NULL, 0, 10, CloseTheDialog);
        EXPECT_EQ(applet(owner, CPL_DBLCLK, 0, 0), 0) << ways[way];
        EXPECT_TRUE(click.scriptRan) << ways[way] << ": CPL_DBLCLK returned before the dialog was up";
        EXPECT_EQ(FindWindowA("#32770", "Vistrane 2.1"), (HWND)NULL) << ways[way] << ": the dialog is still open";
        EXPECT_EQ(click.dialogOwner, owner) << "the dialog must be owned by the Control Panel's window";
    }
    Pending = NULL;
    DestroyWindow(owner);
}

// The module whose window procedure drives the dialog's OK button: user32's
// own buttons, or Common Controls 6's.
std::string ButtonClassModule(int dialogId, DLGPROC procedure)
{
    const HWND dialog = CreateDialogParamA(AppletModule(), MAKEINTRESOURCEA(dialogId), NULL, procedure, 0);
    if (dialog == NULL)
        return "no dialog";
    const HWND button = GetDlgItem(dialog, IDOK);
    const LONG_PTR proc = IsWindowUnicode(button) ? GetWindowLongPtrW(button, GWLP_WNDPROC)
                                                  : GetWindowLongPtrA(button, GWLP_WNDPROC);
    HMODULE owner = NULL;
    char module[MAX_PATH] = "";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<const char *>(proc), &owner))
        GetModuleFileNameA(owner, module, sizeof(module));
    DestroyWindow(dialog);
    CharLowerA(module);
    return module;
}

// The Control Panel and rundll32 activate the manifest at resource 123 of the
// library before calling it; within it both dialogs get Common Controls 6.
TEST_F(ControlPanelTest, ManifestGivesBothDialogsCommonControls6)
{
    EXPECT_EQ(ButtonClassModule(IDD_SETTINGS, SettingsDialogProc).find("comctl32"), std::string::npos)
        << "without the manifest the buttons are user32's";
    const std::string path = ShippedApplet();
    ACTCTXA manifest = {};
    manifest.cbSize = sizeof(manifest);
    manifest.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    manifest.lpSource = path.c_str();
    manifest.lpResourceName = MAKEINTRESOURCEA(IDR_COMMON_CONTROLS_MANIFEST);
    const HANDLE context = CreateActCtxA(&manifest);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no usable manifest at resource 123, error " << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    EXPECT_NE(ButtonClassModule(IDD_SETTINGS, SettingsDialogProc).find("comctl32.dll"), std::string::npos);
    EXPECT_NE(ButtonClassModule(IDD_FAREWELL, FarewellDialogProc).find("comctl32.dll"), std::string::npos);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
}

// Wine's control.exe given the applet's path loads it and opens its one
// item, as the Windows Control Panel does on a double-click.
TEST_F(ControlPanelTest, WinesControlPanelOpensTheSettingsDialog)
{
    const HANDLE host = StartProgram("control.exe \"" + ShippedApplet() + "\"");
    ASSERT_NE(host, (HANDLE)NULL) << "cannot start control.exe";
    const HWND dialog = WaitForDialog("Vistrane 2.1", host);
    EXPECT_NE(dialog, (HWND)NULL) << "control.exe ended without opening the settings dialog";
    DWORD owner = 0;
    if (dialog != NULL)
    {
        GetWindowThreadProcessId(dialog, &owner);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EXPECT_NE(owner, GetCurrentProcessId()) << "the dialog must be the host's, not this test's";
    if (dialog != NULL)
        EXPECT_EQ(WaitForSingleObject(host, INFINITE), WAIT_OBJECT_0) << "control.exe did not end";
    else
        TerminateProcess(host, 1);
    CloseHandle(host);
}
}
