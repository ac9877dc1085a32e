#pragma once

namespace mirvel::gui {

// The forms name the Windows faces "ＭＳ Ｐゴシック" and "Arial"; where those are missing, faces of
// the same kind and metrics stand in. Call before the first form is made; calling again does nothing.
void RegisterFontSubstitutes();

}  // namespace mirvel::gui
