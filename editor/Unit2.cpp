#include "editor/Unit2.h"

#include "ui_Unit2.h"

namespace editor {

TForm2::TForm2(QWidget* parent)
    : AboutBox(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    // uic applies only the size of a top-level form; its declared position is placed here.
    move(261, 239);
}

TForm2::~TForm2() = default;

}  // namespace editor
