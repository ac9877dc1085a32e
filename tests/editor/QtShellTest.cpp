// The Qt shell's own boxes and dialogs, run for real.
#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WhenModal.h"
#include "common/gui/Guard.h"
#include "common/gui/Shell.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <new>

namespace mirvel::gui {
namespace {

using test::WhenModal;

TEST(QtShellPrompt, OnlyYesOrNoAnswersNeitherEscapeNorTheCloseBox)
{
    QtShell shell;
    bool upAfterEscape = false;
    bool upAfterClose = false;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "確認");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        QTest::keyClick(box, Qt::Key_Escape);
        upAfterEscape = box->isVisible();
        box->close();
        upAfterClose = box->isVisible();
        QTest::keyClick(box, Qt::Key_Return);  // Yes is the default button
    });
    EXPECT_TRUE(shell.AskYesNo(nullptr, "確認", "変更を保存しますか？"));
    EXPECT_TRUE(upAfterEscape);
    EXPECT_TRUE(upAfterClose);

    WhenModal([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(shell.AskYesNo(nullptr, "確認", "変更を保存しますか？"));
}

// Types a name into the real file dialog and confirms it; the path chosen. Qt's own dialog
// even on Windows, whose native one has no widgets a test can type into: the rules under test
// are applied to whichever dialog's answer.
std::string Choose(const QString& typed, bool save, const std::string& folder)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    WhenModal([typed](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtShell shell;
    FileDialogOptions options;
    options.filter = QStringLiteral("Mirvel files (*.mirvel)|*.mirvel");
    options.defaultExtension = QStringLiteral("mirvel");
    options.initialFolder = QString::fromStdString(folder);
    const auto chosen =
        save ? shell.GetSaveFileName(nullptr, options) : shell.GetOpenFileName(nullptr, options);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false);
    return chosen ? chosen->toStdString() : "(cancelled)";
}

TEST(QtShellFileDialogs, OpenAddsTheExtensionOnlyWhereTheNameAsTypedIsNoFile)
{
    test::TempDir dir;
    const std::string folder =
        QDir::fromNativeSeparators(QString::fromStdString(dir.Path().string())).toStdString();
    test::WriteAll(dir.File("vocab"), "");
    test::WriteAll(dir.File("liste.mirvel"), "");
    EXPECT_EQ(Choose("vocab", false, folder), folder + "/vocab");
    EXPECT_EQ(Choose("liste", false, folder), folder + "/liste.mirvel");
    EXPECT_EQ(Choose("absent", false, folder), folder + "/absent");

    // Save As appends it whatever is there.
    EXPECT_EQ(Choose("vocab", true, folder), folder + "/vocab.mirvel");
    EXPECT_EQ(Choose("oui", true, folder), folder + "/oui.mirvel");
    EXPECT_EQ(Choose("oui.txt", true, folder), folder + "/oui.txt");
}

TEST(QtShellFileDialogs, PatternsMatchAnyCaseAndGiveALowerCaseExtension)
{
    const QString save = QStringLiteral("Mirvel Files(*.mirvel)|*.MIRVEL");
    // Windows' dialog matches any case itself and appends the pattern's extension as spelt.
    EXPECT_EQ(NameFiltersFromFilter(save, PatternCase::Insensitive),
              QStringList{"Mirvel Files(*.mirvel) (*.mirvel)"});
    EXPECT_EQ(NameFiltersFromFilter("A|*.Txt;*.CSV|B|*", PatternCase::Insensitive),
              (QStringList{"A (*.txt *.csv)", "B (*)"}));
    // Elsewhere each letter matches either case.
    EXPECT_EQ(NameFiltersFromFilter(save, PatternCase::Sensitive),
              QStringList{"Mirvel Files(*.mirvel) (*.[mM][iI][rR][vV][eE][lL])"});
#ifdef _WIN32
    EXPECT_EQ(NameFiltersFromFilter(save), QStringList{"Mirvel Files(*.mirvel) (*.mirvel)"});
#else
    EXPECT_EQ(NameFiltersFromFilter(save),
              QStringList{"Mirvel Files(*.mirvel) (*.[mM][iI][rR][vV][eE][lL])"});
#endif
}

TEST(ErrorGuard, RunningOutOfMemorySaysWhatAFileTooLargeForMemorySays)
{
    test::FakeShell shell;
    EXPECT_FALSE(Guarded(shell, nullptr, [] { throw std::bad_alloc(); }));
    EXPECT_EQ(shell.errors, std::vector<QString>{QString::fromUtf8("メモリが足りません.")});
}

}  // namespace
}  // namespace mirvel::gui
