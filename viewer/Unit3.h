#pragma once

#include "viewer/Preferences.h"

#include <QDialog>
#include <QString>

namespace viewer {

// Generated from Unit3.ui in this namespace: the editor has forms of the same names.
namespace Ui {
class TForm3;
}

// The settings dialog. The card window fills the exchange values, runs the dialog and takes them
// back only when it ends with OK; Cancel and the close box leave them as they were.
class TForm3 : public QDialog {
    Q_OBJECT

public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // The exchange values. Order may come in as any string; OK always leaves "FJ" or "JF".
    PreferenceValues Preferences;

    // Puts the exchange values into the controls; runs each time the dialog is shown.
    void FormShow();

    // Public so that tests can drive the controls.
    Ui::TForm3* ui;

public slots:
    void btnOKClick();
    void btnDefaultClick();
    void checkFBoldClick();
    void checkJBoldClick();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void Image3Click();
    void Image4Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace viewer
