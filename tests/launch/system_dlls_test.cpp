// What may run inside the launcher: the DLL search narrowed by whatever this Windows offers
// (fakes for each kernel32, table-driven), version.dll built as a full path in the system
// directory, and both for real under Wine, where a DLL planted beside the test program loads
// by name until the search is narrowed and never after.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_version.h"
#include "process_window.h"
#include "system_dlls.h"
#include "temp_folder.h"

namespace {

// The flags of SetDefaultDllDirectories, for the checks of what may be searched.
const DWORD kSearchApplicationDir = 0x00000200;
const DWORD kSearchSystem32 = 0x00000800;
const DWORD kSearchDefaultDirs = 0x00001000;

struct LoaderScript {
    bool defaultSucceeds;
    bool directorySucceeds;
    const char* systemDirectory;
    UINT directoryLength; // what GetSystemDirectoryA answers
    HMODULE loaded;
};

const LoaderScript* g_script;
std::vector<std::string> g_calls;

BOOL WINAPI FakeSetDefaultDllDirectories(DWORD flags)
{
    EXPECT_NE(0u, flags & kSearchSystem32);
    EXPECT_EQ(0u, flags & (kSearchApplicationDir | kSearchDefaultDirs)) << "the program's folder stays searched";
    g_calls.push_back("default directories");
    return g_script->defaultSucceeds;
}

BOOL WINAPI FakeSetDllDirectory(LPCSTR path)
{
    g_calls.push_back(std::string("dll directory \"") + path + "\"");
    return g_script->directorySucceeds;
}

UINT WINAPI FakeGetSystemDirectory(LPSTR buffer, UINT size)
{
    g_calls.push_back("system directory " + std::to_string(size));
    strncpy(buffer, g_script->systemDirectory, size);
    return g_script->directoryLength;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR path)
{
    g_calls.push_back(std::string("load ") + path);
    return g_script->loaded;
}

TEST(NarrowDllSearch, TheBestWayThisKernel32Offers)
{
    struct Case {
        const char* name;
        bool hasDefault, hasDirectory;
        LoaderScript script;
        std::vector<std::string> calls;
    };
    const LoaderScript works = {true, true, "", 0, nullptr};
    const std::vector<std::string> systemOnly = {"default directories"};
    const std::vector<std::string> xp = {"dll directory \"\""};
    const std::vector<std::string> both = {"default directories", "dll directory \"\""};
    const Case cases[] = {
        {"Windows 8, or 7 with KB2533623: the system directory only", true, true, works, systemOnly},
        {"refused: the current folder is still taken out", true, true, {false, true, "", 0, nullptr}, both},
        {"both refused: the launch goes on", true, true, {false, false, "", 0, nullptr}, both},
        {"XP SP1 to 7 without the update", false, true, works, xp},
        {"XP's call refused", false, true, {true, false, "", 0, nullptr}, xp},
        {"XP before SP1: nothing to call", false, false, works, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_script = &c.script;
        g_calls.clear();
        const DllLoaderApi loader = {c.hasDefault ? FakeSetDefaultDllDirectories : nullptr,
                                     c.hasDirectory ? FakeSetDllDirectory : nullptr, FakeGetSystemDirectory,
                                     FakeLoadLibrary};
        NarrowDllSearch(&loader);
        EXPECT_EQ(c.calls, g_calls);
    }
}

TEST(LoadSystemLibrary, OnlyAWholePathInTheSystemDirectoryIsLoaded)
{
    HMODULE const module = reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x10000000));
    const std::string longest(259, 'D'); // the most MAX_PATH offered characters can hold
    struct Case {
        const char* name;
        LoaderScript script;
        HMODULE result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"loaded by full path", {true, true, "C:\\windows\\system32", 19, module}, module,
         {"system directory 260", "load C:\\windows\\system32\\version.dll"}},
        {"the longest directory that fits", {true, true, longest.c_str(), 259, module}, module,
         {"system directory 260", "load " + longest + "\\version.dll"}},
        {"a directory that does not fit", {true, true, longest.c_str(), 260, module}, nullptr,
         {"system directory 260"}},
        {"no system directory", {true, true, "", 0, module}, nullptr, {"system directory 260"}},
        {"the load fails", {true, true, "C:\\windows\\system32", 19, nullptr}, nullptr,
         {"system directory 260", "load C:\\windows\\system32\\version.dll"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_script = &c.script;
        g_calls.clear();
        const DllLoaderApi loader = {nullptr, nullptr, FakeGetSystemDirectory, FakeLoadLibrary};
        EXPECT_EQ(c.result, LoadSystemLibrary(&loader, "\\version.dll"));
        EXPECT_EQ(c.calls, g_calls);
    }
}

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    return path;
}

// For real. The narrowing cannot be undone and holds for the rest of this process, where no
// other test loads a DLL by name. planted_before.dll and planted_after.dll lie only in
// the test program's folder; two names, so that a module already loaded cannot answer the
// second load.
TEST(DllSearchOnThePlatform, APlantedDllLoadsByNameOnlyUntilTheSearchIsNarrowed)
{
    const std::string folder = TestProgramFolder();
    const std::string before = PathIn(folder, "planted_before.dll"), after = PathIn(folder, "planted_after.dll");
    ASSERT_TRUE(Exists(before) && Exists(after)) << "built beside " << folder;
    DeleteFileA((before + ".ran").c_str());
    DeleteFileA((after + ".ran").c_str());

    HMODULE planted = LoadLibraryA("planted_before.dll");
    ASSERT_NE(nullptr, planted) << "a DLL in the program's folder loads by name";
    EXPECT_TRUE(Exists(before + ".ran")) << "and runs its code";
    FreeLibrary(planted);

    const DllLoaderApi kernel = KernelDllLoader();
    ASSERT_NE(nullptr, kernel.setDefaultDllDirectories) << "Wine has SetDefaultDllDirectories";
    ASSERT_NE(nullptr, kernel.setDllDirectory);
    NarrowDllSearch(&kernel);
    planted = LoadLibraryA("planted_after.dll");
    EXPECT_EQ(nullptr, planted) << ModulePath(planted);
    EXPECT_FALSE(Exists(after + ".ran")) << "its code ran";
    if (planted != nullptr)
        FreeLibrary(planted);
    DeleteFileA((before + ".ran").c_str());
    DeleteFileA((after + ".ran").c_str());

    // The system's own DLLs still load by name, and file versions still read, through
    // version.dll from the system directory.
    char system[MAX_PATH];
    ASSERT_NE(0u, GetSystemDirectoryA(system, sizeof system));
    HMODULE direct3d = LoadLibraryA("d3d9.dll");
    EXPECT_STRCASEEQ(PathIn(system, "d3d9.dll").c_str(), ModulePath(direct3d).c_str());
    if (direct3d != nullptr)
        FreeLibrary(direct3d);
    FileVersion version = 0;
    EXPECT_EQ(S_OK, ReadFileVersion(PathIn(system, "ddraw.dll").c_str(), &version));
    EXPECT_EQ(0x0005000300010388ull, version) << "Wine's ddraw.dll is 5.3.1.904";
    EXPECT_STRCASEEQ(PathIn(system, "version.dll").c_str(), ModulePath(GetModuleHandleA("version.dll")).c_str());
}

} // namespace
