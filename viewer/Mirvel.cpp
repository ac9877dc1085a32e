#include "Unit1.h"

#include "gui/Shell.h"
#include "gui/WindowPlacement.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirvel"));
    mirvel::gui::QtShell shell;

    viewer::TForm1 form1(shell, mirvel::gui::SettingsFilePath(), QApplication::arguments().mid(1));
    form1.CreateDialogs();
    form1.show();
    return QApplication::exec();
}
