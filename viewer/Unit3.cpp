#include "viewer/Unit3.h"

#include "common/gui/Fonts.h"
#include "viewer/Preferences.h"
#include "ui_Unit3.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>

// The pictures live in a static library; nothing else would pull their resource object in.
static void InitSettingsResources() { Q_INIT_RESOURCE(settings); }

namespace viewer {
namespace {

// uic applies a top-level form's size but not its position.
constexpr int DesignLeft = 359;
constexpr int DesignTop = 106;

void SetBold(QLabel& label, bool bold)
{
    QFont font = label.font();
    font.setBold(bold);
    label.setFont(font);
}

// The value read from a box may be anything typed; the sample stays drawable.
void SetPointSize(QLabel& label, int points)
{
    QFont font = label.font();
    font.setPointSize(UsableFontSize(points));
    label.setFont(font);
}

bool IsClick(QEvent* event, QWidget* widget)
{
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint());
}

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent), ui(new Ui::TForm3)
{
    InitSettingsResources();
    mirvel::gui::RegisterFontSubstitutes();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    move(DesignLeft, DesignTop);

    connect(ui->btnOK, &QPushButton::clicked, this, &TForm3::btnOKClick);
    connect(ui->btnDefault, &QPushButton::clicked, this, &TForm3::btnDefaultClick);
    // toggled rather than clicked: the samples also follow what FormShow and btnDefaultClick set.
    connect(ui->checkFBold, &QCheckBox::toggled, this, &TForm3::checkFBoldClick);
    connect(ui->checkJBold, &QCheckBox::toggled, this, &TForm3::checkJBoldClick);
    connect(ui->SpinEdit1, &QLineEdit::textChanged, this, &TForm3::SpinEdit1Change);
    connect(ui->SpinEdit2, &QLineEdit::textChanged, this, &TForm3::SpinEdit2Change);
    ui->Image3->installEventFilter(this);
    ui->Image4->installEventFilter(this);
    // Of a group of radio buttons only the checked one is a tab stop, as on Windows: Tab into the
    // group reaches the order in force, where Space changes nothing; the arrow keys move between
    // the two. Either button's toggled signal covers both, as checking one unchecks the other.
    const auto tabStopOnChecked = [this] {
        for (QRadioButton* radio : {ui->radioFJ, ui->radioJF})
            radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    connect(ui->radioFJ, &QRadioButton::toggled, this, tabStopOnChecked);
    tabStopOnChecked();
}

TForm3::~TForm3() { delete ui; }

void TForm3::FormShow()
{
    const PreferenceValues& shown = Preferences;
    (shown.Order != "FJ" ? ui->radioJF : ui->radioFJ)->setChecked(true);
    ui->SpinEdit1->SetValue(shown.FSize);
    ui->SpinEdit2->SetValue(shown.JSize);
    ui->checkFBold->setChecked(shown.FBold);
    checkFBoldClick();
    ui->checkJBold->setChecked(shown.JBold);
    checkJBoldClick();
    ui->checkHint->setChecked(shown.ShowHint);
    ui->checkNum->setChecked(shown.ShowNumber);
    // Each opening starts at the first tab stop, whatever had the focus when it last closed.
    ui->btnOK->setFocus(Qt::OtherFocusReason);
}

void TForm3::btnOKClick()
{
    // Enter confirms without leaving a box, so a size typed beyond the range would otherwise
    // get through unclamped.
    ui->SpinEdit1->SetValue(ui->SpinEdit1->Value());
    ui->SpinEdit2->SetValue(ui->SpinEdit2->Value());

    Preferences = {ui->radioFJ->isChecked() ? "FJ" : "JF",
                   ui->SpinEdit1->Value(),
                   ui->checkFBold->isChecked(),
                   ui->SpinEdit2->Value(),
                   ui->checkJBold->isChecked(),
                   ui->checkHint->isChecked(),
                   ui->checkNum->isChecked()};
    accept();
}

void TForm3::btnDefaultClick()
{
    // Whether the counter shows is left as it is.
    const PreferenceValues defaults;
    (defaults.Order != "FJ" ? ui->radioJF : ui->radioFJ)->setChecked(true);
    ui->SpinEdit1->SetValue(defaults.FSize);
    ui->SpinEdit2->SetValue(defaults.JSize);
    ui->checkFBold->setChecked(defaults.FBold);
    ui->checkJBold->setChecked(defaults.JBold);
    ui->checkHint->setChecked(defaults.ShowHint);
}

void TForm3::checkFBoldClick() { SetBold(*ui->lblSampleFrancais, ui->checkFBold->isChecked()); }

void TForm3::checkJBoldClick() { SetBold(*ui->lblSampleJaponais, ui->checkJBold->isChecked()); }

void TForm3::SpinEdit1Change() { SetPointSize(*ui->lblSampleFrancais, ui->SpinEdit1->Value()); }

void TForm3::SpinEdit2Change() { SetPointSize(*ui->lblSampleJaponais, ui->SpinEdit2->Value()); }

void TForm3::Image3Click() { ui->radioJF->setChecked(true); }

void TForm3::Image4Click() { ui->radioFJ->setChecked(true); }

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show is the window system restoring the dialog, not the dialog opening.
    if (!event->spontaneous()) FormShow();
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    // The dialog has no cancel key.
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Image3 && IsClick(event, ui->Image3)) Image3Click();
    if (watched == ui->Image4 && IsClick(event, ui->Image4)) Image4Click();
    return QDialog::eventFilter(watched, event);
}

}  // namespace viewer
