// The owner window. It is never destroyed by the launcher: it ends with the process.

#include "owner_window.h"

#include "resource.h"

#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48, "RegisterClassExA checks the record's size on the 32-bit build");
#endif

static const char kOwnerClass[] = "fooclass";

LRESULT CALLBACK OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        // Without BeginPaint the window stays invalid and WM_PAINT never leaves the queue,
        // so the launch sequence's final drain would never end.
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateOwnerWindow(HINSTANCE instance)
{
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = OwnerWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LAUNCHER));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassExA(&windowClass);

    // Requested 1 x 1; the platform raises a captioned, sizable window to its minimum size.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 130;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 120;
    return CreateWindowExA(0, kOwnerClass, "Orbivane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 1, 1, nullptr, nullptr,
                           instance, nullptr);
}
