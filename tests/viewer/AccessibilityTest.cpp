#include "tests/support/AccessibleTree.h"
#include "tests/viewer/CardFixture.h"
#include "viewer/SpinEdit.h"
#include "viewer/Unit2.h"
#include "viewer/Unit3.h"

#include <QAccessible>
#include <QCheckBox>
#include <QTest>

namespace viewer::test {
namespace {

QAccessibleInterface* Of(QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); }

class ViewerAccessibilityTest : public CardTest {
protected:
    static QString NameOf(const TForm1& form, const char* button)
    {
        return Of(Button(form, button))->text(QAccessible::Name);
    }
    void ExpectGlyphNames(const TForm1& form)
    {
        EXPECT_EQ(NameOf(form, "btnOpen"), "開く");
        EXPECT_EQ(NameOf(form, "btnPrev"), "前の単語");
        EXPECT_EQ(NameOf(form, "btnNext"), "次の単語");
        EXPECT_EQ(NameOf(form, "btnCustom"), "設定");
        EXPECT_EQ(NameOf(form, "btnExit"), "終了");
    }
};

// The buttons have glyphs only: a reader speaks their hints, whether or not the hints show.
TEST_F(ViewerAccessibilityTest, GlyphButtonsAreNamedByTheirHintsShownOrNot)
{
    auto form = Create({ThreeWords()});
    ExpectGlyphNames(*form);
    QPushButton* reveal = Button(*form, "btnFJ");
    const QString before = NameOf(*form, "btnFJ");
    EXPECT_EQ(before, reveal->toolTip());
    QTest::mouseClick(reveal, Qt::LeftButton);
    EXPECT_NE(NameOf(*form, "btnFJ"), before) << "the reveal button names the side it will show";
    EXPECT_EQ(NameOf(*form, "btnFJ"), reveal->toolTip());
    EXPECT_EQ(mirvel::test::UnnamedControls(form.get()), QStringList());

    form.reset();
    WriteSettings("[User]\r\nShowHint=false\r\n");
    form = Create({ThreeWords()});
    ExpectGlyphNames(*form);
    EXPECT_TRUE(Button(*form, "btnOpen")->toolTip().isEmpty());
    EXPECT_FALSE(NameOf(*form, "btnFJ").isEmpty());

    TForm2 about;
    EXPECT_EQ(mirvel::test::UnnamedControls(&about), QStringList());
}

TEST_F(ViewerAccessibilityTest, SizeBoxesReadAsSpinBoxesWithTheirValue)
{
    TForm3 settings;
    EXPECT_EQ(mirvel::test::UnnamedControls(&settings), QStringList());
    // Both captions read "太字": a reader must hear which side each one makes bold.
    EXPECT_EQ(Of(settings.findChild<QCheckBox*>("checkFBold"))->text(QAccessible::Name), "フランス語の太字");
    EXPECT_EQ(Of(settings.findChild<QCheckBox*>("checkJBold"))->text(QAccessible::Name), "日本語の太字");
    auto* spin = settings.findChild<TSpinEdit*>("SpinEdit1");
    ASSERT_NE(spin, nullptr);
    QAccessibleInterface* box = Of(spin);
    EXPECT_EQ(box->role(), QAccessible::SpinBox);
    EXPECT_EQ(box->text(QAccessible::Name), "フランス語");
    EXPECT_EQ(box->childCount(), 0) << "the arrows are part of the box";

    QAccessibleValueInterface* value = box->valueInterface();
    ASSERT_NE(value, nullptr);
    spin->SetValue(12);
    EXPECT_EQ(value->currentValue().toInt(), 12);
    EXPECT_EQ(value->minimumValue().toInt(), 7);
    EXPECT_EQ(value->maximumValue().toInt(), 20);
    value->setCurrentValue(30);
    EXPECT_EQ(spin->text(), "20") << "a reader's value meets the range like the arrows";
    EXPECT_EQ(box->text(QAccessible::Value), "20");

    QAccessibleTextInterface* text = box->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "20");
}

}  // namespace
}  // namespace viewer::test
