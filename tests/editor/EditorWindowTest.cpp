#include "tests/editor/EditorFixture.h"
#include "editor/InputMethodSwitch.h"
#include "editor/Unit2.h"
#include "common/gui/WindowPlacement.h"
#include "tests/common/Wine.h"

#include <QClipboard>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

namespace editor::test {
namespace {

// Types text as the keyboard (or, for Japanese, the input method's commit) would.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

TEST_F(EditorTest, StartsWithOneEmptySelectedItemAndNothingModified)
{
    EXPECT_EQ(ItemCount(), 1);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Item(0), QString());
    EXPECT_EQ(edF()->text(), QString());
    EXPECT_EQ(edJ()->text(), QString());
    EXPECT_EQ(Counter(), "1/1");
    EXPECT_EQ(FileLabel(), "新規");
    EXPECT_FALSE(form->Doc().Modified());
    EXPECT_EQ(form->windowTitle(), "Mirveledit");
    EXPECT_TRUE(shell.errors.empty());
    // Japanese conversion: off for the French box, on for the Japanese one.
    EXPECT_FALSE(edF()->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(edJ()->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(EditorTest, ClientAreaIsFixedAtItsDeclaredSizeWithoutMaximiseBox)
{
    const QWidget* client = form->centralWidget();
    EXPECT_EQ(client->size(), QSize(467, 208));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->height(), 208 + form->menuBar()->height());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

// Qt 6.4 draws a picture larger than its label from the wrong rows when the screen is scaled by
// a fraction (150%: the Japanese flag lost its bottom edge), so each flag is only as large as
// what shows of it.
TEST_F(EditorTest, EachFlagFitsItsLabelWithItsFrameWhole)
{
    for (const char* name : {"Image1", "Image2"}) {
        const auto* label = form->findChild<QLabel*>(name);
        const QImage flag = label->pixmap().toImage();
        EXPECT_TRUE(label->contentsRect().contains(QRect(QPoint(), flag.size()))) << name;
        EXPECT_EQ(flag.pixelColor(flag.width() / 2, flag.height() - 1), Qt::black) << name;
        EXPECT_EQ(flag.pixelColor(flag.width() / 2, 0), Qt::black) << name;
    }
}

TEST_F(EditorTest, TypingIsLostWhenTheUserPicksAnotherItem)
{
    Fill(2);
    edF()->setText("typed");
    ClickItem(0);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(edF()->text(), "w1");
    EXPECT_EQ(edJ()->text(), "j1");
    EXPECT_EQ(Counter(), "1/2");
    EXPECT_EQ(Item(1), "w2");

    // The keyboard moves the selection just as well.
    ListBox1()->setFocus();
    QTest::keyClick(ListBox1(), Qt::Key_Down);
    EXPECT_EQ(edF()->text(), "w2");
    EXPECT_EQ(Counter(), "2/2");
}

TEST_F(EditorTest, UpdateStoresBothBoxesIntoTheCurrentPair)
{
    Store("chat", "猫");
    EXPECT_EQ(Item(0), "chat");
    EXPECT_EQ(SelectedRow(), 0);
    const auto& record = form->Doc().Words()[0];
    EXPECT_EQ(record.FrancaisBytes(), "chat");
    EXPECT_EQ(record.JaponaisBytes(), "\x94\x4C");
    EXPECT_TRUE(form->Doc().Modified());
}

TEST_F(EditorTest, AddAppendsAnEmptySelectedPairAtTheEnd)
{
    Fill(3);
    ClickItem(1);
    edF()->setText("not stored");
    Click("btnAdd");
    EXPECT_EQ(ItemCount(), 4);
    EXPECT_EQ(SelectedRow(), 3);
    EXPECT_EQ(Counter(), "4/4");
    EXPECT_EQ(edF()->text(), QString());
    EXPECT_EQ(edJ()->text(), QString());
    EXPECT_EQ(Item(1), "w2");
}

TEST_F(EditorTest, DeleteMakesThePreviousPairCurrentOrTheNewFirst)
{
    Fill(5);
    ClickItem(2);
    Click("btnDelete");
    EXPECT_EQ(ItemCount(), 4);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Counter(), "2/4");
    EXPECT_EQ(edF()->text(), "w2");
    EXPECT_EQ(Item(2), "w4");

    ClickItem(0);
    Click("btnDelete");
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Counter(), "1/3");
    EXPECT_EQ(edF()->text(), "w2");
    EXPECT_EQ(edJ()->text(), "j2");
}

TEST_F(EditorTest, DeletingTheOnlyPairLeavesOneEmptyPairAndMarksTheChange)
{
    Store("chat", "猫");
    Click("btnDelete");
    EXPECT_EQ(ItemCount(), 1);
    EXPECT_EQ(Item(0), QString());
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Counter(), "1/1");
    EXPECT_EQ(edF()->text(), QString());
    EXPECT_TRUE(form->Doc().Modified());
}

TEST_F(EditorTest, UpMovesThePairAndKeepsTheBoxesAsTheyAre)
{
    Fill(5);
    ClickItem(2);
    edJ()->setText("unsaved");
    Click("btnUp");
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Counter(), "2/5");
    EXPECT_EQ(Item(1), "w3");
    EXPECT_EQ(Item(2), "w2");
    EXPECT_EQ(edF()->text(), "w3");
    EXPECT_EQ(edJ()->text(), "unsaved");

