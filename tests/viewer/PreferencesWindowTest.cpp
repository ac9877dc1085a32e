#include "tests/viewer/CardFixture.h"

#include "viewer/SpinEdit.h"
#include "viewer/Unit3.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRadioButton>
#include <QTest>

#include <cstdio>
#include <functional>

namespace viewer::test {
namespace {

class PreferencesWindowTest : public CardTest {
protected:
    static QFont FontOf(const TForm1& form, const char* label) { return Label(form, label)->font(); }

    void ExpectHints(const TForm1& form, bool shown)
    {
        for (const char* name : ButtonNames())
            EXPECT_EQ(Button(form, name)->toolTip().isEmpty(), !shown) << name;
    }

    // Runs the settings dialog the way the card window does, with `drive` acting on the shown
    // dialog before it ends through the named button.
    void ScriptDialog(std::function<void(TForm3&)> drive, const char* endButton)
    {
        shell.modalScripts.push_back([drive = std::move(drive), endButton](QDialog& dialog) {
            auto& form3 = static_cast<TForm3&>(dialog);
            form3.show();
            if (drive) drive(form3);
            QTest::mouseClick(form3.findChild<QPushButton*>(endButton), Qt::LeftButton);
            return form3.result();
        });
    }

    static void Set(TForm3& form3, const char* spin, int value)
    {
        form3.findChild<TSpinEdit*>(spin)->SetValue(value);
    }
    static void Check(TForm3& form3, const char* box, bool checked)
    {
        form3.findChild<QAbstractButton*>(box)->setChecked(checked);
    }
};

TEST_F(PreferencesWindowTest, WithoutSettingsTheDeclaredLookApplies)
{
    auto form = Create({ThreeWords()});
    const QFont francais = FontOf(*form, "lblFrancais");
    EXPECT_EQ(francais.family(), "Arial");
    EXPECT_EQ(francais.pointSize(), 9);
    EXPECT_TRUE(francais.bold());
    const QFont japonais = FontOf(*form, "lblJaponais");
    EXPECT_EQ(japonais.family(), QString::fromUtf8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(japonais.pointSize(), 9);
    EXPECT_FALSE(japonais.bold());
    EXPECT_EQ(FontOf(*form, "lblDataNum").pointSize(), 8);
    ExpectHints(*form, true);
    EXPECT_TRUE(Showing(*form, "lblDataNum"));
    EXPECT_FALSE(Showing(*form, "lblJaponais"));

    // Where the Windows faces are missing, faces of the same kind are drawn.
    if (QFontDatabase::families().isEmpty())
        GTEST_SKIP() << "this platform has no font database (Qt's offscreen platform on Windows), "
                        "so which face is drawn can't be seen here";
    EXPECT_TRUE(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(francais).family()))
        << QFontInfo(francais).family().toStdString();
    EXPECT_TRUE(
        QStringList({"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"}).contains(QFontInfo(japonais).family()))
        << QFontInfo(japonais).family().toStdString();
}

TEST_F(PreferencesWindowTest, FlagsChangeOnlyOnTheExactWord)
{
    WriteSettings("[User]\r\nFBold=no\r\nJBold=yes\r\nShowHint=False\r\nShowNumber=0\r\n");
    auto form = Create({ThreeWords()});
    EXPECT_TRUE(FontOf(*form, "lblFrancais").bold());
    EXPECT_FALSE(FontOf(*form, "lblJaponais").bold());
    ExpectHints(*form, true);
    EXPECT_TRUE(Showing(*form, "lblDataNum"));

    WriteSettings("[User]\r\nFBold=false\r\nJBold=true\r\nShowNumber=false\r\n");
    auto second = Create({ThreeWords()});
    EXPECT_FALSE(FontOf(*second, "lblFrancais").bold());
    EXPECT_TRUE(FontOf(*second, "lblJaponais").bold());
    EXPECT_FALSE(Showing(*second, "lblDataNum"));
}

TEST_F(PreferencesWindowTest, LowerCaseOrderShowsJapaneseFirstAndIsWrittenBack)
{
    WriteSettings("[User]\r\nOrder=jf\r\n");
    auto form = Create({ThreeWords()});
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    form->close();
    EXPECT_NE(Settings().find("\r\nOrder=jf\r\n"), std::string::npos) << Settings();
}

TEST_F(PreferencesWindowTest, HintsOffSurviveARestart)
{
    WriteSettings("[User]\r\nShowHint=false\r\n");
    {
        auto form = Create({ThreeWords()});
        ExpectHints(*form, false);
        QTest::mouseClick(Button(*form, "btnFJ"), Qt::LeftButton);
        EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), "");
        form->close();
    }
    EXPECT_NE(Settings().find("\r\nShowHint=false\r\n"), std::string::npos);
    auto form = Create({ThreeWords()});
    ExpectHints(*form, false);

