#include "tests/viewer/CardFixture.h"

#include "viewer/Unit2.h"
#include "common/os/File.h"

#include <QAccessible>
#include <QMenu>
#include <QScreen>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <cerrno>

namespace viewer::test {
namespace {

using CardWindowTest = CardTest;

// The platform's own number for "access denied", as the file layer's fault seam expects it.
#ifdef _WIN32
constexpr int AccessDenied = 5;  // ERROR_ACCESS_DENIED
#else
constexpr int AccessDenied = EACCES;
#endif

void Click(TForm1& form, const char* button)
{
    QTest::mouseClick(CardTest::Button(form, button), Qt::LeftButton);
}

TEST_F(CardWindowTest, StartsEmptyAndBorderless)
{
    auto form = Create();
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Text(*form, "lblFrancais"), "");
    EXPECT_EQ(Text(*form, "lblJaponais"), "");
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");
    EXPECT_EQ(form->Cards().WordCount(), 0);

    // Nothing to step through, and nothing to fail on.
    Click(*form, "btnNext");
    Click(*form, "btnPrev");
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(CardWindowTest, StepsThroughThreeCardsWithoutWrapping)
{
    auto form = Create({ThreeWords()});
    EXPECT_EQ(Text(*form, "lblDataNum"), "1/3");
    Click(*form, "btnPrev");
    EXPECT_EQ(Text(*form, "lblDataNum"), "1/3");
    Click(*form, "btnNext");
    EXPECT_EQ(Text(*form, "lblFrancais"), QString::fromUtf8("café "));
    EXPECT_EQ(Text(*form, "lblJaponais"), QString::fromUtf8("コーヒー"));
    Action(*form, "Next1")->trigger();
    EXPECT_EQ(Text(*form, "lblDataNum"), "3/3");
    EXPECT_EQ(Text(*form, "lblFrancais"), QString::fromUtf8("l'œuf "));
    Click(*form, "btnNext");
    EXPECT_EQ(Text(*form, "lblDataNum"), "3/3");
    Action(*form, "N3")->trigger();
    EXPECT_EQ(Text(*form, "lblDataNum"), "2/3");
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(CardWindowTest, FrenchFirstThenRevealUntilTheNextCard)
{
    auto form = Create({ThreeWords()});
    EXPECT_EQ(Text(*form, "lblFrancais"), "chat ");
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), QString::fromUtf8("日本語"));

    Click(*form, "btnFJ");
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(Text(*form, "lblJaponais"), QString::fromUtf8("猫"));
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), QString::fromUtf8("フランス語"));

    Click(*form, "btnNext");
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), QString::fromUtf8("日本語"));
}

TEST_F(CardWindowTest, JapaneseFirstWhenTheOrderIsJF)
{
    WriteSettings("[User]\r\nOrder=JF\r\n");
    auto form = Create({ThreeWords()});
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    Click(*form, "btnFJ");
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(Text(*form, "lblFrancais"), "chat ");
}

TEST_F(CardWindowTest, RevealsTogglesGlyphHintAndLanguageItems)
{
    auto form = Create({ThreeWords()});
    QAction* menuF = Action(*form, "menuF");
    QAction* menuJ = Action(*form, "menuJ");
    QPushButton* btnFJ = Button(*form, "btnFJ");
    const bool startShowing = Showing(*form, "lblJaponais");
    const QImage frenchShowing = btnFJ->icon().pixmap(20, 10).toImage();
    EXPECT_FALSE(menuF->isEnabled());
    EXPECT_TRUE(menuJ->isEnabled());

    menuJ->trigger();
    EXPECT_NE(Showing(*form, "lblJaponais"), startShowing);
    EXPECT_TRUE(menuF->isEnabled());
    EXPECT_FALSE(menuJ->isEnabled());
    const QImage japaneseShowing = btnFJ->icon().pixmap(20, 10).toImage();
    EXPECT_NE(frenchShowing, japaneseShowing);
    // The French flag is on the button while the Japanese side shows: blue left band,
    // its white parts and masked edge columns let the face through.
    EXPECT_EQ(qAlpha(japaneseShowing.pixel(0, 5)), 0);
    EXPECT_EQ(qAlpha(japaneseShowing.pixel(9, 5)), 0);
    EXPECT_GT(qBlue(japaneseShowing.pixel(2, 5)), qRed(japaneseShowing.pixel(2, 5)));

    menuF->trigger();
    EXPECT_EQ(Showing(*form, "lblJaponais"), startShowing);
    EXPECT_NE(menuF->isEnabled(), menuJ->isEnabled());
    EXPECT_EQ(btnFJ->icon().pixmap(20, 10).toImage(), frenchShowing);
}