    Click("btnDown");
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(Counter(), "3/5");
    EXPECT_EQ(Item(2), "w3");
}

TEST_F(EditorTest, UpAtTheFirstAndDownAtTheLastChangeNothing)
{
    mirvel::WordList list(3);
    list[0].SetFrancais("a");
    list[1].SetFrancais("b");
    list[2].SetFrancais("c");
    const std::string path = dir.File("abc.mirvel");
    mirvel::WriteWordFile(path, list);
    shell.openAnswers.push_back(QString::fromStdString(path));
    form->Open1Click();

    Click("btnUp");
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(Item(0), "a");
    ClickItem(2);
    Click("btnDown");
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(Item(2), "c");
    EXPECT_EQ(Counter(), "3/3");
    EXPECT_FALSE(form->Doc().Modified());
}

TEST_F(EditorTest, PreviousAndNextStopAtTheEnds)
{
    Fill(3);
    Click("btnNext");
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(Counter(), "3/3");
    Click("btnPrev");
    Click("btnPrev");
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(edF()->text(), "w1");
    EXPECT_EQ(Counter(), "1/3");
    edF()->setText("typed");
    Click("btnPrev");
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(edF()->text(), "typed");
}

TEST_F(EditorTest, TheUserCannotClearTheSelection)
{
    Fill(2);
    QAbstractItemView* list = ListBox1();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(1, 0)).center());
    EXPECT_EQ(SelectedRow(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 3));
    EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(EditorTest, TabCyclesThroughTheTwoBoxesAndTheListOnly)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), edF());
    QTest::keyClick(edF(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edJ());
    QTest::keyClick(edJ(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ListBox1());
    QTest::keyClick(ListBox1(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), edF());
    for (auto* button : form->findChildren<QPushButton*>()) {
        EXPECT_EQ(button->focusPolicy(), Qt::ClickFocus) << button->objectName().toStdString();
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
}

class RecordingInputMethod : public InputMethodSwitch {
public:
    std::vector<std::string> calls;
    void SetOpen(QWidget& box, bool open) override
    {
        calls.push_back(box.objectName().toStdString() + (open ? " open" : " closed"));
    }
};

TEST_F(EditorTest, TheJapaneseBoxSwitchesTheInputMethodOnAndTheFrenchBoxOff)
{
    RecordingInputMethod ime;
    form->SetInputMethodSwitch(ime);
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ime.calls.clear();
    edJ()->setFocus();
    ListBox1()->setFocus();
    edF()->setFocus();
    QTest::keyClick(edF(), Qt::Key_Tab);
    EXPECT_EQ(ime.calls, (std::vector<std::string>{"edJ open", "edF closed", "edJ open"}));
    // The window goes while the recorder is still there.
    form->hide();
    form.reset();
}

TEST_F(EditorTest, JapaneseBoxHoldsAtMostFortyShiftJisBytes)
{
    edJ()->setFocus();
    Type(edJ(), QString(19, QChar(0x732B)) + "ab");  // 38 + 2 bytes
    EXPECT_EQ(edJ()->text().size(), 21);
    Type(edJ(), "c");
    Type(edJ(), QString(QChar(0x732B)));
    EXPECT_EQ(edJ()->text(), QString(19, QChar(0x732B)) + "ab");

    // A paste is cut at a character boundary to what still fits.
    edJ()->setText(QString(18, QChar(0x732B)) + "a");  // 37 bytes
    edJ()->setCursorPosition(5);
    QApplication::clipboard()->setText("x" + QString(3, QChar(0x72AC)));
    edJ()->paste();
    EXPECT_EQ(edJ()->text(),
              QString(5, QChar(0x732B)) + "x" + QChar(0x72AC) + QString(13, QChar(0x732B)) + "a");
    EXPECT_EQ(edJ()->cursorPosition(), 7);
}

TEST_F(EditorTest, BoxesTakeStandardEquivalentsAndRefuseOtherCharactersTheirCodePageCannotHold)
{
    edF()->setFocus();
    Type(edF(), QString("caf") + QChar(0xE9) + QChar(0x732B) + QChar(0x0153));
    EXPECT_EQ(edF()->text(), QString("caf") + QChar(0xE9) + QChar(0x0153));
    Type(edF(), "abcdefghijklmnop");
    EXPECT_EQ(edF()->text().size(), 16);

    edJ()->setFocus();
    Type(edJ(), QString(QChar(0x0153)) + QChar(0x732B));
    EXPECT_EQ(edJ()->text(), QString(QChar(0x732B)));

    // A wave dash as macOS, Linux input methods and web pages give it is stored as ～ (0x8160).
    QApplication::clipboard()->setText(QString::fromUtf8("5〜6"));
    edJ()->paste();
    EXPECT_EQ(edJ()->text(), QString::fromUtf8("猫5～6"));
    Click("btnRenew");
    EXPECT_EQ(form->Doc().Words()[0].JaponaisBytes(),
              "\x94\x4C"
              "5\x81\x60"
              "6");
}

TEST_F(EditorTest, BoxesRefuseCharactersBeyondTheBasicPlaneTypedOrPasted)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");                 // U+1F600
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7");  // France
    for (QLineEdit* box : {edF(), edJ()}) {
        box->setFocus();
        Type(box, "ab");
        // One keystroke or input-method commit brings the whole pair.
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, emoji, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, flag, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, emoji.left(1), Qt::NoModifier);
        EXPECT_EQ(box->text(), "ab");
        QApplication::clipboard()->setText("x" + emoji + "y");
        box->paste();
        EXPECT_EQ(box->text(), "ab");
    }
    Click("btnRenew");
    EXPECT_EQ(form->Doc().Words()[0].FrancaisBytes(), "ab");
    EXPECT_EQ(form->Doc().Words()[0].JaponaisBytes(), "ab");
}

