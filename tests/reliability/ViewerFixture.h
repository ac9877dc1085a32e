#pragma once

#include "tests/support/FakeShell.h"
#include "tests/reliability/Reliability.h"
#include "tests/support/TempDir.h"
#include "viewer/Unit1.h"

#include "common/WordFile.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <tuple>

namespace mirvel::reliability {

// A list of `count` pairs whose unused bytes carry a pattern, so that any record mixed up or
// lost shows.
inline WordList PatternedList(int count, const std::string& prefix)
{
    WordList words(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto* bytes = reinterpret_cast<unsigned char*>(&words[static_cast<std::size_t>(i)]);
        for (std::size_t b = 0; b < RecordSize; ++b) bytes[b] = static_cast<unsigned char>(i * 13 + b);
        words[static_cast<std::size_t>(i)].SetFrancais(prefix + std::to_string(i));
        words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea" + std::to_string(i));  // 単語
    }
    return words;
}

inline std::string Bytes(const WordList& words)
{
    return {reinterpret_cast<const char*>(words.data()), words.size() * RecordSize};
}

// Everything the card shows and holds.
struct CardState {
    std::string words;
    std::int32_t count, index;
    int revealTag;
    QString francais, japonais, counter, revealHint;
    bool japonaisShown, menuF, menuJ;

    static CardState Of(const viewer::TForm1& form)
    {
        const auto label = [&](const char* name) { return form.findChild<QLabel*>(name); };
        const auto action = [&](const char* name) { return form.findChild<QAction*>(name); };
        return {Bytes(form.Cards().Words()),       form.Cards().WordCount(),
                form.Cards().WordIndex(),          form.Cards().RevealTag(),
                label("lblFrancais")->text(),      label("lblJaponais")->text(),
                label("lblDataNum")->text(),       form.findChild<QPushButton*>("btnFJ")->toolTip(),
                !label("lblJaponais")->isHidden(), action("menuF")->isEnabled(),
                action("menuJ")->isEnabled()};
    }
    auto Tied() const
    {
        return std::tie(words, count, index, revealTag, francais, japonais, counter, revealHint,
                        japonaisShown, menuF, menuJ);
    }
    bool operator==(const CardState& other) const { return Tied() == other.Tied(); }
};

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { os::ClearFaults(); }
    void TearDown() override { os::ClearFaults(); }

    QString SettingsPath() const { return QString::fromStdString(dir.File("Mirvel.ini")); }
    std::unique_ptr<viewer::TForm1> Create(QStringList args = {})
    {
        auto form = std::make_unique<viewer::TForm1>(shell, SettingsPath(), std::move(args));
        form->show();
        return form;
    }
    QString Write(const std::string& name, const WordList& words) const
    {
        WriteWordFile(dir.File(name), words);
        return QString::fromStdString(dir.File(name));
    }
    static void Click(viewer::TForm1& form, const char* button)
    {
        QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    std::string Scratch() const { return dir.File("probe"); }

    test::TempDir dir;
    test::FakeShell shell;
};

}  // namespace mirvel::reliability
