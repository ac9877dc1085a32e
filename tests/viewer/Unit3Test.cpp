#include "viewer/Unit3.h"

#include "viewer/SpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace viewer {
namespace {

class Unit3Test : public ::testing::Test {
protected:
    // The dialog as the card window hands it over, shown without a modal loop.
    void Open()
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    template <typename T = QWidget>
    T* Control(const char* name) const
    {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(nullptr, control) << name;
        return control;
    }
    TSpinEdit* Spin(const char* name) const { return Control<TSpinEdit>(name); }
    QAbstractButton* Button(const char* name) const { return Control<QAbstractButton>(name); }
    bool Checked(const char* name) const { return Button(name)->isChecked(); }
    QFont Sample(const char* name) const { return Control<QLabel>(name)->font(); }

    void SetOddValues()
    {
        form.Preferences.Order = "jf";
        form.Preferences.FSize = 12;
        form.Preferences.JSize = 14;
        form.Preferences.FBold = false;
        form.Preferences.JBold = true;
        form.Preferences.ShowHint = false;
        form.Preferences.ShowNumber = false;
    }

    void ExpectOddValues(const char* order)
    {
        EXPECT_EQ(order, form.Preferences.Order);
        EXPECT_EQ(12, form.Preferences.FSize);
        EXPECT_EQ(14, form.Preferences.JSize);
        EXPECT_FALSE(form.Preferences.FBold);
        EXPECT_TRUE(form.Preferences.JBold);
        EXPECT_FALSE(form.Preferences.ShowHint);
        EXPECT_FALSE(form.Preferences.ShowNumber);
    }

    void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }

    TForm3 form;
};

TEST_F(Unit3Test, SizesBeyondTheRangeShowClampedAndOkStoresThem)
{
    form.Preferences.FSize = 30;
    form.Preferences.JSize = 2;
    Open();
    EXPECT_EQ("20", Spin("SpinEdit1")->text());
    EXPECT_EQ(20, Sample("lblSampleFrancais").pointSize());
    EXPECT_EQ("5", Spin("SpinEdit2")->text());
    EXPECT_EQ(5, Sample("lblSampleJaponais").pointSize());

    Click("btnOK");
    EXPECT_EQ(QDialog::Accepted, form.result());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(20, form.Preferences.FSize);
    EXPECT_EQ(5, form.Preferences.JSize);
}

TEST_F(Unit3Test, ShowThenOkHandsEveryValueBack)
{
    SetOddValues();
    Open();
    EXPECT_TRUE(Checked("radioJF"));
    EXPECT_FALSE(Sample("lblSampleFrancais").bold());
    EXPECT_TRUE(Sample("lblSampleJaponais").bold());
    EXPECT_EQ(14, Sample("lblSampleJaponais").pointSize());
    Click("btnOK");
    ExpectOddValues("JF");

    // Showing again starts from the exchange values, not from what the controls were left at.
    form.Preferences.Order = "FJ";
    form.Preferences.ShowNumber = true;
    Open();
    EXPECT_TRUE(Checked("radioFJ"));
    EXPECT_TRUE(Checked("checkNum"));
}

TEST_F(Unit3Test, SamplesFollowTheControls)
{
    Open();
    Button("checkJBold")->click();
    EXPECT_TRUE(Sample("lblSampleJaponais").bold());
    Button("checkFBold")->click();
    EXPECT_FALSE(Sample("lblSampleFrancais").bold());

    TSpinEdit* spin = Spin("SpinEdit1");
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_1);
    EXPECT_EQ(1, Sample("lblSampleFrancais").pointSize());
    QTest::keyClick(spin, Qt::Key_5);
    EXPECT_EQ(15, Sample("lblSampleFrancais").pointSize());
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(16, Sample("lblSampleFrancais").pointSize());
}

TEST_F(Unit3Test, EnterInABoxConfirmsTheDialogWithTheSizeClamped)
{
    Open();
    TSpinEdit* spin = Spin("SpinEdit1");
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, "25");
    EXPECT_EQ(25, Sample("lblSampleFrancais").pointSize());
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(QDialog::Accepted, form.result());
    EXPECT_EQ(20, form.Preferences.FSize);
}

TEST_F(Unit3Test, DefaultSetsTheStandardValuesButLeavesTheCounter)
{
    SetOddValues();
    Open();
    Click("btnDefault");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(9, Sample("lblSampleFrancais").pointSize());
    EXPECT_TRUE(Sample("lblSampleFrancais").bold());
    EXPECT_FALSE(Sample("lblSampleJaponais").bold());
    Click("btnOK");
    EXPECT_EQ("FJ", form.Preferences.Order);
    EXPECT_EQ(9, form.Preferences.FSize);
    EXPECT_EQ(9, form.Preferences.JSize);
    EXPECT_TRUE(form.Preferences.FBold);
    EXPECT_FALSE(form.Preferences.JBold);
    EXPECT_TRUE(form.Preferences.ShowHint);
    EXPECT_FALSE(form.Preferences.ShowNumber);
}

