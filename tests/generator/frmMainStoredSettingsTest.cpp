// The window's Tarvo controls when their stored settings cannot be read: the
// window still shows, each control keeps its defaults for what was not read,
// and each failure is reported once.
#include "MainWindowFixture.h"

#include "automation/PropertyBag.h"

#include <QFile>

namespace {

using automation::PropertyBag;
using automation::Variant;

QStringList& warnings()
{
    static QStringList list;
    return list;
}

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.contains(QStringLiteral("stored settings")))
        warnings() << message;
}

QByteArray designBytes(const QString& name)
{
    QFile file(QStringLiteral(":/frmMain/") + name + QStringLiteral(".bag"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class StoredSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        warnings().clear();
        m_previousHandler = qInstallMessageHandler(collectWarnings);
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_previousHandler);
        frmMainWindow::setStoredSettingsSource({});
    }
    static Variant property(const automation::ObjectRef& control, const char* name)
    {
        return control->getProperty(QString::fromLatin1(name));
    }

    QtMessageHandler m_previousHandler = nullptr;
    InstantPauses instantPauses;
    ScriptedDialogs dialogs;
};

TEST_F(StoredSettingsTest, ControlsWithUnreadableSettingsKeepTheirDefaultsAndTheWindowShows)
{
    frmMainWindow::setStoredSettingsSource([](const QString& name) {
        PropertyBag bag;
        if (name == QStringLiteral("slbSteps0")) {
            // ForeColor is read before the width that overflows; Caption after it.
            bag.writeProperty(QStringLiteral("ForeColor"), std::int32_t(0xFF));
            bag.writeProperty(QStringLiteral("BorderWidth"), std::int32_t(40000));
            bag.writeProperty(QStringLiteral("Caption"), QStringLiteral("9"));
            return bag.toBytes();
        }
        if (name == QStringLiteral("XGlowLabel1")) {
            // ForeColor comes before the font that is none; BackStyle after it.
            bag.writeProperty(QStringLiteral("ForeColor"), std::int32_t(0xFF00));
            bag.writeProperty(QStringLiteral("Font"), QStringLiteral("no font")); // type mismatch
            bag.writeProperty(QStringLiteral("BackStyle"), std::int16_t(0));
            bag.writeProperty(QStringLiteral("Caption"), QStringLiteral("later"));
            return bag.toBytes();
        }
        if (name == QStringLiteral("slbSteps1"))
            return QByteArray("VXPB\x01garbage"); // not a bag at all (321)
        return designBytes(name);
    });

    frmMain form;
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form.window()));
    frmMainWindow& w = form.window();

    EXPECT_EQ(property(w.slbSteps[0], "ForeColor").toLong(), 0xFF);
    EXPECT_EQ(property(w.slbSteps[0], "BorderWidth").toInteger(), 1);
    EXPECT_EQ(property(w.slbSteps[0], "Caption").toString(), QStringLiteral("Label1"));
    EXPECT_EQ(static_cast<std::uint32_t>(property(w.slbSteps[0], "FillColor").toLong()), 0x80000002u);

    EXPECT_EQ(property(w.XGlowLabel1, "ForeColor").toLong(), 0xFF00);
    EXPECT_EQ(property(w.XGlowLabel1, "BackStyle").toInteger(), 1);
    EXPECT_EQ(property(w.XGlowLabel1, "Caption").toString(), QStringLiteral("Label1"));
    EXPECT_TRUE(property(w.XGlowLabel1, "Font").toObject());

    EXPECT_EQ(property(w.slbSteps[1], "Caption").toString(), QStringLiteral("Label1"));
    EXPECT_EQ(static_cast<std::uint32_t>(property(w.slbSteps[1], "ForeColor").toLong()), 0x80000009u);

    // The controls whose settings were fine are as designed.
    EXPECT_EQ(property(w.slbSteps[2], "Caption").toString(), QStringLiteral("3"));

    ASSERT_EQ(warnings().size(), 3) << warnings().join(u'\n').toStdString();
    EXPECT_TRUE(warnings()[0].contains(QStringLiteral("XGlowLabel1")) && warnings()[0].contains(QStringLiteral("13")));
    EXPECT_TRUE(warnings()[1].contains(QStringLiteral("slbSteps(0)")) && warnings()[1].contains(QStringLiteral("error 6")));
    EXPECT_TRUE(warnings()[2].contains(QStringLiteral("slbSteps(1)")) && warnings()[2].contains(QStringLiteral("321")));
    EXPECT_TRUE(dialogs.unanswered().isEmpty());
}

} // namespace
