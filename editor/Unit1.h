#pragma once

#include "editor/Document.h"
#include "common/gui/Shell.h"

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

namespace editor {

// Generated from Unit1.ui in this namespace: the viewer has forms of the same names.
namespace Ui {
class TForm1;
}

class CodePageValidator;
class InputMethodSwitch;
class TForm2;
class WordListModel;

// The editor's main window: the list of French words on the left, the current pair on the
// right, the File and Help menus. Every handler body runs inside the error guard.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `settingsPath` is the settings file beside the executable (tests pass their own).
    TForm1(mirvel::gui::Shell& shell, QString settingsPath, QWidget* parent = nullptr);
    ~TForm1() override;

    void SetAboutBox(TForm2* form) { aboutBox_ = form; }
    // In place of the platform's input-method switch (tests record the calls).
    void SetInputMethodSwitch(InputMethodSwitch& ime) { ime_ = &ime; }
    // Creates the About box, owned by the main window: no task-bar entry of its own, never
    // behind the main window.
    void CreateAboutBox();
    const Document& Doc() const { return document_; }

    void FormCreate();
    void myStateClear();

    void edFKeyUp(QObject* sender, int key, Qt::KeyboardModifiers shift);
    QString GetPrevChar();
    void ReplacePrevChar(const QString& replacement);

    // The dialogs as they will be shown next (initial folder, filter, proposal).
    const mirvel::gui::FileDialogOptions& OpenDialog() const { return OpenDialog1; }
    const mirvel::gui::FileDialogOptions& SaveDialog() const { return SaveDialog1; }

public slots:
    void ListBox1Click();
    void btnPrevClick();
    void btnNextClick();
    void btnRenewClick();
    void btnAddClick();
    void btnDeleteClick();
    void btnUpClick();
    void btnDownClick();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void About1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectHandlers();
    void SwitchInputMethod(QWidget* focused);
    void PlaceByFrame();
    void FormClose(QCloseEvent* event);
    bool Run(const std::function<void()>& body);

    // Each returns false when the user cancelled, so that a command waiting on it stops.
    bool AskToSave();
    bool SaveDocument();
    bool SaveDocumentAs();

    void ShowCurrent();
    void ShowCounter();
    void ShowFileName();
    void SelectItem(std::int32_t index);

    std::unique_ptr<Ui::TForm1> ui;
    mirvel::gui::Shell& shell_;
    QString settingsPath_;
    Document document_;
    WordListModel* model_;
    CodePageValidator* validatorF_;
    CodePageValidator* validatorJ_;
    QMetaObject::Connection focusWatch_;
    TForm2* aboutBox_ = nullptr;
    std::unique_ptr<InputMethodSwitch> platformIme_;
    InputMethodSwitch* ime_;
    bool commandSelects_ = false;
    // Left or top edge centred at create time, before the frame was known.
    bool centredLeft_ = false;
    bool centredTop_ = false;
    bool placedByFrame_ = false;  // a command, not the user, is moving the list's selection
    mirvel::gui::FileDialogOptions OpenDialog1;
    mirvel::gui::FileDialogOptions SaveDialog1;
};

}  // namespace editor
