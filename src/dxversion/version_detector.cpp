// The version detector: one shared triple, the provider first, the ladder as the fallback.

#include "version_detector.h"

#include <ctype.h>

#include "bounded_text.h"

uint32_t PackDirectXVersion(int32_t major, int32_t minor, char lowerLetter)
{
    // Unsigned arithmetic wraps where the signed form would overflow; minor is added, not
    // masked, so a minor of 256 or more carries into the major field.
    uint32_t packed = static_cast<uint32_t>(major) * 65536u + static_cast<uint32_t>(minor) * 256u;
    if (lowerLetter >= 'a' && lowerLetter <= 'z')
        packed += static_cast<uint32_t>(lowerLetter - 'a' + 1);
    return packed;
}

HRESULT DetectDirectXVersion(const VersionSources* sources, uint32_t* packed, char* text, int32_t textCapacity)
{
    if (packed != nullptr)
        *packed = 0;
    if (text != nullptr && textCapacity > 0)
        *text = '\0';

    int32_t major = 0;
    int32_t minor = 0;
    char letter = ' ';
    if (FAILED(sources->diagnosticProvider(&major, &minor, &letter)) &&
        FAILED(sources->systemFiles(&major, &minor, &letter)))
        return E_FAIL;

    // The launcher never changes the locale, so this lowers "A" to "Z" only.
    const char lowered = static_cast<char>(tolower(static_cast<unsigned char>(letter)));
    if (packed != nullptr)
        *packed = PackDirectXVersion(major, minor, lowered);
    if (text != nullptr && textCapacity > 0) {
        const uint32_t capacity = static_cast<uint32_t>(textCapacity);
        if (lowered == ' ')
            BoundedFormat(text, capacity, "%d.%d", major, minor);
        else
            BoundedFormat(text, capacity, "%d.%d%c", major, minor, lowered);
    }
    return S_OK;
}
