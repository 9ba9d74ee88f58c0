// The launcher itself, built several ways, never shipped: each build is a launcher that a check
// of the built files must reject for one thing alone. Its own entry point is compiled in as
// ShippedWinMain; this one runs it and, by the build's option, adds one fault:
//   NEWER_IMPORT          it imports SetDefaultDllDirectories, which the launcher may only look
//                         up at run time: XP lacks it (the call never runs)
//   TICK_COUNT_IMPORT     it imports GetTickCount64, the Vista function a timing change would
//                         reach for first: XP lacks it too (the call never runs)
//   VERSION_IMPORT        it imports version.dll too (the call never runs)
//   RUNTIME_DLL           it can throw; linked without -static, the C++ runtime that does
//                         that comes from the toolchain's DLLs
//   EXIT_STATUS           it ends with another status than the launcher's
//   EXIT_PROCESS          it ends the process itself instead of returning from WinMain: the C
//                         runtime's exit never comes
//   OWNER_WINDOW_AT_GATE  after the DirectX gate's message it creates its owner window after all
// With no option it is the launcher, rejected for how it is linked (a subsystem version) or
// for what it carries (a version resource, one resource too many).

#if defined(NEWER_IMPORT) || defined(TICK_COUNT_IMPORT)
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#endif
#include <windows.h>
#include <winver.h>

#include "owner_window.h"

extern "C" int WINAPI ShippedWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

#if defined(NEWER_IMPORT) || defined(TICK_COUNT_IMPORT) || defined(VERSION_IMPORT) || defined(RUNTIME_DLL)
// These builds are checked as files and never run: the call is kept by a condition the
// compiler cannot drop.
static const int kNeverRun = 0x7EA;
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    int status = ShippedWinMain(instance, previous, commandLine, show);
#if defined(NEWER_IMPORT)
    if (status == kNeverRun)
        status = SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
#elif defined(TICK_COUNT_IMPORT)
    if (status == kNeverRun)
        status = static_cast<int>(GetTickCount64());
#elif defined(VERSION_IMPORT)
    if (status == kNeverRun)
        GetFileVersionInfoSizeA("launcher.exe", nullptr);
#elif defined(RUNTIME_DLL)
    if (status == kNeverRun)
        throw status;
#elif defined(EXIT_STATUS)
    status += 2;
#elif defined(EXIT_PROCESS)
    ExitProcess(static_cast<UINT>(status));
#elif defined(OWNER_WINDOW_AT_GATE)
    // Only a launcher that passed the gate has registered the owner window's class.
    WNDCLASSEXA registered = {};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExA(instance, "fooclass", &registered))
        CreateOwnerWindow(instance);
#endif
    return status;
}
