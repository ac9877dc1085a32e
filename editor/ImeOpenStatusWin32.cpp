// Needs nothing but the Windows headers, so that it can be checked with the MinGW compiler
// on its own.
#include "editor/ImeOpenStatus.h"

#include <windows.h>

#include <imm.h>

namespace editor {

bool SetImeOpenStatus(void* window, bool open)
{
    const auto hwnd = static_cast<HWND>(window);
    const HIMC context = ImmGetContext(hwnd);
    if (!context) return false;
    const bool done = ImmSetOpenStatus(context, open ? TRUE : FALSE) != FALSE;
    ImmReleaseContext(hwnd, context);
    return done;
}

}  // namespace editor
