// The card's dialogs as the program creates them, run modally for real.
#include "tests/viewer/CardFixture.h"
#include "tests/support/WhenModal.h"
#include "common/gui/Shell.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QWindow>

#ifdef _WIN32
#include "common/os/Win32Api.h"
#endif

namespace viewer::test {
namespace {

using mirvel::test::WhenModal;
using OwnedDialogsTest = CardTest;

// Owned by the card (so no task-bar entry and never behind it), modal, at its design position.
void ExpectOwnedModalAt(QWidget* modal, const TForm1& card, const char* name, QPoint position)
{
    ASSERT_NE(modal, nullptr) << name;
    EXPECT_EQ(modal->objectName(), name);
    EXPECT_EQ(modal->parentWidget(), &card);
    EXPECT_TRUE(modal->isWindow());
    EXPECT_EQ(modal->windowType(), Qt::Dialog);
    EXPECT_EQ(modal->windowHandle()->transientParent(), card.windowHandle());
    EXPECT_TRUE(modal->isModal());
    EXPECT_EQ(modal->pos(), position);
}

TEST_F(OwnedDialogsTest, AboutAndSettingsAreModalDialogsOwnedByTheCardAndEscapeLeavesAboutOpen)
{
    mirvel::gui::QtShell real;
    TForm1 form(real, SettingsPath(), {});
    form.CreateDialogs();
    form.show();

    bool aboutUpAfterEscape = false;
    WhenModal([&](QWidget* modal) {
        ExpectOwnedModalAt(modal, form, "TForm2", QPoint(253, 286));
        if (!modal) return;
        QTest::keyClick(modal, Qt::Key_Escape);
        aboutUpAfterEscape = modal->isVisible();
        modal->findChild<QPushButton*>("Button1")->click();
    });
    Action(form, "About1")->trigger();
    EXPECT_TRUE(aboutUpAfterEscape);

    WhenModal([&](QWidget* modal) {
        ExpectOwnedModalAt(modal, form, "TForm3", QPoint(359, 106));
        if (modal) modal->findChild<QPushButton*>("btnCancel")->click();
    });
    Button(form, "btnCustom")->click();
}

// A settings value in the system's code page (932 for the users), which looks like markup: the
// box shows it as the code page reads it, as it is. A screen reader says what the label shows.
TEST_F(OwnedDialogsTest, TheErrorBoxShowsASettingsValueAsItIs)
{
#ifdef _WIN32
    if (::GetACP() != 932) GTEST_SKIP() << "the system code page is " << ::GetACP() << ", not 932";
#endif
    WriteSettings("[User]\r\nFSize=<b>\x82\x50\x82\x51</b>\r\n");  // "１２" in code page 932
    mirvel::gui::QtShell real;
    QString shown;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        QLabel* text = box->findChild<QLabel*>("qt_msgbox_label");
        ASSERT_NE(text, nullptr);
        shown = QAccessible::queryAccessibleInterface(text)->text(QAccessible::Name);
        box->button(QMessageBox::Ok)->click();
    });
    TForm1 form(real, SettingsPath(), {});
    EXPECT_EQ(shown, QString::fromUtf8("'<b>１２</b>' は整数ではありません."));
}

}  // namespace
}  // namespace viewer::test
