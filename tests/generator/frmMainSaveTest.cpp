// Saving the password to a text file, the unsaved-password question on
// closing, and copying to the clipboard.
#include "MainWindowFixture.h"

#include "automation/AutomationError.h"
#include "ui/SecretClipboard.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kSuccessTail = QByteArray("\rMake sure you keep the file on a disk in a safe place!");

class SaveTest : public ShownMainWindow {
protected:
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    static QByteArray contentOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static int modeOf(const QString& file)
    {
        struct stat status {};
        return ::stat(QFile::encodeName(file).constData(), &status) == 0 ? static_cast<int>(status.st_mode & 0777) : -1;
    }
    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    void setPassword(const QString& password) { w().lblPassword->setText(password); }

    QTemporaryDir folder;
};

TEST_F(SaveTest, TheButtonAsksForTheFileAndTheDescription)
{
    setPassword(QStringLiteral("pa$$word"));
    dialogs.answerSaveDialog(path("mine.txt"));
    dialogs.answerInputBox(QStringLiteral("Mail account"));
    dialogs.answerMessageBox(ui::MessageResult::OK);
    QTest::mouseClick(w().cmdSave, Qt::LeftButton);

    ASSERT_EQ(dialogs.saveDialogs().size(), 1u);
    EXPECT_EQ(dialogs.saveDialogs()[0].title, QStringLiteral("Save Password To"));
    EXPECT_EQ(dialogs.saveDialogs()[0].nameFilters,
              (QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")}));
    ASSERT_EQ(dialogs.inputBoxes().size(), 1u);
    EXPECT_EQ(dialogs.inputBoxes()[0].prompt, QStringLiteral("What description would you like to place in the text file?"));
    EXPECT_EQ(dialogs.inputBoxes()[0].title, QStringLiteral("Vexlo 1.1"));
    EXPECT_EQ(dialogs.inputBoxes()[0].defaultText, QString());
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.messageBoxes()[0].text.toLatin1(), "Successfuly saved password to file mine.txt" + kSuccessTail);
    EXPECT_EQ(dialogs.messageBoxes()[0].icon, ui::MessageIcon::Information);

    EXPECT_EQ(contentOf(path("mine.txt")), QByteArray("Mail account\r\npa$$word\r\n"));
    EXPECT_EQ(modeOf(path("mine.txt")), 0600);
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("mine.txt")}); // no temporary file left
}

TEST_F(SaveTest, TheChosenFileAndDescriptionAreWrittenBack)
{
    dialogs.answerSaveDialog(path("back.txt"));
    dialogs.answerInputBox(QStringLiteral("typed"));
    QString fileName;
    QString description;
    EXPECT_TRUE(form.Save(fileName, description));
    EXPECT_EQ(fileName, path("back.txt"));
    EXPECT_EQ(description, QStringLiteral("typed"));
    // Saving before any generation writes the design text and clears the flag.
    EXPECT_EQ(contentOf(fileName),
              QByteArray("typed\r\nClick the Generate button to generate a new password.\r\n"));
    EXPECT_FALSE(form.passwordUnsaved());
}

TEST_F(SaveTest, CancellingTheDialogWritesNothing)
{
    form.Generate();
    QString fileName;
    QString description;
    EXPECT_FALSE(form.Save(fileName, description));
    EXPECT_TRUE(filesInFolder().isEmpty());
    EXPECT_TRUE(dialogs.inputBoxes().empty());
    EXPECT_TRUE(dialogs.messageBoxes().empty());
    EXPECT_TRUE(form.passwordUnsaved());
    EXPECT_TRUE(fileName.isEmpty());
}

TEST_F(SaveTest, CancellingThePromptLeavesTheFirstLineEmpty)
{
    setPassword(QStringLiteral("x"));
    dialogs.answerSaveDialog(path("empty.txt"));
    dialogs.answerInputBox(std::nullopt);
    QString fileName;
    QString description;
    EXPECT_TRUE(form.Save(fileName, description));
    EXPECT_EQ(contentOf(path("empty.txt")), QByteArray("\r\nx\r\n"));
}