TEST_F(Unit3Test, CancelAndTheCloseBoxHandNothingBack)
{
    SetOddValues();
    Open();
    Button("radioFJ")->setChecked(true);
    Spin("SpinEdit1")->SetValue(17);
    for (const char* check : {"checkFBold", "checkJBold", "checkHint", "checkNum"}) Button(check)->click();
    Click("btnCancel");
    EXPECT_EQ(QDialog::Rejected, form.result());
    EXPECT_FALSE(form.isVisible());
    ExpectOddValues("jf");

    Open();
    Click("btnDefault");
    form.close();
    EXPECT_EQ(QDialog::Rejected, form.result());
    EXPECT_FALSE(form.isVisible());
    ExpectOddValues("jf");
}

TEST_F(Unit3Test, EscapeDoesNothing)
{
    Open();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    Spin("SpinEdit2")->setFocus();
    QTest::keyClick(Spin("SpinEdit2"), Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
}

// The keys come as the platforms deliver them: Delete with the control character DEL as its text.
TEST_F(Unit3Test, DeleteAndBackspaceEditASizeBox)
{
    Open();
    TSpinEdit* spin = Spin("SpinEdit1");
    spin->SetValue(12);
    spin->setFocus();
    spin->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, spin, Qt::Key_Delete, QChar(0x7F), Qt::NoModifier);
    EXPECT_EQ("2", spin->text());
    spin->setCursorPosition(1);
    QTest::sendKeyEvent(QTest::Click, spin, Qt::Key_Backspace, QChar(0x08), Qt::NoModifier);
    EXPECT_EQ("", spin->text());
    EXPECT_EQ(7, Sample("lblSampleFrancais").pointSize()) << "the empty box reads as the minimum";
}

TEST_F(Unit3Test, OrderPicturesCheckTheirRadioButtons)
{
    Open();
    Click("Image3");
    EXPECT_TRUE(Checked("radioJF"));
    EXPECT_FALSE(Checked("radioFJ"));
    Click("Image4");
    EXPECT_TRUE(Checked("radioFJ"));
    Click("Image3");
    Click("btnOK");
    EXPECT_EQ("JF", form.Preferences.Order);
}

TEST_F(Unit3Test, PicturesLoadAndSpinBoxesLieAboveTheFontGroup)
{
    // The pictures come from a resource inside a static library.
    EXPECT_EQ(QSize(60, 10), Control<QLabel>("Image3")->pixmap().size());
    EXPECT_EQ(QColor(0xBF, 0xBF, 0xBF), Control<QLabel>("Image2")->pixmap().toImage().pixelColor(0, 5));
    EXPECT_EQ(QPoint(359, 106), form.pos());

    Open();
    for (TSpinEdit* spin : {Spin("SpinEdit1"), Spin("SpinEdit2")}) {
        EXPECT_EQ(spin, form.childAt(spin->geometry().topLeft() + QPoint(5, 10)));
        EXPECT_EQ(spin->UpButton(), form.childAt(spin->geometry().topRight() + QPoint(-5, 5)));
        EXPECT_EQ(spin->DownButton(), form.childAt(spin->geometry().bottomRight() + QPoint(-5, -5)));
    }
}

// The names of the controls the focus visits, one key press each, starting where it is.
QStringList FocusWalk(Qt::Key key, Qt::KeyboardModifiers modifiers, int presses)
{
    QStringList visited;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
        visited << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "(none)");
    }
    return visited;
}

TEST_F(Unit3Test, OpensOnOkAndTabReachesTheOrderInForce)
{
    Open();
    EXPECT_EQ(QApplication::focusWidget(), Control("btnOK"));
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, Qt::NoModifier, 10),
              QStringList({"btnCancel", "btnDefault", "checkHint", "SpinEdit1", "SpinEdit2", "radioFJ",
                           "checkFBold", "checkJBold", "checkNum", "btnOK"}));
    form.reject();

    // Opened again with Japanese first, it starts on OK, not where the focus was left; the
    // group's stop is the checked button, and Space there keeps the order.
    form.Preferences.Order = "JF";
    Open();
    EXPECT_EQ(QApplication::focusWidget(), Control("btnOK"));
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, Qt::ShiftModifier, 4),
              QStringList({"checkNum", "checkJBold", "checkFBold", "radioJF"}));
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Space);
    EXPECT_TRUE(Checked("radioJF"));

    // An arrow key checks the other order, which then is the group's stop.
    EXPECT_EQ(FocusWalk(Qt::Key_Up, Qt::NoModifier, 1), QStringList{"radioFJ"});
    EXPECT_TRUE(Checked("radioFJ"));
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, Qt::NoModifier, 1), QStringList{"checkFBold"});
    EXPECT_EQ(FocusWalk(Qt::Key_Tab, Qt::ShiftModifier, 1), QStringList{"radioFJ"});
    Click("btnOK");
    EXPECT_EQ("FJ", form.Preferences.Order);
}

// Not a check: the screenshot script sets MIRVEL_SCREENSHOT_DIR and looks at the pictures.
TEST(Unit3Screenshot, StandardAndLargeBoldFrench)
{
    const QString folder = qEnvironmentVariable("MIRVEL_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "MIRVEL_SCREENSHOT_DIR not set";
    const auto shoot = [&](TForm3& form, const QString& name) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(form.grab().save(QDir(folder).filePath(name)));
        form.reject();
    };
    TForm3 standard;
    shoot(standard, "settings-standard.png");
    TForm3 large;
    large.Preferences.FSize = 20;
    large.Preferences.FBold = true;
    shoot(large, "settings-french-20-bold.png");
}

}  // namespace
}  // namespace viewer