// A word is never markup; a screen reader says what the label shows.
TEST_F(CardWindowTest, WordsShowAsTheyAre)
{
    auto form = Create({WriteList("tags.mirvel", {{"<b>chat</b>", "&lt;i&gt;"}})});
    const auto shown = [&](const char* label) {
        return QAccessible::queryAccessibleInterface(Label(*form, label))->text(QAccessible::Name);
    };
    EXPECT_EQ(shown("lblFrancais"), "<b>chat</b> ");
    EXPECT_EQ(shown("lblJaponais"), "&lt;i&gt;");
}

TEST_F(CardWindowTest, ZeroRecordFileShowsEmptyLabels)
{
    auto form = Create({ThreeWords()});
    const QString empty = WriteList("empty.mirvel", {});
    shell.openAnswers.push_back(empty);
    Click(*form, "btnOpen");
    EXPECT_EQ(Text(*form, "lblFrancais"), "");
    EXPECT_EQ(Text(*form, "lblJaponais"), "");
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");
    Click(*form, "btnNext");
    Click(*form, "btnPrev");
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(CardWindowTest, OpenDialogFilterFolderAndExistenceTest)
{
    auto form = Create({ThreeWords()});
    Click(*form, "btnNext");
    Click(*form, "btnOpen");  // cancelled
    ASSERT_EQ(shell.openCalls.size(), 1u);
    EXPECT_EQ(shell.openCalls[0].filter, "Mirvel files (*.mirvel)|*.mirvel");
    EXPECT_EQ(shell.openCalls[0].initialFolder, QCoreApplication::applicationDirPath());

    const QString missing = QString::fromStdString(dir.File("missing.mirvel"));
    shell.openAnswers.push_back(missing);
    Action(*form, "Open1")->trigger();
    EXPECT_EQ(form->FileName, missing);
    EXPECT_EQ(Text(*form, "lblDataNum"), "2/3");
    EXPECT_TRUE(shell.errors.empty());

    const QString other = WriteList("other.mirvel", {{"un", "\x88\xea"}, {"deux", "\x93\xf1"}});
    shell.openAnswers.push_back(other);
    Click(*form, "btnOpen");
    EXPECT_EQ(Text(*form, "lblDataNum"), "1/2");
    EXPECT_EQ(Text(*form, "lblFrancais"), "un ");
    EXPECT_EQ(shell.openCalls.back().proposedFile, missing);
}

TEST_F(CardWindowTest, FailedLoadLeavesTheCardAndListAsTheyWere)
{
    auto form = Create({ThreeWords()});
    Click(*form, "btnNext");
    Click(*form, "btnFJ");
    const QString bigger = WriteList("four.mirvel", {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}});

    // The read stops short in the third record.
    mirvel::os::InjectShortTransfer(mirvel::os::Op::Read, 1, 130);
    shell.openAnswers.push_back(bigger);
    Click(*form, "btnOpen");
    mirvel::os::ClearFaults();
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0], QString::fromUtf8("ファイルの末尾以降を読み込みました."));

    mirvel::os::InjectFault(mirvel::os::Op::Open, 1, AccessDenied);
    shell.openAnswers.push_back(bigger);
    Click(*form, "btnOpen");
    mirvel::os::ClearFaults();
    ASSERT_EQ(shell.errors.size(), 2u);
    EXPECT_EQ(shell.errors[1], QString::fromUtf8("ファイルへのアクセスが拒否されました."));

    EXPECT_EQ(form->FileName, bigger);
    EXPECT_EQ(Text(*form, "lblDataNum"), "2/3");
    EXPECT_EQ(Text(*form, "lblFrancais"), QString::fromUtf8("café "));
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(form->Cards().WordCount(), 3);
    Click(*form, "btnNext");
    EXPECT_EQ(Text(*form, "lblDataNum"), "3/3");
    EXPECT_EQ(Text(*form, "lblFrancais"), QString::fromUtf8("l'œuf "));
}

TEST_F(CardWindowTest, FailedCommandLineLoadSkipsTheRestOfCreate)
{
    WriteSettings("[Form]\r\nLeft=40\r\nTop=30\r\n");
    auto form = Create({QString::fromStdString(dir.File("nowhere.mirvel"))});
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(shell.errors[0], QString::fromUtf8("ファイルが見つかりません."));
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_TRUE(Button(*form, "btnFJ")->icon().isNull());
    EXPECT_EQ(Button(*form, "btnFJ")->toolTip(), "");
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    EXPECT_EQ(Text(*form, "lblDataNum"), "0/0");

    Click(*form, "btnFJ");
    EXPECT_FALSE(Showing(*form, "lblJaponais"));
    EXPECT_FALSE(Button(*form, "btnFJ")->icon().isNull());
}

