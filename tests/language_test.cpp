// Every text the applet shows, in the user's language. This program runs once
// per user interface language (tests/CMakeLists.txt sets LANG, which Wine
// follows): the real dialogs, opened through rundll32, must show that
// language's texts, each fitting its control in the dialog's own font.
#include <gtest/gtest.h>

#include <windows.h>

#include <cpl.h>

#include <string>
#include <vector>

#include "dialog_driver.h"
#include "resource.h"
#include "test_support.h"

namespace
{
// The languages the library speaks; every other one gets English.
const LANGID English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID Languages[] = {
    MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL),   MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL),  MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL),    MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL),  MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)};

// Ours for the user's interface language: the same, or a neutral one of its
// language (German for Austria too), else English.
LANGID UsersLanguage()
{
    const LANGID user = GetUserDefaultUILanguage();
    for (const LANGID ours : Languages)
        if (ours == user || (SUBLANGID(ours) == SUBLANG_NEUTRAL && PRIMARYLANGID(ours) == PRIMARYLANGID(user)))
            return ours;
    return English;
}

const void *Resource(LPCSTR type, int id, LANGID language)
{
    const HRSRC found = FindResourceExA(AppletModule(), type, MAKEINTRESOURCEA(id), language);
    const HGLOBAL loaded = found != NULL ? LoadResource(AppletModule(), found) : NULL;
    return loaded != NULL ? LockResource(loaded) : NULL;
}

// The template in that language, made into a dialog in this process, which
// runs in the user's language: its texts are the ones to show, its font the
// one the real dialog draws with.
HWND TemplateDialog(int id, LANGID language)
{
    const void *dialog = Resource(RT_DIALOG, id, language);
    return dialog == NULL ? NULL
                          : CreateDialogIndirectParamW(AppletModule(), static_cast<LPCDLGTEMPLATEW>(dialog), NULL, NULL, 0);
}

std::wstring StringIn(LANGID language, UINT id)
{
    const wchar_t *text = static_cast<const wchar_t *>(Resource(RT_STRING, id / 16 + 1, language));
    for (UINT i = 0; text != NULL && i < id % 16; ++i)
        text += *text + 1; // a block's strings are counted, not terminated
    return text != NULL ? std::wstring(text + 1, *text) : std::wstring();
}

// The dialog another process shows, control by control against the template
// in the user's language and in English.
void ExpectInLanguageAndFitting(HWND shown, int id, LANGID language)
{
    const HWND own = TemplateDialog(id, language), english = TemplateDialog(id, English);
    ASSERT_TRUE(own && english) << "no template " << id << " in language " << std::hex << language;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(own, WM_GETFONT, 0, 0));
    LOGFONTW face = {};
    GetObjectW(font, sizeof(face), &face);
    EXPECT_STREQ(face.lfFaceName, language == English ? L"MS Sans Serif" : L"MS Shell Dlg");
    const HDC dc = GetDC(own);
    SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    HWND s = GetWindow(shown, GW_CHILD), o = GetWindow(own, GW_CHILD), e = GetWindow(english, GW_CHILD);
    for (; s && o && e; s = GetWindow(s, GW_HWNDNEXT), o = GetWindow(o, GW_HWNDNEXT), e = GetWindow(e, GW_HWNDNEXT))
    {
        const std::string text = WindowText(s);
        SCOPED_TRACE(text);
        char kind[16] = ""; // as made here: the real one may be Common Controls 6's
        GetClassNameA(e, kind, sizeof(kind));
        const DWORD style = GetWindowLongW(s, GWL_STYLE), flags = 0xf | WS_TABSTOP | WS_GROUP;
        EXPECT_EQ(GetDlgCtrlID(s), GetDlgCtrlID(e));
        EXPECT_EQ(style & flags, GetWindowLongW(e, GWL_STYLE) & flags) << std::hex << style;
        const bool button = lstrcmpA(kind, "Button") == 0;
        if (lstrcmpA(kind, "Edit") == 0 || (!button && (style & SS_TYPEMASK) == SS_ICON))
            continue; // a folder, an icon: no text of ours
        EXPECT_EQ(text, WindowText(o)) << "not the user's language";
        EXPECT_TRUE(language == English || GetDlgCtrlID(s) == IDOK || text != WindowText(e)) << "left in English";
        // A push button's frame and focus rectangle, a check box's square and
        // the gap after it, take their part of the control.
        RECT room;
        GetClientRect(s, &room);
        if (button)
            room.right -= (style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth
                                                                    : 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        RECT need = {0, 0, room.right, 0};
        DrawTextW(dc, Wide(text).c_str(), -1, &need, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK | DT_EXPANDTABS));
        EXPECT_LE(need.right, room.right) << "too wide";
        EXPECT_LE(need.bottom, room.bottom) << "too tall";
    }
    EXPECT_TRUE(!s && !o && !e) << "the templates differ in their number of controls";
    ReleaseDC(own, dc);
    DestroyWindow(own);
    DestroyWindow(english);
}

void ExpectShownInLanguage(const std::string &commandLine, const char *caption, int id, LANGID language)
{
    const HANDLE process = StartProgram(commandLine);
    ASSERT_NE(process, (HANDLE)NULL) << commandLine;
    const HWND shown = WaitForDialog(caption, process);
    EXPECT_NE(shown, (HWND)NULL) << commandLine << " showed no dialog";
    if (shown != NULL)
    {
        ExpectInLanguageAndFitting(shown, id, language);
        PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EXPECT_EQ(WaitForSingleObject(process, INFINITE), WAIT_OBJECT_0);
    CloseHandle(process);
}

TEST(LanguageTest, EveryTextIsInTheUsersLanguageAndFits)
{
    ASSERT_NE(AppletModule(), (HMODULE)NULL) << "cannot load " << ShippedApplet();
    const LANGID language = UsersLanguage();
    const std::string applet = "\"" + ShippedApplet() + "\"";
    ExpectShownInLanguage("rundll32.exe shell32.dll,Control_RunDLL " + applet, "Vistrane 2.1", IDD_SETTINGS, language);
    // The farewell schedules a scratch file's deletion; the list is put back.
    const std::vector<BYTE> pending = ReadPendingRenames();
    const std::string doomed = ScratchFolder("language") + "\\doomed.txt";
    ASSERT_TRUE(WriteTextFile(doomed, "doomed"));
    ExpectShownInLanguage("rundll32.exe " + applet + ",DeinstallNT " + doomed, "Vistrane", IDD_FAREWELL, language);
    WritePendingRenames(pending);
    DeleteTree(doomed);

    // The Control Panel's description, whole in its 64 characters.
    typedef LONG(CALLBACK * AppletEntry)(HWND, UINT, LPARAM, LPARAM);
    NEWCPLINFOW info = {};
    reinterpret_cast<AppletEntry>(reinterpret_cast<void *>(GetProcAddress(AppletModule(), "CPlApplet")))(
        NULL, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.szName, L"Vistrane");
    const std::wstring description = StringIn(language, IDS_APPLET_INFO);
    EXPECT_EQ(info.szInfo, description) << "not the user's language";
    EXPECT_LT(description.size(), sizeof(info.szInfo) / sizeof(info.szInfo[0])) << "cut to fit";
    EXPECT_TRUE(language == English || description != StringIn(English, IDS_APPLET_INFO)) << "left in English";
}
}
