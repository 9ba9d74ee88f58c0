// Reading one file's fixed file version through the platform's version-information service.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "file_ladder.h"

// Stands for the version-information service and the heap block it reads into; tests use it
// to reach failures that real files cannot produce.
struct VersionInfoApi {
    DWORD(WINAPI* getSize)(LPCSTR path, LPDWORD handle);
    BOOL(WINAPI* getInfo)(LPCSTR path, DWORD handle, DWORD size, LPVOID block);
    BOOL(WINAPI* queryValue)(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length);
    void* (*allocate)(size_t size); // null on failure
    void (*release)(void* block);
};

// S_OK with the file version written; E_INVALIDARG for a null argument; E_FAIL for a missing
// file, no or malformed version information; E_OUTOFMEMORY. The output is written only on S_OK.
HRESULT ReadFileVersionWith(const VersionInfoApi* api, const char* path, FileVersion* version);

// ReadFileVersionWith on the platform's service: version.dll from the system directory,
// loaded on the first call. Where it cannot be loaded, every file reads as E_FAIL.
HRESULT ReadFileVersion(const char* path, FileVersion* version);
