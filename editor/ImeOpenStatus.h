#pragma once

namespace editor {

// Windows only: sets the open status of the input method of the native window `window` (an
// HWND). False when the window has no input context, as while Qt keeps the input method away
// from a box that refuses it.
bool SetImeOpenStatus(void* window, bool open);

}  // namespace editor
