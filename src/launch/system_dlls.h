// Only the system's DLLs may run inside the launcher. It lives in the game's folder, where
// mods install proxy DLLs on purpose (d3d9.dll, dinput8.dll, version.dll, ...) and where
// anything with write access can plant one, and Windows looks for a DLL that is not one of
// its known DLLs in the program's own folder first. So the launcher narrows the search before
// anything can load a DLL by name, and takes the one DLL it needs beyond the known ones from
// the system directory by its full path.
#pragma once

#include <windows.h>

// Stands for kernel32's DLL loader: the two ways of narrowing its search, looked up at run
// time and null where kernel32 lacks them (SetDefaultDllDirectories: Windows 8, and Vista and
// 7 with KB2533623; SetDllDirectoryA: XP SP1), the system directory, and a load by path.
struct DllLoaderApi {
    BOOL(WINAPI* setDefaultDllDirectories)(DWORD directoryFlags);
    BOOL(WINAPI* setDllDirectory)(LPCSTR path);
    UINT(WINAPI* getSystemDirectory)(LPSTR buffer, UINT size);
    HMODULE(WINAPI* loadLibrary)(LPCSTR path);
};

// The running kernel32's loader, as far as this Windows has it.
DllLoaderApi KernelDllLoader();

// From here on every DLL loaded by name comes from the system directory alone, where
// kernel32 can do that; otherwise the current folder is at least taken out of the search;
// otherwise nothing changes. A refused call is not reported: the launch goes on.
void NarrowDllSearch(const DllLoaderApi* loader);

// Loads fileName (with its leading backslash, "\\version.dll") by its full path in the system
// directory. Null when the directory cannot be fetched or does not fit, or the load fails.
HMODULE LoadSystemLibrary(const DllLoaderApi* loader, const char* fileName);

// A DLL's export by name as the function type the caller names; null when it has none.
template <typename Function>
Function ExportedFunction(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
