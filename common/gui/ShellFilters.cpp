#include "common/gui/Shell.h"

#include <QDir>
#include <QFileInfo>

namespace mirvel::gui {
namespace {

// Spells each letter as a class, so that "*.MIRVEL" finds "words.mirvel" where the dialog
// matches patterns by the file system's case rules.
QString LetterClasses(const QString& pattern)
{
    QString result;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            result += c;
    }
    return result;
}

}  // namespace

QStringList NameFiltersFromFilter(const QString& filter, PatternCase patternCase)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            // Windows' own dialog matches regardless of case, but appends the selected pattern's
            // extension as spelt to a name typed without one: "*.MIRVEL" would save "oui.MIRVEL".
            p = patternCase == PatternCase::Insensitive ? p.toLower() : LetterClasses(p);
        }
        // The description is shown as it stands; the dialog hides the pattern part that follows.
        result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

QString DialogStartPath(const FileDialogOptions& options)
{
    if (!options.proposedFile.isEmpty()) return options.proposedFile;
    return options.initialFolder;
}

QString WithDefaultExtension(const QString& path, const QString& defaultExtension)
{
    if (defaultExtension.isEmpty() || path.isEmpty()) return path;
    if (!QFileInfo(path).suffix().isEmpty()) return path;
    QString result = path;
    if (result.endsWith(QLatin1Char('.'))) result.chop(1);
    return result + QLatin1Char('.') + defaultExtension;
}

QString OpenedFileName(const QString& path, const QString& defaultExtension)
{
    if (path.isEmpty() || QFileInfo::exists(path)) return path;
    const QString extended = WithDefaultExtension(path, defaultExtension);
    return QFileInfo::exists(extended) ? extended : path;
}

}  // namespace mirvel::gui
