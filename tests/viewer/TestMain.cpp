#include "common/gui/Translation.h"

#include <QApplication>
#include <gtest/gtest.h>

// The forms need a QApplication; CTest runs this offscreen.
int main(int argc, char* argv[])
{
    qunsetenv("QT_QPA_PLATFORMTHEME");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirvel"));
    // The forms are built here as in the programs, with Qt's texts in Japanese.
    mirvel::gui::InstallJapaneseQtTexts();
    return RUN_ALL_TESTS();
}
