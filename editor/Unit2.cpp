#include "editor/Unit2.h"

#include "ui_Unit2.h"

#include <QKeyEvent>

namespace editor {

TForm2::TForm2(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // uic applies only the size of a top-level form; its declared position is placed here.
    move(261, 239);
}

TForm2::~TForm2() = default;

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // No cancel button, so no cancel key; accepted so that the owner doesn't get it either.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace editor
