// The detector against scripted sources: order of asking, packing, lowering and the text.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "version_detector.h"

namespace {

struct SourceScript {
    HRESULT status;
    int32_t major;
    int32_t minor;
    char letter;
    int calls;
    // What the source found in the shared triple when asked.
    int32_t seenMajor;
    int32_t seenMinor;
    char seenLetter;
};

SourceScript g_provider;
SourceScript g_files;

HRESULT Answer(SourceScript* script, int32_t* major, int32_t* minor, char* letter)
{
    ++script->calls;
    script->seenMajor = *major;
    script->seenMinor = *minor;
    script->seenLetter = *letter;
    // A source may write its outputs even when it then fails.
    *major = script->major;
    *minor = script->minor;
    *letter = script->letter;
    return script->status;
}

HRESULT Provider(int32_t* major, int32_t* minor, char* letter)
{
    return Answer(&g_provider, major, minor, letter);
}

HRESULT Files(int32_t* major, int32_t* minor, char* letter)
{
    return Answer(&g_files, major, minor, letter);
}

const VersionSources kSources = {Provider, Files};

struct DetectCase {
    const char* name;
    SourceScript provider;
    SourceScript files;
    int32_t capacity;
    HRESULT status;
    uint32_t packed;
    std::string text;
};

TEST(DetectDirectXVersion, PacksAndWritesTheFirstAnswer)
{
    const SourceScript none = {E_FAIL, 0, 0, ' ', 0, 0, 0, 0};
    const DetectCase cases[] = {
        {"9.0c", {S_OK, 9, 0, 'c'}, none, 10, S_OK, 0x00090003u, "9.0c"},
        {"9.0 blank", {S_OK, 9, 0, ' '}, none, 10, S_OK, 0x00090000u, "9.0"},
        {"8.1 upper B", {S_OK, 8, 1, 'B'}, none, 10, S_OK, 0x00080102u, "8.1b"},
        {"0.0 is an answer", {S_OK, 0, 0, ' '}, none, 10, S_OK, 0u, "0.0"},
        {"10.0 cut to capacity 4", {S_OK, 10, 0, ' '}, none, 4, S_OK, 0x000A0000u, "10."},
        {"z is 26", {S_OK, 9, 0, 'z'}, none, 10, S_OK, 0x0009001Au, "9.0z"},
        {"a digit adds nothing but is shown", {S_OK, 9, 0, '1'}, none, 10, S_OK, 0x00090000u, "9.01"},
        {"a byte above 127 adds nothing", {S_OK, 9, 0, '\xC7'}, none, 10, S_OK, 0x00090000u, "9.0\xC7"},
        {"minor carries into major", {S_OK, 9, 256, ' '}, none, 12, S_OK, 0x000A0000u, "9.256"},
        {"wraps modulo 2^32", {S_OK, -1, 0, 'a'}, none, 12, S_OK, 0xFFFF0001u, "-1.0a"},
        {"provider fails, files answer", {E_FAIL, 7, 7, 'q'}, {S_OK, 9, 0, ' '}, 10, S_OK, 0x00090000u, "9.0"},
        {"neither answers", {E_FAIL, 9, 0, 'c'}, {E_FAIL, 9, 0, 'c'}, 10, E_FAIL, 0u, ""},
    };
    for (const DetectCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_provider = c.provider;
        g_files = c.files;
        uint32_t packed = 0xDEADBEEF;
        char text[16];
        memset(text, '#', sizeof text);
        EXPECT_EQ(c.status, DetectDirectXVersion(&kSources, &packed, text, c.capacity));
        EXPECT_EQ(c.packed, packed);
        EXPECT_EQ(c.text, std::string(text));
        EXPECT_EQ('#', text[c.capacity]) << "wrote past the capacity";
        EXPECT_EQ(1, g_provider.calls);
        EXPECT_EQ(c.provider.status < 0 ? 1 : 0, g_files.calls);
    }
}

TEST(DetectDirectXVersion, TheFallbackSeesTheTripleTheProviderLeft)
{
    g_provider = {E_FAIL, 9, 0, 'c'};
    g_files = {S_OK, 9, 0, ' '};
    uint32_t packed = 0;
    EXPECT_EQ(S_OK, DetectDirectXVersion(&kSources, &packed, nullptr, 0));
    EXPECT_EQ(0, g_provider.seenMajor);
    EXPECT_EQ(0, g_provider.seenMinor);
    EXPECT_EQ(' ', g_provider.seenLetter);
    EXPECT_EQ(9, g_files.seenMajor);
    EXPECT_EQ('c', g_files.seenLetter);
    // A provider failure on a 9.0c system: the files give 9.0, below 9.0c.
    EXPECT_EQ(0x00090000u, packed);
    EXPECT_LT(packed, 0x00090003u);
}

TEST(DetectDirectXVersion, NullOutputsAndUnusableCapacities)
{
    g_provider = {S_OK, 9, 0, 'c'};
    g_files = {};
    char text[8] = "#######";
    EXPECT_EQ(S_OK, DetectDirectXVersion(&kSources, nullptr, text, 8));
    EXPECT_STREQ("9.0c", text);

    uint32_t packed = 0;
    EXPECT_EQ(S_OK, DetectDirectXVersion(&kSources, &packed, nullptr, 8));
    EXPECT_EQ(0x00090003u, packed);

    for (int32_t capacity : {0, -1, -100}) {
        char untouched[4] = {'#', '#', '#', '#'};
        EXPECT_EQ(S_OK, DetectDirectXVersion(&kSources, &packed, untouched, capacity));
        EXPECT_EQ('#', untouched[0]);
        EXPECT_EQ(0x00090003u, packed);
    }

    g_provider = {E_FAIL};
    g_files = {E_FAIL};
    packed = 5;
    char cleared[4] = "xyz";
    EXPECT_EQ(E_FAIL, DetectDirectXVersion(&kSources, &packed, cleared, 4));
    EXPECT_EQ(0u, packed);
    EXPECT_STREQ("", cleared);
}

} // namespace
