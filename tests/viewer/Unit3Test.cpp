#include "Unit3.h"

#include "SpinEdit.h"

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

    // The controls by their names, as the form declares them.
    template <typename T>
    T* Control(const char* name) const
    {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(nullptr, control) << name;
        return control;
    }
    QLabel* Label(const char* name) const { return Control<QLabel>(name); }
    QRadioButton* Radio(const char* name) const { return Control<QRadioButton>(name); }
    TSpinEdit* Spin(const char* name) const { return Control<TSpinEdit>(name); }
    QCheckBox* Check(const char* name) const { return Control<QCheckBox>(name); }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }

    bool FrancaisSampleBold() const { return Label("lblSampleFrancais")->font().bold(); }
    bool JaponaisSampleBold() const { return Label("lblSampleJaponais")->font().bold(); }
    int FrancaisSampleSize() const { return Label("lblSampleFrancais")->font().pointSize(); }
    int JaponaisSampleSize() const { return Label("lblSampleJaponais")->font().pointSize(); }

    // Moves every control away from the exchange values set by SetOddValues.
    void ChangeEverything()
    {
        Radio("radioFJ")->setChecked(true);
        Spin("SpinEdit1")->SetValue(17);
        Spin("SpinEdit2")->SetValue(6);
        Check("checkFBold")->setChecked(true);
        Check("checkJBold")->setChecked(false);
        Check("checkHint")->setChecked(true);
        Check("checkNum")->setChecked(true);
    }

    void SetOddValues()
    {
        form.Order = "jf";
        form.FSize = 12;
        form.JSize = 14;
        form.FBold = false;
        form.JBold = true;
        form.ShowHint = false;
        form.ShowNumber = false;
    }

    void ExpectOddValuesKept()
    {
        EXPECT_EQ("jf", form.Order);
        EXPECT_EQ(12, form.FSize);
        EXPECT_EQ(14, form.JSize);
        EXPECT_FALSE(form.FBold);
        EXPECT_TRUE(form.JBold);
        EXPECT_FALSE(form.ShowHint);
        EXPECT_FALSE(form.ShowNumber);
    }

    TForm3 form;
};

TEST_F(Unit3Test, SizesBeyondTheRangeShowClampedAndOkStoresThem)
{
    form.FSize = 30;
    form.JSize = 2;
    Open();
    EXPECT_EQ("20", Spin("SpinEdit1")->text());
    EXPECT_EQ(20, FrancaisSampleSize());
    EXPECT_EQ("5", Spin("SpinEdit2")->text());
    EXPECT_EQ(5, JaponaisSampleSize());

    QTest::mouseClick(Button("btnOK"), Qt::LeftButton);
    EXPECT_EQ(QDialog::Accepted, form.result());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(20, form.FSize);
    EXPECT_EQ(5, form.JSize);
}

TEST_F(Unit3Test, ShowPutsTheExchangeValuesIntoTheControlsAndSamples)
{
    SetOddValues();
    Open();
    EXPECT_TRUE(Radio("radioJF")->isChecked());
    EXPECT_EQ("12", Spin("SpinEdit1")->text());
    EXPECT_EQ(12, FrancaisSampleSize());
    EXPECT_EQ(14, JaponaisSampleSize());
    EXPECT_FALSE(Check("checkFBold")->isChecked());
    EXPECT_FALSE(FrancaisSampleBold());
    EXPECT_TRUE(Check("checkJBold")->isChecked());
    EXPECT_TRUE(JaponaisSampleBold());
    EXPECT_FALSE(Check("checkHint")->isChecked());
    EXPECT_FALSE(Check("checkNum")->isChecked());

    // Showing again starts from the exchange values, not from what was left in the controls.
    form.reject();
    form.Order = "FJ";
    Open();
    EXPECT_TRUE(Radio("radioFJ")->isChecked());
}

TEST_F(Unit3Test, SamplesFollowTheControls)
{
    Open();
    Check("checkJBold")->click();
    EXPECT_TRUE(JaponaisSampleBold());
    Check("checkFBold")->click();
    EXPECT_NE(Check("checkFBold")->isChecked(), !FrancaisSampleBold());

    Spin("SpinEdit1")->setFocus();
    Spin("SpinEdit1")->selectAll();
    QTest::keyClick(Spin("SpinEdit1"), Qt::Key_1);
    EXPECT_EQ(1, FrancaisSampleSize());
    QTest::keyClick(Spin("SpinEdit1"), Qt::Key_5);
    EXPECT_EQ(15, FrancaisSampleSize());
    QTest::keyClick(Spin("SpinEdit1"), Qt::Key_Up);
    EXPECT_EQ(16, FrancaisSampleSize());
}

TEST_F(Unit3Test, OkHandsBackEveryControl)
{
    Open();
    Radio("radioJF")->setChecked(true);
    Spin("SpinEdit1")->SetValue(11);
    Spin("SpinEdit2")->SetValue(18);
    Check("checkFBold")->setChecked(false);
    Check("checkJBold")->setChecked(true);
    Check("checkHint")->setChecked(false);
    Check("checkNum")->setChecked(false);
    QTest::mouseClick(Button("btnOK"), Qt::LeftButton);
    EXPECT_EQ(QDialog::Accepted, form.result());
    EXPECT_EQ("JF", form.Order);
    EXPECT_EQ(11, form.FSize);
    EXPECT_EQ(18, form.JSize);
    EXPECT_FALSE(form.FBold);
    EXPECT_TRUE(form.JBold);
    EXPECT_FALSE(form.ShowHint);
    EXPECT_FALSE(form.ShowNumber);
}

