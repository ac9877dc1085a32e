#include "viewer/Unit2.h"

#include "ui_Unit2.h"

namespace viewer {
namespace {

constexpr int DesignLeft = 253;
constexpr int DesignTop = 286;

}  // namespace

TForm2::TForm2(QWidget* parent)
    : AboutBox(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    move(DesignLeft, DesignTop);
}

TForm2::~TForm2() = default;

}  // namespace viewer
