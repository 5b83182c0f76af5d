// Screenshot helper: exits 0 when a top-level window with the given caption
// or window class is up, 1 when not; with "close", also asks it to close.
// Wine's Control Panel has its caption in the user's language, its class
// (Shell_Control_WndClass) in every one.
//   find_window.exe <caption or class> [close]
#include <windows.h>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    HWND window = FindWindowA(NULL, argv[1]);
    if (window == NULL)
        window = FindWindowA(argv[1], NULL);
    if (window == NULL || !IsWindowVisible(window))
        return 1;
    if (argc > 2 && lstrcmpA(argv[2], "close") == 0)
        PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}
