#include "viewer/SpinEdit.h"
#include "viewer/SpinRules.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace viewer {
namespace {

TEST(SpinEditRulesTest, TypedCharacters)
{
    for (char32_t c : std::u32string_view(U"0123456789+-.\b\x16\x1b\x7f"))
        EXPECT_TRUE(IsSpinEditChar(c, U'.')) << unsigned(c);
    EXPECT_TRUE(IsSpinEditChar(U',', U','));
    for (char32_t c : {U'\r', U' ', U'a', U'e', U'x', U'$', U',', U'１', U'ー'}) {
        EXPECT_FALSE(IsSpinEditChar(c, U'.')) << unsigned(c);
    }
}

TEST(SpinEditRulesTest, ValueIsTheTypedNumberUnclampedOrTheMinimum)
{
    EXPECT_EQ(15, SpinEditValueOf("15", 7));
    EXPECT_EQ(1, SpinEditValueOf("1", 7));
    EXPECT_EQ(25, SpinEditValueOf("25", 7));
    EXPECT_EQ(-3, SpinEditValueOf("-3", 7));
    EXPECT_EQ(9, SpinEditValueOf("+9", 7));
    for (const char* text : {"", "-", "+", "9.5", "1-", "abc", "99999999999"})
        EXPECT_EQ(7, SpinEditValueOf(text, 7)) << text;
}

TEST(SpinEditRulesTest, ClampAppliesOnlyToARealRange)
{
    EXPECT_EQ(7, ClampSpinValue(3, 7, 20));
    EXPECT_EQ(20, ClampSpinValue(30, 7, 20));
    EXPECT_EQ(12, ClampSpinValue(12, 7, 20));
    EXPECT_EQ(-40, ClampSpinValue(-40, 0, 0));
    EXPECT_EQ(INT_MAX, ClampSpinValue(static_cast<long long>(INT_MAX) + 1, 0, 0));
}

// A box of 7 to 20 beside a button that can take the focus, in an active window.
class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        spin = new TSpinEdit;
        spin->SetMinValue(7);
        spin->SetMaxValue(20);
        spin->SetValue(9);
        other = new QPushButton("other");
        layout->addWidget(spin);
        layout->addWidget(other);
        QObject::connect(spin, &QLineEdit::textChanged, [this] { seen.push_back(spin->Value()); });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        spin->setFocus();
    }

    void TypeOver(const QString& text)
    {
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Delete);
        seen.clear();
        QTest::keyClicks(spin, text);
    }

    QWidget window;
    TSpinEdit* spin = nullptr;
    QPushButton* other = nullptr;
    std::vector<int> seen;
};

TEST_F(SpinEditTest, TypingReportsEachUnclampedValue)
{
    TypeOver("15");
    EXPECT_EQ((std::vector<int>{1, 15}), seen);
    TypeOver("25");
    EXPECT_EQ((std::vector<int>{2, 25}), seen);
    EXPECT_EQ("25", spin->text());
}

TEST_F(SpinEditTest, OtherCharactersAreRefused)
{
    TypeOver("1a 2x.");
    EXPECT_EQ("12.", spin->text());
    EXPECT_EQ(7, spin->Value());

    // An input method commits whole strings; full-width digits are refused like letters.
    spin->clear();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("１5"));
    QApplication::sendEvent(spin, &commit);
    EXPECT_EQ("5", spin->text());
}

TEST_F(SpinEditTest, EnterIsLeftToTheDialog)
{
    TypeOver("12");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(spin, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ("12", spin->text());
}

TEST_F(SpinEditTest, SettingAndSteppingClamp)
{
    spin->SetValue(30);
    EXPECT_EQ("20", spin->text());
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ("20", spin->text());
    spin->SetValue(-4);
    EXPECT_EQ("7", spin->text());
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ("7", spin->text());

    // Stepping starts from the value read, then clamps: 3 + 1 is below the range.
    TypeOver("3");
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ("7", spin->text());
    spin->setText("abc");  // pasted
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ("8", spin->text());
    TypeOver("12");
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ("11", spin->text());
}

TEST_F(SpinEditTest, ArrowButtonsStepByOne)
{
    spin->SetValue(19);
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ("20", spin->text());
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    EXPECT_EQ("20", spin->text());
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    EXPECT_EQ("19", spin->text());
    EXPECT_TRUE(spin->hasFocus());
}

TEST_F(SpinEditTest, LeavingPullsAnOutOfRangeValueOntoTheNearestBound)
{
    const auto leaveWith = [this](const QString& text) {
        spin->setFocus();
        spin->setText(text);
        other->setFocus(Qt::TabFocusReason);
        return spin->text();
    };
    EXPECT_EQ("20", leaveWith("25"));
    EXPECT_EQ("7", leaveWith("3"));
    EXPECT_EQ("12", leaveWith("12"));
    // Not a number: it already reads as the minimum, so nothing is replaced.
    EXPECT_EQ("abc", leaveWith("abc"));
}

}  // namespace
}  // namespace viewer
