// The card's dialogs as the program creates them, run modally for real.
#include "tests/viewer/CardFixture.h"
#include "tests/support/WhenModal.h"
#include "common/gui/Shell.h"

#include <QTest>
#include <QWindow>

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

}  // namespace
}  // namespace viewer::test
