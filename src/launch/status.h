// Status codes in the platform's HRESULT form. The platform-free routines (text helpers,
// settings file, version arithmetic) are also built natively for sanitizers and fuzzing,
// where windows.h does not exist, so the few values they use are given here as well.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <stdint.h>
typedef int32_t HRESULT;
#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_INVALIDARG ((HRESULT)0x80070057u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define WINAPI
#endif

#ifndef STRSAFE_E_INSUFFICIENT_BUFFER
#define STRSAFE_E_INSUFFICIENT_BUFFER ((HRESULT)0x8007007Au)
#endif
