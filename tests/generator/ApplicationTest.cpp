// The automation object in process: every member acts on the one window,
// loading it hidden when it is not loaded, and the type-info table is the
// interface clients bind to.
#include "support/ErrorNumber.h"
#include "Application.h"
#include "MainWindowFixture.h"

#include "automation/AutomationError.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <unistd.h>

using automation::MemberKind;
using automation::Variant;

namespace {

class ApplicationTest : public ShownMainWindow {
protected:
    Variant get(const char* name) { return application.getProperty(QString::fromLatin1(name)); }
    void put(const char* name, const Variant& value) { application.putProperty(QString::fromLatin1(name), value); }

    Application application{form};
};

TEST_F(ApplicationTest, AllowUIAlwaysReadsTrue)
{
    put("AllowUI", false);
    EXPECT_EQ(get("AllowUI").type(), automation::VarType::Boolean);
    EXPECT_TRUE(get("AllowUI").toBool());
}

TEST_F(ApplicationTest, PassLengthWritesTheAbsoluteValueAndReadsBySixteenBitRounding)
{
    put("PassLength", std::int16_t(-12));
    EXPECT_EQ(w().txtPassLen->text(), QStringLiteral("12"));
    EXPECT_EQ(get("PassLength").toInteger(), 12);

    w().txtPassLen->setText(QStringLiteral("12.5"));
    EXPECT_EQ(get("PassLength").toInteger(), 12);
    w().txtPassLen->setText(QStringLiteral("13.5"));
    EXPECT_EQ(get("PassLength").toInteger(), 14);
    w().txtPassLen->setText(QStringLiteral("abc"));
    EXPECT_EQ(errorNumberOf([&] { get("PassLength"); }), 13);
    w().txtPassLen->setText(QStringLiteral("40000"));
    EXPECT_EQ(errorNumberOf([&] { get("PassLength"); }), 6);

    w().txtPassLen->setText(QStringLiteral("keep"));
    EXPECT_EQ(errorNumberOf([&] { put("PassLength", std::int16_t(-32768)); }), 6);
    EXPECT_EQ(w().txtPassLen->text(), QStringLiteral("keep"));
}

TEST_F(ApplicationTest, SeedSwitchesTheOptionAndReadsMinusOneForSystemTime)
{
    w().txtSeed->setText(QStringLiteral("77"));
    put("Seed", std::int16_t(-5));
    EXPECT_TRUE(w().optSeed[0]->isChecked());
    EXPECT_EQ(w().txtSeed->text(), QStringLiteral("77"));
    EXPECT_EQ(get("Seed").toInteger(), -1);

    put("Seed", std::int16_t(0));
    EXPECT_TRUE(w().optSeed[1]->isChecked());
    EXPECT_TRUE(w().txtSeed->isEnabled());
    EXPECT_EQ(w().txtSeed->text(), QStringLiteral("0"));
    EXPECT_EQ(get("Seed").toInteger(), 0);
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

TEST_F(ApplicationTest, ASeedThatIsNoNumberWarnsAndReadsZero)
{
    put("Seed", std::int16_t(1));
    w().txtSeed->setText(QStringLiteral("x"));
    dialogs.answerMessageBox(ui::MessageResult::OK);
    EXPECT_EQ(get("Seed").toInteger(), 0);
    ASSERT_EQ(dialogs.messageBoxes().size(), 1u);
    const ui::MessageBoxRequest& warning = dialogs.messageBoxes()[0];
    EXPECT_EQ(warning.title, QStringLiteral("Vexlo 1.1"));
    EXPECT_EQ(warning.icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(warning.buttons, ui::MessageButtons::OK);
    const QStringList lines = warning.text.split(u'\r');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Script error: Seed (")));
    EXPECT_TRUE(lines[0].endsWith(u')'));
    EXPECT_EQ(lines[1], QStringLiteral("Error Code: 13"));
    EXPECT_EQ(lines[2], QStringLiteral("Type mismatch"));
}

TEST_F(ApplicationTest, CharacterOptionsFollowTheCheckBoxes)
{
    put("NonPrintableChars", true);
    EXPECT_TRUE(w().chkNonPrintChars->isChecked());
    EXPECT_TRUE(get("NonPrintableChars").toBool());
    w().chkSymbolChars->setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(get("SymbolChars").toBool());
    put("SymbolChars", false);
    EXPECT_EQ(w().chkSymbolChars->checkState(), Qt::Unchecked);
}

TEST_F(ApplicationTest, MethodsCallTheWindowsOperations)
{
    put("PassLength", std::int16_t(16));
    std::vector<Variant> none;
    const QString password = application.invoke(0x60030008, MemberKind::Method, none).toString();
    EXPECT_EQ(password.size(), 16);
    EXPECT_EQ(w().lblPassword->text(), password);

    QTemporaryDir folder;
    Variant fileName(folder.filePath(QStringLiteral("by-id.txt")));
    Variant description(QStringLiteral("through the interface"));
    std::vector<Variant> args{Variant::byRef(fileName), Variant::byRef(description)};
    dialogs.answerMessageBox(ui::MessageResult::OK);
    EXPECT_TRUE(application.invoke(0x6003000A, MemberKind::Method, args).toBool());
    EXPECT_FALSE(form.passwordUnsaved());

    // Save with both arguments left out opens the dialog; cancelling it returns false.
    std::vector<Variant> leftOut;
    EXPECT_FALSE(application.invoke(QStringLiteral("Save"), MemberKind::Method, leftOut).toBool());
    EXPECT_EQ(dialogs.saveDialogs().size(), 1u);

    EXPECT_EQ(application.ProcID(), static_cast<std::int32_t>(::getpid()));
}

// A client's relative name would land in the server's working folder.
TEST_F(ApplicationTest, SaveRefusesARelativeFileNameAndWritesNothing)
{
    // The working folder is one below a folder of the test's own, so that
    // even "../up.txt" would land where the test looks.
    QTemporaryDir workingFolder;
    ASSERT_TRUE(QDir(workingFolder.path()).mkdir(QStringLiteral("cwd")));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workingFolder.filePath(QStringLiteral("cwd"))));
    for (const char* name : {"relative.txt", "./here.txt", "sub/x.txt", "~/home.txt", "../up.txt"}) {
        Variant fileName(QString::fromLatin1(name));
        Variant description(QStringLiteral("d"));
        std::vector<Variant> args{Variant::byRef(fileName), Variant::byRef(description)};
        try {
            application.invoke(QStringLiteral("Save"), MemberKind::Method, args);
            ADD_FAILURE() << "saved to " << name;
        } catch (const automation::AutomationError& error) {
            EXPECT_EQ(error.number(), automation::ErrorNumber::BadFileNameOrNumber) << name;
            EXPECT_TRUE(error.description().contains(QString::fromLatin1(name))) << name;
        }
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(QDir(workingFolder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("cwd")});
    EXPECT_TRUE(QDir(workingFolder.filePath(QStringLiteral("cwd"))).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_TRUE(dialogs.messageBoxes().empty());
    EXPECT_TRUE(dialogs.inputBoxes().empty());
}

TEST_F(ApplicationTest, VisibleHidesAndShowsTheWindow)
{
    put("Visible", false);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(get("Visible").toBool());
    put("Visible", true);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ApplicationTest, TerminateUnloadsAndATouchLoadsTheWindowHidden)
{
    put("MemoryName", QStringLiteral("Client"));
    std::vector<Variant> none;
    application.invoke(QStringLiteral("Terminate"), MemberKind::Method, none);
    EXPECT_FALSE(form.isLoaded());
    // The field needs no loaded window.
    EXPECT_EQ(get("MemoryName").toString(), QStringLiteral("Client"));
    EXPECT_FALSE(form.isLoaded());

    EXPECT_EQ(get("PassLength").toInteger(), 10);
    EXPECT_TRUE(form.isLoaded());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.stepTips()[4], QStringLiteral("Click the Close button to return to Client."));
}

TEST_F(ApplicationTest, TerminateThatTheUserCancelsStillSucceeds)
{
    form.Generate();
    dialogs.answerMessageBox(ui::MessageResult::Cancel);
    std::vector<Variant> none;
    EXPECT_NO_THROW(application.invoke(0x6003000B, MemberKind::Method, none));
    EXPECT_TRUE(form.isVisible());
}

TEST(ApplicationTypeInfo, MembersInInterfaceOrderWithTheirIds)
{
    frmMain form;
    Application application(form);
    const auto& members = application.typeInfo().members;
    QStringList order;
    for (const auto& member : members)
        order << QStringLiteral("%1 %2 %3").arg(member.name).arg(static_cast<int>(member.kind)).arg(member.id, 0, 16);
    const QStringList expected = {
        QStringLiteral("AllowUI 2 68030007"),        QStringLiteral("AllowUI 1 68030007"),
        QStringLiteral("ProcID 1 68030006"),         QStringLiteral("MemoryName 2 68030005"),
        QStringLiteral("MemoryName 1 68030005"),     QStringLiteral("PassLength 2 68030004"),
        QStringLiteral("PassLength 1 68030004"),     QStringLiteral("Seed 2 68030003"),
        QStringLiteral("Seed 1 68030003"),           QStringLiteral("NonPrintableChars 2 68030002"),
        QStringLiteral("NonPrintableChars 1 68030002"), QStringLiteral("SymbolChars 2 68030001"),
        QStringLiteral("SymbolChars 1 68030001"),    QStringLiteral("Visible 2 68030000"),
        QStringLiteral("Visible 1 68030000"),        QStringLiteral("Generate 0 60030008"),
        QStringLiteral("Copy 0 60030009"),           QStringLiteral("Save 0 6003000a"),
        QStringLiteral("Terminate 0 6003000b"),      QStringLiteral("Show 0 6003000c"),
    };
    EXPECT_EQ(order, expected);
    const auto* save = application.typeInfo().find(0x6003000A, MemberKind::Method);
    ASSERT_NE(save, nullptr);
    ASSERT_EQ(save->params.size(), 2u);
    EXPECT_TRUE(save->params[0].optional && save->params[0].byRef);
    EXPECT_TRUE(save->params[1].optional && save->params[1].byRef);
    EXPECT_EQ(application.typeName(), QStringLiteral("Application"));
    EXPECT_EQ(Application::kClassId, QUuid(QStringLiteral("{9C1F2290-6B94-4607-9FBE-A2FC840B9146}")));
    EXPECT_EQ(QString::fromLatin1(Application::kProgId), QStringLiteral("Vexlo.Application"));
    EXPECT_FALSE(form.isLoaded()); // describing the object touches nothing
}

} // namespace
