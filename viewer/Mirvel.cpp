#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

#include "IniFile.h"
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
    QApplication::setApplicationName(QStringLiteral("Mirvel"));
    mirvel::gui::InstallJapaneseQtTexts();
    mirvel::gui::QtShell shell;

    const QString settingsPath =
        mirvel::gui::FromUtf8(mirvel::SettingsPathFor(mirvel::gui::ToUtf8(mirvel::gui::ExecutablePath())));
    viewer::TForm1 form1(shell, settingsPath, QApplication::arguments().mid(1));
    viewer::TForm2 form2;
    viewer::TForm3 form3;
    form1.SetDialogs(&form2, &form3);
    form1.show();
    return QApplication::exec();
}
