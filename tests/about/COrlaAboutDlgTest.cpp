// The about box object and its dialog: what Show puts on the dialog, the
// failures of a wrong picture, the warning cycle on the dialog's own timer,
// and the dialog's events.
#include "AboutDialogWatcher.h"
#include "AboutTestSupport.h"

#include "frmAbout.h"
#include "frmAboutWindow.h"
#include "quorrel/COrlaAboutDlg.h"
#include "quorrel/TypeLibrary.h"

#include "ScriptedDialogs.h"
#include "automation/StdPicture.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

#include <gtest/gtest.h>

using namespace quorrel;
using automation::StdPicture;

namespace {

automation::PictureRef icon()
{
    return StdPicture::fromIcon(QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton));
}

class COrlaAboutDlgTest : public ::testing::Test {
protected:
    // Each test starts from a fresh count, as OK leaves it.
    void SetUp() override { frmAbout::instance().window().cmdOK->click(); }
    void TearDown() override { frmAbout::instance().Unload(); }

    // Keeps the real 500 ms ticks out of a test that counts its own.
    static void holdRealTicks(frmAboutWindow& w) { w.timTimer->setInterval(3600 * 1000); }

    // Shows the box and closes the dialog with `close` once it is up,
    // keeping what `whileShown` looked at.
    void showAndClose(COrlaAboutDlg& box, AboutDialogWatcher::Action whileShown,
                      AboutDialogWatcher::Action close = AboutDialogWatcher::pressOK)
    {
        AboutDialogWatcher watcher(std::move(whileShown), std::move(close));
        box.Show({});
        EXPECT_TRUE(watcher.wasShown());
        EXPECT_FALSE(watcher.timedOut());
    }

    // One tick of the dialog's timer, through the timer's own event.
    static void tick(frmAboutWindow& w)
    {
        QTimerEvent event(w.timTimer->timerId());
        QCoreApplication::sendEvent(w.timTimer, &event);
    }

    ScriptedDialogs dialogs;
};

TEST_F(COrlaAboutDlgTest, ANewObjectShowsEmptyTextsAndNoSystemInfoButton)
{
    COrlaAboutDlg box;
    box.setPicture(icon());
    showAndClose(box, [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About"));
        EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblProductName"), QStringLiteral("\rVersion: "));
        EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblCopyrightMsg"), QString());
        EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblDescription"), QString());
        EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblHyperlink"), QString());
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblHyperlink"))->width(), 0);
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->isVisible());
        EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("picIcon"))->isVisible());
    });
    EXPECT_FALSE(frmAbout::instance().isLoaded());
}

TEST_F(COrlaAboutDlgTest, ShowPutsEveryTextOnTheDialog)
{
    struct Case {
        const char* name;
        bool sysInfo;
    };
    for (const Case& c : {Case{"with System Info", true}, Case{"without System Info", false}}) {
        SCOPED_TRACE(c.name);
        COrlaAboutDlg box;
        box.setProductName(QStringLiteral("Vexlo 1.1"));
        box.setVersion(QStringLiteral("1.01.0000"));
        box.setCopyrightMsg(QStringLiteral("Copyright notice"));
        box.setNotes(QStringLiteral("Some notes"));
        box.setHyperlink(QStringLiteral("https://example.org/"));
        box.setSysInfo(c.sysInfo);
        box.setPicture(icon());
        showAndClose(box, [&c](QDialog& dialog) {
            EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblProductName"), QStringLiteral("Vexlo 1.1\rVersion: 1.01.0000"));
            EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblCopyrightMsg"), QStringLiteral("Copyright notice"));
            EXPECT_EQ(AboutDialogWatcher::caption(dialog, "lblDescription"), QStringLiteral("Some notes"));
            auto* link = dialog.findChild<QLabel*>(QStringLiteral("lblHyperlink"));
            EXPECT_EQ(link->width(), QFontMetrics(link->font()).horizontalAdvance(QStringLiteral("https://example.org/")));
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
            auto* sysInfo = dialog.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
            EXPECT_EQ(sysInfo->isVisible(), c.sysInfo);
            EXPECT_EQ(sysInfo->text(), QStringLiteral("&System Info..."));
            EXPECT_LT(ok->geometry().bottom(), sysInfo->geometry().top());
            EXPECT_EQ(ok->geometry(), ui::twipsRect(4245, 2988, 1260, 345));
            EXPECT_TRUE(ok->isDefault());
            EXPECT_EQ(dialog.focusWidget(), ok) << "the focus starts on OK";
        });
    }
}

