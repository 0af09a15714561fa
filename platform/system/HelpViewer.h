#pragma once

#include "system/ChmArchive.h"

#include <QString>
#include <QWidget>

#include <memory>

class QAction;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace sysapi {

// The help viewer window: the table of contents of a compiled HTML Help file
// beside its topics, with Back, Forward and Home. Links between topics,
// images and style sheets are read from the file; links to web pages open in
// the desktop's browser; nothing is fetched over the network. The window's
// title is the help file's title. It is never modal.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    // A top-level window; `parent` is the calling window it belongs to.
    HelpViewer(ChmArchive archive, const QString& filePath, QWidget* parent = nullptr);
    ~HelpViewer() override;

    QString filePath() const { return m_filePath; }
    const ChmArchive& archive() const { return *m_archive; }

    // The topic shown, as its path inside the file ("/welcome.htm").
    QString currentTopic() const;
    // Shows a topic; `path` is a path inside the file, anchor allowed.
    void showTopic(const QString& path);
    void showDefaultTopic();

    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contentsTree() const { return m_contents; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }

private:
    void buildContents();
    void followLink(const QUrl& link);
    void onTopicChanged(const QUrl& source);
    void onContentsItemChosen(QTreeWidgetItem* item);
    void switchFocus();

    std::shared_ptr<const ChmArchive> m_archive;
    QString m_filePath;
    QTextBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    bool m_syncingContents = false;
};

} // namespace sysapi
