// The About button: Quorrel's about box, created through the registry hive,
// filled from the program's application object; a missing Quorrel is a
// numbered error in a message box.
#include "MainWindowFixture.h"

#include "about/AboutDialogWatcher.h"

#include "system/RegistryHive.h"
#include "ui/EventModel.h"

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using sysapi::RegistryHive;

// The shown main window with a hive of the test's own.
class frmMainAboutTest : public ShownMainWindow {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        hive = std::make_unique<RegistryHive>(directory.filePath(QStringLiteral("registry.reg")));
        RegistryHive::setCurrent(hive.get());
        ShownMainWindow::SetUp();
    }
    void TearDown() override { RegistryHive::setCurrent(nullptr); }

    void registerQuorrel()
    {
        QProcess tool;
        tool.start(QStringLiteral(VEXLO_REGSVR),
                   {QStringLiteral("/s"), QStringLiteral("/hive:") + hive->filePath(), QStringLiteral(QUORREL_LIBRARY_FILE)});
        ASSERT_TRUE(tool.waitForFinished(30000));
        ASSERT_EQ(tool.exitCode(), 0);
        ASSERT_TRUE(hive->load());
    }

    QTemporaryDir directory;
    std::unique_ptr<RegistryHive> hive;
};

// Runs first in a process of its own: once Quorrel is loaded it stays.
TEST_F(frmMainAboutTest, WithoutQuorrelAboutReportsTheNumberedErrorAndTheWindowStaysUsable)
{
    dialogs.answerMessageBox(ui::MessageResult::OK);
    w().cmdAbout->click();
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    const ui::MessageBoxRequest& box = dialogs.messageBoxes().front();
    EXPECT_EQ(box.title, QStringLiteral("Vexlo 1.1"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Error 429: "))) << box.text.toStdString();
    EXPECT_TRUE(ui::atTopLevel()) << "a wait of the About command outlived it";
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(w().cmdGenerate->isEnabled());
}

TEST_F(frmMainAboutTest, AboutShowsTheProgramsNameVersionAndNoticeOverTheWindow)
{
    registerQuorrel();
    QString title;
    QString notice;
    bool sysInfo = false;
    const QWidget* transientFor = nullptr;
    AboutDialogWatcher watcher([&](QDialog& dialog) {
        title = AboutDialogWatcher::caption(dialog, "lblProductName");
        notice = AboutDialogWatcher::caption(dialog, "lblCopyrightMsg");
        sysInfo = dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isVisible();
        if (dialog.windowHandle() && dialog.windowHandle()->transientParent() == w().windowHandle())
            transientFor = &w();
    });
    w().cmdAbout->click();
    EXPECT_TRUE(watcher.wasShown());
    EXPECT_FALSE(watcher.timedOut());
    EXPECT_EQ(title, QStringLiteral("Vexlo 1.1\rVersion: 1.01.0000"));
    EXPECT_TRUE(notice.startsWith(QStringLiteral("Copyright"))) << notice.toStdString();
    EXPECT_TRUE(sysInfo);
    EXPECT_EQ(transientFor, &w());
    EXPECT_TRUE(dialogs.messageBoxes().empty());

    // The object is kept: a second click shows the box again.
    AboutDialogWatcher again;
    w().cmdAbout->click();
    EXPECT_TRUE(again.wasShown());
    EXPECT_TRUE(ui::atTopLevel()) << "a wait of the About command outlived it";
}

} // namespace