TEST_F(COrlaAboutDlgTest, APictureThatIsNoIconFailsAndLeavesTheDialogLoadedButHidden)
{
    struct Case {
        const char* name;
        automation::PictureRef picture;
        int error;
    };
    QPixmap bitmap(16, 16);
    bitmap.fill(Qt::red);
    const Case cases[] = {
        {"a bitmap", StdPicture::fromBitmap(bitmap), 13},
        {"no picture", nullptr, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COrlaAboutDlg box;
        box.setProductName(QStringLiteral("Product"));
        box.setCopyrightMsg(QStringLiteral("Notice"));
        box.setPicture(c.picture);
        AboutDialogWatcher watcher;
        EXPECT_EQ(errorNumberOf([&] { box.Show({}); }), c.error);
        EXPECT_FALSE(watcher.wasShown());
        ASSERT_TRUE(frmAbout::instance().isLoaded());
        frmAboutWindow& w = frmAbout::instance().window();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(frmAboutWindow::caption(w.lblProductName), QStringLiteral("Product\rVersion: "));
        EXPECT_EQ(frmAboutWindow::caption(w.lblCopyrightMsg), QStringLiteral("Notice"));
        frmAbout::instance().Unload();
    }
}

TEST_F(COrlaAboutDlgTest, PictureAndFontAreStoredByReference)
{
    auto box = std::make_shared<COrlaAboutDlg>();
    const automation::PictureRef picture = icon();
    const automation::FontRef font = automation::StdFont::create(QStringLiteral("Tahoma"), 9);
    box->putProperty(QStringLiteral("Picture"), automation::ObjectRef(picture));
    box->putProperty(QStringLiteral("Font"), automation::ObjectRef(font));
    EXPECT_EQ(box->getProperty(QStringLiteral("Picture")).toObject(), picture);
    EXPECT_EQ(box->getProperty(QStringLiteral("Font")).toObject(), font);
    box->putProperty(QStringLiteral("SysInfo"), true);
    EXPECT_EQ(box->getProperty(QStringLiteral("SysInfo")).toInteger(), -1);
}

TEST_F(COrlaAboutDlgTest, TheWarningAlternatesOnTheDialogsTimer)
{
    frmAboutWindow& w = frmAbout::instance().window();
    ASSERT_TRUE(w.timTimer->isActive());
    EXPECT_EQ(w.timTimer->interval(), 500);
    const QString legal = frmAboutWindow::caption(w.lblDisclaimer);
    ASSERT_FALSE(legal.isEmpty());

    struct Step {
        int tick;
        bool visible;
        bool humorous;
    };
    // After each of these ticks, counted from the load.
    const Step steps[] = {
        {16, true, false}, {17, false, false}, {18, true, true},   {36, true, true},
        {37, false, true}, {38, true, false},  {40, true, false},
    };
    int ticks = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.tick);
        while (ticks < step.tick) {
            tick(w);
            ++ticks;
        }
        EXPECT_EQ(!w.lblDisclaimer->isHidden(), step.visible);
        const QColor colour = w.lblDisclaimer->palette().color(QPalette::WindowText);
        if (step.humorous) {
            EXPECT_NE(frmAboutWindow::caption(w.lblDisclaimer), legal);
            EXPECT_EQ(colour, QColor(168, 0, 0));
        } else {
            EXPECT_EQ(frmAboutWindow::caption(w.lblDisclaimer), legal);
            EXPECT_EQ(colour, QColor(Qt::black));
        }
    }
    EXPECT_EQ(frmAbout::instance().tickCount(), 0);
}

TEST_F(COrlaAboutDlgTest, TheTickCountSurvivesTheCloseBoxAndOKResetsIt)
{
    COrlaAboutDlg box;
    box.setPicture(icon());
    showAndClose(
        box, [](QDialog& dialog) {
            auto& w = static_cast<frmAboutWindow&>(dialog);
            holdRealTicks(w);
            for (int i = 0; i < 5; ++i)
                tick(w);
        },
        AboutDialogWatcher::pressCloseBox);
    EXPECT_FALSE(frmAbout::instance().isLoaded());
    EXPECT_EQ(frmAbout::instance().tickCount(), 5);

    showAndClose(box, [](QDialog& dialog) {
        EXPECT_EQ(frmAbout::instance().tickCount(), 5);
        auto& w = static_cast<frmAboutWindow&>(dialog);
        holdRealTicks(w);
        tick(w);
        EXPECT_EQ(frmAbout::instance().tickCount(), 6);
    });
    EXPECT_EQ(frmAbout::instance().tickCount(), 0);
}

