// The editor's About box as the program creates it, run modally for real, and the settings
// file's name as messages show it.
#include "tests/editor/EditorFixture.h"
#include "tests/support/WhenModal.h"
#include "common/gui/WindowPlacement.h"

#include <QWindow>

namespace editor::test {
namespace {

TEST(EditorAboutBox, IsAModalDialogOwnedByTheMainWindowAndEscapeLeavesItOpen)
{
    mirvel::test::TempDir dir;
    mirvel::gui::QtShell real;
    TForm1 form(real, QString::fromStdString(dir.File("Mirveledit.ini")));
    form.CreateAboutBox();
    form.show();

    bool upAfterEscape = false;
    mirvel::test::WhenModal([&](QWidget* modal) {
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), "TForm2");
        EXPECT_EQ(modal->parentWidget(), &form);
        EXPECT_EQ(modal->windowType(), Qt::Dialog);
        EXPECT_EQ(modal->windowHandle()->transientParent(), form.windowHandle());
        EXPECT_TRUE(modal->isModal());
        EXPECT_EQ(modal->pos(), QPoint(261, 239));
        QTest::keyClick(modal, Qt::Key_Escape);
        upAfterEscape = modal->isVisible();
        modal->findChild<QPushButton*>("Button1")->click();
    });
    form.findChild<QAction*>("About1")->trigger();
    EXPECT_TRUE(upAfterEscape);
    form.hide();
}

TEST(SettingsFile, IsNamedAfterTheExecutableBesideItInThePlatformsSpelling)
{
    const QString path = mirvel::gui::SettingsFilePath();
#ifdef _WIN32
    EXPECT_FALSE(path.contains(QLatin1Char('/'))) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral("\\test_editor.ini"), Qt::CaseInsensitive))
        << path.toStdString();
#else
    EXPECT_EQ(path, QCoreApplication::applicationDirPath() + QStringLiteral("/test_editor.ini"));
#endif
}

}  // namespace
}  // namespace editor::test
