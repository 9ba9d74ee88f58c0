// ReadFileVersion: failures of the version-information service that real files cannot
// produce (through a scripted service), and real files of Wine's system32.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "file_version.h"

namespace {

struct VersionScript {
    const char* name;
    DWORD size;
    BOOL info;
    BOOL query;
    bool nullRecord;
    UINT length;
    bool allocationFails;
};

const VersionScript* g_script;
VS_FIXEDFILEINFO g_record;
int g_allocated;
int g_freed;
int g_getSizeCalls;

DWORD WINAPI ScriptedGetSize(LPCSTR, LPDWORD)
{
    ++g_getSizeCalls;
    return g_script->size;
}

BOOL WINAPI ScriptedGetInfo(LPCSTR, DWORD handle, DWORD size, LPVOID)
{
    EXPECT_EQ(0u, handle);
    EXPECT_EQ(g_script->size, size);
    return g_script->info;
}

BOOL WINAPI ScriptedQuery(LPCVOID, LPCSTR subBlock, LPVOID* value, PUINT length)
{
    EXPECT_STREQ("\\", subBlock);
    EXPECT_EQ(nullptr, *value) << "the result pointer is cleared before the call";
    *value = g_script->nullRecord ? nullptr : &g_record;
    *length = g_script->length;
    return g_script->query;
}

void* ScriptedAllocate(size_t size)
{
    if (g_script->allocationFails)
        return nullptr;
    ++g_allocated;
    return malloc(size);
}

void ScriptedRelease(void* block)
{
    ++g_freed;
    free(block);
}

const VersionInfoApi kScripted = {ScriptedGetSize, ScriptedGetInfo, ScriptedQuery, ScriptedAllocate, ScriptedRelease};

TEST(ReadFileVersion, EveryFailureFreesItsBlockAndLeavesTheOutput)
{
    const UINT whole = sizeof(VS_FIXEDFILEINFO);
    const VersionScript scripts[] = {
        {"reads", 100, TRUE, TRUE, false, whole, false},
        {"no version information", 0, TRUE, TRUE, false, whole, false},
        {"allocation fails", 100, TRUE, TRUE, false, whole, true},
        {"GetFileVersionInfoA fails", 100, FALSE, TRUE, false, whole, false},
        {"VerQueryValueA fails", 100, TRUE, FALSE, false, whole, false},
        {"null root block", 100, TRUE, TRUE, true, whole, false},
        {"root block one byte short", 100, TRUE, TRUE, false, whole - 1, false},
        {"root block empty", 100, TRUE, TRUE, false, 0, false},
    };
    const HRESULT expected[] = {S_OK, E_FAIL, E_OUTOFMEMORY, E_FAIL, E_FAIL, E_FAIL, E_FAIL, E_FAIL};
    g_record = {};
    g_record.dwFileVersionMS = 0x00050003;
    g_record.dwFileVersionLS = 0x00010388;
    g_record.dwProductVersionMS = 0x11111111;
    for (size_t i = 0; i < sizeof scripts / sizeof scripts[0]; ++i) {
        SCOPED_TRACE(scripts[i].name);
        g_script = &scripts[i];
        g_allocated = g_freed = 0;
        FileVersion version = 0xABCDull;
        EXPECT_EQ(expected[i], ReadFileVersionWith(&kScripted, "C:\\x.dll", &version));
        EXPECT_EQ(expected[i] == S_OK ? 0x0005000300010388ull : 0xABCDull, version);
        EXPECT_EQ(g_allocated, g_freed);
    }
}

TEST(ReadFileVersion, NullArgumentsReadNothing)
{
    const VersionScript script = {"reads", 100, TRUE, TRUE, false, sizeof(VS_FIXEDFILEINFO), false};
    g_script = &script;
    g_getSizeCalls = 0;
    FileVersion version = 7;
    EXPECT_EQ(E_INVALIDARG, ReadFileVersionWith(&kScripted, nullptr, &version));
    EXPECT_EQ(E_INVALIDARG, ReadFileVersionWith(&kScripted, "C:\\x.dll", nullptr));
    EXPECT_EQ(0, g_getSizeCalls);
    EXPECT_EQ(7u, version);
    EXPECT_EQ(E_INVALIDARG, ReadFileVersion(nullptr, &version));
}

std::string SystemFile(const char* name)
{
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, sizeof directory);
    return std::string(directory) + name;
}

TEST(ReadFileVersion, RealSystemFiles)
{
    FileVersion version = 0;
    ASSERT_EQ(S_OK, ReadFileVersion(SystemFile("\\ddraw.dll").c_str(), &version));
    // Wine ships ddraw.dll as 5.3.1.904.
    EXPECT_EQ(0x0005000300010388ull, version);

    for (const char* name : {"\\d3drg8x.dll", "\\mpg2splt.ax", "\\no-such-file.dll"}) {
        SCOPED_TRACE(name);
        version = 42;
        EXPECT_EQ(E_FAIL, ReadFileVersion(SystemFile(name).c_str(), &version));
        EXPECT_EQ(42u, version);
    }
}

} // namespace
