// Every text the applet shows, in the user's language. This program runs
// once per user interface language (tests/CMakeLists.txt sets LANG, which
// Wine follows): the real dialogs, opened through rundll32 as the Control
// Panel and the uninstallation open them, must show that language's texts,
// each fitting its control in the dialog's own font.
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
// The languages the library speaks, English first: the one every other user
// interface language gets.
const LANGID English = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID Languages[] = {
    English,
    MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_ITALIAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN),
    MAKELANGID(LANG_DUTCH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_POLISH, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL),
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED),
};

// Ours for the user's interface language: the same, or a neutral one of
// its language (German for Austria too), else English.
LANGID UsersLanguage()
{
    const LANGID user = GetUserDefaultUILanguage();
    for (const LANGID language : Languages)
        if (language == user ||
            (SUBLANGID(language) == SUBLANG_NEUTRAL && PRIMARYLANGID(language) == PRIMARYLANGID(user)))
            return language;
    return English;
}

INT_PTR CALLBACK Inert(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The library's template in that language, made into a dialog here: its
// texts are what the user must see, its font is the one the real dialog
// draws with (this process runs in the same language).
HWND TemplateDialog(int id, LANGID language)
{
    const HRSRC found = FindResourceExA(AppletModule(), RT_DIALOG, MAKEINTRESOURCEA(id), language);
    const HGLOBAL loaded = found != NULL ? LoadResource(AppletModule(), found) : NULL;
    return loaded == NULL ? NULL
                          : CreateDialogIndirectParamW(AppletModule(), static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)),
                                                       NULL, Inert, 0);
}

std::wstring StringIn(LANGID language, UINT id)
{
    const HRSRC found = FindResourceExA(AppletModule(), RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
    const HGLOBAL loaded = found != NULL ? LoadResource(AppletModule(), found) : NULL;
    const wchar_t *text = loaded != NULL ? static_cast<const wchar_t *>(LockResource(loaded)) : L"";
    for (UINT i = 0; loaded != NULL && i < id % 16; ++i)
        text += *text + 1; // each string of the block is counted, not terminated
    return loaded != NULL ? std::wstring(text + 1, *text) : std::wstring();
}

// Sent, not asked with GetWindowText, which leaves out another process's controls.
std::wstring Text(HWND window)
{
    wchar_t text[256] = L"";
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// The dialog shown by another process, control by control against the
// template in the user's language and in English.
void ExpectInLanguageAndFitting(HWND shown, int id, LANGID language)
{
    const HWND own = TemplateDialog(id, language), english = TemplateDialog(id, English);
    ASSERT_TRUE(own != NULL && english != NULL) << "no template " << id << " in language " << std::hex << language;
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(own, WM_GETFONT, 0, 0));
    LOGFONTW face = {}, englishFace = {};
    GetObjectW(font, sizeof(face), &face);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(english, WM_GETFONT, 0, 0)), sizeof(englishFace), &englishFace);
    EXPECT_STREQ(face.lfFaceName, language == English ? L"MS Sans Serif" : L"MS Shell Dlg");
    EXPECT_EQ(face.lfHeight, englishFace.lfHeight) << "the same size as the English font";
    const HDC dc = GetDC(own);
    SelectObject(dc, font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    HWND s = GetWindow(shown, GW_CHILD), o = GetWindow(own, GW_CHILD), e = GetWindow(english, GW_CHILD);
    for (; s && o && e; s = GetWindow(s, GW_HWNDNEXT), o = GetWindow(o, GW_HWNDNEXT), e = GetWindow(e, GW_HWNDNEXT))
    {
        const std::wstring text = Text(s);
        SCOPED_TRACE(Utf8(text));
        char kind[16] = ""; // as made here: the real one may be Common Controls 6's
        GetClassNameA(e, kind, sizeof(kind));
        const DWORD style = GetWindowLongW(s, GWL_STYLE), flags = 0xf | WS_TABSTOP | WS_GROUP;
        EXPECT_EQ(GetDlgCtrlID(s), GetDlgCtrlID(e));
        EXPECT_EQ(style & flags, GetWindowLongW(e, GWL_STYLE) & flags) << std::hex << style;
        const bool button = lstrcmpA(kind, "Button") == 0;
        if (lstrcmpA(kind, "Edit") == 0 || (!button && (style & SS_TYPEMASK) == SS_ICON))
            continue; // a folder, an icon: no text of ours
        EXPECT_EQ(text, Text(o)) << "not the user's language";
        if (language != English && GetDlgCtrlID(s) != IDOK) // OK is OK in many languages
        {
            EXPECT_NE(text, Text(e)) << "left in English";
        }
        // A push button's frame and focus rectangle, a check box's square and
        // the gap after it, take their part of the control.
        RECT room;
        GetClientRect(s, &room);
        if (button)
            room.right -= (style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth
                                                                    : 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        RECT need = {0, 0, room.right, 0};
        DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK | DT_EXPANDTABS));
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
    ExpectShownInLanguage("rundll32.exe shell32.dll,Control_RunDLL \"" + ShippedApplet() + "\"", "Vistrane 2.1",
                          IDD_SETTINGS, language);

    // The farewell schedules its file's deletion: a scratch file, and the
    // pending list put back as it was.
    const std::vector<BYTE> pending = ReadPendingRenames();
    const std::string doomed = ScratchFolder("language") + "\\doomed.txt";
    ASSERT_TRUE(WriteTextFile(doomed, "doomed"));
    ExpectShownInLanguage("rundll32.exe \"" + ShippedApplet() + "\",DeinstallNT " + doomed, "Vistrane", IDD_FAREWELL,
                          language);
    WritePendingRenames(pending);
    DeleteTree(doomed);

    // The Control Panel's description: the language's, whole in its 64 characters.
    typedef LONG(CALLBACK * AppletEntry)(HWND, UINT, LPARAM, LPARAM);
    const AppletEntry applet =
        reinterpret_cast<AppletEntry>(reinterpret_cast<void *>(GetProcAddress(AppletModule(), "CPlApplet")));
    NEWCPLINFOW info = {};
    ASSERT_EQ(applet(NULL, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_STREQ(info.szName, L"Vistrane");
    const std::wstring description = StringIn(language, IDS_APPLET_INFO);
    EXPECT_EQ(info.szInfo, description) << "not the user's language";
    EXPECT_LT(description.size(), sizeof(info.szInfo) / sizeof(info.szInfo[0])) << "cut to fit";
    if (language != English)
    {
        EXPECT_NE(description, StringIn(English, IDS_APPLET_INFO)) << "left in English";
    }
}
}
