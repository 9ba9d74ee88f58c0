// The Win32 side of saving settings.cfg: the finished temporary file is pushed to the disk
// and then moved over the old file in one step, so the game never finds a torn file.

#include <windows.h>

#include <io.h>

#include "settings.h"

static bool FlushToDisk(FILE* file)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

static bool Replace(const char* source, const char* target)
{
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

const FileReplacer kPlatformFileReplacer = {FlushToDisk, Replace};
