// TForm1's File menu and closing: New, Open, Save, Save As and the question before unsaved
// changes are dropped.
#include "editor/Unit1.h"

#include "common/IniFile.h"
#include "common/Placement.h"
#include "common/WordFile.h"
#include "common/gui/TextEdge.h"
#include "common/gui/WindowPlacement.h"
#include "ui_Unit1.h"

#include <QCloseEvent>

namespace editor {

using mirvel::gui::ToUtf8;

bool TForm1::AskToSave()
{
    if (!document_.Modified()) return true;
    if (!shell_.AskYesNo(this, QStringLiteral("確認"), QStringLiteral("変更を保存しますか？"))) return true;
    // Having answered Yes, the user keeps the changes: a cancelled Save As stops the command
    // that asked, as a failing save does by its error.
    return SaveDocument();
}

bool TForm1::SaveDocument()
{
    if (document_.Untitled()) return SaveDocumentAs();
    document_.Save();
    return true;
}

bool TForm1::SaveDocumentAs()
{
    const auto chosen = shell_.GetSaveFileName(this, SaveDialog1);
    if (!chosen) return false;
    SaveDialog1.proposedFile = *chosen;
    document_.SaveAs(ToUtf8(*chosen));
    ShowFileName();
    return true;
}

void TForm1::New1Click()
{
    Run([this] {
        if (!AskToSave()) return;
        myStateClear();
    });
}

void TForm1::Open1Click()
{
    Run([this] {
        if (!AskToSave()) return;
        const auto chosen = shell_.GetOpenFileName(this, OpenDialog1);
        if (!chosen) return;
        OpenDialog1.proposedFile = *chosen;
        const std::string path = ToUtf8(*chosen);
        if (!mirvel::FileExists(path)) return;
        document_.Open(path);
        ShowCurrent();
        ShowFileName();
        SelectItem(0);
        ShowCounter();
    });
}

void TForm1::Save1Click()
{
    Run([this] { SaveDocument(); });
}

void TForm1::SaveAs1Click()
{
    Run([this] { SaveDocumentAs(); });
}

void TForm1::closeEvent(QCloseEvent* event) { FormClose(event); }

void TForm1::FormClose(QCloseEvent* event)
{
    bool goOn = false;
    if (!Run([&] { goOn = AskToSave(); }) || !goOn) {
        event->ignore();
        return;
    }
    // A settings file that can't be written has its error box, but never keeps the program
    // from ending.
    Run([this] {
        mirvel::TIniFile ini(ToUtf8(settingsPath_));
        const QPoint position = mirvel::gui::OuterPosition(*this);
        mirvel::WriteFormPosition(ini, position.x(), position.y());
    });
    event->accept();
}

}  // namespace editor
