// settings.cfg against real files: every length the game might leave, values outside the
// tables, and saves that fail at each step. Runs natively and under Wine (where the
// replacement is the real MoveFileExA).

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#endif

#include "real_replacer.h"
#include "settings.h"
#include "temp_folder.h"

namespace {

const LauncherSettings kDefaults = {1, 1, 2, 1};

// Tutorial 7, rendering 2 ("Quality", not offered), resolution 9 and texture -1: stored
// values no table offers must pass through untouched.
const std::vector<unsigned char> kStored = {0x07, 0x02, 0x00, 0x00, 0x00, 0x09, 0x00,
                                            0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
const std::vector<unsigned char> kDefaultBytes = {0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
                                                  0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

bool Same(const LauncherSettings& a, const LauncherSettings& b)
{
    return a.tutorial == b.tutorial && a.renderMode == b.renderMode && a.resolution == b.resolution &&
           a.textureQuality == b.textureQuality;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_settings = kDefaults;
        folder = MakeTempFolder();
        file = PathIn(folder, "settings.cfg");
        temporary = file + ".tmp";
    }
    std::vector<unsigned char> FileBytes()
    {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(ReadBytes(file, &bytes));
        return bytes;
    }
    std::string folder, file, temporary;
};

TEST_F(SettingsFile, LoadTakesTheFieldsTheFileHoldsWhole)
{
    for (size_t length = 0; length <= 13; ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        g_settings = kDefaults;
        ASSERT_TRUE(WriteBytes(file, std::vector<unsigned char>(kStored.begin(), kStored.begin() + length)));
        LoadSettings(file.c_str());
        EXPECT_EQ(length >= 1 ? 7 : 1, g_settings.tutorial);
        EXPECT_EQ(length >= 5 ? 2 : 1, g_settings.renderMode);
        EXPECT_EQ(length >= 9 ? 9 : 2, g_settings.resolution);
        EXPECT_EQ(length >= 13 ? -1 : 1, g_settings.textureQuality);
    }
}

TEST_F(SettingsFile, LoadReadsOnlyTheFirstThirteenBytes)
{
    std::vector<unsigned char> longer = kStored;
    longer.insert(longer.end(), {0x05, 0x05, 0x05, 0x05});
    ASSERT_TRUE(WriteBytes(file, longer));
    LoadSettings(file.c_str());
    EXPECT_TRUE(Same(LauncherSettings{7, 2, 9, -1}, g_settings));

    SaveSettings(file.c_str(), RealReplacer());
    EXPECT_EQ(kStored, FileBytes());
}

TEST_F(SettingsFile, NoFileKeepsTheDefaultsAndSaveCreatesIt)
{
    LoadSettings(file.c_str());
    EXPECT_TRUE(Same(kDefaults, g_settings));
    SaveSettings(file.c_str(), RealReplacer());
    EXPECT_EQ(kDefaultBytes, FileBytes());
    EXPECT_FALSE(Exists(temporary));
}

bool ReplaceFails(const char*, const char*)
{
    return false;
}

// Whether the platform's own replace put the file in place (not the in-place fallback).
bool g_replaced;
bool RecordedReplace(const char* source, const char* target)
{
    g_replaced = RealReplacer()->replace(source, target);
    return g_replaced;
}

// Stands for the disk flush, and looks first at what it would push: all 13 bytes must have
// left the stream's own buffer for the file, as another handle reads it. A flush called
// while they wait in the buffer puts nothing on the disk before the replace.
const std::string* g_flushedFile;
const std::vector<unsigned char>* g_bytesAtFlush;
bool FlushOnceTheFileHoldsTheBytes(FILE* file)
{
    std::vector<unsigned char> held;
    EXPECT_TRUE(ReadBytes(*g_flushedFile, &held));
    EXPECT_EQ(*g_bytesAtFlush, held) << "what the file holds when the disk flush is called";
    return RealReplacer()->flushToDisk(file);
}

// The file is bytes, little-endian, on both sides: line feeds, carriage returns, Ctrl-Z, NUL
// and 0xFF in every field (what a text-mode stream would change or stop at) come back as the
// same 13 bytes, whether saved through the temporary file or in place, and read back whole.
TEST_F(SettingsFile, RoundTripsEveryByteThroughEitherSave)
{
    struct Record {
        LauncherSettings settings;
        std::vector<unsigned char> bytes;
    };
    const Record records[] = {
        {{0xFE, 0x01020304, -2, 0x7FFFFFFF},
         {0xFE, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
        {{0x0D, 0x1A0D0A0D, 0x0A0D0A0D, 0x0D0A1A0A},
         {0x0D, 0x0D, 0x0A, 0x0D, 0x1A, 0x0D, 0x0A, 0x0D, 0x0A, 0x0A, 0x1A, 0x0A, 0x0D}},
        {{0x0A, 0x0A0A0A0A, 0x0A0A0A0A, 0x0A0A0A0A}, std::vector<unsigned char>(13, 0x0A)},
        {{0x0D, 0x0D0D0D0D, 0x0D0D0D0D, 0x0D0D0D0D}, std::vector<unsigned char>(13, 0x0D)},
        {{0x1A, 0x1A1A1A1A, 0x1A1A1A1A, 0x1A1A1A1A}, std::vector<unsigned char>(13, 0x1A)},
        {{0x00, 0, 0, 0}, std::vector<unsigned char>(13, 0x00)},
        {{0xFF, -1, -1, -1}, std::vector<unsigned char>(13, 0xFF)},
    };
    const FileReplacer replaced = {FlushOnceTheFileHoldsTheBytes, RealReplacer()->replace};
    const FileReplacer refused = {FlushOnceTheFileHoldsTheBytes, ReplaceFails};
    const FileReplacer* const saves[] = {&replaced, &refused};
    g_flushedFile = &temporary;
    for (const Record& record : records) {
        g_bytesAtFlush = &record.bytes;
        for (const FileReplacer* save : saves) {
            SCOPED_TRACE(::testing::Message() << "first byte " << int(record.bytes[0])
                                              << (save == &refused ? ", in place" : ", replaced"));
            ASSERT_TRUE(WriteBytes(file, kStored));
            g_settings = record.settings;
            SaveSettings(file.c_str(), save);
            EXPECT_EQ(record.bytes, FileBytes());
            g_settings = kDefaults;
            LoadSettings(file.c_str());
            EXPECT_TRUE(Same(record.settings, g_settings));
        }
    }
}

#ifndef _WIN32
// The descriptors the process holds open.
int OpenDescriptors()
{
    int count = 0;
    if (DIR* listing = opendir("/proc/self/fd")) {
        while (readdir(listing) != nullptr)
            ++count;
        closedir(listing);
    }
    return count;
}
#endif

// The normal save is one step: over a file nothing holds open, the platform's replace itself
// succeeds (the in-place fallback would leave the same bytes, but not safely). The load
// before it must have let go of the file: on Windows its own handle, shared without delete,
// would refuse the replace.
TEST_F(SettingsFile, SaveAfterALoadReplacesTheFileAndALeftoverTemporary)
{
    ASSERT_TRUE(WriteBytes(file, kStored));
    ASSERT_TRUE(WriteBytes(temporary, {0xAA, 0xBB}));
#ifndef _WIN32
    const int before = OpenDescriptors();
    LoadSettings(file.c_str());
    EXPECT_EQ(before, OpenDescriptors()) << "the load left its file open";
#else
    LoadSettings(file.c_str());
#endif
    g_settings = kDefaults;
    const FileReplacer recorded = {RealReplacer()->flushToDisk, RecordedReplace};
    g_replaced = false;
    SaveSettings(file.c_str(), &recorded);
    EXPECT_TRUE(g_replaced);
    EXPECT_EQ(kDefaultBytes, FileBytes());
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(SettingsFile, AFolderNamedLikeTheFile)
{
    ASSERT_TRUE(MakeFolder(file));
    LoadSettings(file.c_str());
    EXPECT_TRUE(Same(kDefaults, g_settings));
    SaveSettings(file.c_str(), RealReplacer());
    EXPECT_TRUE(WriteBytes(PathIn(file, "inside"), {0x01})); // still a folder
    EXPECT_FALSE(Exists(temporary));
}

bool FlushFails(FILE*)
{
    return false;
}

// What each step's failure does to settings.cfg: a temporary file that did not reach the disk
// must not replace it, but choices already on the disk are not dropped for a refused replace.
TEST_F(SettingsFile, EachFailedStepOfTheSave)
{
    struct Branch {
        const char* name;
        FileReplacer replacer;
        const std::vector<unsigned char>* after;
    };
    const Branch branches[] = {
        {"the flush fails: the old file stays", {FlushFails, RealReplacer()->replace}, &kStored},
        {"the replace is refused: written in place", {RealReplacer()->flushToDisk, ReplaceFails}, &kDefaultBytes},
        {"both fail: the old file stays", {FlushFails, ReplaceFails}, &kStored},
    };
    for (const Branch& b : branches) {
        SCOPED_TRACE(b.name);
        ASSERT_TRUE(WriteBytes(file, kStored));
        g_settings = kDefaults;
        SaveSettings(file.c_str(), &b.replacer);
        EXPECT_EQ(*b.after, FileBytes());
        EXPECT_FALSE(Exists(temporary));
    }
}

TEST_F(SettingsFile, WithoutATemporaryFileTheSaveWritesInPlace)
{
    // Only the file itself is writable: the temporary name is taken by a folder.
    ASSERT_TRUE(MakeFolder(temporary));
    ASSERT_TRUE(WriteBytes(file, {0x00}));
    g_settings = {0, 1, 4, 2};
    SaveSettings(file.c_str(), RealReplacer());
    const std::vector<unsigned char> expected = {0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00,
                                                 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    EXPECT_EQ(expected, FileBytes());
}

#ifdef _WIN32
// The case a refused replace is for, for real: another program (a virus scanner, an indexer)
// holds settings.cfg open and shares writing but not deletion, so MoveFileExA fails.
TEST_F(SettingsFile, AFileHeldOpenWithoutDeleteSharingIsStillSaved)
{
    ASSERT_TRUE(WriteBytes(file, kStored));
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    g_settings = kDefaults;
    SaveSettings(file.c_str(), RealReplacer());
    CloseHandle(held);
    EXPECT_EQ(kDefaultBytes, FileBytes());
    EXPECT_FALSE(Exists(temporary));
}

// The flush must really reach the platform: it fails where the handle cannot write.
TEST_F(SettingsFile, ThePlatformFlushNeedsAWritableFile)
{
    ASSERT_TRUE(WriteBytes(file, kStored));
    struct Open {
        const char* mode;
        bool flushed;
    };
    for (const Open& open : {Open{"rb", false}, Open{"r+b", true}, Open{"wb", true}}) {
        SCOPED_TRACE(open.mode);
        FILE* stream = fopen(file.c_str(), open.mode);
        ASSERT_NE(nullptr, stream);
        EXPECT_EQ(open.flushed, kPlatformFileReplacer.flushToDisk(stream));
        fclose(stream);
    }
}
#endif

TEST(OptionName, EveryIndexInsideTheTableAndNoneOutside)
{
    struct Lookup {
        const OptionTable* table;
        int32_t index;
        const char* name; // null: no name
    };
    const Lookup lookups[] = {
        {&kRenderModes, 0, "Fast"},          {&kRenderModes, 2, "Quality"},     {&kRenderModes, 3, nullptr},
        {&kResolutions, 0, "640x480"},       {&kResolutions, 4, "1600x1200"},   {&kResolutions, 5, nullptr},
        {&kTextureQualities, 2, "Low"},      {&kTextureQualities, 3, nullptr},  {&kTextureQualities, -1, nullptr},
        {&kResolutions, INT32_MIN, nullptr}, {&kResolutions, INT32_MAX, nullptr},
    };
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(l.index);
        const char* name = OptionName(l.table, l.index);
        if (l.name == nullptr)
            EXPECT_EQ(nullptr, name);
        else
            EXPECT_STREQ(l.name, name);
    }
}

} // namespace
