#include "viewer/Unit1.h"

#include "viewer/ButtonHint.h"
#include "common/gui/Fonts.h"
#include "viewer/Glyph.h"
#include "viewer/Preferences.h"
#include "viewer/SnapGlue.h"
#include "viewer/Unit2.h"
#include "viewer/Unit3.h"
#include "ui_Unit1.h"

#include "common/IniFile.h"
#include "common/Placement.h"
#include "common/WordFile.h"
#include "common/gui/Guard.h"
#include "common/gui/Shell.h"
#include "common/gui/TextEdge.h"
#include "common/gui/WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

// Resources of a static library must be pulled in by name, from outside any namespace.
static void InitViewerResources() { Q_INIT_RESOURCE(viewer); }

namespace viewer {
namespace {

// Where the card appears when placement fails before moving it.
constexpr int DesignLeft = 189;
constexpr int DesignTop = 105;

const QString OpenFilter = QStringLiteral("Mirvel files (*.mirvel)|*.mirvel");

using mirvel::gui::Guarded;

}  // namespace

TForm1::TForm1(mirvel::gui::Shell& shell, QString settingsPath, QStringList args, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      shell_(shell),
      settingsPath_(std::move(settingsPath)),
      ui(std::make_unique<Ui::TForm1>())
{
    InitViewerResources();
    mirvel::gui::RegisterFontSubstitutes();
    ui->setupUi(this);
    move(DesignLeft, DesignTop);
    // Qt shows hints for the active window alone; the card spends most of its time inactive.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addActions({ui->Open1, ui->menuF, ui->menuJ, ui->N3, ui->Next1, ui->menuCustom});
    N4 = PopupMenu1->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    PopupMenu1->addAction(ui->About1);
    for (QLabel* label : {ui->lblFrancais, ui->lblJaponais, ui->lblDataNum}) {
        connect(label, &QWidget::customContextMenuRequested, this,
                [this, label](const QPoint& pos) { PopupMenu1->popup(label->mapToGlobal(pos)); });
    }
    ui->lblFrancais->installEventFilter(this);
    ui->lblJaponais->installEventFilter(this);

    buttonsInTabOrder_ = {ui->btnOpen, ui->btnFJ, ui->btnPrev, ui->btnNext, ui->btnCustom, ui->btnExit};
    for (QPushButton* button : buttonsInTabOrder_) button->installEventFilter(this);

    ImageList1 = {QImage(QStringLiteral(":/viewer/flag_fr.xpm")),
                  QImage(QStringLiteral(":/viewer/flag_ja.xpm"))};
    ui->btnOpen->setFocus();

    FormCreate(args);
}

TForm1::~TForm1() = default;

void TForm1::SetDialogs(QDialog* form2, TForm3* form3)
{
    form2_ = form2;
    form3_ = form3;
}

void TForm1::CreateDialogs() { SetDialogs(new TForm2(this), new TForm3(this)); }

void TForm1::FormCreate(const QStringList& args)
{
    Guarded(shell_, this, [&] {
        cards_ = Navigation();
        openDialogFolder_ = mirvel::gui::ExecutableFolder();

        int left = 0;
        int top = 0;
        {
            const mirvel::TIniFile ini(mirvel::gui::ToUtf8(settingsPath_));
            const QSize screen = mirvel::gui::PrimaryScreenSize();
            const QSize outer = mirvel::gui::OuterSize(*this);
            left = mirvel::ReadFormLeft(ini, screen.width(), outer.width());
            top = mirvel::ReadFormTop(ini, screen.height(), outer.height());
            // A value that fails to convert has its error box; those read before it still apply.
            PreferenceValues preferences = Preferences();
            try {
                ReadPreferences(ini, preferences);
            } catch (...) {
                ApplyPreferences(preferences);
                throw;
            }
            ApplyPreferences(preferences);
        }
        mirvel::gui::MoveOuterTop(*this, top);
        mirvel::gui::MoveOuterLeft(*this, left);
        // The card has no caption and no menu to move it by: a position off every screen (a
        // monitor since removed, a damaged file) would lose it for good.
        if (!mirvel::gui::GripReachable(mirvel::gui::OuterPosition(*this), ui->lblFrancais->geometry()))
            move(mirvel::gui::CentredPosition(mirvel::gui::OuterSize(*this)));

        // No existence test here: a missing file is reported like any other failed load.
        if (!args.isEmpty()) {
            FileName = args.first();
            LoadWordFile();
        }
        ApplyOrder();
        UpdateFJButton();
    });
}

void TForm1::FormClose()
{
    Guarded(shell_, this, [&] {
        mirvel::TIniFile ini(mirvel::gui::ToUtf8(settingsPath_));
        const QPoint position = mirvel::gui::OuterPosition(*this);
        mirvel::WriteFormPosition(ini, position.x(), position.y());
        WritePreferences(ini, Preferences());
    });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Settings that can't be written have been reported; the card still closes.
    FormClose();
    event->accept();
}

void TForm1::LoadWordFile()
{
    // Read into a new list first: a load that fails part-way leaves the card as it was.
    mirvel::WordList words = mirvel::ReadWordFile(mirvel::gui::ToUtf8(FileName));
    cards_.SwapIn(std::move(words));
    ShowCard();
    ApplyOrder();
    UpdateFJButton();
}

void TForm1::ShowCard()
{
    ui->lblFrancais->setText(mirvel::gui::FromFrancais(cards_.FrancaisText()));
    ui->lblJaponais->setText(mirvel::gui::FromJaponais(cards_.JaponaisText()));
    ui->lblDataNum->setText(QString::fromStdString(cards_.CounterText()));
}

void TForm1::ApplyOrder()
{
    cards_.ApplyOrder();
    ui->lblJaponais->setVisible(cards_.JaponaisVisible());
}

void TForm1::UpdateFJButton()
{
    ui->btnFJ->setIcon(QIcon(GlyphOnWhite(ImageList1[static_cast<std::size_t>(cards_.RevealImageIndex())])));
    SetHint(*ui->btnFJ, mirvel::gui::FromUtf8(cards_.RevealHint()));
    ui->menuF->setEnabled(cards_.MenuFEnabled());
    ui->menuJ->setEnabled(cards_.MenuJEnabled());
}

void TForm1::btnOpenClick()
{
    Guarded(shell_, this, [&] {
        mirvel::gui::FileDialogOptions options;
        options.filter = OpenFilter;
        options.initialFolder = openDialogFolder_;
        options.proposedFile = openDialogFile_;
        const std::optional<QString> chosen = shell_.GetOpenFileName(this, options);
        if (!chosen) return;
        openDialogFile_ = *chosen;
        FileName = *chosen;
        if (mirvel::FileExists(mirvel::gui::ToUtf8(FileName))) LoadWordFile();
    });
}

void TForm1::btnPrevClick()
{
    Guarded(shell_, this, [&] {
        if (!cards_.Prev()) return;
        ShowCard();
        ApplyOrder();
        UpdateFJButton();
    });
}

void TForm1::btnNextClick()
{
    Guarded(shell_, this, [&] {
        if (!cards_.Next()) return;
        ShowCard();
        ApplyOrder();
        UpdateFJButton();
    });
}

void TForm1::btnFJClick()
{
    Guarded(shell_, this, [&] {
        cards_.ToggleReveal();
        ui->lblJaponais->setVisible(cards_.JaponaisVisible());
        UpdateFJButton();
    });
}

void TForm1::btnCustomClick()
{
    Guarded(shell_, this, [&] {
        if (!form3_) return;
        form3_->Preferences = Preferences();
        if (shell_.ExecModal(*form3_) != QDialog::Accepted) return;
        // The new order shows from the next card change or load on.
        ApplyPreferences(form3_->Preferences);
    });
}

void TForm1::btnExitClick()
{
    Guarded(shell_, this, [&] { close(); });
}

void TForm1::About1Click()
{
    Guarded(shell_, this, [&] {
        if (form2_) shell_.ExecModal(*form2_);
    });
}

void TForm1::SetFrancaisFont(int points, bool bold)
{
    QFont font = ui->lblFrancais->font();
    font.setPointSize(points);
    font.setBold(bold);
    ui->lblFrancais->setFont(font);
}

void TForm1::SetJaponaisFont(int points, bool bold)
{
    QFont font = ui->lblJaponais->font();
    font.setPointSize(points);
    font.setBold(bold);
    ui->lblJaponais->setFont(font);
}

void TForm1::SetShowHints(bool show)
{
    showHints_ = show;
    for (QPushButton* button : buttonsInTabOrder_) SetShowHint(*button, show);
}

PreferenceValues TForm1::Preferences() const
{
    const QFont francais = ui->lblFrancais->font();
    const QFont japonais = ui->lblJaponais->font();
    return {
        cards_.Order(), francais.pointSize(),       francais.bold(), japonais.pointSize(), japonais.bold(),
        showHints_,     !ui->lblDataNum->isHidden()};
}

void TForm1::ApplyPreferences(const PreferenceValues& preferences)
{
    cards_.SetOrder(preferences.Order);
    SetFrancaisFont(UsableFontSize(preferences.FSize), preferences.FBold);
    SetJaponaisFont(UsableFontSize(preferences.JSize), preferences.JBold);
    SetShowHints(preferences.ShowHint);
    ui->lblDataNum->setVisible(preferences.ShowNumber);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->lblFrancais || watched == ui->lblJaponais) {
        if (WordLabelMouse(watched, event)) return true;
    } else if (event->type() == QEvent::KeyPress) {
        if (ButtonKeyPress(watched, static_cast<QKeyEvent*>(event))) return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::WordLabelMouse(QObject* label, QEvent* event)
{
    // Every event of the labels passes here; only mouse events may be taken for one.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
        // Qt reports the second press of a double-click as a double-click; it drags all the same.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (label == ui->lblFrancais)
                lblFrancaisMouseDown(mouse);
            else
                lblJaponaisMouseDown(mouse);
            return false;
        case QEvent::MouseMove:
            if (!dragging_) return false;
            if (mouse->buttons() & Qt::LeftButton)
                DragTo(mouse->globalPosition().toPoint());
            else
                dragging_ = false;
            return true;
        case QEvent::MouseButtonRelease:
            if (mouse->button() == Qt::LeftButton) dragging_ = false;
            return false;
        default:
            return false;
    }
}

bool TForm1::ButtonKeyPress(QObject* watched, QKeyEvent* event)
{
    const auto found = std::find(buttonsInTabOrder_.begin(), buttonsInTabOrder_.end(), watched);
    if (found == buttonsInTabOrder_.end()) return false;
    QPushButton* button = *found;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            FocusNeighbour(button, -1);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            FocusNeighbour(button, +1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Space is the button's own key; Enter presses it as well, as a Windows button does.
            button->click();
            return true;
        default:
            return false;
    }
}

void TForm1::FocusNeighbour(QWidget* from, int step)
{
    const auto count = static_cast<int>(buttonsInTabOrder_.size());
    const auto at = static_cast<int>(std::find(buttonsInTabOrder_.begin(), buttonsInTabOrder_.end(), from) -
                                     buttonsInTabOrder_.begin());
    buttonsInTabOrder_[static_cast<std::size_t>((at + step + count) % count)]->setFocus(Qt::TabFocusReason);
}

void TForm1::lblFrancaisMouseDown(QMouseEvent* event)
{
    Guarded(shell_, this, [&] { StartDrag(event); });
}

void TForm1::lblJaponaisMouseDown(QMouseEvent* event)
{
    Guarded(shell_, this, [&] { StartDrag(event); });
}

void TForm1::StartDrag(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QRect frame = frameGeometry();
    appliedRect_ = {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    lastPointer_ = event->globalPosition().toPoint();
    dragging_ = true;
}

void TForm1::DragTo(const QPoint& pointer)
{
    Guarded(shell_, this, [&] {
        const QPoint moved = pointer - lastPointer_;
        lastPointer_ = pointer;
        const TRect proposed{appliedRect_.Left + moved.x(), appliedRect_.Top + moved.y(),
                             appliedRect_.Right + moved.x(), appliedRect_.Bottom + moved.y()};
        appliedRect_ = MoveStep(proposed);
        move(appliedRect_.Left, appliedRect_.Top);
    });
}

TRect TForm1::MoveStep(const TRect& proposed)
{
    return snapper_.WMMoving(proposed, SnapEnvironmentFor(shell_, this));
}

}  // namespace viewer
