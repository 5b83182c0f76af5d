#include "scheduled_removal.h"

#include <strsafe.h>

namespace
{
// Room for any Windows folder and the file name.
const size_t WininitPathSize = 1024;
}

void ScheduleRemoval(const wchar_t *path, DelayedMove move)
{
    if (move(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT))
        return;
    // Systems that process WININIT.INI at start-up. Without a Windows folder
    // there is no such file to write: "\WININIT.INI" would land in the root
    // of whatever drive is current.
    wchar_t wininit[WininitPathSize];
    const UINT length = GetWindowsDirectoryW(wininit, WininitPathSize);
    if (length == 0 || length >= WininitPathSize || FAILED(StringCchCatW(wininit, WininitPathSize, L"\\WININIT.INI")))
        return;
    WritePrivateProfileStringW(WininitSection, WininitDeleteKey, path, wininit);
}
