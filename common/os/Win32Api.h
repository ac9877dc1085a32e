#pragma once

// <windows.h> for code that also calls the file layer: its ReplaceFile macro would otherwise
// turn os::ReplaceFile into os::ReplaceFileA wherever both are seen.

#include <windows.h>

#undef ReplaceFile
