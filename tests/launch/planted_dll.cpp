// A stand-in for a DLL dropped in the game's folder: when any process loads it, it leaves a
// marker file beside itself (its own path with ".ran" added), so a test sees that it ran.
#include <windows.h>

#include <string.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char marker[MAX_PATH + 8];
        const DWORD length = GetModuleFileNameA(module, marker, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            strcat(marker, ".ran");
            HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
        }
    }
    return TRUE;
}