    // Turned back on, each button shows its own hint again.
    TForm3 form3;
    form->SetDialogs(nullptr, &form3);
    ScriptDialog([](TForm3& dialog) { Check(dialog, "checkHint", true); }, "btnOK");
    QTest::mouseClick(Button(*form, "btnCustom"), Qt::LeftButton);
    EXPECT_EQ(Button(*form, "btnOpen")->toolTip(), QString::fromUtf8("開く"));
    EXPECT_EQ(Button(*form, "btnExit")->toolTip(), QString::fromUtf8("終了"));
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), QString::fromUtf8("日本語"));
}

TEST_F(PreferencesWindowTest, NonIntegerSizeStopsCreateAtTheDesignPosition)
{
    WriteSettings(
        "[Form]\r\nLeft=10\r\nTop=20\r\n[User]\r\nOrder=JF\r\nFSize=big\r\nFBold=false\r\nShowHint=false\r\n"
        "ShowNumber=false\r\n");
    auto form = Create({ThreeWords()});
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0], QString::fromUtf8("'big' は整数ではありません."));
    EXPECT_EQ(form->pos(), QPoint(189, 105));
    EXPECT_TRUE(FontOf(*form, "lblFrancais").bold());
    EXPECT_EQ(Button(*form, "btnOpen")->toolTip(), QString::fromUtf8("開く"));
    EXPECT_TRUE(Showing(*form, "lblDataNum"));
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");
    EXPECT_TRUE(form->FileName.isEmpty());
    EXPECT_TRUE(Button(*form, "btnFJ")->icon().isNull());
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), "");
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
}

TEST_F(PreferencesWindowTest, CloseWritesEveryKeyInOrder)
{
    WriteSettings("[User]\r\nFSize=12\r\nJBold=true\r\nShowNumber=false\r\n");
    auto form = Create();
    form->move(33, 44);
    form->close();
    EXPECT_EQ(Settings(),
              "[User]\r\nFSize=12\r\nJBold=true\r\nShowNumber=false\r\nOrder=FJ\r\nFBold=true\r\nJSize=9\r\n"
              "ShowHint=true\r\n[Form]\r\nLeft=33\r\nTop=44\r\n");

    std::remove(dir.File("Mirvel.ini").c_str());
    auto fresh = Create();
    fresh->move(5, 6);
    fresh->close();
    EXPECT_EQ(Settings(),
              "[Form]\r\nLeft=5\r\nTop=6\r\n[User]\r\nOrder=FJ\r\nFSize=9\r\nFBold=true\r\nJSize=9\r\n"
              "JBold=false\r\nShowHint=true\r\nShowNumber=true\r\n");
}

TEST_F(PreferencesWindowTest, SizesAreAppliedWithinTheUsableRangeAndWrittenAsApplied)
{
    WriteSettings("[User]\r\nFSize=0\r\nJSize=500\r\n");
    auto form = Create();
    EXPECT_EQ(FontOf(*form, "lblFrancais").pointSize(), 1);
    EXPECT_EQ(FontOf(*form, "lblJaponais").pointSize(), 96);
    form->close();
    EXPECT_NE(Settings().find("FSize=1\r\n"), std::string::npos);
    EXPECT_NE(Settings().find("JSize=96\r\n"), std::string::npos);
}

