// Every text the launcher builds lands in a fixed-size array. These helpers are the only way
// text enters one: they never write past the stated capacity (terminator included), always
// leave a terminated string when they write, and say by status whether the text was cut.
#pragma once

#include <stdarg.h>
#include <stdint.h>

#include "status.h"

// Copies source into destination. E_INVALIDARG (nothing written) for capacity 0;
// STRSAFE_E_INSUFFICIENT_BUFFER when only the first capacity - 1 characters fitted.
HRESULT BoundedCopy(char* destination, uint32_t capacity, const char* source);

// Appends source to the text already in destination. When no terminator lies within the
// first capacity characters (capacity 0 included) nothing is written and the result is
// E_INVALIDARG; otherwise the result is that of copying source behind the existing text.
HRESULT BoundedAppend(char* destination, uint32_t capacity, const char* source);

// In the Windows builds the C runtime's _vsnprintf does the formatting, and its conversions
// are not GNU's (no %zu, %lld or %hhd on older systems): GCC and clang check its rules. The
// MSVC front end has no such attribute.
#if defined(_WIN32) && defined(__GNUC__)
#define BOUNDED_FORMAT_CHECK __attribute__((format(ms_printf, 3, 4)))
#elif defined(__GNUC__)
#define BOUNDED_FORMAT_CHECK __attribute__((format(printf, 3, 4)))
#else
#define BOUNDED_FORMAT_CHECK
#endif

// Formats into destination. E_INVALIDARG (nothing written) for capacity 0 or above
// 0x7FFFFFFF; STRSAFE_E_INSUFFICIENT_BUFFER when the text was cut to capacity - 1 characters.
HRESULT BoundedFormat(char* destination, uint32_t capacity, const char* format, ...)
    BOUNDED_FORMAT_CHECK;

HRESULT BoundedFormatV(char* destination, uint32_t capacity, const char* format, va_list arguments);
