#include "common/gui/Fonts.h"
#include "editor/Unit1.h"
#include "common/gui/Shell.h"
#include "common/gui/Translation.h"
#include "common/gui/WindowPlacement.h"
#include "common/os/File.h"

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