TEST_F(CardWindowTest, PopupMenuItemsAndRightClickOnEveryLabel)
{
    auto form = Create({ThreeWords()});
    auto* menu = Find<QMenu>(*form, "PopupMenu1");
    QStringList captions;
    for (QAction* action : menu->actions()) captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, QStringList({"開く(&O)...", "フランス語(&F)", "日本語(&J)", "戻る(&P)", "進む(&N)",
                                     "設定(&T)...", "-", "バージョン情報(&A)..."}));

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    for (const char* name : {"lblFrancais", "lblJaponais", "lblDataNum"}) {
        QLabel* label = Label(*form, name);
        if (label->isHidden()) Click(*form, "btnFJ");
        const QPoint at = label->mapTo(form.get(), label->rect().center());
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000)) << name;
        menu->hide();
    }
}

class Pointer {
public:
    Pointer(QWidget* target, QPoint global) : target_(target), global_(global) {}
    void Press(Qt::MouseButton button)
    {
        buttons_ |= button;
        Send(QEvent::MouseButtonPress, button);
    }
    // The second press of a double-click, as Qt reports it.
    void DoubleClick(Qt::MouseButton button)
    {
        buttons_ |= button;
        Send(QEvent::MouseButtonDblClick, button);
    }
    void MoveBy(int dx, int dy)
    {
        global_ += QPoint(dx, dy);
        Send(QEvent::MouseMove, Qt::NoButton);
    }
    void Release(Qt::MouseButton button)
    {
        buttons_ &= ~button;
        Send(QEvent::MouseButtonRelease, button);
    }

private:
    void Send(QEvent::Type type, Qt::MouseButton button)
    {
        QMouseEvent event(type, target_->mapFromGlobal(global_), global_, button, buttons_, Qt::NoModifier);
        QApplication::sendEvent(target_, &event);
    }
    QWidget* target_;
    QPoint global_;
    Qt::MouseButtons buttons_;
};

TEST_F(CardWindowTest, LeftPressOnAWordDragsTheWindow)
{
    auto form = Create({ThreeWords()});
    form->show();
    const QPoint start = form->pos();
    QLabel* francais = Label(*form, "lblFrancais");
    Pointer pointer(francais, francais->mapToGlobal(QPoint(20, 20)));
    pointer.Press(Qt::LeftButton);
    pointer.MoveBy(30, 20);
    pointer.MoveBy(-5, 5);
    EXPECT_EQ(form->pos(), start + QPoint(25, 25));
    pointer.Release(Qt::LeftButton);
    pointer.MoveBy(40, 40);
    EXPECT_EQ(form->pos(), start + QPoint(25, 25));

    QLabel* japonais = Label(*form, "lblJaponais");
    Click(*form, "btnFJ");
    Pointer again(japonais, japonais->mapToGlobal(QPoint(20, 20)));
    again.Press(Qt::RightButton);
    again.MoveBy(10, 10);
    EXPECT_EQ(form->pos(), start + QPoint(25, 25));
    again.Release(Qt::RightButton);
    again.Press(Qt::LeftButton);
    again.MoveBy(10, -10);
    EXPECT_EQ(form->pos(), start + QPoint(35, 15));
}

TEST_F(CardWindowTest, TheSecondPressOfADoubleClickDragsToo)
{
    auto form = Create({ThreeWords()});
    form->show();
    const QPoint start = form->pos();
    QLabel* francais = Label(*form, "lblFrancais");
    Pointer pointer(francais, francais->mapToGlobal(QPoint(20, 20)));
    pointer.Press(Qt::LeftButton);
    pointer.Release(Qt::LeftButton);
    pointer.DoubleClick(Qt::LeftButton);
    pointer.MoveBy(30, 20);
    EXPECT_EQ(form->pos(), start + QPoint(30, 20));
}

TEST_F(CardWindowTest, PressOnTheCounterDoesNotDrag)
{
    auto form = Create({ThreeWords()});
    form->show();
    const QPoint start = form->pos();
    QLabel* counter = Label(*form, "lblDataNum");
    Pointer pointer(counter, counter->mapToGlobal(QPoint(50, 10)));
    pointer.Press(Qt::LeftButton);
    pointer.MoveBy(30, 20);
    pointer.Release(Qt::LeftButton);
    EXPECT_EQ(form->pos(), start);
}

