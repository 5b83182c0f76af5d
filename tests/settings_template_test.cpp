// Dialog template 300 as the user sees it: created from the built
// Vistrane.cpl with the real procedure, every control checked where it lands.
#include <gtest/gtest.h>

#include <string>

#include "dialog_driver.h"
#include "resource.h"
#include "settings_dialog.h"
#include "test_support.h"

namespace
{
struct ExpectedControl
{
    int id;
    const char *className;
    const char *text;
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
    RECT units; // x, y, width, height in dialog units
};

const DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
const ExpectedControl Controls[] = {
    {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, {7, 111, 50, 14}},
    {IDCANCEL, "Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, {123, 111, 50, 14}},
    {IDC_CHANGE_AT_LOGON, "Button", "Change wallpaper at log on", Check, 0, {7, 34, 105, 10}},
    {IDC_RANDOM_SELECTION, "Button", "Random image selection", Check, 0, {7, 54, 100, 10}},
    // The edit box's text is the stored folder, put there when it opens.
    {IDC_IMAGE_DIR, "Edit", NULL, WS_TABSTOP | ES_AUTOHSCROLL, 0, {5, 87, 200, 12}},
    {-1, "Static", "Directory containing the images :", SS_LEFT | WS_GROUP, 0, {5, 73, 110, 10}},
    {-1, "Static", NULL, SS_ICON, 0, {5, 5, 20, 20}},
    {-1, "Static", "Vistrane changer.\nVisit www.vistrane.example", SS_LEFT | WS_GROUP, 0, {40, 5, 160, 20}},
    {-1, "Static", "Simply drag and drop the directory here.", SS_CENTER | WS_GROUP, WS_EX_DLGMODALFRAME,
     {130, 35, 75, 20}},
    {IDC_TILE_WALLPAPER, "Button", "Tile wallpaper", BS_AUTOCHECKBOX | WS_TABSTOP, 0, {7, 45, 110, 8}},
    // Added below the other check boxes, in the room above the folder's label.
    {IDC_PER_MONITOR, "Button", "A different picture on each screen", Check, 0, {7, 64, 150, 8}},
    {IDC_CHANGE_NOW, "Button", "Change now", BS_PUSHBUTTON | WS_TABSTOP, 0, {65, 111, 50, 14}},
};
const size_t ControlCount = sizeof(Controls) / sizeof(Controls[0]);

// The low bits that say which kind of button or static a control is.
DWORD Kind(const char *className, DWORD style)
{
    return lstrcmpA(className, "Edit") == 0 ? 0 : (style & (lstrcmpA(className, "Button") == 0 ? BS_TYPEMASK : SS_TYPEMASK));
}

class SettingsTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSettingsKey();
        ASSERT_NE(AppletModule(), (HMODULE)NULL) << "cannot load " << ShippedApplet();
        dialog = CreateDialogParamA(AppletModule(), MAKEINTRESOURCEA(IDD_SETTINGS), NULL, SettingsDialogProc, 0);
        ASSERT_NE(dialog, (HWND)NULL) << "template 300 did not make a dialog";
    }
    void TearDown() override
    {
        if (dialog != NULL)
            DestroyWindow(dialog);
        ResetSettingsKey();
    }
    HWND dialog;
};

TEST_F(SettingsTemplateTest, DialogFrameCaptionAndFont)
{
    char caption[64] = "";
    GetWindowTextA(dialog, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Vistrane 2.1");

    const DWORD style = GetWindowLongA(dialog, GWL_STYLE);
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    EXPECT_EQ(style & wanted, wanted) << std::hex << style;
    EXPECT_EQ(style & (DS_CENTER | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << std::hex << style;
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "dropped folders would not arrive";

    RECT window;
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.left, 0) << "the dialog is placed at 0, 0, not centred";
    EXPECT_EQ(window.top, 0);
    RECT client;
    GetClientRect(dialog, &client);
    const RECT size = {0, 0, 212, 132};
    const RECT expected = DialogUnitsToPixels(dialog, size);
    EXPECT_EQ(client.right, expected.right) << "width of 212 dialog units";
    EXPECT_EQ(client.bottom, expected.bottom) << "height of 132 dialog units";

    LOGFONTA font = {};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font));
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC screen = GetDC(NULL);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72)) << "8 points";
    ReleaseDC(NULL, screen);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
}

