#include "viewer/Unit2.h"

#include "ui_Unit2.h"

#include <QKeyEvent>

namespace viewer {
namespace {

constexpr int DesignLeft = 253;
constexpr int DesignTop = 286;

}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    move(DesignLeft, DesignTop);
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

}  // namespace viewer
