#pragma once

#include "BusClient.h"
#include "Desktop.h"
#include "MirrakPeer.h"
#include "PrivateBus.h"
#include "QtPrinters.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Each test gets a D-Bus session bus of its own, on which its first call
// starts a fresh Vexlo, and talks to it only as outsiders do: through
// client programs on the bus and through the X display. Everything the test
// started goes away at its end, also when it fails. Without an X display the
// tests skip.
class VexloProcessTest : public ::testing::Test {
protected:
    static constexpr const char* kTitle = "Vexlo 1.1";
    static constexpr const char* kService = "Vexlo.Application";
    static constexpr const char* kObjectPath = "/Vexlo/Application";
    static constexpr const char* kDesignText = "Click the Generate button to generate a new password.";

    void SetUp() override;
    void TearDown() override;

    // Starts Vexlo with a first call and waits for its main window; false
    // with a reason when it does not come.
    ::testing::AssertionResult startVexlo();
    qint64 vexloPid() const { return m_vexloPid; }
    quint64 mainWindow() const { return m_mainWindow; }

    // The visible windows titled "Vexlo 1.1": the main window and any
    // message box or prompt it shows.
    QList<quint64> vexloWindows() const;
    // Waits for a window titled "Vexlo 1.1" that is not among `known` (a
    // message box that a call opened) and closes it with the key.
    ::testing::AssertionResult answerNewWindow(const QList<quint64>& known, const QString& key);
    // Waits for the new window, types the text into it and closes it with Return.
    ::testing::AssertionResult typeIntoNewWindow(const QList<quint64>& known, const QString& text);

    ::testing::AssertionResult startMirrak();
    // A shared-memory block name of this test; the block is removed at its end.
    QString newBlockName();
    QString filePath(const QString& name) const;

    PrivateBus& bus() { return *m_bus; }
    const BusClient& client() const { return *m_client; }
    const Desktop& desktop() const { return *m_desktop; }
    MirrakPeer& mirrak() { return m_mirrak; }
    // Environment for programs the test starts: the private bus as session bus.
    QProcessEnvironment environment() const;

private:
    std::unique_ptr<QTemporaryDir> m_directory;
    std::unique_ptr<PrivateBus> m_bus;
    std::optional<BusClient> m_client;
    std::optional<Desktop> m_desktop;
    MirrakPeer m_mirrak;
    QStringList m_blockNames;
    qint64 m_vexloPid = 0;
    quint64 m_mainWindow = 0;
};

// Text of a reply for failure messages.
std::ostream& operator<<(std::ostream& stream, const BusReply& reply);

// Readable values in failure messages.
void PrintTo(const QByteArray& bytes, std::ostream* out);
void PrintTo(const QVariant& value, std::ostream* out);