TEST_F(COrlaAboutDlgTest, EscPressesOKAndEndsTheDialog)
{
    COrlaAboutDlg box;
    box.setPicture(icon());
    showAndClose(
        box, [](QDialog& dialog) { tick(static_cast<frmAboutWindow&>(dialog)); },
        [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(frmAbout::instance().tickCount(), 0);
    EXPECT_FALSE(frmAbout::instance().isLoaded());
}

TEST_F(COrlaAboutDlgTest, DoubleClicksOnTheCopyrightMessageShowAndHideTheAuthor)
{
    frmAboutWindow& w = frmAbout::instance().window();
    ASSERT_TRUE(w.picAuthor->isHidden());
    EXPECT_FALSE(w.picAuthor->pixmap().isNull());
    QTest::mouseDClick(w.lblCopyrightMsg, Qt::LeftButton);
    EXPECT_FALSE(w.picAuthor->isHidden());
    QTest::mouseDClick(w.lblCopyrightMsg, Qt::LeftButton);
    EXPECT_TRUE(w.picAuthor->isHidden());
}

TEST_F(COrlaAboutDlgTest, ControlsStandAtTheirDesignPlaces)
{
    frmAboutWindow& w = frmAbout::instance().window();
    struct Place {
        QWidget* control;
        QRect twips;
    };
    const Place places[] = {
        {w.lblProductName, ui::twipsRect(1050, 240, 3885, 480)},
        {w.lblCopyrightMsg, ui::twipsRect(1050, 780, 3885, 225)},
        {w.lblDescription, ui::twipsRect(1050, 1125, 3885, 1170)},
        {w.lblDisclaimer, ui::twipsRect(252, 2988, 3876, 1188)},
        {w.cmdSysInfo, ui::twipsRect(4260, 3432, 1245, 345)},
        {w.picAuthor, ui::twipsRect(4200, 120, 1395, 1935)},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.control->objectName().toStdString());
        EXPECT_EQ(place.control->geometry(), place.twips);
    }
    EXPECT_EQ(w.size(), QSize(ui::twipsToPixelsX(5736), ui::twipsToPixelsY(4308)));
    EXPECT_EQ(w.cmdOK->toolTip(), QStringLiteral("Closes the window"));
    EXPECT_EQ(w.cmdSysInfo->toolTip(), QStringLiteral("Retrieves information about your system"));
    EXPECT_EQ(w.cmdOK->nextInFocusChain(), w.cmdSysInfo);
    EXPECT_TRUE(w.lblHyperlink->font().underline());
    EXPECT_EQ(w.lblHyperlink->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(COrlaAboutDlgTest, TheTypeInfoListsTheInterfaceInOrder)
{
    const automation::TypeInfo& info = COrlaAboutDlg::classTypeInfo();
    EXPECT_EQ(info.interfaceId, kCOrlaAboutDlgInterfaceId);
    ASSERT_EQ(info.members.size(), 17u);
    struct Row {
        std::size_t order;
        const char* name;
        automation::MemberKind kind;
        std::int32_t id;
        const char* help;
    };
    using automation::MemberKind;
    const Row rows[] = {
        {0, "Hyperlink", MemberKind::PropertyPut, 0x68030007, ""},
        {3, "Notes", MemberKind::PropertyGet, 0x68030006, "Returns/sets extra notes to be placed in the about box."},
        {6, "Version", MemberKind::PropertyPut, 0x68030004, "Retruns/sets the version number string."},
        {8, "Show", MemberKind::Method, 0x60030008, "Displays the about box."},
        {9, "Font", MemberKind::PropertyPutRef, 0x68030003, ""},
        {11, "Picture", MemberKind::PropertyPutRef, 0x68030002,
         "Returns/sets the picture which is displayed on the dialog box."},
        {16, "ProductName", MemberKind::PropertyGet, 0x68030000, "Returns/sets the product name."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const automation::MemberInfo& member = info.members[row.order];
        EXPECT_EQ(member.name, QString::fromLatin1(row.name));
        EXPECT_EQ(member.kind, row.kind);
        EXPECT_EQ(member.id, row.id);
        EXPECT_EQ(member.description, QString::fromLatin1(row.help));
    }
    EXPECT_TRUE(info.members[8].params.at(0).byRef);
}

} // namespace
