#include "control_panel.h"

#include <cpl.h>

#include "module_instance.h"
#include "resource.h"
#include "settings_dialog.h"

// The wide record: the host tells it from the narrow one by its size, and
// it carries the description in any script, whatever the ANSI code page
// (a Japanese user interface on a Western system included).
static_assert(sizeof(NEWCPLINFOW) == 468, "the host tells the records apart by their size");

namespace
{
// Every field is written, whatever the host left in the record. The item is
// described only here: CPL_INQUIRE fills nothing.
void DescribeItem(NEWCPLINFOW *info)
{
    info->dwSize = sizeof(NEWCPLINFOW);
    info->dwFlags = 0;
    info->dwHelpContext = 0;
    info->lData = 0;
    info->hIcon = LoadIconW(ModuleInstance, MAKEINTRESOURCEW(IDI_VISTRANE));
    // LoadStringW picks the user's language, cuts a longer text to fit and
    // terminates it; a string it cannot find leaves the field empty rather
    // than as the host left it.
    info->szName[0] = L'\0';
    LoadStringW(ModuleInstance, IDS_APPLET_NAME, info->szName, sizeof(info->szName) / sizeof(info->szName[0]));
    info->szInfo[0] = L'\0';
    LoadStringW(ModuleInstance, IDS_APPLET_INFO, info->szInfo, sizeof(info->szInfo) / sizeof(info->szInfo[0]));
    info->szHelpFile[0] = L'\0';
}
}

extern "C" LONG CALLBACK CPlApplet(HWND controlPanelWindow, UINT message, LPARAM, LPARAM param2)
{
    // The item number in param1 is not looked at: there is only one item.
    switch (message)
    {
    case CPL_INIT:
        return 1;
    case CPL_GETCOUNT:
        return 1;
    case CPL_NEWINQUIRE:
        DescribeItem(reinterpret_cast<NEWCPLINFOW *>(param2));
        return 0;
    case CPL_DBLCLK:
        // Modal: returns once the user has closed the dialog.
        // Wide, so its edit box holds what the store holds, in any script.
        DialogBoxParamW(ModuleInstance, MAKEINTRESOURCEW(IDD_SETTINGS), controlPanelWindow, SettingsDialogProc, 0);
        return 0;
    default:
        return 0;
    }
}
