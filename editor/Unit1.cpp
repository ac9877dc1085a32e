#include "editor/Unit1.h"

#include "editor/AccentTable.h"
#include "editor/BoxBytes.h"
#include "editor/CodePageValidator.h"
#include "common/IniFile.h"
#include "editor/InputMethodSwitch.h"
#include "common/Placement.h"
#include "editor/Unit2.h"
#include "editor/WordListModel.h"
#include "common/gui/Guard.h"
#include "common/gui/TextEdge.h"
#include "common/gui/WindowPlacement.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QLayout>
#include <QShowEvent>
#include <algorithm>

// The pictures live in this static library, whose resources are not registered on their own.
static void InitEditorResources() { Q_INIT_RESOURCE(editor); }

namespace editor {

using mirvel::gui::FromFrancais;
using mirvel::gui::FromJaponais;
using mirvel::gui::ToUtf8;

TForm1::TForm1(mirvel::gui::Shell& shell, QString settingsPath, QWidget* parent)
    : QMainWindow(parent),
      ui(std::make_unique<Ui::TForm1>()),
      shell_(shell),
      settingsPath_(std::move(settingsPath)),
      platformIme_(PlatformInputMethodSwitch()),
      ime_(platformIme_.get())
{
    InitEditorResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The client area is fixed; the window is whatever that plus the menu bar needs.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->ClientArea->setBackgroundRole(QPalette::Button);

    model_ = new WordListModel(document_, this);
    document_.SetObserver(model_);
    ui->ListBox1->setModel(model_);

    validatorF_ = new CodePageValidator(*ui->edF, mirvel::CodePage::Windows1252, mirvel::MaxFrancaisBytes);
    validatorJ_ = new CodePageValidator(*ui->edJ, mirvel::CodePage::ShiftJis, mirvel::MaxJaponaisBytes);
    ui->edF->setValidator(validatorF_);
    ui->edJ->setValidator(validatorJ_);
    // Japanese conversion stays off in the French box and is on in the Japanese one: allowed
    // or refused here, switched as each box gets the focus.
    ui->edF->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->edJ->setAttribute(Qt::WA_InputMethodEnabled, true);
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* focused) { SwitchInputMethod(focused); });
    ui->edF->installEventFilter(this);
    ui->edF->setFocus();

    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1()
{
    // The children's destruction moves the focus, after this form has stopped being a TForm1.
    disconnect(focusWatch_);
    document_.SetObserver(nullptr);
}

void TForm1::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && !placedByFrame_) {
        placedByFrame_ = true;
        PlaceByFrame();
    }
    QMainWindow::showEvent(event);
}

void TForm1::PlaceByFrame()
{
    // The window system tells the frame only once the window exists: on Windows before the
    // window is on the screen, so this is still before it appears; on X11 not before the window
    // manager has framed it, which counts as no frame here. An edge centred at create time is
    // centred again by the real outer size, and a window whose caption would be off every
    // screen (a monitor since removed, a damaged file) comes back centred.
    const QMargins frame = mirvel::gui::KnownFrame(*this);
    const QSize outer = size().grownBy(frame);
    QPoint position = mirvel::gui::OuterPosition(*this);
    const QRect caption(0, 0, outer.width(), std::max(frame.top(), mirvel::GripSize));
    if (!mirvel::gui::GripReachable(position, caption)) centredLeft_ = centredTop_ = true;
    const QPoint centred = mirvel::gui::CentredPosition(outer);
    if (centredLeft_) position.setX(centred.x());
    if (centredTop_) position.setY(centred.y());
    move(position);
}

void TForm1::SwitchInputMethod(QWidget* focused)
{
    if (focused == ui->edJ)
        ime_->SetOpen(*ui->edJ, true);
    else if (focused == ui->edF)
        ime_->SetOpen(*ui->edF, false);
}

