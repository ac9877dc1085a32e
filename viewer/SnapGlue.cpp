#include "viewer/SnapGlue.h"

#include "common/gui/Shell.h"

#include <QRect>
#include <QWidget>

namespace viewer {
namespace {

TRect ToTRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

}  // namespace

SnapEnvironment SnapEnvironmentFor(mirvel::gui::Shell& shell, const QWidget* cardWindow)
{
    SnapEnvironment env{false, {0, 0, 0, 0}, {}};
    if (const auto workArea = shell.WorkArea()) {
        env.WorkAreaOk = true;
        env.WorkArea = ToTRect(*workArea);
    }
    for (const QWidget* form : shell.FormsInScreenOrder()) {
        if (form == nullptr) continue;
        env.Forms.push_back({ToTRect(form->frameGeometry()), form->isVisible(), form == cardWindow});
    }
    return env;
}

}  // namespace viewer
