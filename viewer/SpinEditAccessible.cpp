#include "viewer/SpinEditAccessible.h"

#include "viewer/SpinEdit.h"

#include <QAccessibleWidget>

namespace viewer {
namespace {

class SpinEditAccessible : public QAccessibleWidget,
                           public QAccessibleValueInterface,
                           public QAccessibleTextInterface {
public:
    explicit SpinEditAccessible(TSpinEdit* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The arrows are part of the box: a reader steps through the value instead.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return Spin()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Spin()->isReadOnly();
        return state;
    }

    // The value is the number typed, as the box's Value reads it.
    QVariant currentValue() const override { return Spin()->Value(); }
    void setCurrentValue(const QVariant& value) override { Spin()->SetValue(value.toInt()); }
    QVariant maximumValue() const override { return Spin()->MaxValue(); }
    QVariant minimumValue() const override { return Spin()->MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

    // The text as an edit box offers it, so that a reader can read and move through what is typed.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !Spin()->hasSelectedText()) return;
        *startOffset = Spin()->selectionStart();
        *endOffset = Spin()->selectionEnd();
    }
    int selectionCount() const override { return Spin()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0) Spin()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0) Spin()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Spin()->cursorPosition(); }
    void setCursorPosition(int position) override { Spin()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return Spin()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Spin()->text().size()); }
    QRect characterRect(int offset) const override
    {
        // The digits are few and never scroll: their place follows from the font alone.
        const QFontMetrics metrics = Spin()->fontMetrics();
        const QRect inside = Spin()->contentsRect().marginsRemoved(Spin()->textMargins());
        const QString text = Spin()->text();
        const int left = inside.left() + 2 + metrics.horizontalAdvance(text.left(offset));
        const int width = offset < text.size() ? metrics.horizontalAdvance(text.at(offset)) : 1;
        const QRect local(left, inside.center().y() - metrics.height() / 2, width, metrics.height());
        return QRect(Spin()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const int count = characterCount();
        for (int offset = 0; offset < count; ++offset) {
            if (characterRect(offset).contains(point)) return offset;
        }
        return -1;
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    TSpinEdit* Spin() const { return static_cast<TSpinEdit*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    if (className != QLatin1String(TSpinEdit::staticMetaObject.className())) return nullptr;
    auto* spin = qobject_cast<TSpinEdit*>(object);
    return spin ? new SpinEditAccessible(spin) : nullptr;
}

}  // namespace

void InstallSpinEditAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace viewer
