// Looks at a program's windows and the system from outside, as the desktop sees them, for the
// checks of the Windows build under Wine. Coordinates are physical pixels (the probe is
// DPI-aware, so that Windows doesn't scale what it reports for a scaled program):
//   window-probe wait TITLE SECONDS  waits for a visible top-level window with that title and
//                                    prints its client size, its client area's screen position
//                                    and its window rectangle
//   window-probe close TITLE         asks that window to close, as its close box would
//   window-probe move TITLE X Y      moves that window's outer top-left corner to X,Y
//   window-probe fonts [FACE...]     prints the message font (the one Qt takes for its dialogs)
//                                    and fails unless every FACE enumerates as a font family
//                                    of its own, as Qt's font database sees them (without
//                                    FACE, lists every family)
//   window-probe console PROGRAM [ARGUMENT...]
//                                    runs PROGRAM with this process's console as its output,
//                                    prints what it wrote there as UTF-8, and fails when the
//                                    console's output code page differs afterwards
#include "common/os/Utf16.h"

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

using mirvel::os::Utf8FromUtf16;

HWND FindVisible(const std::wstring& title)
{
    struct Search {
        const std::wstring* title;
        HWND found;
    } search{&title, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t text[256] = {};
            ::GetWindowTextW(window, text, 256);
            if (::IsWindowVisible(window) && *s->title == text) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Wait(const std::wstring& title, int seconds)
{
    for (int i = 0; i < 10 * seconds; ++i) {
        if (HWND window = FindVisible(title)) {
            RECT client{}, outer{};
            POINT origin{0, 0};
            ::GetClientRect(window, &client);
            ::ClientToScreen(window, &origin);
            ::GetWindowRect(window, &outer);
            std::printf("client %ldx%ld at %ld,%ld window %ld,%ld %ldx%ld\n", client.right - client.left,
                        client.bottom - client.top, origin.x, origin.y, outer.left, outer.top,
                        outer.right - outer.left, outer.bottom - outer.top);
            return 0;
        }
        ::Sleep(100);
    }
    std::fputs("window-probe: no such window\n", stderr);
    return 1;
}

int Fonts(const std::vector<std::wstring>& faces)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    std::printf("message font: %s, height %ld\n", Utf8FromUtf16(metrics.lfMessageFont.lfFaceName).c_str(),
                metrics.lfMessageFont.lfHeight);

    // All families, as Qt's Windows font database asks for them.
    std::set<std::wstring> families;
    HDC screen = ::GetDC(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(
        screen, &all,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            reinterpret_cast<std::set<std::wstring>*>(data)->insert(font->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&families), 0);
    ::ReleaseDC(nullptr, screen);

    if (faces.empty())
        for (const std::wstring& family : families) std::printf("%s\n", Utf8FromUtf16(family).c_str());
    int missing = 0;
    for (const std::wstring& face : faces) {
        const bool found = families.count(face) > 0;
        std::printf("%s: %s\n", Utf8FromUtf16(face).c_str(), found ? "a family" : "MISSING");
        if (!found) ++missing;
    }
    return missing == 0 ? 0 : 1;
}

std::wstring Quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    for (wchar_t c : argument) {
        if (c == L'"') quoted += L'\\';
        quoted += c;
    }
    return quoted + L"\"";
}

int Console(const std::vector<std::wstring>& command)
{
    // A console of our own, whatever this process was started with (under Wine from a script
    // it has none that can be written to).
    ::FreeConsole();
    ::AllocConsole();
    HANDLE output = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        std::fputs("window-probe: no console\n", stderr);
        return 2;
    }
    // Room for a long listing without scrolling, so that all of it can be read back.
    ::SetConsoleScreenBufferSize(output, COORD{160, 2000});
    // A code page unlike the converter's UTF-8, as a Japanese command prompt has.
    ::SetConsoleOutputCP(932);
    const UINT before = ::GetConsoleOutputCP();
    if (before == 0) {
        std::fputs("window-probe: no console (Wine makes one only with a display)\n", stderr);
        return 2;
    }
    CONSOLE_SCREEN_BUFFER_INFO start{};
    ::GetConsoleScreenBufferInfo(output, &start);

    std::wstring line;
    for (const std::wstring& argument : command) line += (line.empty() ? L"" : L" ") + Quoted(argument);
    HANDLE shared = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), output, ::GetCurrentProcess(), &shared, 0, TRUE,
                      DUPLICATE_SAME_ACCESS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = shared;
    startup.hStdError = shared;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &process)) {
        std::fprintf(stderr, "window-probe: could not start the program (%lu)\n", ::GetLastError());
        return 2;
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);

    CONSOLE_SCREEN_BUFFER_INFO end{};
    ::GetConsoleScreenBufferInfo(output, &end);
    for (SHORT row = start.dwCursorPosition.Y; row <= end.dwCursorPosition.Y; ++row) {
        std::wstring text(static_cast<std::size_t>(end.dwSize.X), L' ');
        DWORD read = 0;
        ::ReadConsoleOutputCharacterW(output, text.data(), static_cast<DWORD>(text.size()), COORD{0, row},
                                      &read);
        text.resize(read);
        text.erase(text.find_last_not_of(L' ') + 1);
        std::printf("%s\n", Utf8FromUtf16(text).c_str());
    }
    const UINT after = ::GetConsoleOutputCP();
    std::printf("exit code %lu, console code page %u before and %u after\n", code, before, after);
    return before == after ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    ::SetProcessDPIAware();
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    const std::wstring command = args.empty() ? L"" : args[0];
    if (command == L"wait" && args.size() >= 2)
        return Wait(args[1],
                    args.size() > 2 ? static_cast<int>(std::wcstol(args[2].c_str(), nullptr, 10)) : 10);
    if (command == L"fonts") return Fonts({args.begin() + 1, args.end()});
    if (command == L"console" && args.size() >= 2) return Console({args.begin() + 1, args.end()});
    if ((command == L"close" || command == L"move") && args.size() >= 2) {
        HWND window = FindVisible(args[1]);
        if (!window) {
            std::fputs("window-probe: no such window\n", stderr);
            return 1;
        }
        if (command == L"close") {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
        if (args.size() < 4) return 2;
        const int x = static_cast<int>(std::wcstol(args[2].c_str(), nullptr, 10));
        const int y = static_cast<int>(std::wcstol(args[3].c_str(), nullptr, 10));
        return ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0
                                                                                                       : 1;
    }
    std::fputs(
        "usage: window-probe wait TITLE SECONDS | close TITLE | move TITLE X Y | fonts FACE... | "
        "console PROGRAM [ARGUMENT...]\n",
        stderr);
    return 2;
}
