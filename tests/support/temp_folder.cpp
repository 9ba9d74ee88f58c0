#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Folders made during a test, removed when it ends: under Wine they would otherwise pile up
// in the prefix's temporary folder, run after run.
std::vector<std::string> g_folders;

class RemoveFoldersAtTestEnd : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        for (const std::string& folder : g_folders) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
        g_folders.clear();
    }
};

std::string Remembered(const std::string& folder)
{
    static const bool listening =
        (::testing::UnitTest::GetInstance()->listeners().Append(new RemoveFoldersAtTestEnd), true);
    (void)listening;
    g_folders.push_back(folder);
    return folder;
}

std::string NewFolder()
{
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%sorbivane-test-%lu-%u", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr))
            return name;
    }
#else
    char name[] = "/tmp/orbivane-test-XXXXXX";
    if (mkdtemp(name) == nullptr)
        abort();
    return name;
#endif
}

} // namespace

std::string MakeTempFolder()
{
    return Remembered(NewFolder());
}

std::string PathIn(const std::string& folder, const char* name)
{
#ifdef _WIN32
    return folder + "\\" + name;
#else
    return folder + "/" + name;
#endif
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    bytes->clear();
    int c;
    while ((c = fgetc(file)) != EOF)
        bytes->push_back(static_cast<unsigned char>(c));
    fclose(file);
    return true;
}

bool Exists(const std::string& path)
{
#ifdef _WIN32
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return stat(path.c_str(), &info) == 0;
#endif
}

bool MakeFolder(const std::string& path)
{
#ifdef _WIN32
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
#else
    return mkdir(path.c_str(), 0700) == 0;
#endif
}