TEST_F(CardWindowTest, DraggingSnapsToTheWorkAreaAndSticks)
{
    auto form = Create({ThreeWords()});
    form->show();
    form->move(100, 200);
    QLabel* francais = Label(*form, "lblFrancais");
    Pointer pointer(francais, francais->mapToGlobal(QPoint(20, 20)));
    pointer.Press(Qt::LeftButton);
    pointer.MoveBy(-93, 0);  // left edge at 7: pulled onto the work area's edge
    EXPECT_EQ(form->pos(), QPoint(0, 200));
    pointer.MoveBy(10, 0);  // virtually at 17, more than the margin away
    EXPECT_EQ(form->pos(), QPoint(17, 200));
    pointer.MoveBy(-6, 0);  // 11: too far to snap
    EXPECT_EQ(form->pos(), QPoint(11, 200));
}

TEST_F(CardWindowTest, KeyboardMovesFocusAmongTheButtonsAndPressesThem)
{
    auto form = Create({ThreeWords()});
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnOpen"));

    std::vector<QString> visited;
    for (int i = 0; i < 6; ++i) {
        visited.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited,
              (std::vector<QString>{"btnOpen", "btnFJ", "btnPrev", "btnNext", "btnCustom", "btnExit"}));
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnOpen"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnFJ"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnNext"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Text(*form, "lblDataNum"), "2/3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(Text(*form, "lblDataNum"), "3/3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnFJ"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_TRUE(Showing(*form, "lblJaponais"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), Button(*form, "btnExit"));
}

// The card mostly sits inactive on the desktop; its hints show all the same.
TEST_F(CardWindowTest, HintsShowWhileTheCardIsInactive)
{
    auto form = Create();
    form->show();
    QWidget other;
    other.setGeometry(form->geometry().translated(0, form->height() + 50));
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(form->isActiveWindow());

    // As the window system reports a pointer coming to rest on the button (Qt drops a move to
    // where the pointer already is).
    const QPoint rest = Button(*form, "btnOpen")->geometry().center();
    QTest::mouseMove(form->windowHandle(), rest + QPoint(1, 0));
    QTest::mouseMove(form->windowHandle(), rest);
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("開く"));
    QToolTip::hideText();
}

TEST_F(CardWindowTest, AboutBoxIsShownModally)
{
    auto form = Create();
    TForm2 about;
    form->SetDialogs(&about, nullptr);
    Action(*form, "About1")->trigger();
    EXPECT_EQ(shell.modalDialogs, std::vector<QString>{"TForm2"});
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("バージョン情報"));
    EXPECT_EQ(about.size(), QSize(158, 92));
}

TEST_F(CardWindowTest, ExitClosesAndPlacementIsRestoredNextTime)
{
    {
        auto form = Create();
        form->show();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        EXPECT_EQ(form->pos(), QPoint((screen.width() - 156) / 2, (screen.height() - 76) / 2));
        form->move(-20, 45);
        Click(*form, "btnExit");
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(Settings().rfind("[Form]\r\nLeft=-20\r\nTop=45\r\n[User]\r\n", 0), 0u) << Settings();
    auto form = Create();
    EXPECT_EQ(form->pos(), QPoint(-20, 45));
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(CardWindowTest, APositionOffEveryScreenComesBackCentred)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint centred((screen.width() - 156) / 2, (screen.height() - 76) / 2);
    // The word area starts one pixel inside the card; a grip is 16 × 16 pixels of it.
    const std::vector<std::pair<QPoint, QPoint>> cases{
        {{99999999, 45}, centred},
        {{-99999999, 45}, centred},
        {{45, 99999999}, centred},
        {{45, -99999999}, centred},
        {{area.left() - 139, 45}, {area.left() - 139, 45}},
        {{area.left() - 140, 45}, centred},
        {{45, area.bottom() + 1 - 17}, {45, area.bottom() + 1 - 17}},
        {{45, area.bottom() + 1 - 16}, centred},
    };
    for (const auto& [stored, shown] : cases) {
        WriteSettings("[Form]\r\nLeft=" + std::to_string(stored.x()) +
                      "\r\nTop=" + std::to_string(stored.y()) + "\r\n");
        EXPECT_EQ(Create()->pos(), shown) << stored.x() << "," << stored.y();
    }
    EXPECT_TRUE(shell.errors.empty());
}

TEST_F(CardWindowTest, SettingsThatCannotBeWrittenStillLetTheWindowClose)
{
    auto form =
        std::make_unique<TForm1>(shell, QString::fromStdString(dir.File("gone/Mirvel.ini")), QStringList());
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_TRUE(shell.errors[0].contains(QString::fromUtf8("に書き込めません")))
        << shell.errors[0].toStdString();
}

}  // namespace
}  // namespace viewer::test
