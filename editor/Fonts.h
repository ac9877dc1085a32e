#pragma once

namespace editor {

// The form names Windows faces; where they are missing, faces of the same kind and metrics
// take their place. Call before the first form is made; calling again does nothing.
void RegisterFontSubstitutes();

}  // namespace editor
