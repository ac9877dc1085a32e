#pragma once

#include "viewer/Snapping.h"

class QWidget;

namespace mirvel::gui {
class Shell;
}

namespace viewer {

// The work area and the program's forms (outer frame rectangles, in screen order) as snapping
// sees them; `cardWindow` is the window being dragged, which is never its own target.
SnapEnvironment SnapEnvironmentFor(mirvel::gui::Shell& shell, const QWidget* cardWindow);

}  // namespace viewer
