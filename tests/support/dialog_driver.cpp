#include "dialog_driver.h"

#include <shlobj.h>

#include "test_support.h"

namespace
{
DialogScript PendingScript = NULL;
void *PendingContext = NULL;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
    {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == NULL)
        return; // not up yet: the next tick looks again
    KillTimer(NULL, timer);
    const DialogScript script = PendingScript;
    PendingScript = NULL;
    script(dialog, PendingContext);
}
}

HMODULE AppletModule()
{
    static HMODULE module = LoadLibraryA(ShippedApplet().c_str());
    return module;
}

INT_PTR RunDialog(int id, DLGPROC procedure, DialogScript script, void *context)
{
    PendingScript = script;
    PendingContext = context;
    const UINT_PTR timer = SetTimer(NULL, 0, 10, RunPendingScript);
    // Wide, as the Control Panel entry shows it.
    const INT_PTR result = DialogBoxParamW(AppletModule(), MAKEINTRESOURCEW(id), NULL, procedure, 0);
    if (PendingScript != NULL)
        KillTimer(NULL, timer);
    PendingScript = NULL;
    return result;
}

void Press(HWND dialog, int controlId)
{
    SendMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void PostEscape(HWND dialog)
{
    HWND focus = GetFocus();
    PostMessageA(focus != NULL ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

void PostCloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::string ControlText(HWND dialog, int controlId)
{
    wchar_t text[1024] = L"";
    GetDlgItemTextW(dialog, controlId, text, 1024);
    return Utf8(text);
}

std::string WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

RECT DialogUnitsToPixels(HWND dialog, const RECT &units)
{
    RECT rect = units;
    MapDialogRect(dialog, &rect);
    rect.right += rect.left;
    rect.bottom += rect.top;
    return rect;
}

RECT PlaceInDialog(HWND dialog, HWND control)
{
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(NULL, dialog, reinterpret_cast<POINT *>(&place), 2);
    return place;
}

HWND WaitForDialog(const char *caption, HANDLE process)
{
    for (;;)
    {
        // Shown, not only made: the dialog manager makes the window first
        // and its controls after.
        const HWND dialog = FindWindowA("#32770", caption);
        if (dialog != NULL && IsWindowVisible(dialog))
            return dialog;
        if (WaitForSingleObject(process, 100) != WAIT_TIMEOUT)
            return FindWindowA("#32770", caption);
    }
}

HDROP MakeDrop(const std::vector<std::string> &paths)
{
    std::wstring list;
    for (size_t i = 0; i < paths.size(); ++i)
        list += Wide(paths[i]) + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    CopyMemory(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
