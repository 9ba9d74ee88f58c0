// The file version reader. One heap block per read, freed on every path.

#include "file_version.h"

#include <stdlib.h>

#include "system_dlls.h"

// The root block is read as this record; a shorter block is rejected before it is read.
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed file information is 13 32-bit fields");

static void* AllocateBlock(size_t size)
{
    return malloc(size);
}

static void ReleaseBlock(void* block)
{
    free(block);
}

// Until version.dll is loaded whole, every file reads as having no version information.
static DWORD WINAPI NoVersionInfo(LPCSTR, LPDWORD)
{
    return 0;
}

static VersionInfoApi g_systemVersionInfo = {NoVersionInfo, nullptr, nullptr, AllocateBlock, ReleaseBlock};

// version.dll is not one of Windows' known DLLs: imported, it would be looked for in the
// launcher's folder first, before WinMain runs, where a mod's proxy or a planted copy would be
// taken. So it is loaded by its full path in the system directory, once, on the first read,
// and its three functions are taken by name.
static const VersionInfoApi* SystemVersionInfo()
{
    static bool tried;
    if (tried)
        return &g_systemVersionInfo;
    tried = true;
    const DllLoaderApi loader = KernelDllLoader();
    HMODULE module = LoadSystemLibrary(&loader, "\\version.dll");
    if (module == nullptr)
        return &g_systemVersionInfo;
    VersionInfoApi loaded = g_systemVersionInfo;
    loaded.getSize = ExportedFunction<DWORD(WINAPI*)(LPCSTR, LPDWORD)>(module, "GetFileVersionInfoSizeA");
    loaded.getInfo = ExportedFunction<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID)>(module, "GetFileVersionInfoA");
    loaded.queryValue = ExportedFunction<BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT)>(module, "VerQueryValueA");
    if (loaded.getSize != nullptr && loaded.getInfo != nullptr && loaded.queryValue != nullptr)
        g_systemVersionInfo = loaded;
    return &g_systemVersionInfo;
}

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
    return ReadFileVersionWith(SystemVersionInfo(), path, version);
}
