// The start-up floors: the same template shown with no file or list work, after the same
// DxDiag provider query (floor_query_dialog) or with no detection at all (bare_dialog).
#include <windows.h>

#include "dxdiag_query.h"
#include "resource.h"

static INT_PTR CALLBACK QuitOnly(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_QUIT)
        EndDialog(dialog, IDC_QUIT);
    return message == WM_COMMAND;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#ifdef WITH_QUERY
    static const ComApi com = {CoInitialize, CoUninitialize, CoCreateInstance};
    int32_t major = 0, minor = 0;
    char letter = ' ';
    QueryDiagnosticVersion(&com, &major, &minor, &letter);
#endif
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr, QuitOnly, 0);
    return 0;
}