TEST_F(SettingsTemplateTest, EveryControlInTemplateOrderWithItsTextStyleAndPlace)
{
    HWND control = GetWindow(dialog, GW_CHILD);
    for (size_t i = 0; i < ControlCount; ++i, control = GetWindow(control, GW_HWNDNEXT))
    {
        const ExpectedControl &want = Controls[i];
        ASSERT_NE(control, (HWND)NULL) << "only " << i << " controls";
        SCOPED_TRACE(std::string("control ") + std::to_string(i) + " " + (want.text ? want.text : want.className));
        EXPECT_EQ(GetDlgCtrlID(control), want.id);
        char className[32] = "";
        GetClassNameA(control, className, sizeof(className));
        EXPECT_STREQ(className, want.className);
        if (want.text != NULL)
        {
            char text[128] = "";
            GetWindowTextA(control, text, sizeof(text));
            EXPECT_STREQ(text, want.text);
        }

        const DWORD style = GetWindowLongA(control, GWL_STYLE);
        const DWORD exStyle = GetWindowLongA(control, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE));
        EXPECT_EQ(Kind(className, style), Kind(className, want.style)) << std::hex << style;
        const DWORD flags = WS_TABSTOP | WS_GROUP | (lstrcmpA(className, "Edit") == 0 ? ES_AUTOHSCROLL : 0);
        EXPECT_EQ(style & flags, want.style & flags) << std::hex << style;
        EXPECT_EQ(exStyle & WS_EX_DLGMODALFRAME, want.exStyle) << std::hex << exStyle;

        const RECT place = PlaceInDialog(dialog, control);
        const RECT expected = DialogUnitsToPixels(dialog, want.units);
        EXPECT_EQ(place.left, expected.left);
        EXPECT_EQ(place.top, expected.top);
        if (lstrcmpA(className, "Static") == 0 && Kind(className, style) == SS_ICON)
        {
            // An icon control takes the size of its icon.
            EXPECT_EQ(place.right - place.left, GetSystemMetrics(SM_CXICON));
            EXPECT_EQ(place.bottom - place.top, GetSystemMetrics(SM_CYICON));
            continue;
        }
        EXPECT_EQ(place.right, expected.right);
        EXPECT_EQ(place.bottom, expected.bottom);
    }
    EXPECT_EQ(control, (HWND)NULL) << "more controls than the template lists";
}

TEST_F(SettingsTemplateTest, EditBoxIsBorderedAndTheIconIsLoaded)
{
    const HWND edit = GetDlgItem(dialog, IDC_IMAGE_DIR);
    // The dialog manager may draw a template's WS_BORDER as a sunken edge.
    const bool bordered = (GetWindowLongA(edit, GWL_STYLE) & WS_BORDER) ||
                          (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(bordered);

    HWND icon = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < 6; ++i)
        icon = GetWindow(icon, GW_HWNDNEXT);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "icon 200 did not load into the static control";
}

TEST_F(SettingsTemplateTest, TabOrderFollowsTheTemplate)
{
    const int order[] = {IDOK, IDCANCEL, IDC_CHANGE_AT_LOGON, IDC_RANDOM_SELECTION,
                         IDC_IMAGE_DIR, IDC_TILE_WALLPAPER, IDC_PER_MONITOR, IDC_CHANGE_NOW, IDOK};
    HWND control = GetDlgItem(dialog, IDOK);
    for (size_t i = 1; i < sizeof(order) / sizeof(order[0]); ++i)
    {
        control = GetNextDlgTabItem(dialog, control, FALSE);
        EXPECT_EQ(GetDlgCtrlID(control), order[i]) << "tab stop " << i;
    }
}
}