TEST_F(EditorTest, LongValuesFromAFileSurviveAnUpdateOfTheOtherBox)
{
    mirvel::WordList list(1);
    list[0].SetFrancais("abcdefghijklmnopq");                   // 17 bytes
    list[0].SetJaponais(std::string(20, '\x88') + "\x9F\x88");  // 41 bytes, cut inside a character
    const std::string path = dir.File("long.mirvel");
    mirvel::WriteWordFile(path, list);
    shell.openAnswers.push_back(QString::fromStdString(path));
    form->Open1Click();
    EXPECT_EQ(edF()->text(), "abcdefghijklmnopq");

    Click("btnRenew");
    EXPECT_EQ(form->Doc().Words()[0].FrancaisBytes(), "abcdefghijklmnopq");
    EXPECT_EQ(form->Doc().Words()[0].JaponaisBytes(), list[0].JaponaisBytes());
}

// The five bytes Windows-1252 leaves without a character are, as Windows maps them, the C1
// controls of their value both ways: a word holding one keeps it when the word is edited, and
// pasting such a control stores its byte.
TEST_F(EditorTest, TheFiveBytesWithoutACharacterSurviveAnEditOfTheirWord)
{
    const std::string bytes = "\x81\x8D\x8F\x90\x9D";
    mirvel::WordList list(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        list[i].SetFrancais(std::string("a") + bytes[i]);
        list[i].SetJaponais("\x94\x4c");  // 猫
    }
    const std::string path = dir.File("controls.mirvel");
    mirvel::WriteWordFile(path, list);
    shell.openAnswers.push_back(QString::fromStdString(path));
    form->Open1Click();

    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const QChar control(static_cast<unsigned char>(bytes[i]));
        SCOPED_TRACE(control.unicode());
        ClickItem(static_cast<int>(i));
        EXPECT_EQ(edF()->text(), QString("a") + control);
        edF()->setFocus();
        edF()->end(false);
        Type(edF(), "s");
        Type(edJ(), QString(QChar(0x72AC)));  // 犬
        Click("btnRenew");
        EXPECT_EQ(form->Doc().Words()[i].FrancaisBytes(), std::string("a") + bytes[i] + "s");
        EXPECT_EQ(Item(static_cast<int>(i)), QString("a") + control + "s");

        QApplication::clipboard()->setText(QString(control) + "b");
        edF()->selectAll();
        edF()->paste();
        Click("btnRenew");
        EXPECT_EQ(form->Doc().Words()[i].FrancaisBytes(), bytes[i] + std::string("b"));
    }
}

