// How long DetectDirectXVersion takes under Wine on each of its paths: the provider answering,
// and the provider failing so the file ladder answers. Prints the median of the runs in ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "dxdiag_query.h"
#include "file_ladder.h"
#include "file_version.h"
#include "version_detector.h"

static const ComApi kCom = {CoInitialize, CoUninitialize, CoCreateInstance};
static const LadderPlatform kLadder = {GetSystemDirectoryA, ReadFileVersion};

static HRESULT Provider(int32_t* major, int32_t* minor, char* letter)
{
    return QueryDiagnosticVersion(&kCom, major, minor, letter);
}
static HRESULT NoProvider(int32_t*, int32_t*, char*)
{
    return E_FAIL;
}
static HRESULT Files(int32_t* major, int32_t* minor, char* letter)
{
    return LadderDirectXVersion(&kLadder, major, minor, letter);
}

static double MedianMilliseconds(const VersionSources* sources, int runs, uint32_t* packed)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        char text[10];
        QueryPerformanceCounter(&start);
        DetectDirectXVersion(sources, packed, text, sizeof text);
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? atoi(argv[1]) : 10;
    const VersionSources provider = {Provider, Files};
    const VersionSources ladder = {NoProvider, Files};
    uint32_t packedProvider = 0, packedLadder = 0;
    const double providerMs = MedianMilliseconds(&provider, runs, &packedProvider);
    const double ladderMs = MedianMilliseconds(&ladder, runs, &packedLadder);
    printf("detect provider %.2f ms (packed %#x)\n", providerMs, packedProvider);
    printf("detect ladder %.2f ms (packed %#x)\n", ladderMs, packedLadder);
    return 0;
}
