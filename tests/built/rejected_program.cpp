// Built several ways, never run: each build is an executable that a check of the executables
// must reject. With VISTA_IMPORT it imports GetTickCount64 (Vista and later); with
// RUNTIME_DLL it throws, and the C++ runtime that does that comes from the toolchain's DLLs
// when it is linked without -static; otherwise it imports nothing new, and is rejected for
// how it is linked (a subsystem version) or for what it carries (a resource too many).

#ifdef VISTA_IMPORT
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
#ifdef VISTA_IMPORT
    return static_cast<int>(GetTickCount64() & 1);
#else
#ifdef RUNTIME_DLL
    if (GetLastError() == ERROR_INVALID_DATA)
        throw ERROR_INVALID_DATA;
#endif
    return static_cast<int>(GetLastError() & 1);
#endif
}
