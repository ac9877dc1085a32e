#include "viewer/Unit1.h"

#include "common/gui/Shell.h"
#include "common/gui/Translation.h"
#include "common/gui/WindowPlacement.h"
#include "common/os/File.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    mirvel::os::IgnoreFileSizeLimitSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirvel"));
    mirvel::gui::InstallJapaneseQtTexts();
    mirvel::gui::QtShell shell;

    viewer::TForm1 form1(shell, mirvel::gui::SettingsFilePath(), QApplication::arguments().mid(1));
    form1.CreateDialogs();
    form1.show();
    return QApplication::exec();
}
