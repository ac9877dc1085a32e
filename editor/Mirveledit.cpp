#include "gui/Fonts.h"
#include "IniFile.h"
#include "Unit1.h"
#include "Unit2.h"
#include "gui/Shell.h"
#include "gui/TextEdge.h"
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
    const QString settingsPath =
        mirvel::gui::FromUtf8(mirvel::SettingsPathFor(mirvel::gui::ToUtf8(mirvel::gui::ExecutablePath())));
    editor::TForm1 form1(shell, settingsPath);
    editor::TForm2 form2(&form1);
    form1.SetAboutBox(&form2);
    form1.show();
    return QApplication::exec();
}
