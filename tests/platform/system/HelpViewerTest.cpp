// The HTML Help call and its viewer window, in this process on the offscreen
// platform, with the help file the build makes.
#include "system/HelpViewer.h"
#include "system/HtmlHelp.h"

#include "DamagedHelpFiles.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using sysapi::HelpViewer;

namespace {

const QString kHelpFile = QStringLiteral(VEXLO_HELP_FILE);

QSet<QWidget*> topLevelWidgets()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    return QSet<QWidget*>(widgets.begin(), widgets.end());
}

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        caller = std::make_unique<QWidget>();
        caller->setWindowTitle(QStringLiteral("Caller"));
        caller->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(caller.get()));
    }

    HelpViewer* open(const QString& path = kHelpFile)
    {
        return qobject_cast<HelpViewer*>(sysapi::HtmlHelp(caller.get(), path, sysapi::HH_DISPLAY_TOPIC, 0));
    }

    // The viewer takes the keyboard once the window system's activation has
    // been delivered (shortcuts of the window need it).
    static bool becameActive(QWidget* viewer)
    {
        return QTest::qWaitFor([viewer] { return QApplication::activeWindow() == viewer; }, 5000);
    }

    QString shownText(HelpViewer* viewer) const { return viewer->browser()->toPlainText(); }

    std::unique_ptr<QWidget> caller;
};

} // namespace

TEST_F(HelpViewerTest, OpensOnTheDefaultTopicWithTheFilesTitle)
{
    HelpViewer* viewer = open();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Vexlo Help"));
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/welcome.htm"));
    EXPECT_TRUE(shownText(viewer).contains(QStringLiteral("Welcome to Vexlo")));
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->parentWidget(), caller.get()) << "the calling window owns the viewer";
    ASSERT_NE(viewer->windowHandle(), nullptr);
    EXPECT_EQ(viewer->windowHandle()->transientParent(), caller->windowHandle());
    EXPECT_FALSE(viewer->backAction()->isEnabled());
    // The image of the first topic is read from the file.
    const QVariant image = viewer->browser()->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/vexlo.png")));
    EXPECT_TRUE(image.toByteArray().startsWith("\x89PNG"));
    // The caller stays usable: the viewer blocks no input.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(HelpViewerTest, ContentsListTheTopicsAndFollowTheShownTopic)
{
    HelpViewer* viewer = open();
    ASSERT_NE(viewer, nullptr);
    QStringList names;
    for (QTreeWidgetItemIterator it(viewer->contentsTree()); *it; ++it)
        names << (*it)->text(0);
    EXPECT_EQ(names.size(), 10);
    EXPECT_TRUE(names.contains(QStringLiteral("The seed")));
    EXPECT_TRUE(names.contains(QStringLiteral("Troubleshooting")));

    const QList<QTreeWidgetItem*> seed = viewer->contentsTree()->findItems(QStringLiteral("The seed"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(seed.size(), 1);
    viewer->contentsTree()->setCurrentItem(seed.front());
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/seed.htm"));
    EXPECT_TRUE(shownText(viewer).contains(QStringLiteral("at most 2")));

    viewer->showTopic(QStringLiteral("/copy.htm"));
    ASSERT_NE(viewer->contentsTree()->currentItem(), nullptr);
    EXPECT_EQ(viewer->contentsTree()->currentItem()->text(0), QStringLiteral("Copying the password"));
}

TEST_F(HelpViewerTest, LinksBackAndForwardWorkFromTheKeyboard)
{
    HelpViewer* viewer = open();
    ASSERT_NE(viewer, nullptr);
    emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("steps.htm")));
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/steps.htm"));
    emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("seed.htm")));
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/seed.htm"));
    EXPECT_TRUE(viewer->backAction()->isEnabled());

    ASSERT_TRUE(becameActive(viewer));
    viewer->browser()->setFocus();
    QTest::keyClick(viewer->browser(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/steps.htm"));
    QTest::keyClick(viewer->browser(), Qt::Key_Backspace);
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/welcome.htm"));
    EXPECT_FALSE(viewer->backAction()->isEnabled());
    QTest::keyClick(viewer->browser(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/steps.htm"));
    viewer->forwardAction()->trigger();
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/seed.htm"));
    EXPECT_FALSE(viewer->forwardAction()->isEnabled());
    // The keys work from the contents too.
    viewer->contentsTree()->setFocus();
    QTest::keyClick(viewer->contentsTree(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/steps.htm"));
    QTest::keyClick(viewer->contentsTree(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/seed.htm"));

    // A link to a topic the file lacks shows a page that says so.
    emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("nothing.htm")));
    EXPECT_TRUE(shownText(viewer).contains(QStringLiteral("Topic not found")));
    // Links that leave the file do not change the topic.
    viewer->showTopic(QStringLiteral("/seed.htm"));
    emit viewer->browser()->anchorClicked(QUrl(QStringLiteral("ftp://example.org/x")));
    EXPECT_EQ(viewer->currentTopic(), QStringLiteral("/seed.htm"));
}

TEST_F(HelpViewerTest, ASecondCallReusesTheOpenViewerAndEscClosesIt)
{
    QPointer<HelpViewer> first = open();
    ASSERT_TRUE(first);
    first->showTopic(QStringLiteral("/save.htm"));
    HelpViewer* second = open();
    EXPECT_EQ(second, first.data());
    EXPECT_EQ(second->currentTopic(), QStringLiteral("/welcome.htm"));
    HelpViewer* topic = open(kHelpFile + QStringLiteral("::/characters.htm"));
    EXPECT_EQ(topic, first.data());
    EXPECT_EQ(topic->currentTopic(), QStringLiteral("/characters.htm"));

    ASSERT_TRUE(becameActive(first.data()));
    QTest::keyClick(first.data(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "a closed viewer is deleted";
}

TEST_F(HelpViewerTest, MissingFilesAndOtherCommandsShowNothing)
{
    const QSet<QWidget*> before = topLevelWidgets();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(open(folder.filePath(QStringLiteral("Vexlo.chm"))), nullptr);
    EXPECT_EQ(open(folder.path()), nullptr);
    EXPECT_EQ(open(QString()), nullptr);
    EXPECT_EQ(sysapi::HtmlHelp(caller.get(), kHelpFile, 0x000F, 0), nullptr) << "only the default topic is supported";
    EXPECT_EQ(sysapi::HtmlHelp(nullptr, folder.filePath(QStringLiteral("Vexlo.chm")), sysapi::HH_DISPLAY_TOPIC, 0), nullptr);
    EXPECT_EQ(topLevelWidgets(), before);
    EXPECT_TRUE(caller->isVisible());
}

TEST_F(HelpViewerTest, DamagedFilesShowNothingOrAReadableTopicAndNeverCrash)
{
    QFile original(kHelpFile);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QSet<QWidget*> before = topLevelWidgets();
    int index = 0;
    for (const helpfiles::DamagedFile& damaged : helpfiles::damagedCopies(original.readAll(), 40, 6)) {
        const QString path = helpfiles::writeCase(QDir(folder.path()), index++, damaged);
        QPointer<HelpViewer> viewer = open(path);
        if (!viewer)
            continue;
        // What opened shows its topic, and walking its contents shows each entry.
        EXPECT_FALSE(viewer->currentTopic().isEmpty()) << damaged.name.toStdString();
        for (QTreeWidgetItemIterator it(viewer->contentsTree()); *it; ++it)
            viewer->contentsTree()->setCurrentItem(*it);
        viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(topLevelWidgets(), before);
}
