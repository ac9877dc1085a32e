#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>

namespace mirvel::gui {

// The primary screen's full size in pixels.
QSize PrimaryScreenSize();

// The window's outer size: its client size plus whatever frame the window system adds.
QSize OuterSize(const QWidget& window);

// The outer top-left corner of the window in its normal (not minimised) placement.
QPoint OuterPosition(const QWidget& window);

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
