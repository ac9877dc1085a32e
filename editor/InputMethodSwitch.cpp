#include "editor/InputMethodSwitch.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#ifdef _WIN32
#include "editor/ImeOpenStatus.h"
#endif

namespace editor {
namespace {

#ifdef _WIN32
class Imm32Switch : public InputMethodSwitch {
public:
    void SetOpen(QWidget& box, bool open) override
    {
        // Qt gives the window its input context for the new focus box after the focus event;
        // the open status is set once that is done.
        QPointer<QWidget> target = &box;
        QTimer::singleShot(0, &box, [target, open] {
            if (target && target->hasFocus())
                SetImeOpenStatus(reinterpret_cast<void*>(target->window()->winId()), open);
        });
    }
};
#else
class QtAttributeSwitch : public InputMethodSwitch {
public:
    void SetOpen(QWidget& box, bool open) override
    {
        box.setAttribute(Qt::WA_InputMethodEnabled, open);
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
    }
};
#endif

}  // namespace

std::unique_ptr<InputMethodSwitch> PlatformInputMethodSwitch()
{
#ifdef _WIN32
    return std::make_unique<Imm32Switch>();
#else
    return std::make_unique<QtAttributeSwitch>();
#endif
}

}  // namespace editor