TEST_F(Unit3Test, EnterInABoxConfirmsTheDialogWithTheSizeClamped)
{
    Open();
    Spin("SpinEdit1")->setFocus();
    Spin("SpinEdit1")->selectAll();
    QTest::keyClicks(Spin("SpinEdit1"), "25");
    EXPECT_EQ(25, FrancaisSampleSize());
    QTest::keyClick(Spin("SpinEdit1"), Qt::Key_Return);
    EXPECT_EQ(QDialog::Accepted, form.result());
    EXPECT_EQ(20, form.FSize);
}

TEST_F(Unit3Test, DefaultSetsTheStandardValuesButLeavesTheCounter)
{
    SetOddValues();
    Open();
    QTest::mouseClick(Button("btnDefault"), Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(9, FrancaisSampleSize());
    EXPECT_TRUE(FrancaisSampleBold());
    EXPECT_FALSE(JaponaisSampleBold());
    QTest::mouseClick(Button("btnOK"), Qt::LeftButton);
    EXPECT_EQ("FJ", form.Order);
    EXPECT_EQ(9, form.FSize);
    EXPECT_EQ(9, form.JSize);
    EXPECT_TRUE(form.FBold);
    EXPECT_FALSE(form.JBold);
    EXPECT_TRUE(form.ShowHint);
    EXPECT_FALSE(form.ShowNumber);
}

TEST_F(Unit3Test, CancelAndTheCloseBoxHandNothingBack)
{
    SetOddValues();
    Open();
    ChangeEverything();
    QTest::mouseClick(Button("btnCancel"), Qt::LeftButton);
    EXPECT_EQ(QDialog::Rejected, form.result());
    EXPECT_FALSE(form.isVisible());
    ExpectOddValuesKept();

    Open();
    QTest::mouseClick(Button("btnDefault"), Qt::LeftButton);
    form.close();
    EXPECT_EQ(QDialog::Rejected, form.result());
    EXPECT_FALSE(form.isVisible());
    ExpectOddValuesKept();
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

TEST_F(Unit3Test, OrderPicturesCheckTheirRadioButtons)
{
    Open();
    QTest::mouseClick(Label("Image3"), Qt::LeftButton);
    EXPECT_TRUE(Radio("radioJF")->isChecked());
    EXPECT_FALSE(Radio("radioFJ")->isChecked());
    QTest::mouseClick(Label("Image4"), Qt::LeftButton);
    EXPECT_TRUE(Radio("radioFJ")->isChecked());
    QTest::mouseClick(Label("Image3"), Qt::LeftButton);
    QTest::mouseClick(Button("btnOK"), Qt::LeftButton);
    EXPECT_EQ("JF", form.Order);
}

TEST_F(Unit3Test, FormDeclaration)
{
    EXPECT_EQ(QString::fromUtf8("設定"), form.windowTitle());
    EXPECT_EQ(QSize(361, 137), form.minimumSize());
    EXPECT_EQ(QSize(361, 137), form.maximumSize());
    EXPECT_EQ(QPoint(359, 106), form.pos());
    EXPECT_TRUE(Button("btnOK")->isDefault());
    EXPECT_EQ(QString::fromUtf8("日本語→フランス語"), Label("Image3")->toolTip());
    EXPECT_EQ(QString::fromUtf8("フランス語→日本語"), Label("Image4")->toolTip());
    EXPECT_FALSE(Label("Image3")->pixmap().isNull());
    EXPECT_EQ(QSize(60, 10), Label("Image3")->pixmap().size());
    EXPECT_EQ(QSize(20, 10), Label("Image1")->pixmap().size());
    // Light grey edge columns, opaque.
    EXPECT_EQ(QColor(0xBF, 0xBF, 0xBF), Label("Image2")->pixmap().toImage().pixelColor(0, 5));
    // The spin boxes lie over the font group, so they must be stacked above it.
    Open();
    for (TSpinEdit* spin : {Spin("SpinEdit1"), Spin("SpinEdit2")}) {
        EXPECT_EQ(spin, form.childAt(spin->geometry().topLeft() + QPoint(5, 10)));
        EXPECT_EQ(static_cast<QWidget*>(spin->UpButton()), form.childAt(spin->geometry().topRight() + QPoint(-5, 5)));
        EXPECT_EQ(static_cast<QWidget*>(spin->DownButton()), form.childAt(spin->geometry().bottomRight() + QPoint(-5, -5)));
    }

    const std::vector<QWidget*> tabOrder{Button("btnOK"),     Button("btnCancel"),  Button("btnDefault"),
                                         Check("checkHint"), Spin("SpinEdit1"),  Spin("SpinEdit2"),
                                         Radio("radioFJ"),   Radio("radioJF"),    Check("checkFBold"),
                                         Check("checkJBold"), Check("checkNum")};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i) {
        QWidget* next = tabOrder[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
        EXPECT_EQ(tabOrder[i + 1]->objectName(), next->objectName()) << tabOrder[i]->objectName().toStdString();
    }
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
    large.FSize = 20;
    large.FBold = true;
    shoot(large, "settings-french-20-bold.png");
}

}  // namespace
}  // namespace viewer
