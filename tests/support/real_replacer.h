// The platform's own file replacer for tests that save for real: the launcher's Win32 one
// under Wine, a POSIX equivalent (fsync, rename) natively.
#pragma once

#include "settings.h"

const FileReplacer* RealReplacer();
