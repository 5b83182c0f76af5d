#include "deinstall.h"

#include "farewell_dialog.h"
#include "module_instance.h"
#include "removal_path.h"
#include "resource.h"
#include "scheduled_removal.h"

extern "C" int CALLBACK DeinstallNT(HWND window, HINSTANCE, LPSTR commandLine, int)
{
    // The command line is the path of the file to remove, as it came: an
    // empty one makes the delayed move fail and leaves an empty entry.
    wchar_t path[RemovalPathSize];
    TakeRemovalPath(commandLine, path);
    ScheduleRemoval(path, MoveFileExW);
    MessageBeep(MB_ICONEXCLAMATION);
    return static_cast<int>(
        DialogBoxParamW(ModuleInstance, MAKEINTRESOURCEW(IDD_FAREWELL), window, FarewellDialogProc, 0));
}
