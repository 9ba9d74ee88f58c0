// The launch pass with every collaborator replaced by a recorder: the DLL search narrowed
// before anything else, the gate, the order of load, dialog, save, drain and start, the exit
// codes, and the failed game start. The drain itself runs for real on this thread's queue.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch_sequence.h"
#include "resource.h"

namespace {

struct Script {
    HRESULT detectStatus;
    uint32_t packed;
    INT_PTR dialogEnd;
    WPARAM drained;
    UINT started;
};

const Script* g_script;
std::vector<std::string> g_events;
HWND const kOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x400000));

void Narrow()
{
    g_events.push_back("narrow");
}
HRESULT Detect(uint32_t* packed, char* text, int32_t capacity)
{
    g_events.push_back("detect " + std::to_string(capacity));
    *packed = g_script->packed;
    text[0] = '\0';
    return g_script->detectStatus;
}
void Load(const char* name)
{
    g_events.push_back(std::string("load ") + name);
}
void Save(const char* name)
{
    g_events.push_back(std::string("save ") + name);
}
HWND CreateOwner(HINSTANCE instance)
{
    EXPECT_EQ(kInstance, instance);
    g_events.push_back("owner");
    return kOwner;
}
INT_PTR Dialog(HINSTANCE instance, HWND owner)
{
    EXPECT_EQ(kInstance, instance);
    EXPECT_EQ(kOwner, owner);
    g_events.push_back("dialog");
    return g_script->dialogEnd;
}
int WINAPI Box(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    char line[512];
    snprintf(line, sizeof line, "box %s|%s|%#x|%s", owner == nullptr ? "no owner" : "owned", caption, style, text);
    g_events.push_back(line);
    return IDOK;
}
WPARAM Drain()
{
    g_events.push_back("drain");
    return g_script->drained;
}
UINT WINAPI Start(LPCSTR commandLine, UINT show)
{
    g_events.push_back(std::string("start ") + commandLine + " " + std::to_string(show));
    return g_script->started;
}

const LaunchPlatform kRecorders = {Narrow, Detect, Load, Save, CreateOwner, Dialog, Box, Drain, Start};

const char kTooOld[] = "You need DirectX 9.0c or better installed to run Orbivane. \n"
                       "Please download from https://www.microsoft.com/directx.";

struct LaunchCase {
    const char* name;
    Script script;
    int exitCode;
    std::vector<std::string> events;
};

const std::vector<std::string> Gate(const std::string& message)
{
    return {"narrow", "detect 10", "box no owner|DirectX Version Error|0x40|" + message};
}

const std::vector<std::string> Pass(std::vector<std::string> tail)
{
    std::vector<std::string> events = {"narrow", "detect 10",         "owner", "load settings.cfg",
                                       "dialog", "save settings.cfg", "drain"};
    events.insert(events.end(), tail.begin(), tail.end());
    return events;
}

TEST(RunLaunchSequence, GateDialogSaveAndStart)
{
    const LaunchCase cases[] = {
        // A failed detection is told as such whatever packed value it left, 0 included.
        {"detection fails", {E_FAIL, 0x00090003, IDC_START, 0, 33}, 0, Gate("Unknown version of DirectX installed")},
        {"detection fails with 0", {E_FAIL, 0, IDC_START, 0, 33}, 0, Gate("Unknown version of DirectX installed")},
        {"not installed", {S_OK, 0, IDC_START, 0, 33}, 0, Gate("DirectX not installed")},
        {"9.0b is too old", {S_OK, 0x00090002, IDC_START, 0, 33}, 0, Gate(kTooOld)},
        {"9.0 from the ladder is too old", {S_OK, 0x00090000, IDC_START, 0, 33}, 0, Gate(kTooOld)},
        {"1.0 is too old", {S_OK, 0x00010000, IDC_START, 0, 33}, 0, Gate(kTooOld)},
        {"9.0c starts", {S_OK, 0x00090003, IDC_START, 0, 33}, 0, Pass({"start quarnel.exe game 5"})},
        {"9.0d starts", {S_OK, 0x00090004, IDC_START, 0, 33}, 0, Pass({"start quarnel.exe game 5"})},
        {"10.0 starts", {S_OK, 0x000A0000, IDC_START, 0, 33}, 0, Pass({"start quarnel.exe game 5"})},
        // The comparison is unsigned: a major of 32768 or more sets the top bit.
        {"0x80000000 starts", {S_OK, 0x80000000u, IDC_START, 0, 33}, 0, Pass({"start quarnel.exe game 5"})},
        {"0xFFFF0001 starts", {S_OK, 0xFFFF0001u, IDC_START, 0, 33}, 0, Pass({"start quarnel.exe game 5"})},
        {"Quit saves and starts nothing", {S_OK, 0x00090003, IDC_QUIT, 7, 33}, 0, Pass({})},
        {"a dialog that could not be shown counts as Start", {S_OK, 0x00090003, -1, 0, 33}, 0,
         Pass({"start quarnel.exe game 5"})},
        {"exit code is the last drained wParam", {S_OK, 0x00090003, IDC_START, 42, 33}, 42,
         Pass({"start quarnel.exe game 5"})},
        {"a start code of 32 is success", {S_OK, 0x00090003, IDC_START, 0, 32}, 0, Pass({"start quarnel.exe game 5"})},
    };
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_script = &c.script;
        g_events.clear();
        EXPECT_EQ(c.exitCode, RunLaunchSequence(kInstance, &kRecorders));
        EXPECT_EQ(c.events, g_events);
    }
}

