// Looks at a program's windows from outside, as the desktop sees them, for the start-and-close
// checks of the Windows build under Wine:
//   window-probe wait TITLE SECONDS   waits for a visible top-level window with that title and
//                                     prints its client size and its window rectangle
//   window-probe close TITLE          asks that window to close, as its close box would
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

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
            if (::IsWindowVisible(window) && *s->title == text && !::GetWindow(window, GW_OWNER)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("usage: window-probe wait TITLE SECONDS | close TITLE\n", stderr);
        return 2;
    }
    const std::wstring command = argv[1];
    const std::wstring title = argv[2];
    if (command == L"wait") {
        const int tenths = 10 * (argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 10);
        for (int i = 0; i < tenths; ++i) {
            if (HWND window = FindVisible(title)) {
                RECT client{}, outer{};
                ::GetClientRect(window, &client);
                ::GetWindowRect(window, &outer);
                std::printf("client %ldx%ld window %ld,%ld %ldx%ld\n", client.right - client.left,
                            client.bottom - client.top, outer.left, outer.top, outer.right - outer.left,
                            outer.bottom - outer.top);
                return 0;
            }
            ::Sleep(100);
        }
        std::fputs("window-probe: no such window\n", stderr);
        return 1;
    }
    if (command == L"close") {
        HWND window = FindVisible(title);
        if (!window) {
            std::fputs("window-probe: no such window\n", stderr);
            return 1;
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fputs("window-probe: unknown command\n", stderr);
    return 2;
}
