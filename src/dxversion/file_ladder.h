// The fallback source of the DirectX version: the file versions of DirectX system files,
// tested against a fixed ladder of sixteen rows from DirectX 1.0 up to 9.0.
#pragma once

#include <stdint.h>

#include "status.h"

// A file version: dwFileVersionMS in the upper half, dwFileVersionLS in the lower.
typedef uint64_t FileVersion;

// Stands for the platform under the ladder: the system directory (GetSystemDirectoryA) and
// the reader of one file's fixed version (ReadFileVersion).
struct LadderPlatform {
    unsigned int(WINAPI* getSystemDirectory)(char* buffer, unsigned int size);
    HRESULT (*readFileVersion)(const char* path, FileVersion* version);
};

// Always S_OK. Every non-null output is written on every path: the last matching row's
// version, 9.0 without a letter whenever "\d3d9.dll" has any readable version, and
// 0.0 without a letter when nothing matches or the system directory is unusable.
HRESULT LadderDirectXVersion(const LadderPlatform* platform, int32_t* major, int32_t* minor, char* letter);

// 1, 0 or -1 as first is above, equal to or below second; both halves compared unsigned.
int32_t CompareVersion64(FileVersion first, FileVersion second);
