// The file-version ladder. The rows are data; the walk reads each row group's file once,
// afresh, and lets every later match overwrite an earlier one.

#include "file_ladder.h"

#include "bounded_text.h"

namespace {

constexpr FileVersion Version(uint16_t part1, uint16_t part2, uint16_t part3, uint16_t part4)
{
    return static_cast<FileVersion>(part1) << 48 | static_cast<FileVersion>(part2) << 32 |
           static_cast<FileVersion>(part3) << 16 | part4;
}

enum LadderTest : uint8_t {
    kAtLeast,           // v >= threshold
    kFirstPartFourFive, // first part 4 and v >= threshold, or first part 5 and v >= fiveThreshold
    kAnyVersion,        // the file has a readable version at all
};

// The eleven reads, in order; "\ddraw.dll" is read four times, each time afresh.
const char* const kReadFiles[] = {"\\ddraw.dll", "\\d3drg8x.dll", "\\ddraw.dll",   "\\dplayx.dll",
                                  "\\ddraw.dll", "\\dinput.dll",  "\\ddraw.dll",   "\\d3d8.dll",
                                  "\\mpg2splt.ax", "\\dpnet.dll", "\\d3d9.dll"};

struct LadderRow {
    FileVersion threshold;
    FileVersion fiveThreshold;
    uint8_t read; // index into kReadFiles; rows sharing a read test one version
    LadderTest test;
    uint8_t major;
    uint8_t minor;
    char letter;
};

const LadderRow kLadder[] = {
    {Version(4, 2, 0, 95), 0, 0, kAtLeast, 1, 0, ' '},
    {Version(4, 3, 0, 1096), 0, 0, kAtLeast, 2, 0, ' '},
    {Version(4, 4, 0, 68), 0, 0, kAtLeast, 3, 0, ' '},
    {Version(4, 4, 0, 70), 0, 1, kAtLeast, 3, 0, 'a'},
    {Version(4, 5, 0, 155), 0, 2, kAtLeast, 5, 0, ' '},
    {Version(4, 6, 0, 318), 0, 2, kAtLeast, 6, 0, ' '},
    {Version(4, 6, 0, 436), 0, 2, kAtLeast, 6, 1, ' '},
    {Version(4, 6, 3, 518), 0, 3, kAtLeast, 6, 1, 'a'},
    {Version(4, 7, 0, 700), 0, 4, kAtLeast, 7, 0, ' '},
    {Version(4, 7, 0, 716), 0, 5, kAtLeast, 7, 0, 'a'},
    {Version(4, 8, 0, 400), Version(5, 1, 2258, 400), 6, kFirstPartFourFive, 8, 0, ' '},
    {Version(4, 8, 1, 881), Version(5, 1, 2600, 881), 7, kFirstPartFourFive, 8, 1, ' '},
    {Version(4, 8, 1, 901), Version(5, 1, 2600, 901), 7, kFirstPartFourFive, 8, 1, 'a'},
    {Version(6, 3, 1, 885), 0, 8, kAtLeast, 8, 1, 'b'},
    {Version(4, 9, 0, 134), Version(5, 2, 3677, 134), 9, kFirstPartFourFive, 8, 2, ' '},
    {0, 0, 10, kAnyVersion, 9, 0, ' '},
};

// The platform is offered 260 characters of a 512-character buffer.
const unsigned int kSystemDirectoryOffered = 260;
const uint32_t kPathCapacity = 512;

bool RowMatches(const LadderRow& row, FileVersion version)
{
    switch (row.test) {
    case kAtLeast:
        return CompareVersion64(version, row.threshold) >= 0;
    case kFirstPartFourFive: {
        const uint16_t firstPart = static_cast<uint16_t>(version >> 48);
        if (firstPart == 4)
            return CompareVersion64(version, row.threshold) >= 0;
        if (firstPart == 5)
            return CompareVersion64(version, row.fiveThreshold) >= 0;
        return false;
    }
    case kAnyVersion:
        return true;
    }
    return false;
}

void WriteTriple(int32_t* major, int32_t* minor, char* letter, int32_t majorValue, int32_t minorValue,
                 char letterValue)
{
    if (major != nullptr)
        *major = majorValue;
    if (minor != nullptr)
        *minor = minorValue;
    if (letter != nullptr)
        *letter = letterValue;
}

} // namespace

int32_t CompareVersion64(FileVersion first, FileVersion second)
{
    const uint32_t firstMs = static_cast<uint32_t>(first >> 32);
    const uint32_t secondMs = static_cast<uint32_t>(second >> 32);
    if (firstMs != secondMs)
        return firstMs > secondMs ? 1 : -1;
    const uint32_t firstLs = static_cast<uint32_t>(first);
    const uint32_t secondLs = static_cast<uint32_t>(second);
    if (firstLs != secondLs)
        return firstLs > secondLs ? 1 : -1;
    return 0;
}

HRESULT LadderDirectXVersion(const LadderPlatform* platform, int32_t* major, int32_t* minor, char* letter)
{
    char systemDirectory[512];
    const unsigned int length = platform->getSystemDirectory(systemDirectory, kSystemDirectoryOffered);
    if (length == 0 || length >= kSystemDirectoryOffered) {
        // 0 is failure; 260 or more means the directory did not fit and the buffer is undefined.
        WriteTriple(major, minor, letter, 0, 0, ' ');
        return S_OK;
    }
    systemDirectory[kSystemDirectoryOffered - 1] = '\0';

    bool found = false;
    int currentRead = -1;
    bool readable = false;
    FileVersion version = 0;
    for (const LadderRow& row : kLadder) {
        if (row.read != currentRead) {
            currentRead = row.read;
            char path[kPathCapacity];
            BoundedCopy(path, kPathCapacity, systemDirectory);
            BoundedAppend(path, kPathCapacity, kReadFiles[row.read]);
            readable = SUCCEEDED(platform->readFileVersion(path, &version));
        }
        if (readable && RowMatches(row, version)) {
            WriteTriple(major, minor, letter, row.major, row.minor, row.letter);
            found = true;
        }
    }
    if (!found)
        WriteTriple(major, minor, letter, 0, 0, ' ');
    return S_OK;
}
