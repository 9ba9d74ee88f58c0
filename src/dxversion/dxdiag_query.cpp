// The diagnostic-provider query. Everything it obtains is released inside the call, newest
// first, and the component library is uninitialised only if this call initialised it.

#include "dxdiag_query.h"

#include <initguid.h>

#include <dxdiag.h>

#ifndef _WIN64
static_assert(sizeof(DXDIAG_INIT_PARAMS) == 16, "the 32-bit provider expects a 16-byte record");
#endif

// Reads one unsigned 32-bit property; the holder is emptied afterwards whatever the read gave.
static bool ReadNumber(IDxDiagContainer* container, const wchar_t* name, VARIANT* holder, int32_t* output)
{
    bool read = false;
    if (SUCCEEDED(container->GetProp(name, holder)) && V_VT(holder) == VT_UI4) {
        if (output != nullptr)
            *output = static_cast<int32_t>(V_UI4(holder));
        read = true;
    }
    VariantClear(holder);
    return read;
}

// Only the first byte of the converted letter text is used. The buffer is zeroed first, and
// a text that does not convert whole into it gives the letter NUL, which counts as no letter.
static bool ReadLetter(IDxDiagContainer* container, VARIANT* holder, char* output)
{
    bool read = false;
    if (SUCCEEDED(container->GetProp(L"szDirectXVersionLetter", holder)) && V_VT(holder) == VT_BSTR &&
        SysStringLen(V_BSTR(holder)) != 0) {
        char converted[10] = {};
        if (WideCharToMultiByte(CP_ACP, 0, V_BSTR(holder), -1, converted, sizeof converted, nullptr, nullptr) == 0)
            converted[0] = '\0';
        if (output != nullptr)
            *output = converted[0];
        read = true;
    }
    VariantClear(holder);
    return read;
}

// All three properties are always read: a missing one does not skip those after it.
static bool ReadVersionProperties(IDxDiagContainer* systemInfo, int32_t* major, int32_t* minor, char* letter)
{
    VARIANT holder;
    VariantInit(&holder);
    const bool majorRead = ReadNumber(systemInfo, L"dwDirectXVersionMajor", &holder, major);
    const bool minorRead = ReadNumber(systemInfo, L"dwDirectXVersionMinor", &holder, minor);
    const bool letterRead = ReadLetter(systemInfo, &holder, letter);
    return majorRead && minorRead && letterRead;
}

HRESULT QueryDiagnosticVersion(const ComApi* com, int32_t* major, int32_t* minor, char* letter)
{
    // S_FALSE (already initialised on this thread) must be balanced just as S_OK is.
    const bool comInitialised = SUCCEEDED(com->coInitialize(nullptr));
    bool succeeded = false;

    IDxDiagProvider* provider = nullptr;
    if (SUCCEEDED(com->coCreateInstance(CLSID_DxDiagProvider, nullptr, CLSCTX_INPROC_SERVER, IID_IDxDiagProvider,
                                        reinterpret_cast<LPVOID*>(&provider)))) {
        DXDIAG_INIT_PARAMS parameters;
        ZeroMemory(&parameters, sizeof parameters);
        parameters.dwSize = sizeof parameters;
        parameters.dwDxDiagHeaderVersion = DXDIAG_DX9_SDK_VERSION;
        parameters.bAllowWHQLChecks = FALSE;
        parameters.pReserved = nullptr;

        IDxDiagContainer* root = nullptr;
        if (SUCCEEDED(provider->Initialize(&parameters)) && SUCCEEDED(provider->GetRootContainer(&root))) {
            IDxDiagContainer* systemInfo = nullptr;
            if (SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", &systemInfo))) {
                succeeded = ReadVersionProperties(systemInfo, major, minor, letter);
                systemInfo->Release();
            }
            root->Release();
        }
        provider->Release();
    }

    if (comInitialised)
        com->coUninitialize();
    return succeeded ? S_OK : E_FAIL;
}
