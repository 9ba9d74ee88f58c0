// The text helpers' outcome tables, with guard bytes on both sides of the destination so a
// write outside the capacity fails the test. Runs natively (glibc's formatter) and under
// Wine (the C runtime's), which differ exactly at the edges checked here.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bounded_text.h"

namespace {

const char kGuard = '\x5A';
const size_t kSlack = 8;

// A destination of `capacity` characters framed by guard bytes, prefilled with '#'.
struct Framed {
    explicit Framed(size_t capacity) : storage(capacity + 2 * kSlack, kGuard), capacity(capacity)
    {
        memset(data(), '#', capacity);
    }
    char* data() { return &storage[kSlack]; }
    bool GuardsIntact() const
    {
        for (size_t i = 0; i < kSlack; ++i)
            if (storage[i] != kGuard || storage[kSlack + capacity + i] != kGuard)
                return false;
        return true;
    }
    std::string storage;
    size_t capacity;
};

struct CopyCase {
    uint32_t capacity;
    std::string source;
    HRESULT status;
    std::string expected;
};

TEST(BoundedCopy, CopiesWholeOrCutsToCapacityMinusOne)
{
    const std::string s127(127, 'x'), s128(128, 'y');
    const CopyCase cases[] = {
        {1, "abc", STRSAFE_E_INSUFFICIENT_BUFFER, ""},
        {1, "", S_OK, ""},
        {128, "DirectX not installed", S_OK, "DirectX not installed"},
        {128, s127, S_OK, s127},
        {128, s128, STRSAFE_E_INSUFFICIENT_BUFFER, s128.substr(0, 127)},
        {4, "abc", S_OK, "abc"},
        {4, "abcd", STRSAFE_E_INSUFFICIENT_BUFFER, "abc"},
        // Cutting counts bytes: a double-byte character across the limit is split.
        {3, "a\x82\xa0", STRSAFE_E_INSUFFICIENT_BUFFER, "a\x82"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE("capacity " + std::to_string(c.capacity) + " source " + c.source);
        Framed destination(c.capacity);
        EXPECT_EQ(c.status, BoundedCopy(destination.data(), c.capacity, c.source.c_str()));
        EXPECT_EQ(c.expected, std::string(destination.data()));
        EXPECT_TRUE(destination.GuardsIntact());
    }
}

TEST(BoundedCopy, CapacityZeroWritesNothing)
{
    Framed destination(0);
    EXPECT_EQ(E_INVALIDARG, BoundedCopy(destination.data(), 0, "abc"));
    EXPECT_TRUE(destination.GuardsIntact());
}

struct AppendCase {
    uint32_t capacity;
    std::string existing;
    std::string source;
    HRESULT status;
    std::string expected;
};

TEST(BoundedAppend, AppendsBehindExistingText)
{
    const std::string s511(511, 'd'), dir19 = "C:\\windows\\system3";
    const AppendCase cases[] = {
        {512, s511, "x", STRSAFE_E_INSUFFICIENT_BUFFER, s511},
        {512, s511, "", S_OK, s511},
        {512, dir19, "\\ddraw.dll", S_OK, dir19 + "\\ddraw.dll"},
        {8, "abc", "defgh", STRSAFE_E_INSUFFICIENT_BUFFER, "abcdefg"},
        {8, "abc", "defg", S_OK, "abcdefg"},
        {8, "", "", S_OK, ""},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE("capacity " + std::to_string(c.capacity) + " onto " + std::to_string(c.existing.size()));
        Framed destination(c.capacity);
        memcpy(destination.data(), c.existing.c_str(), c.existing.size() + 1);
        EXPECT_EQ(c.status, BoundedAppend(destination.data(), c.capacity, c.source.c_str()));
        EXPECT_EQ(c.expected, std::string(destination.data()));
        EXPECT_TRUE(destination.GuardsIntact());
    }
}

TEST(BoundedAppend, NoTerminatorWithinCapacityWritesNothing)
{
    Framed full(6);
    memset(full.data(), 'z', 6);
    EXPECT_EQ(E_INVALIDARG, BoundedAppend(full.data(), 6, "more"));
    EXPECT_EQ(std::string(6, 'z'), std::string(full.data(), 6));
    EXPECT_TRUE(full.GuardsIntact());

    Framed none(0);
    EXPECT_EQ(E_INVALIDARG, BoundedAppend(none.data(), 0, "more"));
    EXPECT_TRUE(none.GuardsIntact());
}

TEST(BoundedFormat, OutcomeAtEveryLengthAroundTheCapacity)
{
    // A formatted text of n characters into capacity 10: whole up to 9, cut to 9 beyond.
    for (int n = 0; n <= 14; ++n) {
        SCOPED_TRACE("length " + std::to_string(n));
        const std::string text(static_cast<size_t>(n), 'k');
        Framed destination(10);
        const HRESULT status = BoundedFormat(destination.data(), 10, "%s", text.c_str());
        EXPECT_EQ(n <= 9 ? S_OK : STRSAFE_E_INSUFFICIENT_BUFFER, status);
        EXPECT_EQ(text.substr(0, 9), std::string(destination.data()));
        EXPECT_TRUE(destination.GuardsIntact());
    }
}

TEST(BoundedFormat, TheLaunchersOwnFormats)
{
    Framed version(10);
    EXPECT_EQ(S_OK, BoundedFormat(version.data(), 10, "%d.%d%c", 9, 0, 'c'));
    EXPECT_STREQ("9.0c", version.data());

    Framed nine(10);
    EXPECT_EQ(S_OK, BoundedFormat(nine.data(), 10, "%d.%d", 1234567, 8));
    EXPECT_STREQ("1234567.8", nine.data());

    Framed ten(10);
    EXPECT_EQ(STRSAFE_E_INSUFFICIENT_BUFFER, BoundedFormat(ten.data(), 10, "%d.%d", -1234567, 8));
    EXPECT_STREQ("-1234567.", ten.data());
    EXPECT_TRUE(ten.GuardsIntact());

    Framed plain(128);
    EXPECT_EQ(S_OK, BoundedFormat(plain.data(), 128, "Unknown version of DirectX installed"));
    EXPECT_STREQ("Unknown version of DirectX installed", plain.data());
}

TEST(BoundedFormat, CapacityOne)
{
    Framed empty(1);
    EXPECT_EQ(S_OK, BoundedFormat(empty.data(), 1, "%s", ""));
    EXPECT_STREQ("", empty.data());

    Framed cut(1);
    EXPECT_EQ(STRSAFE_E_INSUFFICIENT_BUFFER, BoundedFormat(cut.data(), 1, "%d", 5));
    EXPECT_STREQ("", cut.data());
    EXPECT_TRUE(cut.GuardsIntact());
}

TEST(BoundedFormat, TheLargestCapacityWorksAndOnlyLargerOnesAreRefused)
{
    // The destination is small; a capacity is a promise the short text never tests.
    struct Limit {
        uint32_t capacity;
        HRESULT status;
        std::string after; // the destination's four characters afterwards
    };
    const Limit limits[] = {
        {0u, E_INVALIDARG, "####"},
        {0x7FFFFFFFu, S_OK, std::string("1\0##", 4)},
        {0x80000000u, E_INVALIDARG, "####"},
        {0xFFFFFFFFu, E_INVALIDARG, "####"},
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(l.capacity);
        Framed destination(4);
        EXPECT_EQ(l.status, BoundedFormat(destination.data(), l.capacity, "%d", 1));
        EXPECT_EQ(l.after, std::string(destination.data(), 4));
        EXPECT_TRUE(destination.GuardsIntact());
    }
}

} // namespace
