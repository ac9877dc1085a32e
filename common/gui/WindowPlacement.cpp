#include "common/gui/WindowPlacement.h"

#include "common/IniFile.h"
#include "common/Placement.h"
#include "common/gui/TextEdge.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace mirvel::gui {

QSize PrimaryScreenSize()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(0, 0);
}

QSize OuterSize(const QWidget& window)
{
    // Before the window is first shown the system has not framed it yet; the frame size is then
    // as far as the window system counts it at that moment: nothing.
    return window.frameGeometry().size();
}

QPoint OuterPosition(const QWidget& window)
{
    if (window.isMinimized() || window.isMaximized()) {
        const QRect normal = window.normalGeometry();
        if (normal.isValid()) {
            const QPoint frameOffset = window.geometry().topLeft() - window.frameGeometry().topLeft();
            return normal.topLeft() - frameOffset;
        }
    }
    return window.pos();  // a window's pos() includes its frame
}

QMargins KnownFrame(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QPoint CentredPosition(const QSize& outer)
{
    const QSize screen = PrimaryScreenSize();
    return {mirvel::DefaultPlacement(screen.width(), outer.width()),
            mirvel::DefaultPlacement(screen.height(), outer.height())};
}

bool GripReachable(const QPoint& outerPosition, const QRect& grip)
{
    std::vector<mirvel::ScreenRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.left(), area.top(), area.width(), area.height()});
    }
    // A position read from a damaged file may lie anywhere in 32 bits; the grip lies beyond it.
    const mirvel::ScreenRect screenGrip{std::int64_t{outerPosition.x()} + grip.left(),
                                        std::int64_t{outerPosition.y()} + grip.top(), grip.width(),
                                        grip.height()};
    return mirvel::GripOnScreen(screenGrip, areas);
}

void MoveOuterLeft(QWidget& window, int left) { window.move(left, window.pos().y()); }
void MoveOuterTop(QWidget& window, int top) { window.move(window.pos().x(), top); }

QString ExecutableFolder() { return QCoreApplication::applicationDirPath(); }
QString ExecutablePath() { return QCoreApplication::applicationFilePath(); }

QString SettingsFilePath()
{
    return QDir::toNativeSeparators(FromUtf8(mirvel::SettingsPathFor(ToUtf8(ExecutablePath()))));
}

}  // namespace mirvel::gui
