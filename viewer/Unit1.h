#pragma once

#include "viewer/Navigation.h"
#include "viewer/Preferences.h"
#include "viewer/Snapping.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

class QAction;
class QDialog;
class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class QPushButton;

namespace mirvel::gui {
class Shell;
}

namespace viewer {

// Generated from Unit1.ui in this namespace: the editor has forms of the same names.
namespace Ui {
class TForm1;
}

class TForm3;

// The card: one word pair at a time, the question side first. Creating it runs FormCreate
// (placement, preferences, the command-line file); closing it runs FormClose.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // `args` are the command-line arguments after the program's own name.
    TForm1(mirvel::gui::Shell& shell, QString settingsPath, QStringList args, QWidget* parent = nullptr);
    ~TForm1() override;

    // The About box and the settings dialog are created after the card window.
    void SetDialogs(QDialog* form2, TForm3* form3);
    // Creates both, owned by the card: they add no task-bar entry and can't fall behind it.
    void CreateDialogs();

    const Navigation& Cards() const { return cards_; }

    // The word list last chosen, from the command line or the Open dialog.
    QString FileName;

    void LoadWordFile();
    void ApplyOrder();
    void UpdateFJButton();

public slots:
    void btnOpenClick();
    void btnPrevClick();
    void btnNextClick();
    void btnFJClick();
    void btnCustomClick();
    void btnExitClick();
    void About1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QStringList& args);
    void FormClose();
    void ShowCard();
    bool WordLabelMouse(QObject* label, QEvent* event);
    bool ButtonKeyPress(QObject* watched, QKeyEvent* event);
    void lblFrancaisMouseDown(QMouseEvent* event);
    void lblJaponaisMouseDown(QMouseEvent* event);
    void StartDrag(QMouseEvent* event);
    void DragTo(const QPoint& pointer);
    // Every step of a drag goes through here, where the window snaps to nearby edges.
    TRect MoveStep(const TRect& proposed);
    void FocusNeighbour(QWidget* from, int step);

    void SetFrancaisFont(int points, bool bold);
    void SetJaponaisFont(int points, bool bold);
    void SetShowHints(bool show);
    // The preferences as the card shows them, and the card made to show them.
    PreferenceValues Preferences() const;
    void ApplyPreferences(const PreferenceValues& preferences);

    mirvel::gui::Shell& shell_;
    QString settingsPath_;
    std::unique_ptr<Ui::TForm1> ui;
    QMenu* PopupMenu1;
    QAction* N4;
    std::array<QImage, 2> ImageList1;
    std::array<QPushButton*, 6> buttonsInTabOrder_{};
    QDialog* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    bool showHints_ = PreferenceValues().ShowHint;

    Navigation cards_;
    QString openDialogFolder_;
    QString openDialogFile_;

    bool dragging_ = false;
    QPoint lastPointer_;
    TRect appliedRect_{};
    TMoveSnapper snapper_;
};

}  // namespace viewer
