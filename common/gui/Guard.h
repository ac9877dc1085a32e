#pragma once

#include <QWidget>
#include <functional>

namespace mirvel::gui {

class Shell;

// Runs an event handler's body; any failure is shown in the standard error box (the message
// with the full-stop rule applied) and the handler returns. No exception crosses the event
// loop. Returns false when the body failed, so that callers can skip what follows it.
bool Guarded(Shell& shell, QWidget* parent, const std::function<void()>& body);

}  // namespace mirvel::gui
