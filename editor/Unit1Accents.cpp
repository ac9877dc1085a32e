// TForm1's accent keys: F2 to F7 released in edF turn the letter before the caret into its
// accented form.
#include "editor/Unit1.h"

#include "editor/AccentTable.h"
#include "common/gui/TextEdge.h"
#include "ui_Unit1.h"

#include <QKeyEvent>

namespace editor {

namespace {

// Function keys by their Windows virtual-key codes, the codes the accent table is written in.
int VirtualKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return KeyF1 + (qtKey - Qt::Key_F1);
    return 0;
}

int CaretOf(const QLineEdit& edit)
{
    return edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
}

}  // namespace

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->edF && event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // A held key converts once, when it is really let go.
        if (!key->isAutoRepeat()) edFKeyUp(watched, VirtualKeyCode(key->key()), key->modifiers());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::edFKeyUp(QObject* /*sender*/, int key, Qt::KeyboardModifiers /*shift*/)
{
    Run([this, key] {
        if (!IsAccentKey(key)) return;
        const QString previous = GetPrevChar();
        if (previous.isEmpty()) return;
        if (const auto accented = AccentedLetter(key, previous[0].unicode()))
            ReplacePrevChar(mirvel::gui::FromFrancais(std::string(1, static_cast<char>(*accented))));
    });
}

QString TForm1::GetPrevChar()
{
    const int caret = CaretOf(*ui->edF);
    const QString previous = caret > 0 ? ui->edF->text().mid(caret - 1, 1) : QString();
    ui->edF->setCursorPosition(caret);
    return previous;
}

void TForm1::ReplacePrevChar(const QString& replacement)
{
    const int caret = CaretOf(*ui->edF);
    const QString text = ui->edF->text();
    const int from = caret > 0 ? caret - 1 : 0;
    // setText leaves no undo step behind, so Ctrl+Z can't bring the plain letter back.
    ui->edF->setText(text.left(from) + replacement + text.mid(caret));
    ui->edF->setCursorPosition(caret);
}

}  // namespace editor
