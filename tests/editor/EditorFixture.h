#pragma once

#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "editor/Unit1.h"
#include "common/WordFile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace editor::test {

// The real main window, offscreen, with a scripted shell and its settings file in a fresh
// folder.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { Create(); }
    void TearDown() override
    {
        // Let the window go without the closing prompt the test didn't ask for.
        if (form) form->hide();
        form.reset();
    }

    void Create()
    {
        form = std::make_unique<TForm1>(shell, QString::fromStdString(SettingsPath()));
        form->show();
    }
    std::string SettingsPath() const { return dir.File("Mirveledit.ini"); }

    template <typename T>
    T* Get(const char* name) const
    {
        auto* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* edF() const { return Get<QLineEdit>("edF"); }
    QLineEdit* edJ() const { return Get<QLineEdit>("edJ"); }
    QAbstractItemView* ListBox1() const { return Get<QAbstractItemView>("ListBox1"); }
    QString Counter() const { return Get<QLabel>("lblIndex")->text(); }
    QString FileLabel() const { return Get<QLabel>("lblFileName")->text(); }
    void Click(const char* button) const { QTest::mouseClick(Get<QPushButton>(button), Qt::LeftButton); }

    int SelectedRow() const
    {
        const auto rows = ListBox1()->selectionModel()->selectedIndexes();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    QString Item(int row) const { return ListBox1()->model()->index(row, 0).data().toString(); }
    int ItemCount() const { return ListBox1()->model()->rowCount(); }

    // Clicks item `row` as the user does.
    void ClickItem(int row) const
    {
        QAbstractItemView* list = ListBox1();
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // Types a pair into the boxes and stores it with the update button.
    void Store(const QString& francais, const QString& japonais) const
    {
        edF()->setText(francais);
        edJ()->setText(japonais);
        Click("btnRenew");
    }
    // A document of pairs "w1".."wN" with Japanese "j1".."jN", stored through the window.
    void Fill(int count) const
    {
        for (int i = 1; i <= count; ++i) {
            if (i > 1) Click("btnAdd");
            Store(QStringLiteral("w%1").arg(i), QStringLiteral("j%1").arg(i));
        }
    }

    mirvel::test::TempDir dir;
    mirvel::test::FakeShell shell;
    std::unique_ptr<TForm1> form;
};

}  // namespace editor::test
