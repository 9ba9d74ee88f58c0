// Compiled, never run: the Windows builds format through the C runtime's _vsnprintf, so the
// compiler must hold BoundedFormat's formats to that runtime's rules, and its arguments to
// the formats. Only KNOWN_TO_RUNTIME must compile (%Iu is msvcrt's own size_t conversion,
// unknown to GNU's rules); UNKNOWN_TO_RUNTIME (%zu is C99's, unknown to msvcrt), POINTER_FOR_D
// and WIDE_FOR_D (a pointer or a 64-bit value where %d takes an int) must not.

#include <cstddef>

#include "bounded_text.h"

void FormatASize(char* destination, size_t size)
{
#if defined(KNOWN_TO_RUNTIME)
    BoundedFormat(destination, 16, "%Iu", size);
#elif defined(UNKNOWN_TO_RUNTIME)
    BoundedFormat(destination, 16, "%zu", size);
#elif defined(POINTER_FOR_D)
    BoundedFormat(destination, 16, "%d", destination);
#elif defined(WIDE_FOR_D)
    BoundedFormat(destination, 16, "%d", static_cast<long long>(size));
#endif
}