TEST(RunLaunchSequence, AGameThatDoesNotStartIsReported)
{
    struct FailedStart {
        UINT code;
        const char* reason; // a text the message must contain
    };
    const FailedStart failures[] = {{0, "out of memory or resources"}, {2, ""}, {3, ""}, {31, ""}};
    for (const FailedStart& f : failures) {
        SCOPED_TRACE(f.code);
        const Script script = {S_OK, 0x00090003, IDC_START, 0, f.code};
        g_script = &script;
        g_events.clear();
        EXPECT_EQ(1, RunLaunchSequence(kInstance, &kRecorders));
        ASSERT_EQ(9u, g_events.size());
        EXPECT_EQ("start quarnel.exe game 5", g_events[7]);
        const std::string& box = g_events[8];
        EXPECT_EQ(0u, box.find("box no owner|Orbivane|0x10|Orbivane could not be started")) << box;
        EXPECT_NE(std::string::npos, box.find(f.reason)) << box;

        // The reason is the system's own text for the code (not just a number).
        char system[256] = "";
        if (f.code != 0 && FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, f.code,
                                          0, system, sizeof system, nullptr) != 0) {
            std::string first(system);
            first = first.substr(0, first.find_first_of("\r\n"));
            while (!first.empty() && first.back() == ' ')
                first.pop_back();
            EXPECT_NE(std::string::npos, box.find(first)) << box;
        }
    }
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP)
        g_events.push_back("dispatched " + std::to_string(wParam));
    if (message == WM_PAINT)
        g_events.push_back("paint");
    if (message == WM_TIMER) {
        g_events.push_back("timer " + std::to_string(wParam));
        KillTimer(window, wParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CountingWindow(HWND parent, DWORD style)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "drain-test";
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_NOACTIVATE, "drain-test", "", style, 0, 0, 200, 100, parent, nullptr, nullptr,
                           nullptr);
}

TEST(DrainThreadMessages, RemovesEverythingAQuitIncluded)
{
    HWND window = CountingWindow(HWND_MESSAGE, 0);
    ASSERT_NE(nullptr, window);

    EXPECT_EQ(0u, DrainThreadMessages()) << "an empty queue drains to 0";

    g_events.clear();
    PostMessageA(window, WM_APP, 1, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_APP, 2, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 9, 0);
    PostMessageA(window, WM_APP, 4, 0);
    // As on Windows, the quit message comes out last, after everything posted behind it.
    EXPECT_EQ(3u, DrainThreadMessages());
    const std::vector<std::string> expected = {"dispatched 1", "dispatched 2", "dispatched 4"};
    EXPECT_EQ(expected, g_events);

    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << "the queue is empty";
    DestroyWindow(window);
}

TEST(DrainThreadMessages, GoesOnPastTheQuitToPaintAndTimers)
{
    // Paint and timer messages are made when the queue is asked, after posted ones and the
    // quit: a drain that stopped at the quit would leave them and return its code.
    HWND window = CountingWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(nullptr, window);
    UpdateWindow(window);
    DrainThreadMessages();

    g_events.clear();
    PostThreadMessageA(GetCurrentThreadId(), WM_USER, 7, 0);
    PostQuitMessage(5);
    InvalidateRect(window, nullptr, TRUE);
    SetTimer(window, 1, 1, nullptr);
    Sleep(50);
    EXPECT_EQ(1u, DrainThreadMessages());
    EXPECT_EQ(std::vector<std::string>({"paint", "timer 1"}), g_events);

    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << "the queue is empty";
    DestroyWindow(window);
}

TEST(DrainThreadMessages, AQuitMessageAloneGivesItsCode)
{
    PostQuitMessage(0);
    EXPECT_EQ(0u, DrainThreadMessages());
    PostQuitMessage(9);
    EXPECT_EQ(9u, DrainThreadMessages());
}

} // namespace
