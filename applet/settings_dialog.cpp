#include "settings_dialog.h"

#include <shellapi.h>

#include "applet_settings.h"
#include "resource.h"
#include "wallpaper_cycle.h"

namespace
{
void ShowSettings(HWND dialog)
{
    LoadSettings();
    SetDlgItemTextW(dialog, IDC_IMAGE_DIR, AppletSettings.ImageDir);
    // The stored values go to the boxes as they are: 0 unchecks, 1 checks,
    // and what anything else shows is the box's own affair.
    CheckDlgButton(dialog, IDC_CHANGE_AT_LOGON, AppletSettings.IsActive);
    CheckDlgButton(dialog, IDC_RANDOM_SELECTION, AppletSettings.DoRandomSearch);
    CheckDlgButton(dialog, IDC_TILE_WALLPAPER, AppletSettings.DoTile);
    CheckDlgButton(dialog, IDC_PER_MONITOR, AppletSettings.DoPerMonitor);
}

void SaveShownSettings(HWND dialog)
{
    AppletSettings.IsActive = IsDlgButtonChecked(dialog, IDC_CHANGE_AT_LOGON);
    AppletSettings.DoRandomSearch = IsDlgButtonChecked(dialog, IDC_RANDOM_SELECTION);
    AppletSettings.DoTile = IsDlgButtonChecked(dialog, IDC_TILE_WALLPAPER);
    AppletSettings.DoPerMonitor = IsDlgButtonChecked(dialog, IDC_PER_MONITOR);
    // One short of the record's room: at most 298 characters are kept. A cut
    // that splits a character made of two UTF-16 units drops its first half,
    // which alone would be no text at all.
    const int length = GetDlgItemTextW(dialog, IDC_IMAGE_DIR, AppletSettings.ImageDir, ImageDirSize - 1);
    if (length > 0 && IS_HIGH_SURROGATE(AppletSettings.ImageDir[length - 1]))
        AppletSettings.ImageDir[length - 1] = L'\0';
    SaveSettings();
}

// The run uses the folder already saved, not the text being edited.
void ChangeWallpaperNow(HWND dialog)
{
    ChangeNow(ShownRunOptions(dialog));
}

// The first dropped item, folder or file, becomes the picture folder shown;
// it is saved only if the user then presses OK. A path too long for the
// record is left out rather than cut into the name of another folder.
void TakeDroppedFolder(HWND dialog, HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, NULL, 0);
    if (length != 0 && length < static_cast<UINT>(ImageDirSize) &&
        DragQueryFileW(drop, 0, AppletSettings.ImageDir, ImageDirSize) == length)
        SetDlgItemTextW(dialog, IDC_IMAGE_DIR, AppletSettings.ImageDir);
    DragFinish(drop);
}
}

CycleOptions ShownRunOptions(HWND dialog)
{
    CycleOptions options;
    options.random = IsDlgButtonChecked(dialog, IDC_RANDOM_SELECTION);
    options.tile = IsDlgButtonChecked(dialog, IDC_TILE_WALLPAPER);
    options.immediate = AppletSettings.ImmediateChange;
    options.perMonitor = IsDlgButtonChecked(dialog, IDC_PER_MONITOR);
    return options;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG:
        ShowSettings(dialog);
        return TRUE; // the focus goes to the first tab stop
    case WM_COMMAND:
        if (HIWORD(wParam) != 0)
            return FALSE;
        switch (LOWORD(wParam))
        {
        case IDOK:
            SaveShownSettings(dialog);
            EndDialog(dialog, 1);
            break;
        case IDCANCEL: // also Esc and the close box
            EndDialog(dialog, 1);
            break;
        case IDC_CHANGE_NOW:
            ChangeWallpaperNow(dialog);
            break;
        }
        return TRUE;
    case WM_DROPFILES:
        TakeDroppedFolder(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
