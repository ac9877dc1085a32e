#include "common/gui/Fonts.h"

#include <QFont>
#include <QStringList>

namespace mirvel::gui {

void RegisterFontSubstitutes()
{
    static const bool registered = [] {
        QFont::insertSubstitutions(
            QStringLiteral("ＭＳ Ｐゴシック"),
            {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        return true;
    }();
    (void)registered;
}

}  // namespace mirvel::gui
