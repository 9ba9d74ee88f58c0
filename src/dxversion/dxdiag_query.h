// The first source of the DirectX version: the platform's DirectX diagnostic provider.
#pragma once

#include <windows.h>

#include <stdint.h>

// Stands for the component library: thread initialisation and object creation.
struct ComApi {
    HRESULT(WINAPI* coInitialize)(LPVOID reserved);
    void(WINAPI* coUninitialize)();
    HRESULT(WINAPI* coCreateInstance)(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                                      LPVOID* object);
};

// Reads major, minor and the first byte of the letter text from the provider's
// "DxDiag_SystemInfo" container, writing each output (when not null) as its property is read.
// S_OK only when all three were read, else E_FAIL. Initialises and uninitialises the
// component library itself and releases every object before it returns.
HRESULT QueryDiagnosticVersion(const ComApi* com, int32_t* major, int32_t* minor, char* letter);