TEST_F(SaveTest, BothTextsGivenAskNothingButTheSuccess)
{
    setPassword(QString::fromUtf8("a\rb\x01\u00e9\u20ac"));
    QString fileName = path("given.txt");
    QString description = QString::fromUtf8("caf\u00e9 \u0100");
    EXPECT_TRUE(form.Save(fileName, description));
    EXPECT_TRUE(dialogs.saveDialogs().empty());
    EXPECT_TRUE(dialogs.inputBoxes().empty());
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    EXPECT_EQ(dialogs.messageBoxes()[0].text.toLatin1(), "Successfuly saved password to file " + kSuccessTail);
    // Windows-1252: the carriage return splits line 2; a character outside the page becomes "?".
    EXPECT_EQ(contentOf(fileName), QByteArray("caf\xE9 ?\r\na\rb\x01\xE9\x80\r\n"));
}

TEST_F(SaveTest, AMissingFolderIsPathNotFound)
{
    QString fileName = folder.filePath(QStringLiteral("no/such/folder/x.txt"));
    QString description = QStringLiteral("d");
    try {
        form.Save(fileName, description);
        ADD_FAILURE() << "saved into a folder that does not exist";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), automation::ErrorNumber::PathNotFound);
        EXPECT_TRUE(error.description().contains(fileName));
    }
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

TEST_F(SaveTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const QString fileName = path("old.txt");
    {
        QFile old(fileName);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old content\r\n");
    }
    setPassword(QString(4096, u'x'));
    // Files may grow to 100 bytes only: the write fails as on a full disk.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    int number = 0;
    try {
        QString name = fileName;
        QString description = QStringLiteral("d");
        form.Save(name, description);
    } catch (const automation::AutomationError& error) {
        number = error.number();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(number, automation::ErrorNumber::DiskFull);
    EXPECT_EQ(contentOf(fileName), QByteArray("old content\r\n"));
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("old.txt")});
}

TEST_F(SaveTest, AFolderThatRefusesWritingIsPermissionDenied)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write anywhere";
    const QString fileName = path("kept.txt");
    QFile(fileName).open(QIODevice::WriteOnly);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    int number = 0;
    try {
        QString name = fileName;
        QString description = QStringLiteral("d");
        form.Save(name, description);
    } catch (const automation::AutomationError& error) {
        number = error.number();
    }
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    EXPECT_EQ(number, automation::ErrorNumber::PermissionDenied);
    EXPECT_TRUE(QFile::exists(fileName));
}

// ------------------------------------------------------------------ closing

class CloseTest : public SaveTest {
protected:
    void clickClose() { QTest::mouseClick(w().cmdClose, Qt::LeftButton); }
    int questionsAsked() const
    {
        int count = 0;
        for (const auto& box : dialogs.messageBoxes())
            count += box.buttons == ui::MessageButtons::YesNoCancel;
        return count;
    }
    void saveGiven()
    {
        QString fileName = path("saved.txt");
        QString description = QStringLiteral("d");
        dialogs.answerMessageBox(ui::MessageResult::OK);
        form.Save(fileName, description);
    }
};

TEST_F(CloseTest, NothingGeneratedAsksNothingAndEndsTheProgram)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    clickClose();
    EXPECT_TRUE(dialogs.messageBoxes().empty());
    EXPECT_EQ(end.count(), 1);
    EXPECT_FALSE(form.isLoaded());
}

TEST_F(CloseTest, GenerateThenCloseAsksAndCancelKeepsEverything)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::Cancel);
    clickClose();
    ASSERT_EQ(questionsAsked(), 1);
    const auto& question = dialogs.messageBoxes().back();
    EXPECT_EQ(question.text, QStringLiteral("You have not save the generated password.\rDo you want to save it now?"));
    EXPECT_EQ(question.icon, ui::MessageIcon::Question);
    EXPECT_EQ(end.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.unloadAccepted());
}

TEST_F(CloseTest, NoClosesWithoutSaving)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::No);
    clickClose();
    EXPECT_EQ(end.count(), 1);
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(CloseTest, YesSavesThenClosesEvenWhenTheDialogIsCancelled)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::Yes);
    clickClose();
    EXPECT_EQ(dialogs.saveDialogs().size(), 1u);
    EXPECT_EQ(end.count(), 1);
    EXPECT_TRUE(form.unloadAccepted());
}

