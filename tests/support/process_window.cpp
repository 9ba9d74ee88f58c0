#include "process_window.h"

#include <cstring>

namespace {

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "", caption[128] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && (search->className == nullptr || strcmp(className, search->className) == 0) &&
        (search->caption == nullptr || strcmp(caption, search->caption) == 0) && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string LauncherUnderTest()
{
    char path[MAX_PATH];
    const DWORD named = GetEnvironmentVariableA("ORBIVANE_LAUNCHER", path, sizeof path);
    return named > 0 && named < sizeof path ? path : "";
}

std::string TestProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* caption)
{
    Search search = {processId, className, caption, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
