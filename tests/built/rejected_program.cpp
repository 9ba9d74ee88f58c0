// Built several ways, never run: each build is an executable that the compatibility check
// must reject. With VISTA_IMPORT it imports GetTickCount64 (Vista and later); otherwise it
// imports nothing new, and is rejected for how it is linked (a subsystem version).

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
    return static_cast<int>(GetLastError() & 1);
#endif
}
