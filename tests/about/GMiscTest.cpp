// The global helpers: the conversions, the about box filled from an
// application object, and the centring of a form.
#include "AboutDialogWatcher.h"
#include "AboutTestSupport.h"

#include "frmAbout.h"
#include "quorrel/GMisc.h"
#include "quorrel/TypeLibrary.h"

#include "ScriptedDialogs.h"
#include "automation/StdPicture.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include <gtest/gtest.h>

using namespace quorrel;
using automation::MemberKind;
using automation::Variant;

namespace {

automation::PictureRef icon()
{
    return automation::StdPicture::fromIcon(QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
}

// Calls a member of the thread's GMisc by name, as a client that binds late.
Variant call(const char* name, std::vector<Variant> args)
{
    return GMisc::instance()->invoke(QString::fromLatin1(name), MemberKind::Method, args);
}

TEST(GMiscTest, FmtVersionPadsMinorAndRevisionAndNeverCuts)
{
    struct Case {
        std::int16_t major, minor, revision;
        const char* expected;
    };
    const Case cases[] = {
        {1, 1, 0, "1.01.0000"},
        {1, 1, 6, "1.01.0006"},
        {2, 10, 123, "2.10.0123"},
        {1, 123, 12345, "1.123.12345"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(call("FmtVersion", {c.major, c.minor, c.revision}).toString(), QString::fromLatin1(c.expected));
    }
    // Numbers beyond 16 bits do not reach it.
    EXPECT_EQ(errorNumberOf([] { call("FmtVersion", {1, 70000, 0}); }), 6);
}

TEST(GMiscTest, FmtBoolDecidesByTheTypeOfTheValue)
{
    struct Case {
        const char* name;
        Variant value;
        Variant bDefault; // missing: left out
        bool expected;
    };
    const Case cases[] = {
        {"text true", QStringLiteral("true"), Variant::missing(), true},
        {"text True", QStringLiteral("True"), Variant::missing(), true},
        {"text FALSE with default true", QStringLiteral("FALSE"), true, false},
        {"leading blank takes the default", QStringLiteral(" TRUE"), true, true},
        {"leading blank, default left out", QStringLiteral(" TRUE"), Variant::missing(), false},
        {"other text with default true", QStringLiteral("yes"), true, true},
        {"other text, default left out", QStringLiteral("yes"), Variant::missing(), false},
        {"16-bit 5", std::int16_t{5}, Variant::missing(), true},
        {"16-bit 0", std::int16_t{0}, true, false},
        {"32-bit 1", std::int32_t{1}, true, false},
        {"Boolean true", true, true, false},
        {"Double 1", 1.0, true, false},
        {"empty with default true", Variant(), true, true},
        {"empty, default left out", Variant(), Variant::missing(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Variant value = c.value;
        EXPECT_EQ(call("FmtBool", {Variant::byRef(value), c.bDefault}).toBool(), c.expected);
        EXPECT_TRUE(value.sameAs(c.value)) << "the argument was changed";
    }
}

class GMiscAboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override { frmAbout::instance().Unload(); }
    void TearDown() override { frmAbout::instance().Unload(); }
    ScriptedDialogs dialogs;
};

TEST_F(GMiscAboutBoxTest, DoAboutBox2ShowsTheApplicationsNameVersionAndNotice)
{
    QString title;
    QString copyright;
    bool sysInfo = false;
    AboutDialogWatcher watcher([&](QDialog& dialog) {
        title = AboutDialogWatcher::caption(dialog, "lblProductName");
        copyright = AboutDialogWatcher::caption(dialog, "lblCopyrightMsg");
        sysInfo = dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isVisible();
    });
    call("DoAboutBox2", {appObject(), automation::ObjectRef(), icon()});
    EXPECT_TRUE(watcher.wasShown());
    EXPECT_EQ(title, QStringLiteral("Vexlo 1.1\rVersion: 1.01.0000"));
    EXPECT_EQ(copyright, QStringLiteral("Copyright test notice"));
    EXPECT_TRUE(sysInfo) << "SysInfo is true when left out";
}

TEST_F(GMiscAboutBoxTest, DoAboutBox3AlsoSetsTheLink)
{
    QString link;
    AboutDialogWatcher watcher([&](QDialog& dialog) { link = AboutDialogWatcher::caption(dialog, "lblHyperlink"); });
    call("DoAboutBox3", {appObject(), automation::ObjectRef(), icon(), Variant::missing(), QString(), false,
                         QStringLiteral("https://example.org/")});
    EXPECT_TRUE(watcher.wasShown());
    EXPECT_EQ(link, QStringLiteral("https://example.org/"));
}

TEST_F(GMiscAboutBoxTest, WhatDoAboutBox2RefusesShowsNothing)
{
    QPixmap bitmap(8, 8);
    bitmap.fill(Qt::blue);
    struct Case {
        const char* name;
        automation::ObjectRef app;
        automation::PictureRef icon;
        int error;
    };
    const Case cases[] = {
        {"type name in another case", appObject(QStringLiteral("app")), icon(), 0},
        {"no application object", nullptr, icon(), 0},
        {"a version beyond 16 bits", appObject(QStringLiteral("App"), std::int32_t{70000}), icon(), 6},
        {"an application object without the notice",
         std::make_shared<FakeObject>(QStringLiteral("App"),
                                      std::map<QString, Variant>{{QStringLiteral("ProductName"), QStringLiteral("P")},
                                                                 {QStringLiteral("Major"), 1},
                                                                 {QStringLiteral("Minor"), 1},
                                                                 {QStringLiteral("Revision"), 1}}),
         icon(), 438},
        {"a bitmap as icon", appObject(), automation::StdPicture::fromBitmap(bitmap), 13},
        {"no icon", appObject(), nullptr, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AboutDialogWatcher watcher;
        EXPECT_EQ(errorNumberOf([&] { call("DoAboutBox2", {c.app, automation::ObjectRef(), c.icon}); }), c.error);
        EXPECT_FALSE(watcher.wasShown());
    }
    EXPECT_TRUE(dialogs.messageBoxes().empty());
}

TEST_F(GMiscAboutBoxTest, DoAboutBoxShowsTheBoxItFilled)
{
    QString title;
    AboutDialogWatcher watcher([&](QDialog& dialog) { title = AboutDialogWatcher::caption(dialog, "lblProductName"); });
    call("DoAboutBox", {QStringLiteral("Product"), QStringLiteral("2.00.0001"), QStringLiteral("Notice"),
                        automation::ObjectRef(), icon()});
    EXPECT_TRUE(watcher.wasShown());
    EXPECT_EQ(title, QStringLiteral("Product\rVersion: 2.00.0001"));
}

TEST(GMiscTest, CenterFormCentresOnThePrimaryScreenInTwips)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double screenWidth = ui::pixelsToTwipsX(screen.width());
    const double screenHeight = ui::pixelsToTwipsY(screen.height());
    struct Case {
        const char* name;
        double width, height;
        double left, top;
    };
    const Case cases[] = {
        {"900 x 600 twips smaller than the screen", screenWidth - 900, screenHeight - 600, 450, 300},
        {"wider than the screen", screenWidth + 301, screenHeight, -150.5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = std::make_shared<FakeObject>(
            QStringLiteral("Form"), std::map<QString, Variant>{{QStringLiteral("Width"), c.width},
                                                               {QStringLiteral("Height"), c.height},
                                                               {QStringLiteral("Left"), 0},
                                                               {QStringLiteral("Top"), 0}});
        call("CenterForm", {form});
        EXPECT_EQ(form->value(QStringLiteral("Left")).type(), automation::VarType::Double);
        EXPECT_DOUBLE_EQ(form->value(QStringLiteral("Left")).toDouble(), c.left);
        EXPECT_DOUBLE_EQ(form->value(QStringLiteral("Top")).toDouble(), c.top);
    }
}

TEST(GMiscTest, CenterFormWithoutHeightHasAlreadySetLeft)
{
    auto form = std::make_shared<FakeObject>(
        QStringLiteral("Form"),
        std::map<QString, Variant>{{QStringLiteral("Width"), 0.0}, {QStringLiteral("Left"), 0}, {QStringLiteral("Top"), 0}});
    EXPECT_EQ(errorNumberOf([&] { call("CenterForm", {form}); }), 438);
    EXPECT_GT(form->value(QStringLiteral("Left")).toDouble(), 0.0);
}

TEST(GMiscTest, TheTypeInfoGivesDispatchIdsOptionalParametersAndHelp)
{
    const automation::TypeInfo& info = GMisc::classTypeInfo();
    EXPECT_EQ(info.interfaceId, kGMiscInterfaceId);
    const char* const names[] = {"DoAboutBox", "DoAboutBox2", "DoAboutBox3", "FmtBool", "FmtVersion", "CenterForm"};
    ASSERT_EQ(info.members.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(info.members[i].name, QString::fromLatin1(names[i]));
        EXPECT_EQ(info.members[i].id, static_cast<std::int32_t>(0x60030000 + i));
        for (const automation::ParamInfo& param : info.members[i].params)
            EXPECT_TRUE(param.byRef) << names[i] << " " << param.name.toStdString();
    }
    EXPECT_EQ(info.members[0].description, QStringLiteral("Displays an about box."));
    EXPECT_EQ(info.members[3].description, QStringLiteral("Converts a string or integer to a boolean value."));
    EXPECT_TRUE(info.members[1].description.isEmpty());
    const automation::ParamInfo& sysInfo = info.members[1].params.at(5);
    EXPECT_EQ(sysInfo.name, QStringLiteral("SysInfo"));
    EXPECT_TRUE(sysInfo.optional);
    EXPECT_TRUE(sysInfo.defaultValue.toBool());
    EXPECT_EQ(info.members[2].params.at(6).name, QStringLiteral("Hyperlink"));
    EXPECT_FALSE(info.members[1].params.at(2).optional);
}

} // namespace
