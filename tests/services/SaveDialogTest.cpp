#include "services/SaveDialog.h"

#include "ScriptedDialogs.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

using services::ShowSaveDialog;

namespace {

const QString kGeneratorFilter = QStringLiteral("Text files (*.txt):*.txt|All files (*.*):*.*");

class SaveDialogTest : public ::testing::Test {
protected:
    // The dialog as the generator opens it, with a few settings to vary.
    bool show(QWidget* owner = nullptr)
    {
        return ShowSaveDialog(fileName, fileTitle, overwritePrompt, filter, filterIndex, initialDirectory, title,
                              defaultExtension, owner, flags);
    }

    const ui::SaveDialogRequest& request() const { return dialogs.saveDialogs().back(); }

    ScriptedDialogs dialogs;
    QString fileName;
    QString fileTitle;
    std::int32_t overwritePrompt = -1;
    QString filter = kGeneratorFilter;
    std::int32_t filterIndex = 1;
    QString initialDirectory;
    QString title = QStringLiteral("Save Password To");
    QString defaultExtension;
    std::int32_t flags = 0;
};

TEST_F(SaveDialogTest, AsTheGeneratorAsksTheChosenPathAndNameComeBack)
{
    QWidget owner;
    dialogs.answerSaveDialog(QStringLiteral("/home/user/keys/site.txt"));
    EXPECT_TRUE(show(&owner));
    EXPECT_EQ(fileName, QStringLiteral("/home/user/keys/site.txt"));
    EXPECT_EQ(fileTitle, QStringLiteral("site.txt"));

    ASSERT_EQ(dialogs.saveDialogs().size(), 1u);
    EXPECT_EQ(request().title, QStringLiteral("Save Password To"));
    EXPECT_EQ(request().nameFilters, (QStringList{QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")}));
    EXPECT_EQ(request().filterIndex, 0);
    EXPECT_TRUE(request().confirmOverwrite);
    EXPECT_TRUE(request().fileName.isEmpty());
    EXPECT_TRUE(request().initialDirectory.isEmpty());
    EXPECT_TRUE(request().defaultSuffix.isEmpty());
    EXPECT_EQ(request().owner, &owner);
    EXPECT_TRUE(dialogs.unanswered().isEmpty());
}

TEST_F(SaveDialogTest, CancelLeavesBothNamesAsTheyWere)
{
    fileName = QStringLiteral("draft.txt");
    fileTitle = QStringLiteral("untouched");
    dialogs.answerSaveDialog(std::nullopt);
    EXPECT_FALSE(show());
    EXPECT_EQ(fileName, QStringLiteral("draft.txt"));
    EXPECT_EQ(fileTitle, QStringLiteral("untouched"));
    EXPECT_EQ(request().fileName, QStringLiteral("draft.txt")); // the dialog started with it
}

TEST_F(SaveDialogTest, ARelativeAnswerBecomesAFullPath)
{
    dialogs.answerSaveDialog(QStringLiteral("site.txt"));
    EXPECT_TRUE(show());
    EXPECT_EQ(fileName, QDir::current().absoluteFilePath(QStringLiteral("site.txt")));
    EXPECT_EQ(fileTitle, QStringLiteral("site.txt"));
}

TEST_F(SaveDialogTest, SettingsReachTheDialog)
{
    overwritePrompt = 0;
    title.clear();
    defaultExtension = QStringLiteral(".txt");
    initialDirectory = QStringLiteral("/tmp");
    dialogs.answerSaveDialog(std::nullopt);
    show();
    EXPECT_FALSE(request().confirmOverwrite);
    EXPECT_EQ(request().title, QStringLiteral("Save As"));
    EXPECT_EQ(request().defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(request().initialDirectory, QStringLiteral("/tmp"));
}

struct FilterCase {
    const char* label;
    QString filter;
    std::int32_t index;
    QStringList expectedFilters;
    int expectedIndex;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.label; }

class SaveDialogFilter : public SaveDialogTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(SaveDialogFilter, BecomesQtNameFilters)
{
    filter = GetParam().filter;
    filterIndex = GetParam().index;
    dialogs.answerSaveDialog(std::nullopt);
    show();
    EXPECT_EQ(request().nameFilters, GetParam().expectedFilters);
    EXPECT_EQ(request().filterIndex, GetParam().expectedIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, SaveDialogFilter,
    ::testing::Values(
        FilterCase{"second entry", kGeneratorFilter, 2,
                   {QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")}, 1},
        FilterCase{"index past the end", kGeneratorFilter, 3,
                   {QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")}, 0},
        FilterCase{"index 0", kGeneratorFilter, 0,
                   {QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*.*)")}, 0},
        FilterCase{"description without pattern", QStringLiteral("Text files:*.txt"), 1,
                   {QStringLiteral("Text files (*.txt)")}, 0},
        FilterCase{"several patterns, trailing bar", QStringLiteral("Logs:*.log;*.txt|"), 1,
                   {QStringLiteral("Logs (*.log *.txt)")}, 0},
        FilterCase{"colon in description", QStringLiteral("Times 10:30 (*.t):*.t"), 1,
                   {QStringLiteral("Times 10:30 (*.t)")}, 0},
        FilterCase{"pattern only", QStringLiteral("*.txt"), 1, {QStringLiteral("*.txt")}, 0},
        FilterCase{"empty", QString(), 1, {}, 0}));

} // namespace