void TForm1::ConnectHandlers()
{
    connect(ui->ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (!commandSelects_ && !selected.isEmpty()) ListBox1Click();
            });
    connect(ui->btnPrev, &QPushButton::clicked, this, &TForm1::btnPrevClick);
    connect(ui->btnNext, &QPushButton::clicked, this, &TForm1::btnNextClick);
    connect(ui->btnRenew, &QPushButton::clicked, this, &TForm1::btnRenewClick);
    connect(ui->btnAdd, &QPushButton::clicked, this, &TForm1::btnAddClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &TForm1::btnDeleteClick);
    connect(ui->btnUp, &QPushButton::clicked, this, &TForm1::btnUpClick);
    connect(ui->btnDown, &QPushButton::clicked, this, &TForm1::btnDownClick);
    connect(ui->New1, &QAction::triggered, this, &TForm1::New1Click);
    connect(ui->Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(ui->Save1, &QAction::triggered, this, &TForm1::Save1Click);
    connect(ui->SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
    connect(ui->Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(ui->About1, &QAction::triggered, this, &TForm1::About1Click);
}

bool TForm1::Run(const std::function<void()>& body)
{
    // While a handler runs, every change of the list's selection is the handler's own.
    const bool outer = commandSelects_;
    commandSelects_ = true;
    const bool completed = mirvel::gui::Guarded(shell_, this, body);
    commandSelects_ = outer;
    return completed;
}

void TForm1::FormCreate()
{
    Run([this] {
        mirvel::TIniFile ini(ToUtf8(settingsPath_));
        const QSize screen = mirvel::gui::PrimaryScreenSize();
        const QSize outer = mirvel::gui::OuterSize(*this);
        mirvel::gui::MoveOuterLeft(*this, mirvel::ReadFormLeft(ini, screen.width(), outer.width()));
        centredLeft_ = !mirvel::HasFormValue(ini, "Left");
        mirvel::gui::MoveOuterTop(*this, mirvel::ReadFormTop(ini, screen.height(), outer.height()));
        centredTop_ = !mirvel::HasFormValue(ini, "Top");
    });
    // A damaged settings file has had its error box; the window still comes up complete.
    Run([this] {
        myStateClear();
        OpenDialog1.filter = QStringLiteral("Mirvel files (*.mirvel)|*.mirvel");
        OpenDialog1.defaultExtension = QStringLiteral("mirvel");
        SaveDialog1.filter = QStringLiteral("Mirvel Files(*.mirvel)|*.MIRVEL");
        SaveDialog1.defaultExtension = QStringLiteral("mirvel");
        OpenDialog1.initialFolder = mirvel::gui::ExecutableFolder();
        SaveDialog1.initialFolder = mirvel::gui::ExecutableFolder();
        QLabel* const helpLabels[] = {ui->lblF2, ui->lblF3, ui->lblF4, ui->lblF5, ui->lblF6, ui->lblF7};
        for (int offset = 0; offset < 6; ++offset) {
            helpLabels[offset]->setText(FromFrancais(AccentHelpText(offset)));
            helpLabels[offset]->adjustSize();
        }
    });
}

void TForm1::myStateClear()
{
    OpenDialog1.proposedFile.clear();
    SaveDialog1.proposedFile.clear();
    document_.Clear();
    validatorF_->SetText(QString());
    validatorJ_->SetText(QString());
    SelectItem(0);
    ShowCounter();
    ShowFileName();
}

void TForm1::ShowCurrent()
{
    const auto& record = document_.Current();
    validatorF_->SetText(FromFrancais(record.FrancaisBytes()));
    validatorJ_->SetText(FromJaponais(record.JaponaisBytes()));
}

void TForm1::ShowCounter()
{
    ui->lblIndex->setText(QString::number(document_.WordIndex() + 1) + QLatin1Char('/') +
                          QString::number(document_.WordCount()));
}

void TForm1::ShowFileName() { ui->lblFileName->setText(mirvel::gui::FromUtf8(document_.ShownName())); }

void TForm1::SelectItem(std::int32_t index)
{
    const QModelIndex item = model_->index(index);
    ui->ListBox1->selectionModel()->setCurrentIndex(item, QItemSelectionModel::ClearAndSelect);
    ui->ListBox1->scrollTo(item);
}

void TForm1::ListBox1Click()
{
    Run([this] {
        const QModelIndexList selected = ui->ListBox1->selectionModel()->selectedIndexes();
        if (selected.isEmpty()) return;
        document_.Select(selected.first().row());
        ShowCurrent();
        ShowCounter();
    });
}

void TForm1::btnPrevClick()
{
    Run([this] {
        if (!document_.Prev()) return;
        SelectItem(document_.WordIndex());
        ShowCurrent();
        ShowCounter();
    });
}

void TForm1::btnNextClick()
{
    Run([this] {
        if (!document_.Next()) return;
        SelectItem(document_.WordIndex());
        ShowCurrent();
        ShowCounter();
    });
}

void TForm1::btnRenewClick()
{
    Run([this] {
        const auto& record = document_.Current();
        document_.Renew(
            BoxBytes(mirvel::CodePage::Windows1252, ToUtf8(ui->edF->text()), record.FrancaisBytes()),
            BoxBytes(mirvel::CodePage::ShiftJis, ToUtf8(ui->edJ->text()), record.JaponaisBytes()));
    });
}

void TForm1::btnAddClick()
{
    Run([this] {
        document_.Add();
        validatorF_->SetText(QString());
        validatorJ_->SetText(QString());
        SelectItem(document_.WordIndex());
        ShowCounter();
    });
}

void TForm1::btnDeleteClick()
{
    Run([this] {
        document_.Delete();
        SelectItem(document_.WordIndex());
        ShowCounter();
        ShowCurrent();
    });
}

void TForm1::btnUpClick()
{
    Run([this] {
        if (!document_.Up()) return;
        SelectItem(document_.WordIndex());
        ShowCounter();
    });
}

void TForm1::btnDownClick()
{
    Run([this] {
        if (!document_.Down()) return;
        SelectItem(document_.WordIndex());
        ShowCounter();
    });
}

void TForm1::Exit1Click() { close(); }

void TForm1::CreateAboutBox() { aboutBox_ = new TForm2(this); }

void TForm1::About1Click()
{
    Run([this] {
        if (aboutBox_) shell_.ExecModal(*aboutBox_);
    });
}

}  // namespace editor
