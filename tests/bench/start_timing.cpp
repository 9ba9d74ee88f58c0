// Times, from inside Wine, how long each program takes from CreateProcess until the settings
// dialog is visible, then ends it through its Quit button. The programs are run in turn,
// alternating, so drift in the machine's load touches all of them alike.
//   start_timing RUNS FOLDER PROGRAM...   (each program is run with FOLDER as its current folder)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "process_window.h"

// Milliseconds to a visible dialog, or a negative value when it never showed.
static double TimeOne(const std::string& program, const std::string& folder)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return -1;
    double elapsed = -1;
    for (;;) {
        HWND dialog = FindProcessWindow(process.dwProcessId, nullptr, "Orbivane Alpha Demo 0.1.1 Setup");
        QueryPerformanceCounter(&now);
        if (dialog != nullptr) {
            elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
            DWORD_PTR ignored;
            SendMessageTimeoutA(GetDlgItem(dialog, 1004), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0 ||
            now.QuadPart - start.QuadPart > 30 * frequency.QuadPart)
            break;
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return elapsed;
}

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const int runs = atoi(argv[1]);
    const std::string folder = argv[2];
    std::vector<std::vector<double>> times(argc - 3);
    for (int run = 0; run < runs; ++run)
        for (int p = 3; p < argc; ++p)
            times[p - 3].push_back(TimeOne(argv[p], folder));
    for (int p = 3; p < argc; ++p) {
        std::vector<double>& t = times[p - 3];
        std::sort(t.begin(), t.end());
        printf("start %s median %.1f ms min %.1f max %.1f runs %d\n", argv[p], t[t.size() / 2], t.front(), t.back(),
               runs);
    }
    return 0;
}
