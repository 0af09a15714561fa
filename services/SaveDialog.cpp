#include "services/SaveDialog.h"

#include "ui/Dialogs.h"

#include <QFileInfo>

namespace services {
namespace {

// "Text files (*.txt)" from "Text files (*.txt)" and "*.txt"; the pattern is
// added in parentheses when the description does not already end with it,
// because Qt reads the patterns from the last parentheses of a filter.
QString qtNameFilter(const QString& entry)
{
    const qsizetype colon = entry.lastIndexOf(u':');
    if (colon < 0)
        return entry.trimmed(); // patterns alone
    const QString description = entry.left(colon).trimmed();
    QString patterns = entry.mid(colon + 1).trimmed();
    patterns.replace(u';', u' ');
    patterns = patterns.simplified();
    if (description.isEmpty())
        return patterns;
    const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.endsWith(shown))
        return description;
    return description + QLatin1Char(' ') + shown;
}

QStringList qtNameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList entries = filter.split(u'|', Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const QString converted = qtNameFilter(entry);
        if (!converted.isEmpty())
            filters.append(converted);
    }
    return filters;
}

ui::SaveDialogRequest requestFor(const QString& fileName, std::int32_t overwritePrompt, const QString& filter,
                                 std::int32_t filterIndex, const QString& initialDirectory, const QString& dialogTitle,
                                 const QString& defaultExtension, QWidget* owner)
{
    ui::SaveDialogRequest request;
    request.title = dialogTitle.isEmpty() ? QStringLiteral("Save As") : dialogTitle;
    request.fileName = fileName;
    request.nameFilters = qtNameFilters(filter);
    const bool indexInRange = filterIndex >= 1 && filterIndex <= request.nameFilters.size();
    request.filterIndex = indexInRange ? filterIndex - 1 : 0;
    request.initialDirectory = initialDirectory;
    request.defaultSuffix = defaultExtension.startsWith(u'.') ? defaultExtension.mid(1) : defaultExtension;
    request.confirmOverwrite = overwritePrompt != 0;
    request.owner = owner;
    return request;
}

} // namespace

bool ShowSaveDialog(QString& fileName, QString& fileTitle, const std::int32_t& overwritePrompt,
                    const QString& filter, const std::int32_t& filterIndex, const QString& initialDirectory,
                    const QString& dialogTitle, const QString& defaultExtension, QWidget* const& owner,
                    const std::int32_t& flags)
{
    static_cast<void>(flags);
    const std::optional<QString> chosen = ui::dialogs().saveFileName(
        requestFor(fileName, overwritePrompt, filter, filterIndex, initialDirectory, dialogTitle, defaultExtension,
                   owner));
    if (!chosen || chosen->isEmpty())
        return false;
    const QFileInfo file(*chosen);
    fileName = file.absoluteFilePath();
    fileTitle = file.fileName();
    return true;
}

} // namespace services
