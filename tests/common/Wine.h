#pragma once

#ifdef _WIN32
#include "common/os/Win32Api.h"
#endif

namespace mirvel::test {

// Wine's ntdll exports its version; Windows' doesn't. For skipping what Wine lacks, never for
// changing what a test expects.
inline bool UnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

}  // namespace mirvel::test
