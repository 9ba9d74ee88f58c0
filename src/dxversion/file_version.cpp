// The file version reader. One heap block per read, freed on every path.

#include "file_version.h"

#include <stdlib.h>

// The root block is read as this record; a shorter block is rejected before it is read.
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed file information is 13 32-bit fields");

// Through functions of its own, so that the table is a constant of the image: the address of
// an imported function would have to be filled in by code run before WinMain.
static DWORD WINAPI VersionInfoSize(LPCSTR path, LPDWORD handle)
{
    return GetFileVersionInfoSizeA(path, handle);
}

static BOOL WINAPI VersionInfo(LPCSTR path, DWORD handle, DWORD size, LPVOID block)
{
    return GetFileVersionInfoA(path, handle, size, block);
}

static BOOL WINAPI VersionValue(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length)
{
    return VerQueryValueA(block, subBlock, value, length);
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
