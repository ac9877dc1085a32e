#include "common/gui/Translation.h"

#include <QCoreApplication>
#include <QTranslator>

// The catalogue lives in a static library: naming its resource here makes the linker keep it.
static void InitQtTranslationResources() { Q_INIT_RESOURCE(qt_translations); }

namespace mirvel::gui {

bool InstallJapaneseQtTexts()
{
    static QTranslator* installed = nullptr;
    if (installed) return true;
    InitQtTranslationResources();
    // A fixed file, not one looked up by the system's language.
    auto translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/mirvel/translations/qtbase_ja.qm")) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    return true;
}

}  // namespace mirvel::gui