TEST_F(PreferencesWindowTest, DialogGetsTheLiveValuesAndOkAppliesClampedSizes)
{
    WriteSettings("[User]\r\nOrder=jf\r\nFSize=30\r\nJBold=true\r\nShowHint=false\r\nShowNumber=false\r\n");
    auto form = Create({ThreeWords()});
    TForm3 form3;
    form->SetDialogs(nullptr, &form3);
    int shownSize = 0;
    ScriptDialog([&](TForm3& dialog) { shownSize = dialog.findChild<TSpinEdit*>("SpinEdit1")->Value(); },
                 "btnOK");
    QTest::mouseClick(Button(*form, "btnCustom"), Qt::LeftButton);
    EXPECT_EQ(shell.modalDialogs, std::vector<QString>{"TForm3"});
    EXPECT_EQ(shownSize, 20);
    EXPECT_EQ(FontOf(*form, "lblFrancais").pointSize(), 20);
    EXPECT_TRUE(FontOf(*form, "lblJaponais").bold());
    ExpectHints(*form, false);
    EXPECT_FALSE(Showing(*form, "lblDataNum"));
    form->close();
    EXPECT_NE(Settings().find("\r\nOrder=JF\r\nFSize=20\r\n"), std::string::npos) << Settings();
}

TEST_F(PreferencesWindowTest, CancelAfterChangingEverythingChangesNothing)
{
    auto form = Create({ThreeWords()});
    TForm3 form3;
    form->SetDialogs(nullptr, &form3);
    ScriptDialog(
        [](TForm3& dialog) {
            Check(dialog, "radioJF", true);
            Set(dialog, "SpinEdit1", 18);
            Set(dialog, "SpinEdit2", 15);
            Check(dialog, "checkFBold", false);
            Check(dialog, "checkJBold", true);
            Check(dialog, "checkHint", false);
            Check(dialog, "checkNum", false);
        },
        "btnCancel");
    QTest::mouseClick(Button(*form, "btnCustom"), Qt::LeftButton);
    QTest::mouseClick(Button(*form, "btnNext"), Qt::LeftButton);
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(FontOf(*form, "lblFrancais").pointSize(), 9);
    EXPECT_TRUE(FontOf(*form, "lblFrancais").bold());
    EXPECT_EQ(FontOf(*form, "lblJaponais").pointSize(), 9);
    EXPECT_FALSE(FontOf(*form, "lblJaponais").bold());
    ExpectHints(*form, true);
    EXPECT_TRUE(Showing(*form, "lblDataNum"));
}

TEST_F(PreferencesWindowTest, DefaultThenOkGivesTheStandardValuesButKeepsTheCounter)
{
    WriteSettings(
        "[User]\r\nOrder=JF\r\nFSize=14\r\nFBold=false\r\nJSize=16\r\nJBold=true\r\nShowHint=false\r\n"
        "ShowNumber=false\r\n");
    auto form = Create({ThreeWords()});
    TForm3 form3;
    form->SetDialogs(nullptr, &form3);
    ScriptDialog(
        [](TForm3& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnDefault"), Qt::LeftButton);
        },
        "btnCancel");
    QTest::mouseClick(Button(*form, "btnCustom"), Qt::LeftButton);
    EXPECT_EQ(FontOf(*form, "lblFrancais").pointSize(), 14);
    ExpectHints(*form, false);

    ScriptDialog(
        [](TForm3& dialog) {
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnDefault"), Qt::LeftButton);
        },
        "btnOK");
    QTest::mouseClick(Button(*form, "btnCustom"), Qt::LeftButton);
    EXPECT_EQ(FontOf(*form, "lblFrancais").pointSize(), 9);
    EXPECT_TRUE(FontOf(*form, "lblFrancais").bold());
    EXPECT_EQ(FontOf(*form, "lblJaponais").pointSize(), 9);
    EXPECT_FALSE(FontOf(*form, "lblJaponais").bold());
    ExpectHints(*form, true);
    EXPECT_FALSE(Showing(*form, "lblDataNum"));
    EXPECT_EQ(form->Cards().Order(), "FJ");
}

TEST_F(PreferencesWindowTest, NewOrderShowsFromTheNextCardChange)
{
    auto form = Create({ThreeWords()});
    TForm3 form3;
    form->SetDialogs(nullptr, &form3);
    ScriptDialog([](TForm3& dialog) { Check(dialog, "radioJF", true); }, "btnOK");
    Action(*form, "menuCustom")->trigger();
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    QTest::mouseClick(Button(*form, "btnNext"), Qt::LeftButton);
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
}

}  // namespace
}  // namespace viewer::test
