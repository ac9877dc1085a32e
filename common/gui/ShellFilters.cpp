#include "Shell.h"

#include <QDir>
#include <QFileInfo>

namespace mirvel::gui {
namespace {

// The widget file dialog matches patterns with the file system's case rules; spelling each
// letter as a class makes "*.MIRVEL" find "words.mirvel" on every platform.
QString CaseInsensitivePattern(const QString& pattern)
{
#ifdef _WIN32
    return pattern;
#else
    QString result;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            result += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            result += c;
    }
    return result;
#endif
}

}  // namespace

QStringList NameFiltersFromFilter(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) p = CaseInsensitivePattern(p.trimmed());
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

}  // namespace mirvel::gui
