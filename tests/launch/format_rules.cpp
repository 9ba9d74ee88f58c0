// Compiled, never run: the Windows builds format through the C runtime's _vsnprintf, so the
// compiler must hold BoundedFormat's formats to that runtime's rules. With UNKNOWN_TO_RUNTIME
// this must not compile (%zu is C99's, unknown to msvcrt); without it, it must (%Iu is
// msvcrt's own size_t conversion, unknown to GNU's rules).

#include <cstddef>

#include "bounded_text.h"

void FormatASize(char* destination, size_t size)
{
#ifdef UNKNOWN_TO_RUNTIME
    BoundedFormat(destination, 16, "%zu", size);
#else
    BoundedFormat(destination, 16, "%Iu", size);
#endif
}
