// mirvel-convert: word lists in and out of ".mirvel" files.
#include "convert/Commands.h"
#include "common/os/File.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "common/os/Utf16.h"

#include <shellapi.h>
#endif

int main(int argc, char** argv)
{
    mirvel::os::IgnoreFileSizeLimitSignal();
    std::vector<std::string> args;
#ifdef _WIN32
    // The console and the file names are UTF-8 throughout; argv would be in the ANSI code page.
    ::SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) args.push_back(mirvel::os::Utf8FromUtf16(wide[i]));
    ::LocalFree(wide);
    (void)argc;
    (void)argv;
#else
    args.assign(argv + 1, argv + argc);
#endif
    std::ios::sync_with_stdio(false);
    const int code = mirvel::convert::RunConvert(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? code : mirvel::convert::ExitProblems;
}
