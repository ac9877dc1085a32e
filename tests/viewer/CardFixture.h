#pragma once

#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "viewer/Unit1.h"

#include "common/WordFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace viewer::test {

// One card window per test, with its settings file and word lists in a fresh folder.
class CardTest : public ::testing::Test {
public:
    mirvel::test::TempDir dir;
    mirvel::test::FakeShell shell;

    QString SettingsPath() const { return QString::fromStdString(dir.File("Mirvel.ini")); }
    std::string Settings() const { return mirvel::test::ReadAll(dir.File("Mirvel.ini")); }
    void WriteSettings(const std::string& text) const
    {
        mirvel::test::WriteAll(dir.File("Mirvel.ini"), text);
    }

    std::unique_ptr<TForm1> Create(QStringList args = {})
    {
        return std::make_unique<TForm1>(shell, SettingsPath(), std::move(args));
    }

    // French in Windows-1252, Japanese in Shift-JIS, as a file holds them.
    QString WriteList(const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& pairs) const
    {
        mirvel::WordList words(pairs.size());
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            words[i].SetFrancais(pairs[i].first);
            words[i].SetJaponais(pairs[i].second);
        }
        const std::string path = dir.File(name);
        mirvel::WriteWordFile(path, words);
        return QString::fromStdString(path);
    }

    QString ThreeWords() const
    {
        return WriteList("three.mirvel", {{"chat", "\x94\x4c"},                             // 猫
                                          {"caf\xe9", "\x83\x52\x81\x5b\x83\x71\x81\x5b"},  // café, コーヒー
                                          {"l'\x9c"
                                           "uf",
                                           "\x97\x91"}});  // l'œuf, 卵
    }

    template <typename T>
    static T* Find(const TForm1& form, const char* name)
    {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QLabel* Label(const TForm1& form, const char* name) { return Find<QLabel>(form, name); }
    static QPushButton* Button(const TForm1& form, const char* name) { return Find<QPushButton>(form, name); }
    static QAction* Action(const TForm1& form, const char* name) { return Find<QAction>(form, name); }

    static QString Text(const TForm1& form, const char* label) { return Label(form, label)->text(); }
    // Shown relative to the card, whether or not the card itself is on screen yet.
    static bool Showing(const TForm1& form, const char* label) { return !Label(form, label)->isHidden(); }

    static const std::vector<const char*>& ButtonNames()
    {
        static const std::vector<const char*> names{"btnOpen", "btnFJ",     "btnPrev",
                                                    "btnNext", "btnCustom", "btnExit"};
        return names;
    }
};

}  // namespace viewer::test
