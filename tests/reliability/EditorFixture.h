#pragma once

#include "tests/support/FakeShell.h"
#include "tests/reliability/Reliability.h"
#include "tests/support/TempDir.h"
#include "editor/Unit1.h"
#include "tests/reliability/ViewerFixture.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <string>
#include <tuple>

namespace mirvel::reliability {

// Everything the editor's window shows and holds of its document.
struct EditorState {
    std::string words;
    std::int32_t index;
    bool modified;
    std::string fileName;
    QString fileLabel, counter, francais, japonais;
    int items, selectedRow;

    static EditorState Of(const editor::TForm1& form)
    {
        const auto* list = form.findChild<QAbstractItemView*>("ListBox1");
        const auto selected = list->selectionModel()->selectedIndexes();
        return {Bytes(form.Doc().Words()),
                form.Doc().WordIndex(),
                form.Doc().Modified(),
                form.Doc().FileName(),
                form.findChild<QLabel*>("lblFileName")->text(),
                form.findChild<QLabel*>("lblIndex")->text(),
                form.findChild<QLineEdit*>("edF")->text(),
                form.findChild<QLineEdit*>("edJ")->text(),
                list->model()->rowCount(),
                selected.size() == 1 ? selected.first().row() : -1};
    }
    auto Tied() const
    {
        return std::tie(words, index, modified, fileName, fileLabel, counter, francais, japonais, items,
                        selectedRow);
    }
    bool operator==(const EditorState& other) const { return Tied() == other.Tied(); }
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { os::ClearFaults(); }
    void TearDown() override { os::ClearFaults(); }

    QString SettingsPath() const { return QString::fromStdString(dir.File("Mirveledit.ini")); }
    std::unique_ptr<editor::TForm1> Create()
    {
        auto form = std::make_unique<editor::TForm1>(shell, SettingsPath());
        form->show();
        return form;
    }
    std::string Write(const std::string& name, const WordList& words) const
    {
        WriteWordFile(dir.File(name), words);
        return dir.File(name);
    }
    // An editor holding `path`, its second pair current and changed (not yet saved).
    std::unique_ptr<editor::TForm1> EditedDocument(const std::string& path)
    {
        auto form = Create();
        shell.openAnswers.push_back(QString::fromStdString(path));
        form->Open1Click();
        form->btnNextClick();
        form->findChild<QLineEdit*>("edF")->setText(QStringLiteral("chang\u00e9"));
        form->btnRenewClick();
        return form;
    }
    // Lets a window go without the closing question the test didn't ask for.
    static void Discard(std::unique_ptr<editor::TForm1>& form)
    {
        form->hide();
        form.reset();
    }
    std::string Scratch() const { return dir.File("probe"); }

    test::TempDir dir;
    test::FakeShell shell;
};

}  // namespace mirvel::reliability
