#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace mirvel::test {

// The controls under `root` that a screen reader would announce without a name, as
// "objectName (role)": every button, box, list, spin box and picture with an empty name.
inline QStringList UnnamedControls(QWidget* root)
{
    QStringList unnamed;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        if (!node) return;
        switch (node->role()) {
            case QAccessible::PushButton:
            case QAccessible::CheckBox:
            case QAccessible::RadioButton:
            case QAccessible::EditableText:
            case QAccessible::List:
            case QAccessible::SpinBox:
            case QAccessible::Graphic:
                if (node->text(QAccessible::Name).trimmed().isEmpty()) {
                    unnamed << QStringLiteral("%1 (%2)")
                                   .arg(node->object() ? node->object()->objectName() : QString())
                                   .arg(node->role());
                }
                break;
            default:
                break;
        }
        // A list's items are named by their data, which may well be empty.
        if (node->role() == QAccessible::List) return;
        for (int i = 0; i < node->childCount(); ++i) walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(root));
    return unnamed;
}

}  // namespace mirvel::test
