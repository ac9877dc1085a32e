#include "gui/Fonts.h"
#include "Unit1.h"
#include "gui/Shell.h"
#include "gui/Translation.h"
#include "gui/WindowPlacement.h"
#include "os/File.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    mirvel::os::IgnoreFileSizeLimitSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirveledit"));
    mirvel::gui::InstallJapaneseQtTexts();
    mirvel::gui::RegisterFontSubstitutes();

    mirvel::gui::QtShell shell;
    editor::TForm1 form1(shell, mirvel::gui::SettingsFilePath());
    form1.CreateAboutBox();
    form1.show();
    return QApplication::exec();
}