// Under Wine on an X server without a window manager, Wine draws a 2-pixel frame of its own and
// shifts a window placed partly off the screen by a few pixels; Windows' frames are wider and
// keep the position. There the placement rules hold on the offscreen platform, and windows-smoke
// checks the real programs' positions through their settings files.
bool FramedByWine() { return mirvel::test::UnderWine() && QGuiApplication::platformName() == "windows"; }

TEST_F(EditorTest, FirstStartIsCentredAndAStoredPositionIsRestoredAsItIs)
{
    if (FramedByWine()) GTEST_SKIP() << "Wine without a window manager frames and moves windows its own way";
    // Centred by the real outer size: the client area, the menu bar and the frame (2 pixels
    // on every side offscreen), which is known only once the window exists.
    const QSize screen = mirvel::gui::PrimaryScreenSize();
    const QSize outer = form->frameGeometry().size();
    ASSERT_EQ(outer, form->size().grownBy(form->windowHandle()->frameMargins()));
    EXPECT_GT(outer.width(), 467);
    EXPECT_GT(outer.height(), 208 + form->menuBar()->height());
    EXPECT_EQ(mirvel::gui::OuterPosition(*form),
              QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2));

    form->hide();
    mirvel::test::WriteAll(SettingsPath(), "[Form]\r\nLeft=-20\r\nTop=33\r\n");
    Create();
    EXPECT_EQ(mirvel::gui::OuterPosition(*form), QPoint(-20, 33));

    // A stored edge stays as it is; a missing one is centred by the real outer size.
    form->hide();
    mirvel::test::WriteAll(SettingsPath(), "[Form]\r\nTop=33\r\n");
    Create();
    EXPECT_EQ(mirvel::gui::OuterPosition(*form), QPoint((screen.width() - outer.width()) / 2, 33));
}

