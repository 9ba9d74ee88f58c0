// LoadSettings over arbitrary file contents: whatever the file holds, each field must take
// exactly its stored bytes when the file holds it whole and keep its value otherwise.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "settings.h"

static int32_t StoredInt(const uint8_t* at)
{
    return static_cast<int32_t>(static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                                static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static char path[512];
    if (path[0] == '\0') {
        const char* folder = getenv("TMPDIR");
        snprintf(path, sizeof path, "%s/orbivane-fuzz-%d.cfg", folder != nullptr ? folder : "/tmp",
                 static_cast<int>(getpid()));
    }
    FILE* file = fopen(path, "wb");
    if (file == nullptr)
        abort();
    fwrite(data, 1, size, file);
    fclose(file);

    const LauncherSettings before = {0x5A, 111, 222, 333};
    g_settings = before;
    LoadSettings(path);
    remove(path);

    const uint8_t tutorial = size >= 1 ? data[0] : before.tutorial;
    const int32_t render = size >= 5 ? StoredInt(data + 1) : before.renderMode;
    const int32_t resolution = size >= 9 ? StoredInt(data + 5) : before.resolution;
    const int32_t texture = size >= 13 ? StoredInt(data + 9) : before.textureQuality;
    if (g_settings.tutorial != tutorial || g_settings.renderMode != render || g_settings.resolution != resolution ||
        g_settings.textureQuality != texture)
        abort();
    return 0;
}
