#include "tests/editor/EditorFixture.h"

#include <QKeyEvent>

namespace editor::test {
namespace {

class AccentKeysTest : public EditorTest {
protected:
    // The box as the user left it: text, then the caret (or a selection from `from` to `to`).
    void Prepare(const QString& text, int from, int to = -1)
    {
        edF()->setFocus();
        edF()->setText(text);
        if (to < 0)
            edF()->setCursorPosition(from);
        else
            edF()->setSelection(from, to - from);
    }
    void Release(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(edF(), &event);
    }
    void Press(Qt::Key key, bool autoRepeat = false)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(edF(), &event);
    }
    static QString Latin1(const char* text) { return QString::fromLatin1(text); }
};

TEST_F(AccentKeysTest, TheLetterBeforeTheCaretTakesItsAccentAndTheCaretStays)
{
    Prepare("cafe", 4);
    QTest::keyClick(edF(), Qt::Key_F2);
    EXPECT_EQ(edF()->text(), Latin1("caf\xE9"));
    EXPECT_EQ(edF()->cursorPosition(), 4);

    Prepare("ecole", 1);
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), Latin1("\xE9"
                                    "cole"));
    EXPECT_EQ(edF()->cursorPosition(), 1);
}

TEST_F(AccentKeysTest, CapitalsCedillaAndTheLigatureAreOneCharacterEach)
{
    Prepare("E", 1);
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), Latin1("\xC9"));
    Prepare("c", 1);
    Release(Qt::Key_F6);
    EXPECT_EQ(edF()->text(), Latin1("\xE7"));
    Prepare("so", 2);
    Release(Qt::Key_F7);
    EXPECT_EQ(edF()->text(), QString("s") + QChar(0x0153));
    Click("btnRenew");
    EXPECT_EQ(form->Doc().Words()[0].FrancaisBytes(), "s\x9C");
}

TEST_F(AccentKeysTest, NothingHappensWithoutAMatchingLetterBeforeTheCaret)
{
    Prepare("a", 1);
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), "a");
    Prepare(Latin1("\xE9"), 1);
    Release(Qt::Key_F3);
    EXPECT_EQ(edF()->text(), Latin1("\xE9"));
    Prepare("ecole", 0);
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), "ecole");
    EXPECT_EQ(edF()->cursorPosition(), 0);
    Prepare("e", 1);
    Release(Qt::Key_F1);
    Release(Qt::Key_F8);
    Release(Qt::Key_E);
    EXPECT_EQ(edF()->text(), "e");
    EXPECT_FALSE(form->Doc().Modified());
}

TEST_F(AccentKeysTest, ModifiersAreIgnored)
{
    Prepare("a", 1);
    Release(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(edF()->text(), Latin1("\xE0"));
}

TEST_F(AccentKeysTest, ASelectionEndsAtItsStartWithNothingSelected)
{
    Prepare("cafe", 2, 4);
    Release(Qt::Key_F3);
    EXPECT_EQ(edF()->text(), Latin1("c\xE0"
                                    "fe"));
    EXPECT_EQ(edF()->cursorPosition(), 2);
    EXPECT_FALSE(edF()->hasSelectedText());

    Prepare("cafe", 3, 4);
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), "cafe");
    EXPECT_EQ(edF()->cursorPosition(), 3);
    EXPECT_FALSE(edF()->hasSelectedText());
}

TEST_F(AccentKeysTest, AHeldKeyConvertsOnceWhenReleased)
{
    Prepare("e", 1);
    Press(Qt::Key_F2);
    for (int i = 0; i < 3; ++i) {
        Release(Qt::Key_F2, Qt::NoModifier, true);
        Press(Qt::Key_F2, true);
    }
    EXPECT_EQ(edF()->text(), "e");
    Release(Qt::Key_F2);
    EXPECT_EQ(edF()->text(), Latin1("\xE9"));
}

TEST_F(AccentKeysTest, UndoDoesNotBringThePlainLetterBack)
{
    edF()->setFocus();
    QTest::keyClicks(edF(), "cafe");
    QTest::keyClick(edF(), Qt::Key_F2);
    ASSERT_EQ(edF()->text(), Latin1("caf\xE9"));
    QTest::keyClick(edF(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edF()->text(), Latin1("caf\xE9"));
}

TEST_F(AccentKeysTest, HelpLabelsShowOneExamplePerKey)
{
    const char* const expected[] = {
        "e , F2 ... \xE9 ", "e , F3 ... \xE8 ", "e , F4 ... \xEA ", "e , F5 ... \xEB ", "c , F6 ... \xE7 ",
    };
    const char* const names[] = {"lblF2", "lblF3", "lblF4", "lblF5", "lblF6", "lblF7"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Get<QLabel>(names[i])->text(), Latin1(expected[i])) << names[i];
    EXPECT_EQ(Get<QLabel>("lblF7")->text(), QString("o , F7 ... ") + QChar(0x0153) + " ");
    // Sized to their text, so none is cut off.
    for (const char* name : names) {
        const QLabel* label = Get<QLabel>(name);
        EXPECT_GE(label->width(), label->sizeHint().width()) << name;
    }
}

}  // namespace
}  // namespace editor::test
