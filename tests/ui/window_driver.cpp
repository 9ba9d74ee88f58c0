// A small driver for the scripts that run the launcher (tools/run, the checks): waits for one
// of its dialogs or message boxes to be shown, or presses one of its buttons, as a player
// would. Only dialog windows count: the owner window shares the message box's caption. Not
// shipped.
//   window_driver wait "<caption>"        exit 0 once the dialog is visible (60 s at most)
//   window_driver press "<caption>" <id>  click control <id> of that dialog (exit 1: none)
//   window_driver hold                    keep Wine's desktop up until ended ("ready" once it is)

#include <windows.h>

#include <cstdio>
#include <cstdlib>

static HWND WaitVisible(const char* caption)
{
    for (int i = 0; i < 6000; ++i) {
        HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window))
            return window;
        Sleep(10);
    }
    return nullptr;
}

int main(int argc, char** argv)
{
    if (argc == 2 && lstrcmpA(argv[1], "hold") == 0) {
        // Wine ends its desktop process a second after the last program that used it; the
        // next program to need a window then starts it anew as a child of its own, racing the
        // close of the old one. Held from start to end of a run, it is started once.
        GetDesktopWindow();
        puts("ready");
        fflush(stdout);
        Sleep(INFINITE);
    }
    if (argc < 3)
        return 2;
    HWND window = WaitVisible(argv[2]);
    if (window == nullptr) {
        fprintf(stderr, "no window \"%s\"\n", argv[2]);
        return 1;
    }
    if (argc == 4 && lstrcmpA(argv[1], "press") == 0) {
        // A button the dialog does not have is a failed press, not a silent one.
        HWND button = GetDlgItem(window, atoi(argv[3]));
        if (button == nullptr) {
            fprintf(stderr, "no control %s in \"%s\"\n", argv[3], argv[2]);
            return 1;
        }
        DWORD_PTR ignored;
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
    }
    return 0;
}
