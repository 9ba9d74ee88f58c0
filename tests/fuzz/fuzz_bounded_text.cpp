// The text helpers over arbitrary sources and capacities, and over the formats the launcher
// itself uses with arbitrary arguments. Guard bytes frame the destination; any write past
// the capacity, an unterminated result or a wrong status aborts.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>

#include "bounded_text.h"

namespace {

const size_t kMaxCapacity = 80;
const size_t kGuard = 16;
const unsigned char kGuardByte = 0xA5;

void Check(bool condition)
{
    if (!condition)
        abort();
}

void CheckGuards(const unsigned char* storage, size_t capacity)
{
    for (size_t i = 0; i < kGuard; ++i)
        Check(storage[i] == kGuardByte && storage[kGuard + capacity + i] == kGuardByte);
}

// The destination holds the first capacity - 1 characters of `whole` (or all of it) and the
// status says which.
void CheckOutcome(const char* destination, size_t capacity, const std::string& whole, HRESULT status)
{
    const size_t kept = whole.size() < capacity ? whole.size() : capacity - 1;
    Check(memchr(destination, '\0', capacity) != nullptr);
    Check(strlen(destination) == kept);
    Check(memcmp(destination, whole.data(), kept) == 0);
    Check(status == (whole.size() < capacity ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const uint8_t operation = data[0] % 5;
    const size_t capacity = data[1] % (kMaxCapacity + 1);
    const size_t split = size > 3 ? data[2] % (size - 2) : 0;
    // The rest of the input: an existing text (for append) and a source, no terminators.
    std::string existing(reinterpret_cast<const char*>(data + 3), split);
    std::string source(reinterpret_cast<const char*>(data + 3 + split), size - 3 - split);
    existing.erase(std::remove(existing.begin(), existing.end(), '\0'), existing.end());
    source.erase(std::remove(source.begin(), source.end(), '\0'), source.end());

    unsigned char storage[kMaxCapacity + 2 * kGuard];
    memset(storage, kGuardByte, sizeof storage);
    char* destination = reinterpret_cast<char*>(storage + kGuard);
    memset(destination, '#', capacity);
    const uint32_t cap = static_cast<uint32_t>(capacity);

    HRESULT status = S_OK;
    switch (operation) {
    case 0: // copy
        status = BoundedCopy(destination, cap, source.c_str());
        if (capacity == 0)
            Check(status == E_INVALIDARG);
        else
            CheckOutcome(destination, capacity, source, status);
        break;
    case 1: { // append onto an existing text, which may itself fill the capacity
        const size_t prefill = existing.size() < capacity ? existing.size() : capacity;
        memcpy(destination, existing.data(), prefill);
        if (prefill < capacity)
            destination[prefill] = '\0';
        status = BoundedAppend(destination, cap, source.c_str());
        if (prefill == capacity) {
            Check(status == E_INVALIDARG);
            Check(memcmp(destination, existing.data(), prefill) == 0);
        } else {
            CheckOutcome(destination, capacity, existing.substr(0, prefill) + source, status);
        }
        break;
    }
    case 2: { // a text without conversions, used as the format
        source.erase(std::remove(source.begin(), source.end(), '%'), source.end());
        status = BoundedFormat(destination, cap, source.c_str(), 0);
        if (capacity == 0)
            Check(status == E_INVALIDARG);
        else
            CheckOutcome(destination, capacity, source, status);
        break;
    }
    case 3:
    case 4: { // "%d.%d" and "%d.%d%c" with arbitrary arguments
        int32_t major = 0, minor = 0;
        char letter = 'c';
        memcpy(&major, source.data(), source.size() < 4 ? source.size() : 4);
        if (source.size() > 4)
            memcpy(&minor, source.data() + 4, source.size() - 4 < 4 ? source.size() - 4 : 4);
        if (source.size() > 8)
            letter = source[8];
        char expected[64];
        if (operation == 3) {
            snprintf(expected, sizeof expected, "%d.%d", major, minor);
            status = BoundedFormat(destination, cap, "%d.%d", major, minor);
        } else {
            snprintf(expected, sizeof expected, "%d.%d%c", major, minor, letter);
            status = BoundedFormat(destination, cap, "%d.%d%c", major, minor, letter);
        }
        if (capacity == 0)
            Check(status == E_INVALIDARG);
        else
            CheckOutcome(destination, capacity, expected, status);
        break;
    }
    }
    if (capacity == 0)
        Check(storage[kGuard] == kGuardByte);
    CheckGuards(storage, capacity);
    return 0;
}
