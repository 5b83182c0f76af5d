// Demo helper: brings up Wine's desktop, which shows only once a program has
// a window on it, and keeps it up for the given number of seconds. The
// desktop loads the wallpaper named in the registry as it starts, as a
// Windows desktop does at logon.
//   show_desktop.exe <seconds>
#include <windows.h>

#include <stdlib.h>

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? atoi(argv[1]) : 5;
    // One pixel in a corner: the desktop shows, the wallpaper stays in view.
    const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, NULL, NULL,
                                        NULL, NULL);
    if (window == NULL)
        return 1;
    const DWORD end = GetTickCount() + 1000u * seconds;
    while (GetTickCount() < end)
    {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(50);
    }
    DestroyWindow(window);
    return 0;
}
