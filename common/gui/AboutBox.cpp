#include "common/gui/AboutBox.h"

#include <QKeyEvent>

namespace mirvel::gui {

AboutBox::AboutBox(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void AboutBox::keyPressEvent(QKeyEvent* event)
{
    // Accepted, so that the owner doesn't get it either.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace mirvel::gui
