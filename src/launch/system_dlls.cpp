// Narrowing the DLL search, and loading a system DLL by its full path. Neither function may
// be imported: XP has no SetDefaultDllDirectories, and a launcher importing it would not
// start there at all.

#include "system_dlls.h"

#include "bounded_text.h"

// Not declared for the launcher's oldest Windows; the value is the one kernel32 documents.
static const DWORD kSearchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

// The system directory is offered MAX_PATH characters, as the file ladder offers it.
static const UINT kSystemDirectoryOffered = MAX_PATH;

DllLoaderApi KernelDllLoader()
{
    // kernel32 is in every process from its first instruction: looking it up loads nothing.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    DllLoaderApi loader = {nullptr, nullptr, GetSystemDirectoryA, LoadLibraryA};
    if (kernel != nullptr) {
        loader.setDefaultDllDirectories =
            ExportedFunction<BOOL(WINAPI*)(DWORD)>(kernel, "SetDefaultDllDirectories");
        loader.setDllDirectory = ExportedFunction<BOOL(WINAPI*)(LPCSTR)>(kernel, "SetDllDirectoryA");
    }
    return loader;
}

void NarrowDllSearch(const DllLoaderApi* loader)
{
    if (loader->setDefaultDllDirectories != nullptr && loader->setDefaultDllDirectories(kSearchSystem32))
        return;
    // The empty directory takes the current folder out of the search. The program's own
    // folder stays first: only a load by full path is safe from it there.
    if (loader->setDllDirectory != nullptr)
        loader->setDllDirectory("");
}

HMODULE LoadSystemLibrary(const DllLoaderApi* loader, const char* fileName)
{
    char directory[512];
    const UINT length = loader->getSystemDirectory(directory, kSystemDirectoryOffered);
    // 0 is failure; MAX_PATH or more is the size the directory would need, the buffer undefined.
    if (length == 0 || length >= kSystemDirectoryOffered)
        return nullptr;
    // A cut path could name another file: it is never loaded.
    char path[512];
    if (FAILED(BoundedCopy(path, sizeof path, directory)) || FAILED(BoundedAppend(path, sizeof path, fileName)))
        return nullptr;
    return loader->loadLibrary(path);
}
