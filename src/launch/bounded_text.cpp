// Bounded copy, append and format for the launcher's fixed-size buffers. No heap, one pass.

#include "bounded_text.h"

#include <stdio.h>

static const uint32_t kLargestFormatCapacity = 0x7FFFFFFFu;

HRESULT BoundedCopy(char* destination, uint32_t capacity, const char* source)
{
    if (capacity == 0)
        return E_INVALIDARG;

    uint32_t remaining = capacity;
    while (remaining != 0 && *source != '\0') {
        *destination++ = *source++;
        --remaining;
    }
    if (remaining == 0) {
        // The last place taken belongs to the terminator: the text is cut by one.
        destination[-1] = '\0';
        return STRSAFE_E_INSUFFICIENT_BUFFER;
    }
    *destination = '\0';
    return S_OK;
}

HRESULT BoundedAppend(char* destination, uint32_t capacity, const char* source)
{
    uint32_t length = 0;
    while (length < capacity && destination[length] != '\0')
        ++length;
    if (length == capacity)
        return E_INVALIDARG;
    return BoundedCopy(destination + length, capacity - length, source);
}

HRESULT BoundedFormat(char* destination, uint32_t capacity, const char* format, ...)
{
    if (capacity > kLargestFormatCapacity)
        return E_INVALIDARG;

    va_list arguments;
    va_start(arguments, format);
    HRESULT status = BoundedFormatV(destination, capacity, format, arguments);
    va_end(arguments);
    return status;
}

HRESULT BoundedFormatV(char* destination, uint32_t capacity, const char* format, va_list arguments)
{
    if (capacity == 0)
        return E_INVALIDARG;

    const uint32_t limit = capacity - 1;
#ifdef _WIN32
    // The C runtime's own formatter: it writes at most limit characters and answers
    // negative when the text did not fit, leaving the terminator to us in both edge cases.
    int written = _vsnprintf(destination, limit, format, arguments);
#else
    // C99 semantics: given the whole capacity it always terminates and returns the full
    // length, which the comparison with limit below turns into the same outcome.
    int written = vsnprintf(destination, capacity, format, arguments);
#endif
    if (written < 0 || static_cast<uint32_t>(written) > limit) {
        destination[limit] = '\0';
        return STRSAFE_E_INSUFFICIENT_BUFFER;
    }
    if (static_cast<uint32_t>(written) == limit)
        destination[limit] = '\0';
    return S_OK;
}
