#pragma once

namespace viewer {

// The forms name the Windows faces "ＭＳ Ｐゴシック" and "Arial"; where those are missing, faces of
// the same kind and metrics stand in. Safe to call more than once.
void RegisterFontSubstitutes();

}  // namespace viewer
