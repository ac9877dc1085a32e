#include "viewer/SpinEdit.h"

#include "viewer/SpinEditAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QToolButton>

namespace viewer {

namespace {

// The arrows sit inside the edit's frame, as wide as a scroll bar arrow is on the users' desktop.
constexpr int ButtonWidth = 15;
constexpr int FrameWidth = 2;

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QLineEdit(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow))
{
    // Before the first text is set: setting it makes Qt look up the box's interface, once for good.
    InstallSpinEditAccessibility();
    setTextMargins(0, 0, ButtonWidth, 0);
    // An arrow click edits the box, so the box takes the focus as if it had been clicked.
    connect(up_, &QToolButton::clicked, this, [this] {
        setFocus(Qt::MouseFocusReason);
        Step(1);
    });
    connect(down_, &QToolButton::clicked, this, [this] {
        setFocus(Qt::MouseFocusReason);
        Step(-1);
    });
    SetValue(0);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!QAccessible::isActive()) return;
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    });
}

void TSpinEdit::SetMinValue(int value) { minValue_ = value; }

void TSpinEdit::SetMaxValue(int value) { maxValue_ = value; }

int TSpinEdit::Value() const { return SpinEditValueOf(text().toStdString(), minValue_); }

void TSpinEdit::SetValue(int value) { setText(QString::number(ClampSpinValue(value, minValue_, maxValue_))); }

void TSpinEdit::Step(int delta)
{
    SetValue(ClampSpinValue(static_cast<long long>(Value()) + delta, minValue_, maxValue_));
}

bool TSpinEdit::Accepts(const QString& typed) const
{
    const QString separator = locale().decimalPoint();
    const char32_t decimalSeparator = separator.isEmpty() ? U'.' : separator.at(0).unicode();
    for (const char32_t c : typed.toUcs4()) {
        if (!IsSpinEditChar(c, decimalSeparator)) return false;
    }
    return true;
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Up:
            Step(1);
            return;
        case Qt::Key_Down:
            Step(-1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Not typed into the box: the line edit passes it on, so the dialog's default button
            // takes it.
            QLineEdit::keyPressEvent(event);
            return;
        default:
            break;
    }
    if (!event->text().isEmpty() && !Accepts(event->text())) {
        QApplication::beep();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // A Japanese input method commits whole strings (full-width digits among them); they meet
    // the same rule as typed keys.
    if (Accepts(event->commitString())) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    for (const QChar c : event->commitString()) {
        if (Accepts(QString(c))) kept += c;
    }
    QApplication::beep();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a move of the focus inside the window counts as leaving the box; switching to
    // another program or opening a menu does not.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
    const int value = Value();
    if (ClampSpinValue(value, minValue_, maxValue_) != value) SetValue(value);
}

void TSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    PlaceButtons();
}

void TSpinEdit::PlaceButtons()
{
    const int left = width() - FrameWidth - ButtonWidth;
    const int inner = height() - 2 * FrameWidth;
    const int upper = inner / 2;
    up_->setGeometry(left, FrameWidth, ButtonWidth, upper);
    down_->setGeometry(left, FrameWidth + upper, ButtonWidth, inner - upper);
}

}  // namespace viewer
