#include "system/HtmlHelp.h"

#include "system/ChmArchive.h"
#include "system/HelpViewer.h"

#include <QFileInfo>
#include <QWidget>

namespace sysapi {

namespace {

// The viewer already showing `file` for `owner`, if any.
HelpViewer* openViewer(QWidget* owner, const QString& file)
{
    const QList<HelpViewer*> viewers = owner ? owner->findChildren<HelpViewer*>(Qt::FindDirectChildrenOnly)
                                             : QList<HelpViewer*>();
    for (HelpViewer* viewer : viewers)
        if (viewer->filePath() == file)
            return viewer;
    return nullptr;
}

QWidget* displayTopic(QWidget* caller, const QString& path)
{
    // "file.chm::/topic.htm" names a topic inside the file.
    const qsizetype separator = path.indexOf(QLatin1String("::"));
    const QString fileName = separator >= 0 ? path.left(separator) : path;
    const QString topic = separator >= 0 ? path.mid(separator + 2) : QString();
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.isFile())
        return nullptr;
    const QString file = info.canonicalFilePath();
    QWidget* owner = caller ? caller->window() : nullptr;

    std::optional<ChmArchive> archive = ChmArchive::open(file);
    if (!archive)
        return nullptr;
    HelpViewer* viewer = openViewer(owner, file);
    if (!viewer)
        viewer = new HelpViewer(std::move(*archive), file, owner);
    if (!topic.isEmpty() && viewer->archive().contains(topic))
        viewer->showTopic(topic);
    else
        viewer->showDefaultTopic();
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

} // namespace

QWidget* HtmlHelp(QWidget* caller, const QString& path, int command, quintptr /*data*/)
{
    if (command != HH_DISPLAY_TOPIC)
        return nullptr;
    try {
        return displayTopic(caller, path);
    } catch (...) {
        return nullptr;
    }
}

} // namespace sysapi