TEST_F(CloseTest, AFailedSaveOnYesIsReportedAndTheWindowStays)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::Yes);
    dialogs.answerSaveDialog(folder.filePath(QStringLiteral("missing/x.txt")));
    dialogs.answerInputBox(QStringLiteral("d"));
    dialogs.answerMessageBox(ui::MessageResult::OK); // the report
    clickClose();
    EXPECT_EQ(end.count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.passwordUnsaved());
    EXPECT_TRUE(dialogs.messageBoxes().back().text.startsWith(QStringLiteral("Error 76: Path not found")));
}

TEST_F(CloseTest, TheQuestionFollowsSavesAndNewPasswords)
{
    form.Generate();
    saveGiven();
    form.Unload(); // Generate, Save, close: no question
    EXPECT_EQ(questionsAsked(), 0);
    EXPECT_FALSE(form.isLoaded());

    form.Show();
    form.Generate();
    saveGiven();
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::Cancel);
    form.Unload(); // Generate, Save, Generate, close: asked again
    EXPECT_EQ(questionsAsked(), 1);

    form.Copy();
    dialogs.answerMessageBox(ui::MessageResult::Cancel);
    form.Unload(); // Generate, Copy, close: copying does not count as saving
    EXPECT_EQ(questionsAsked(), 2);
    EXPECT_TRUE(form.isLoaded());
}

TEST_F(CloseTest, FieldsOutliveTheLoadedWindow)
{
    form.MemoryName = QStringLiteral("Mirrak");
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::No);
    form.Unload(); // as the close box or Terminate do: the program goes on
    EXPECT_FALSE(form.isLoaded());

    form.Load();
    EXPECT_EQ(form.MemoryName, QStringLiteral("Mirrak"));
    EXPECT_TRUE(form.passwordUnsaved());
    EXPECT_TRUE(form.unloadAccepted());
    EXPECT_EQ(w().lblPassword->text(), QStringLiteral("Click the Generate button to generate a new password."));
    EXPECT_EQ(form.stepTips()[3], QStringLiteral("Click the Copy button to copy the password to Mirrak."));
    EXPECT_FALSE(form.isVisible());
    // Closing the reloaded window asks the question again.
    dialogs.answerMessageBox(ui::MessageResult::Cancel);
    form.Unload();
    EXPECT_FALSE(form.unloadAccepted());
}

TEST_F(CloseTest, TheCloseBoxUnloadsWithoutEndingTheProgram)
{
    QSignalSpy end(&form, &frmMain::endProgramRequested);
    QSignalSpy unloaded(&form, &frmMain::unloaded);
    w().close();
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(end.count(), 0);
    EXPECT_FALSE(form.isLoaded());
}

// ------------------------------------------------------------------ copy

using CopyTest = ShownMainWindow;

TEST_F(CopyTest, WithoutTheCompanionTheClipboardTakesThePasswordAsASecret)
{
    const QString password = form.Generate();
    EXPECT_EQ(form.Copy(), password);
    EXPECT_TRUE(dialogs.messageBoxes().empty());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), password);
    EXPECT_EQ(data->data(QString::fromLatin1(ui::kPasswordManagerHintFormat)), QByteArray("secret"));
    EXPECT_EQ(focusName(), QStringLiteral("cmdClose"));
    EXPECT_EQ(form.currentStep(), 5);
    EXPECT_FALSE(w().cmdNextStep->isEnabled());
    EXPECT_TRUE(form.passwordUnsaved());
}

TEST_F(CopyTest, BeforeAnyPasswordTheDesignTextIsCopied)
{
    const QString design = QStringLiteral("Click the Generate button to generate a new password.");
    EXPECT_EQ(form.Copy(), design);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), design);
}

TEST_F(CopyTest, AnEmptyPasswordCopiesEmptyText)
{
    w().txtPassLen->setText(QStringLiteral("0"));
    form.Generate();
    EXPECT_EQ(form.Copy(), QString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}

} // namespace
