#include "system/HelpViewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace sysapi {

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kLocalRole = Qt::UserRole;
constexpr int kAnchorRole = Qt::UserRole + 1;

QUrl topicUrl(const QString& path, const QString& anchor = QString())
{
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(normalizedHelpPath(path));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QByteArray missingTopicPage(const QString& path)
{
    return QStringLiteral("<html><body><h1>Topic not found</h1><p>This help file has no topic \"%1\".</p></body></html>")
        .arg(path.toHtmlEscaped())
        .toUtf8();
}

// A text browser whose documents, images and style sheets come from the help
// file. Nothing outside the file is loaded.
class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(std::shared_ptr<const ChmArchive> archive, QWidget* parent)
        : QTextBrowser(parent), m_archive(std::move(archive))
    {
    }

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() != kScheme)
            return {};
        const std::optional<QByteArray> data = m_archive->object(url.path());
        if (data)
            return *data;
        if (type == QTextDocument::HtmlResource)
            return missingTopicPage(url.path());
        return {};
    }

protected:
    // The text control takes Backspace for itself; in a reader it goes back.
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier) {
            backward();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::ShiftModifier) {
            forward();
            event->accept();
            return;
        }
        QTextBrowser::keyPressEvent(event);
    }

private:
    std::shared_ptr<const ChmArchive> m_archive;
};

QToolButton* navigationButton(QAction* action, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpViewer::HelpViewer(ChmArchive archive, const QString& filePath, QWidget* parent)
    // A dialog-type window, so that X11 window managers see the calling
    // window as its owner (WM_TRANSIENT_FOR); it is never modal.
    : QWidget(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint), m_archive(std::make_shared<const ChmArchive>(std::move(archive))), m_filePath(filePath)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_archive->title());

    m_back = new QAction(tr("&Back"), this);
    m_back->setShortcuts({QKeySequence(QKeySequence::Back), QKeySequence(Qt::Key_Backspace)});
    m_back->setToolTip(tr("Back (Alt+Left)"));
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_forward = new QAction(tr("&Forward"), this);
    m_forward->setShortcuts({QKeySequence(QKeySequence::Forward), QKeySequence(Qt::SHIFT | Qt::Key_Backspace)});
    m_forward->setToolTip(tr("Forward (Alt+Right)"));
    m_forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    m_home = new QAction(tr("&Home"), this);
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    m_home->setToolTip(tr("First topic (Alt+Home)"));
    m_home->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    for (QAction* action : {m_back, m_forward, m_home})
        addAction(action);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QAction* action : {m_back, m_forward, m_home})
        buttons->addWidget(navigationButton(action, this));
    buttons->addStretch();

    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    m_browser = new HelpBrowser(m_archive, this);
    m_browser->setObjectName(QStringLiteral("topic"));
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, &HelpViewer::showDefaultTopic);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    // source() still names the previous topic while sourceChanged is emitted.
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::onTopicChanged);
    connect(m_contents, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onContentsItemChosen(item); });
    connect(m_contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { onContentsItemChosen(item); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this, &HelpViewer::switchFocus);

    buildContents();
    resize(780, 560);
    showDefaultTopic();
    m_browser->setFocus();
}

HelpViewer::~HelpViewer() = default;

QString HelpViewer::currentTopic() const { return normalizedHelpPath(m_browser->source().path()); }

void HelpViewer::showTopic(const QString& path)
{
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    m_browser->setSource(topicUrl(path, hash >= 0 ? path.mid(hash + 1) : QString()), QTextDocument::HtmlResource);
}

void HelpViewer::showDefaultTopic() { showTopic(m_archive->defaultTopic()); }

void HelpViewer::buildContents()
{
    std::vector<QTreeWidgetItem*> parents; // parents[d] holds the last item of depth d
    for (const HelpContentsEntry& entry : m_archive->contents()) {
        const auto depth = static_cast<std::size_t>(std::min<std::size_t>(entry.depth, parents.size()));
        parents.resize(depth);
        auto* item = depth == 0 ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        item->setText(0, entry.name.isEmpty() ? entry.local : entry.name);
        item->setData(0, kLocalRole, entry.local);
        item->setData(0, kAnchorRole, entry.anchor);
        parents.push_back(item);
    }
    m_contents->expandAll();
}

void HelpViewer::followLink(const QUrl& link)
{
    const QString text = link.toString();
    // Links into a help file in the Windows forms: "ms-its:file.chm::/topic.htm".
    if (text.contains(QLatin1String("::"))) {
        showTopic(normalizedHelpPath(text) + (link.hasFragment() ? QLatin1Char('#') + link.fragment() : QString()));
        return;
    }
    const QUrl target = link.isRelative() ? m_browser->source().resolved(link) : link;
    if (target.scheme() == kScheme) {
        m_browser->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    const QString scheme = target.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(target);
}

void HelpViewer::onTopicChanged(const QUrl& source)
{
    const QString topic = normalizedHelpPath(source.path()).toLower();
    const QString anchor = source.fragment();
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if ((*it)->data(0, kLocalRole).toString().toLower() != topic)
            continue;
        if (!match || (*it)->data(0, kAnchorRole).toString() == anchor)
            match = *it;
    }
    m_syncingContents = true;
    if (match)
        m_contents->setCurrentItem(match);
    else
        m_contents->clearSelection();
    m_syncingContents = false;
}

void HelpViewer::onContentsItemChosen(QTreeWidgetItem* item)
{
    if (m_syncingContents || !item)
        return;
    const QString local = item->data(0, kLocalRole).toString();
    if (local.isEmpty())
        return;
    const QUrl target = topicUrl(local, item->data(0, kAnchorRole).toString());
    if (target != m_browser->source())
        m_browser->setSource(target, QTextDocument::HtmlResource);
}

void HelpViewer::switchFocus()
{
    if (m_browser->hasFocus())
        m_contents->setFocus(Qt::ShortcutFocusReason);
    else
        m_browser->setFocus(Qt::ShortcutFocusReason);
}

} // namespace sysapi
