#include "compose_screens.h"

int ComposeScreenFile(const wchar_t *destination, const ScreenPiece *pieces, UINT count, int placement)
{
    DestinationFile file(destination);
    const ConvertResult written = WriteComposite(pieces, count, placement, GetSysColor(COLOR_DESKTOP), file);
    if (written != ConvertDone)
        return written;
    return file.Finish() ? ConvertDone : ConvertDestinationUnwritable;
}
