#include "ui/SecretClipboard.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace ui {
namespace {

QMimeData* secretMimeData(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(QString::fromLatin1(kPasswordManagerHintFormat), QByteArrayLiteral("secret"));
    return data;
}

bool writeAll(int descriptor, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.constData() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return false;
        written += result;
    }
    return true;
}

// Waits up to `milliseconds` for the keeper's "ready" line.
bool readReady(int descriptor, int milliseconds)
{
    QByteArray received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!received.contains('\n')) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{descriptor, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[64];
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count <= 0)
            return false;
        received.append(buffer, count);
    }
    return received.startsWith("ready");
}

} // namespace

void setSecretClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setMimeData(secretMimeData(text), QClipboard::Clipboard);
}

bool handOverClipboard(const QString& keeperProgram)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return false;
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return false;

    int toKeeper[2];
    int fromKeeper[2];
    if (::pipe2(toKeeper, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(fromKeeper, O_CLOEXEC) != 0) {
        ::close(toKeeper[0]);
        ::close(toKeeper[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toKeeper[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromKeeper[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own session: the keeper outlives this program and its terminal.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    const QByteArray program = QFile::encodeName(keeperProgram);
    char* const argv[] = {const_cast<char*>(program.constData()), nullptr};
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, program.constData(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(toKeeper[0]);
    ::close(fromKeeper[1]);

    bool handedOver = false;
    if (spawned == 0) {
        const bool sent = writeAll(toKeeper[1], data->text().toUtf8());
        ::close(toKeeper[1]);
        toKeeper[1] = -1;
        handedOver = sent && readReady(fromKeeper[0], 3000);
        if (!handedOver)
            ::kill(pid, SIGTERM);
    }
    if (toKeeper[1] >= 0)
        ::close(toKeeper[1]);
    ::close(fromKeeper[0]);
    return handedOver;
}

int runClipboardKeeper(int argc, char** argv)
{
    QByteArray text;
    char buffer[4096];
    for (ssize_t count; (count = ::read(STDIN_FILENO, buffer, sizeof buffer)) != 0;) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return 1;
        text.append(buffer, count);
    }
    QGuiApplication app(argc, argv);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setMimeData(secretMimeData(QString::fromUtf8(text)), QClipboard::Clipboard);
    text.fill('\0');
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            QCoreApplication::quit();
    });
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return QGuiApplication::exec();
}

} // namespace ui
