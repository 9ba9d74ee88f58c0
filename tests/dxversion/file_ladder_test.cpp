// The ladder against a scripted system directory and scripted file versions: every row at
// and just below its threshold, the first-part cases, the order of reads and the outputs.

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "file_ladder.h"

namespace {

constexpr FileVersion V(uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    return static_cast<FileVersion>(a) << 48 | static_cast<FileVersion>(b) << 32 | static_cast<FileVersion>(c) << 16 | d;
}

const char kDirectory[] = "C:\\windows\\system32";

struct FakeSystem {
    unsigned int directoryResult; // what GetSystemDirectoryA returns
    std::map<std::string, FileVersion> files;
    std::vector<std::string> reads; // file names, in the order read
    bool pathsWellFormed = true;
};

FakeSystem g_system;

unsigned int WINAPI FakeGetSystemDirectory(char* buffer, unsigned int size)
{
    EXPECT_EQ(260u, size);
    // Fill every offered character so that only the forced terminator ends the text.
    memset(buffer, 'Q', size);
    memcpy(buffer, kDirectory, sizeof kDirectory);
    return g_system.directoryResult;
}

HRESULT FakeReadFileVersion(const char* path, FileVersion* version)
{
    const size_t prefix = strlen(kDirectory);
    if (strncmp(path, kDirectory, prefix) != 0)
        g_system.pathsWellFormed = false;
    const std::string file = path + prefix;
    g_system.reads.push_back(file);
    auto found = g_system.files.find(file);
    if (found == g_system.files.end())
        return E_FAIL;
    *version = found->second;
    return S_OK;
}

const LadderPlatform kFake = {FakeGetSystemDirectory, FakeReadFileVersion};

struct Triple {
    int32_t major;
    int32_t minor;
    char letter;
};

Triple RunLadder(std::map<std::string, FileVersion> files)
{
    g_system = FakeSystem{static_cast<unsigned int>(strlen(kDirectory)), std::move(files)};
    Triple result = {-7, -7, '?'}; // whatever an earlier source left must not survive
    EXPECT_EQ(S_OK, LadderDirectXVersion(&kFake, &result.major, &result.minor, &result.letter));
    return result;
}

struct LadderCase {
    const char* name;
    std::map<std::string, FileVersion> files;
    Triple expected;
};

TEST(LadderDirectXVersion, EveryRowAtAndJustBelowItsThreshold)
{
    const LadderCase cases[] = {
        {"nothing readable", {}, {0, 0, ' '}},
        {"row 1", {{"\\ddraw.dll", V(4, 2, 0, 95)}}, {1, 0, ' '}},
        {"below row 1", {{"\\ddraw.dll", V(4, 2, 0, 94)}}, {0, 0, ' '}},
        {"row 2", {{"\\ddraw.dll", V(4, 3, 0, 1096)}}, {2, 0, ' '}},
        {"below row 2", {{"\\ddraw.dll", V(4, 3, 0, 1095)}}, {1, 0, ' '}},
        {"row 3", {{"\\ddraw.dll", V(4, 4, 0, 68)}}, {3, 0, ' '}},
        {"below row 3", {{"\\ddraw.dll", V(4, 4, 0, 67)}}, {2, 0, ' '}},
        {"row 4", {{"\\d3drg8x.dll", V(4, 4, 0, 70)}}, {3, 0, 'a'}},
        {"below row 4", {{"\\d3drg8x.dll", V(4, 4, 0, 69)}}, {0, 0, ' '}},
        {"row 5", {{"\\ddraw.dll", V(4, 5, 0, 155)}}, {5, 0, ' '}},
        {"below row 5", {{"\\ddraw.dll", V(4, 5, 0, 154)}}, {3, 0, ' '}},
        {"row 6", {{"\\ddraw.dll", V(4, 6, 0, 318)}}, {6, 0, ' '}},
        {"below row 6", {{"\\ddraw.dll", V(4, 6, 0, 317)}}, {5, 0, ' '}},
        {"row 7", {{"\\ddraw.dll", V(4, 6, 0, 436)}}, {6, 1, ' '}},
        {"below row 7", {{"\\ddraw.dll", V(4, 6, 0, 435)}}, {6, 0, ' '}},
        {"row 8", {{"\\dplayx.dll", V(4, 6, 3, 518)}}, {6, 1, 'a'}},
        {"below row 8", {{"\\dplayx.dll", V(4, 6, 3, 517)}}, {0, 0, ' '}},
        {"row 9", {{"\\ddraw.dll", V(4, 7, 0, 700)}}, {7, 0, ' '}},
        {"below row 9", {{"\\ddraw.dll", V(4, 7, 0, 699)}}, {6, 1, ' '}},
        {"row 10", {{"\\dinput.dll", V(4, 7, 0, 716)}}, {7, 0, 'a'}},
        {"below row 10", {{"\\dinput.dll", V(4, 7, 0, 715)}}, {0, 0, ' '}},
        {"row 11, part 4", {{"\\ddraw.dll", V(4, 8, 0, 400)}}, {8, 0, ' '}},
        {"below row 11, part 4", {{"\\ddraw.dll", V(4, 8, 0, 399)}}, {7, 0, ' '}},
        {"row 11, part 5", {{"\\ddraw.dll", V(5, 1, 2258, 400)}}, {8, 0, ' '}},
        {"below row 11, part 5", {{"\\ddraw.dll", V(5, 1, 2258, 399)}}, {7, 0, ' '}},
        {"row 11 never matches part 6", {{"\\ddraw.dll", V(6, 0, 0, 0)}}, {7, 0, ' '}},
        {"row 12, part 4", {{"\\d3d8.dll", V(4, 8, 1, 881)}}, {8, 1, ' '}},
        {"below row 12, part 4", {{"\\d3d8.dll", V(4, 8, 1, 880)}}, {0, 0, ' '}},
        {"row 12, part 5", {{"\\d3d8.dll", V(5, 1, 2600, 881)}}, {8, 1, ' '}},
        {"below row 12, part 5", {{"\\d3d8.dll", V(5, 1, 2600, 880)}}, {0, 0, ' '}},
        {"row 13, part 4", {{"\\d3d8.dll", V(4, 8, 1, 901)}}, {8, 1, 'a'}},
        {"below row 13, part 4", {{"\\d3d8.dll", V(4, 8, 1, 900)}}, {8, 1, ' '}},
        {"row 13, part 5", {{"\\d3d8.dll", V(5, 1, 2600, 901)}}, {8, 1, 'a'}},
        {"below row 13, part 5", {{"\\d3d8.dll", V(5, 1, 2600, 900)}}, {8, 1, ' '}},
        {"rows 12 and 13 never match part 6", {{"\\d3d8.dll", V(6, 9, 9, 9)}}, {0, 0, ' '}},
        {"part 5 below the part-4 threshold's MS", {{"\\d3d8.dll", V(5, 0, 0, 0)}}, {0, 0, ' '}},
        {"row 14", {{"\\mpg2splt.ax", V(6, 3, 1, 885)}}, {8, 1, 'b'}},
        {"below row 14", {{"\\mpg2splt.ax", V(6, 3, 1, 884)}}, {0, 0, ' '}},
        {"row 15, part 4", {{"\\dpnet.dll", V(4, 9, 0, 134)}}, {8, 2, ' '}},
        {"below row 15, part 4", {{"\\dpnet.dll", V(4, 9, 0, 133)}}, {0, 0, ' '}},
        {"row 15, part 5", {{"\\dpnet.dll", V(5, 2, 3677, 134)}}, {8, 2, ' '}},
        {"below row 15, part 5", {{"\\dpnet.dll", V(5, 2, 3677, 133)}}, {0, 0, ' '}},
        {"row 15 never matches part 6", {{"\\dpnet.dll", V(6, 0, 0, 0)}}, {0, 0, ' '}},
        {"row 16 on any version", {{"\\d3d9.dll", V(0, 0, 0, 0)}}, {9, 0, ' '}},
        {"row 16 over everything",
         {{"\\ddraw.dll", V(5, 3, 1, 904)}, {"\\dpnet.dll", V(5, 3, 0, 900)}, {"\\d3d9.dll", V(1, 0, 0, 0)}},
         {9, 0, ' '}},
        {"dinput over an older ddraw", {{"\\dinput.dll", V(4, 7, 0, 716)}, {"\\ddraw.dll", V(4, 5, 0, 155)}}, {7, 0, 'a'}},
        {"dpnet overwrites d3d8", {{"\\d3d8.dll", V(4, 8, 1, 901)}, {"\\dpnet.dll", V(5, 2, 3677, 134)}}, {8, 2, ' '}},
        {"a later row matches on its own file alone", {{"\\mpg2splt.ax", V(9, 0, 0, 0)}, {"\\ddraw.dll", V(4, 2, 0, 95)}},
         {8, 1, 'b'}},
        {"an earlier match stands when later files are missing", {{"\\dplayx.dll", V(4, 6, 3, 518)}}, {6, 1, 'a'}},
        {"Wine's system32",
         {{"\\ddraw.dll", V(5, 3, 1, 904)},
          {"\\d3d8.dll", V(5, 3, 1, 904)},
          {"\\dplayx.dll", V(5, 3, 1, 904)},
          {"\\dinput.dll", V(5, 1, 2600, 881)},
          {"\\dpnet.dll", V(5, 3, 0, 900)},
          {"\\d3d9.dll", V(5, 3, 1, 904)}},
         {9, 0, ' '}},
    };
    for (const LadderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Triple result = RunLadder(c.files);
        EXPECT_EQ(c.expected.major, result.major);
        EXPECT_EQ(c.expected.minor, result.minor);
        EXPECT_EQ(c.expected.letter, result.letter);
        EXPECT_TRUE(g_system.pathsWellFormed);
    }
}

TEST(LadderDirectXVersion, ReadsElevenFilesAfreshInOrder)
{
    RunLadder({{"\\ddraw.dll", V(4, 7, 0, 700)}, {"\\d3d9.dll", V(5, 3, 1, 904)}});
    const std::vector<std::string> expected = {"\\ddraw.dll", "\\d3drg8x.dll", "\\ddraw.dll",   "\\dplayx.dll",
                                               "\\ddraw.dll", "\\dinput.dll",  "\\ddraw.dll",   "\\d3d8.dll",
                                               "\\mpg2splt.ax", "\\dpnet.dll", "\\d3d9.dll"};
    EXPECT_EQ(expected, g_system.reads);
}

TEST(LadderDirectXVersion, AnUnusableSystemDirectoryReadsNothing)
{
    for (unsigned int result : {0u, 260u, 261u, 4096u}) {
        SCOPED_TRACE(result);
        g_system = FakeSystem{result, {{"\\d3d9.dll", V(5, 3, 1, 904)}}};
        Triple triple = {9, 9, 'c'};
        EXPECT_EQ(S_OK, LadderDirectXVersion(&kFake, &triple.major, &triple.minor, &triple.letter));
        EXPECT_EQ(0, triple.major);
        EXPECT_EQ(0, triple.minor);
        EXPECT_EQ(' ', triple.letter);
        EXPECT_TRUE(g_system.reads.empty());
    }
}

TEST(LadderDirectXVersion, NullOutputsStillReadEveryFile)
{
    g_system = FakeSystem{static_cast<unsigned int>(strlen(kDirectory)), {{"\\d3d8.dll", V(4, 8, 1, 901)}}};
    EXPECT_EQ(S_OK, LadderDirectXVersion(&kFake, nullptr, nullptr, nullptr));
    EXPECT_EQ(11u, g_system.reads.size());

    int32_t minor = -1;
    char letter = '?';
    EXPECT_EQ(S_OK, LadderDirectXVersion(&kFake, nullptr, &minor, &letter));
    EXPECT_EQ(1, minor);
    EXPECT_EQ('a', letter);

    int32_t major = -1;
    g_system.files.clear();
    EXPECT_EQ(S_OK, LadderDirectXVersion(&kFake, &major, nullptr, nullptr));
    EXPECT_EQ(0, major);
}

TEST(CompareVersion64, OrdersByUnsignedHalves)
{
    struct Case {
        FileVersion first, second;
        int32_t expected;
    };
    const Case cases[] = {
        {V(5, 1, 2600, 881), V(5, 1, 2600, 881), 0},
        {V(5, 1, 2600, 882), V(5, 1, 2600, 881), 1},
        {V(4, 9, 0, 0), V(5, 0, 0, 0), -1},
        {0x8000000000000000ull, 0x7FFFFFFF00000000ull, 1},
        {0x0000000180000000ull, 0x000000017FFFFFFFull, 1},
        {0x00000001FFFFFFFFull, 0x0000000200000000ull, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareVersion64(c.first, c.second));
        EXPECT_EQ(-c.expected, CompareVersion64(c.second, c.first));
    }
}

} // namespace
