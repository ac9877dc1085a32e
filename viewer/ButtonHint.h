#pragma once

#include <QString>

class QAbstractButton;

namespace viewer {

// A button's hint and a flag saying whether it shows it. A button whose flag is off has no
// tooltip at all; its hint is kept for when the flag comes back on. The hint declared in the
// form (the button's tooltip) is taken as its hint the first time either is touched.
// Setting a hint also makes it the button's accessible name.
void SetHint(QAbstractButton& button, const QString& hint);
void SetShowHint(QAbstractButton& button, bool show);
bool ShowsHint(const QAbstractButton& button);

}  // namespace viewer
