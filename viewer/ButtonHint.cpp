#include "viewer/ButtonHint.h"

#include <QAbstractButton>
#include <QVariant>

namespace viewer {
namespace {

constexpr const char* HintProperty = "mirvelHint";
constexpr const char* ShowHintProperty = "mirvelShowHint";

QString HintOf(QAbstractButton& button)
{
    const QVariant hint = button.property(HintProperty);
    if (hint.isValid()) return hint.toString();
    const QString declared = button.toolTip();
    button.setProperty(HintProperty, declared);
    return declared;
}

}  // namespace

bool ShowsHint(const QAbstractButton& button)
{
    const QVariant show = button.property(ShowHintProperty);
    return !show.isValid() || show.toBool();
}

void SetHint(QAbstractButton& button, const QString& hint)
{
    button.setProperty(HintProperty, hint);
    button.setToolTip(ShowsHint(button) ? hint : QString());
    // A glyph button has no caption: a screen reader speaks its hint, shown or not.
    button.setAccessibleName(hint);
}

void SetShowHint(QAbstractButton& button, bool show)
{
    const QString hint = HintOf(button);
    button.setProperty(ShowHintProperty, show);
    button.setToolTip(show ? hint : QString());
}

}  // namespace viewer
