#include "real_replacer.h"

#ifdef _WIN32
const FileReplacer* RealReplacer()
{
    return &kPlatformFileReplacer;
}
#else
#include <unistd.h>

static bool Fsync(FILE* file)
{
    return fsync(fileno(file)) == 0;
}

static bool Rename(const char* source, const char* target)
{
    return rename(source, target) == 0;
}

const FileReplacer* RealReplacer()
{
    static const FileReplacer replacer = {Fsync, Rename};
    return &replacer;
}
#endif
