#include "common/gui/Shell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `open`, which shows a modal message box through the real shell, and while the box is up
// reads its buttons' texts and clicks the one whose text is `answer`. The box can't block: when
// no such button exists, the box is closed all the same.
QStringList ButtonsOfBox(const std::function<void()>& open, const QString& answer)
{
    QStringList texts;
    std::function<void()> look = [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, look);
            return;
        }
        QAbstractButton* chosen = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            texts << button->text();
            if (button->text() == answer) chosen = button;
        }
        if (chosen)
            chosen->click();
        else
            box->done(0);
    };
    QTimer::singleShot(0, look);
    open();
    return texts;
}

// The prompt and the error box use Qt's own button texts; the programs' catalogue makes them
// Japanese whatever the locale (CTest also runs these with LANG=C).
TEST(QtTexts, PromptAndErrorBoxButtonsAreJapanese)
{
    mirvel::gui::QtShell shell;
    bool yes = true;
    const QStringList prompt = ButtonsOfBox(
        [&] { yes = shell.AskYesNo(nullptr, "Mirveledit", "保存しますか?"); }, QStringLiteral("いいえ(&N)"));
    EXPECT_EQ(prompt, QStringList({QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
    EXPECT_FALSE(yes) << "the No button answers No";

    const QStringList error = ButtonsOfBox([&] { shell.ShowError(nullptr, "エラー"); }, "OK");
    EXPECT_EQ(error, QStringList({"OK"}));
}

}  // namespace
