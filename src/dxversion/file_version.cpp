// The file version reader. One heap block per read, freed on every path.

#include "file_version.h"

#include <stdlib.h>

#include "system_dlls.h"

// The root block is read as this record; a shorter block is rejected before it is read.
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed file information is 13 32-bit fields");

// version.dll is not one of Windows' known DLLs: imported, it would be looked for in the
// launcher's folder first, before WinMain runs, where a mod's proxy or a planted copy would be
// taken. So it is loaded by its full path in the system directory, once, on the first read,
// and its three functions are taken by name. Without them every file reads as unreadable.
struct VersionDll {
    DWORD(WINAPI* getSize)(LPCSTR path, LPDWORD handle);
    BOOL(WINAPI* getInfo)(LPCSTR path, DWORD handle, DWORD size, LPVOID block);
    BOOL(WINAPI* queryValue)(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length);
};

static VersionDll g_versionDll; // all null until loaded whole
static bool g_versionDllTried;

static const VersionDll* SystemVersionDll()
{
    if (!g_versionDllTried) {
        g_versionDllTried = true;
        const DllLoaderApi loader = KernelDllLoader();
        if (HMODULE module = LoadSystemLibrary(&loader, "\\version.dll")) {
            VersionDll dll;
            dll.getSize = ExportedFunction<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(module, "GetFileVersionInfoSizeA");
            dll.getInfo = ExportedFunction<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(module, "GetFileVersionInfoA");
            dll.queryValue = ExportedFunction<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(module, "VerQueryValueA");
            if (dll.getSize != nullptr && dll.getInfo != nullptr && dll.queryValue != nullptr)
                g_versionDll = dll;
        }
    }
    return g_versionDll.getSize != nullptr ? &g_versionDll : nullptr;
}

// Functions of the launcher's own, so that the table below is a constant of the image.
static DWORD WINAPI VersionInfoSize(LPCSTR path, LPDWORD handle)
{
    const VersionDll* dll = SystemVersionDll();
    return dll != nullptr ? dll->getSize(path, handle) : 0;
}

static BOOL WINAPI VersionInfo(LPCSTR path, DWORD handle, DWORD size, LPVOID block)
{
    const VersionDll* dll = SystemVersionDll();
    return dll != nullptr && dll->getInfo(path, handle, size, block);
}

static BOOL WINAPI VersionValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length)
{
    const VersionDll* dll = SystemVersionDll();
    return dll != nullptr && dll->queryValue(block, subBlock, value, length);
}

static void* AllocateBlock(size_t size)
{
    return malloc(size);
}

static void ReleaseBlock(void* block)
{
    free(block);
}

const VersionInfoApi kPlatformVersionInfo = {VersionInfoSize, VersionInfo, VersionValue, AllocateBlock, ReleaseBlock};

HRESULT ReadFileVersionWith(const VersionInfoApi* api, const char* path, FileVersion* version)
{
    if (path == nullptr || version == nullptr)
        return E_INVALIDARG;

    DWORD unusedHandle = 0;
    const DWORD size = api->getSize(path, &unusedHandle);
    if (size == 0)
        return E_FAIL;
    void* block = api->allocate(size);
    if (block == nullptr)
        return E_OUTOFMEMORY;

    HRESULT status = E_FAIL;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    // A root block shorter than the record it claims to be would be read past its end.
    if (api->getInfo(path, 0, size, block) &&
        api->queryValue(block, "\\", reinterpret_cast<LPVOID*>(&fixed), &length) && fixed != nullptr &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        *version = static_cast<FileVersion>(fixed->dwFileVersionMS) << 32 | fixed->dwFileVersionLS;
        status = S_OK;
    }
    api->release(block);
    return status;
}

HRESULT ReadFileVersion(const char* path, FileVersion* version)
{
    return ReadFileVersionWith(&kPlatformVersionInfo, path, version);
}