TEST_F(EditorTest, APositionThatLeavesTooLittleOfTheCaptionOnAScreenComesBackCentred)
{
    if (FramedByWine()) GTEST_SKIP() << "Wine without a window manager frames and moves windows its own way";
    const QPoint centred = mirvel::gui::OuterPosition(*form);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const int width = form->frameGeometry().width();
    // A grip is 16 × 16 pixels of the caption, which is at least that high.
    const std::vector<std::pair<QPoint, QPoint>> cases{
        {{99999999, 33}, centred},
        {{-99999999, 33}, centred},
        {{33, 99999999}, centred},
        {{33, -99999999}, centred},
        {{area.left() + 16 - width, 33}, {area.left() + 16 - width, 33}},
        {{area.left() + 15 - width, 33}, centred},
        {{area.right() + 1 - 16, area.top()}, {area.right() + 1 - 16, area.top()}},
        {{33, area.top() - 1}, centred},
    };
    for (const auto& [stored, shown] : cases) {
        form->hide();
        mirvel::test::WriteAll(SettingsPath(), "[Form]\r\nLeft=" + std::to_string(stored.x()) +
                                                   "\r\nTop=" + std::to_string(stored.y()) + "\r\n");
        Create();
        EXPECT_EQ(mirvel::gui::OuterPosition(*form), shown) << stored.x() << "," << stored.y();
    }
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(EditorTest, ADamagedSettingsFileShowsTheErrorAndTheEditorStillWorks)
{
    form->hide();
    mirvel::test::WriteAll(SettingsPath(), "[Form]\r\nLeft=abc\r\n");
    Create();
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0], "'abc' は整数ではありません.");
    EXPECT_EQ(Counter(), "1/1");
    EXPECT_EQ(SelectedRow(), 0);
    Click("btnAdd");
    EXPECT_EQ(Counter(), "2/2");
}

TEST_F(EditorTest, AboutShowsTheVersionBoxModally)
{
    editor::TForm2 about(form.get());
    form->SetAboutBox(&about);
    QString label;
    shell.modalScripts.push_back([&label](QDialog& dialog) {
        label = dialog.findChild<QLabel*>("Label1")->text();
        dialog.findChild<QPushButton*>("Button1")->click();
        return dialog.result();
    });
    form->findChild<QAction*>("About1")->trigger();
    EXPECT_EQ(shell.modalDialogs, std::vector<QString>{"TForm2"});
    EXPECT_EQ(label, "Mirveledit Ver1.1");
    EXPECT_EQ(about.windowTitle(), "バージョン情報");
    EXPECT_EQ(about.size(), QSize(168, 83));
}

}  // namespace
}  // namespace editor::test

namespace editor::test {
namespace {

TEST_F(EditorTest, ALongListScrollsToTheItemThatBecomesCurrent)
{
    mirvel::WordList list(300);
    for (int i = 0; i < 300; ++i) list[static_cast<std::size_t>(i)].SetFrancais("mot " + std::to_string(i));
    const std::string path = dir.File("long.mirvel");
    mirvel::WriteWordFile(path, list);
    shell.openAnswers.push_back(QString::fromStdString(path));
    form->Open1Click();

    QAbstractItemView* view = ListBox1();
    EXPECT_EQ(view->visualRect(view->model()->index(1, 0)).height(), 14);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(Counter(), "300/300");
    EXPECT_EQ(edF()->text(), "mot 299");
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->model()->index(299, 0))));
    EXPECT_EQ(view->indexAt(view->visualRect(view->model()->index(299, 0)).center()).row(), 299);

    QTest::keyClick(view, Qt::Key_PageUp);
    const int row = SelectedRow();
    EXPECT_LT(row, 299);
    EXPECT_GT(row, 280);
    EXPECT_EQ(edF()->text(), QString("mot %1").arg(row));

    Click("btnDelete");
    EXPECT_EQ(Counter(), QString("%1/299").arg(row));
    Click("btnAdd");
    EXPECT_EQ(Counter(), "300/300");
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->model()->index(299, 0))));
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(Counter(), "1/300");
    EXPECT_EQ(view->visualRect(view->model()->index(0, 0)).top(), 0);
}

}  // namespace
}  // namespace editor::test
