#pragma once

#include <memory>

class QWidget;

namespace editor {

// Turns Japanese conversion on or off as an edit box gets the focus: on in the Japanese box,
// off in the French one. The editor calls it; tests put a recording one in its place.
class InputMethodSwitch {
public:
    virtual ~InputMethodSwitch() = default;
    virtual void SetOpen(QWidget& box, bool open) = 0;
};

// The platform's: the input method's open status through imm32 on Windows; elsewhere, where an
// input method can only be allowed or refused a box, Qt's input-method attribute.
std::unique_ptr<InputMethodSwitch> PlatformInputMethodSwitch();

}  // namespace editor
