#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace mirvel::gui {

// The primary screen's full size in pixels.
QSize PrimaryScreenSize();

// The window's outer size: its client size plus whatever frame the window system adds.
QSize OuterSize(const QWidget& window);

// The outer top-left corner of the window in its normal (not minimised) placement.
QPoint OuterPosition(const QWidget& window);

// The frame the window system puts around the window, as far as it is known yet: on Windows
// from the moment the native window exists, on X11 only once the window manager framed it.
QMargins KnownFrame(const QWidget& window);

// The outer top-left corner that centres a window of the given outer size on the primary
// screen: the position used when none is stored.
QPoint CentredPosition(const QSize& outer);

// True when the grip (the part of a window the user drags it by, given relative to the outer
// top-left corner) of a window whose corner is at `outerPosition` shows enough of itself on
// some screen's work area for the user to take hold of it.
bool GripReachable(const QPoint& outerPosition, const QRect& grip);

// Moves the window so that its outer top-left corner is at the given point.
void MoveOuterLeft(QWidget& window, int left);
void MoveOuterTop(QWidget& window, int top);

// The executable's folder and path, as native separators-free Qt paths.
QString ExecutableFolder();
QString ExecutablePath();

// The settings file beside the executable, in the platform's own spelling (C:\...\Mirvel.ini
// on Windows), as messages show it.
QString SettingsFilePath();

}  // namespace mirvel::gui
