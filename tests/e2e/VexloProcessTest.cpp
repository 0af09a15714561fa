#include "VexloProcessTest.h"

#include "GVariantText.h"

#include "services/SharedMemoryBlock.h"

#include <QDebug>
#include <QUuid>

namespace {

const int kWindowTimeout = 10000;

} // namespace

std::ostream& operator<<(std::ostream& stream, const BusReply& reply)
{
    return stream << (reply.ok ? "ok: " : "failed: ") << reply.errorName.toStdString() << ' '
                  << reply.output.toStdString();
}

void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toPercentEncoding(" ").toStdString() << '"'; }

void PrintTo(const QVariant& value, std::ostream* out)
{
    QString text;
    QDebug(&text) << value;
    *out << text.toStdString();
}

void VexloProcessTest::SetUp()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    m_directory = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_directory->isValid());
    m_bus = std::make_unique<PrivateBus>(QStringLiteral(VEXLO_BUS_CONFIG));
    // The programs show their windows on the X display, whatever platform
    // this test process was given.
    QProcessEnvironment programs = QProcessEnvironment::systemEnvironment();
    programs.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QString error;
    ASSERT_TRUE(m_bus->start(m_directory->path(), programs, &error)) << error.toStdString();
    m_client.emplace(environment(), QString::fromLatin1(kService), QString::fromLatin1(kObjectPath));
    m_desktop.emplace(environment());
}

void VexloProcessTest::TearDown()
{
    m_mirrak.stop();
    if (m_bus)
        m_bus->stop();
    for (const QString& name : std::as_const(m_blockNames))
        services::RemoveSharedMemoryBlock(name);
}

QProcessEnvironment VexloProcessTest::environment() const
{
    QProcessEnvironment environment = m_bus->clientEnvironment();
    // Clients print texts beyond ASCII as they are.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

::testing::AssertionResult VexloProcessTest::startVexlo()
{
    const BusReply reply = m_client->get(QStringLiteral("ProcID"));
    if (!reply.ok)
        return ::testing::AssertionFailure() << "the first call failed: " << reply;
    m_vexloPid = e2e::unboxed(reply.value()).toLongLong();
    if (m_vexloPid == 0 || m_vexloPid != m_bus->ownerPid(QString::fromLatin1(kService)))
        return ::testing::AssertionFailure() << "ProcID " << m_vexloPid << " is not the name's owner";
    m_mainWindow = m_desktop->waitForWindow(QString::fromLatin1(kTitle), m_vexloPid, kWindowTimeout);
    if (m_mainWindow == 0)
        return ::testing::AssertionFailure() << "the main window did not show";
    return ::testing::AssertionSuccess();
}

QList<quint64> VexloProcessTest::vexloWindows() const { return m_desktop->visibleWindows(QString::fromLatin1(kTitle)); }

::testing::AssertionResult VexloProcessTest::answerNewWindow(const QList<quint64>& known, const QString& key)
{
    const QString title = QString::fromLatin1(kTitle);
    const quint64 window = m_desktop->waitForNewWindow(title, known, kWindowTimeout);
    if (window == 0)
        return ::testing::AssertionFailure() << "no new window titled " << kTitle << " showed";
    if (!m_desktop->closeWithKey(title, window, key))
        return ::testing::AssertionFailure() << "the window did not close with " << key.toStdString();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult VexloProcessTest::typeIntoNewWindow(const QList<quint64>& known, const QString& text)
{
    const QString title = QString::fromLatin1(kTitle);
    const quint64 window = m_desktop->waitForNewWindow(title, known, kWindowTimeout);
    if (window == 0)
        return ::testing::AssertionFailure() << "no new window titled " << kTitle << " showed";
    if (!m_desktop->typeText(window, text))
        return ::testing::AssertionFailure() << "could not type into the window";
    if (!m_desktop->closeWithKey(title, window, QStringLiteral("Return")))
        return ::testing::AssertionFailure() << "the window did not close with Return";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult VexloProcessTest::startMirrak()
{
    QString error;
    if (!m_mirrak.start(QStringLiteral(MIRRAK_PROGRAM), environment(), &error))
        return ::testing::AssertionFailure() << error.toStdString();
    return ::testing::AssertionSuccess();
}

QString VexloProcessTest::newBlockName()
{
    const QString name = QStringLiteral("vexlo-e2e-") + QUuid::createUuid().toString(QUuid::Id128);
    m_blockNames << name;
    return name;
}

QString VexloProcessTest::filePath(const QString& name) const { return m_directory->filePath(name); }
