#include "tests/support/AccessibleTree.h"
#include "tests/editor/EditorFixture.h"
#include "editor/ListBoxAccessible.h"
#include "editor/Unit2.h"

#include <QAccessible>

namespace editor::test {
namespace {

// Records what the list tells readers while it lives.
class Announcements {
public:
    Announcements()
    {
        Log().clear();
        previous_ = SetItemAnnouncementObserver(&Record);
    }
    ~Announcements() { SetItemAnnouncementObserver(previous_); }

    // The row of the last announcement of `type`, or -1 when there was none; clears the log.
    int LastRow(QAccessible::Event type)
    {
        int row = -1;
        for (const auto& [announced, event] : Log()) {
            if (event == type) row = announced;
        }
        Log().clear();
        return row;
    }

private:
    static std::vector<std::pair<int, QAccessible::Event>>& Log()
    {
        static std::vector<std::pair<int, QAccessible::Event>> log;
        return log;
    }
    static void Record(const ListBox*, int row, QAccessible::Event type) { Log().emplace_back(row, type); }

    ItemAnnouncementObserver previous_;
};

class EditorAccessibilityTest : public EditorTest {
protected:
    QAccessibleInterface* List() const { return QAccessible::queryAccessibleInterface(ListBox1()); }
    QString NameOf(const char* widget) const
    {
        return QAccessible::queryAccessibleInterface(Get<QWidget>(widget))->text(QAccessible::Name);
    }
    // The rows whose items read as selected.
    std::vector<int> SelectedItems() const
    {
        std::vector<int> rows;
        for (int i = 0; i < List()->childCount(); ++i) {
            if (List()->child(i)->state().selected) rows.push_back(i);
        }
        return rows;
    }
};

TEST_F(EditorAccessibilityTest, ListReadsAsItsFrenchWordsWithTheCurrentOneSelectedAndFocused)
{
    Fill(3);
    QAccessibleInterface* list = List();
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "単語一覧");
    ASSERT_EQ(list->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* item = list->child(i);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->text(QAccessible::Name), QStringLiteral("w%1").arg(i + 1));
        EXPECT_TRUE(item->state().selectable);
        EXPECT_EQ(item->parent(), list);
        EXPECT_EQ(list->indexOfChild(item), i);
        EXPECT_EQ(list->child(i), item) << "the same item is handed out again";
    }
    EXPECT_EQ(list->child(3), nullptr);
    EXPECT_EQ(SelectedItems(), std::vector<int>{2});

    EXPECT_FALSE(list->child(2)->state().focused);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ListBox1()->setFocus();
    EXPECT_TRUE(list->child(2)->state().focused);
    EXPECT_EQ(list->focusChild(), list->child(2));

    // An item read before its row went away no longer stands for anything.
    QAccessibleInterface* last = list->child(2);
    Click("btnDelete");
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(list->childCount(), 2);
}

TEST_F(EditorAccessibilityTest, EveryListCommandSelectsItsItemAndTellsTheReader)
{
    Fill(4);
    Announcements events;
    const auto expectSelected = [&](int row, const char* command) {
        EXPECT_EQ(SelectedItems(), std::vector<int>{row}) << command;
        EXPECT_EQ(events.LastRow(QAccessible::Selection), row) << command;
    };
    Click("btnUp");
    expectSelected(2, "up");
    EXPECT_EQ(List()->child(2)->text(QAccessible::Name), "w4");
    Click("btnPrev");
    expectSelected(1, "previous");
    Click("btnNext");
    expectSelected(2, "next");
    Click("btnDown");
    expectSelected(3, "down");
    Click("btnAdd");
    expectSelected(4, "add");
    EXPECT_EQ(List()->child(4)->text(QAccessible::Name), "");
    Click("btnDelete");
    expectSelected(3, "delete");
    ClickItem(0);
    expectSelected(0, "click");

    // By keyboard the item also takes the focus, which the reader follows.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ListBox1()->setFocus();
    QTest::keyClick(ListBox1(), Qt::Key_Down);
    EXPECT_EQ(events.LastRow(QAccessible::Focus), 1);
    EXPECT_EQ(SelectedItems(), std::vector<int>{1});

    // An update renames the item in place.
    Store("neuf", "新");
    EXPECT_EQ(events.LastRow(QAccessible::NameChanged), 1);
    EXPECT_EQ(List()->child(1)->text(QAccessible::Name), "neuf");
}

// A reader walking a long list must not leave an interface behind for every item it passed.
TEST_F(EditorAccessibilityTest, ALongListKeepsOnlyTheItemsLastAskedFor)
{
    constexpr int Count = 5000;
    mirvel::WordList words(Count);
    for (int i = 0; i < Count; ++i) words[static_cast<std::size_t>(i)].SetFrancais("m" + std::to_string(i));
    const std::string path = dir.File("long.mirvel");
    mirvel::WriteWordFile(path, words);
    shell.openAnswers.push_back(QString::fromStdString(path));
    form->Open1Click();

    QAccessibleInterface* list = List();
    ASSERT_EQ(list->childCount(), Count);
    const QAccessible::Id first = QAccessible::uniqueId(list->child(0));
    for (int i = 0; i < Count; ++i)
        ASSERT_EQ(list->child(i)->text(QAccessible::Name), QStringLiteral("m%1").arg(i));
    EXPECT_EQ(QAccessible::accessibleInterface(first), nullptr) << "the first item was let go";
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "m0");
}

TEST_F(EditorAccessibilityTest, EveryControlHasANameAndTheHintsStayDescriptions)
{
    EXPECT_EQ(NameOf("edF"), "フランス語");
    EXPECT_EQ(NameOf("edJ"), "日本語");
    EXPECT_EQ(NameOf("Image1"), "フランス語");
    EXPECT_EQ(NameOf("Image2"), "日本語");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Get<QWidget>("Image1"))->role(), QAccessible::Graphic);
    EXPECT_EQ(mirvel::test::UnnamedControls(form.get()), QStringList());
    TForm2 about(form.get());
    EXPECT_EQ(mirvel::test::UnnamedControls(&about), QStringList());
}

}  // namespace
}  // namespace editor::test
