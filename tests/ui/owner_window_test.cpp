// The owner window as the platform sees it: its class record, where it was asked to be, and
// that it paints without leaving WM_PAINT queued and survives a close request.

#include <gtest/gtest.h>

#include "owner_window.h"
#include "resource.h"

namespace {

TEST(OwnerWindow, ClassWindowAndPosition)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND window = CreateOwnerWindow(instance);
    ASSERT_NE(nullptr, window);

    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    ASSERT_TRUE(GetClassInfoExA(instance, "fooclass", &registered));
    EXPECT_EQ(0u, registered.style);
    EXPECT_EQ(0, registered.cbClsExtra);
    EXPECT_EQ(0, registered.cbWndExtra);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(OwnerWindowProc), registered.lpfnWndProc);
    EXPECT_EQ(LoadIconA(instance, MAKEINTRESOURCEA(IDI_LAUNCHER)), registered.hIcon);
    EXPECT_NE(nullptr, registered.hIcon);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)), registered.hCursor);
    EXPECT_EQ(GetStockObject(NULL_BRUSH), registered.hbrBackground);
    EXPECT_EQ(nullptr, registered.lpszMenuName);

    char caption[32] = "";
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ("Orbivane", caption);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE),
              style & static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_EQ(nullptr, GetParent(window));

    RECT frame;
    GetWindowRect(window, &frame);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(width / 2 - 130, frame.left);
    EXPECT_EQ(height / 2 - 120, frame.top);
    if (width == 1024 && height == 768) {
        EXPECT_EQ(382, frame.left);
        EXPECT_EQ(264, frame.top);
    }
    // Asked for 1 x 1, raised by the platform to the smallest captioned window.
    EXPECT_GT(frame.right - frame.left, 1);
    EXPECT_GT(frame.bottom - frame.top, 1);

    // A drain after painting ends: BeginPaint/EndPaint validate the window. At its smallest
    // the window has no client area to invalidate, so it is first enlarged, as a player may.
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE)) << "there is something to paint";
    MSG message;
    int drained = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && drained < 1000) {
        DispatchMessageA(&message);
        ++drained;
    }
    EXPECT_LT(drained, 1000);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));

    // Closing posts quit code 0 and leaves the window in place.
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
    DestroyWindow(window);
}

} // namespace
