#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// The companion program, run as a process of its own (tests/tools/mirrak):
// its window is on the display while it runs, and it reads shared-memory
// blocks on request.
class MirrakPeer {
public:
    MirrakPeer() = default;
    ~MirrakPeer();
    MirrakPeer(const MirrakPeer&) = delete;
    MirrakPeer& operator=(const MirrakPeer&) = delete;

    // Starts the program and waits until its window is mapped.
    bool start(const QString& program, const QProcessEnvironment& environment, QString* error);
    void stop();

    struct Reading {
        QString status; // "text", "none" or "error"
        QString text;   // the block's text, or the error
    };
    Reading read(const QString& blockName);

private:
    QString nextLine();

    QProcess m_process;
};
