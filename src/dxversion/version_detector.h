// Which DirectX is installed, as one packed number (major << 16 + minor << 8 + letter) and a
// short text such as "9.0c". The answer comes from the first of two sources that has one.
#pragma once

#include <stdint.h>

#include "status.h"

// A version source writes major, minor and the revision letter (a blank for none), skipping
// null outputs, and returns a negative status when it has no answer. It may write some
// outputs before it fails.
typedef HRESULT (*VersionSource)(int32_t* major, int32_t* minor, char* letter);

// Stands for the two sources, asked in this order: the DirectX diagnostic provider, then
// (only when the provider has no answer) the file-version ladder.
struct VersionSources {
    VersionSource diagnosticProvider;
    VersionSource systemFiles;
};

// Clears both outputs, asks the sources and packs their answer: S_OK with the packed version
// (0 means not installed) and its text, or E_FAIL with 0 and an empty text when neither
// answered. Either output may be null; a capacity of 0 or less leaves the text untouched.
HRESULT DetectDirectXVersion(const VersionSources* sources, uint32_t* packed, char* text, int32_t textCapacity);

// major × 65536 + minor × 256 + letter value (1 for "a" .. 26 for "z", else 0), modulo 2^32.
uint32_t PackDirectXVersion(int32_t major, int32_t minor, char lowerLetter);
