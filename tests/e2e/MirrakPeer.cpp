#include "MirrakPeer.h"

namespace {

const int kTimeout = 10000;

} // namespace

MirrakPeer::~MirrakPeer() { stop(); }

bool MirrakPeer::start(const QString& program, const QProcessEnvironment& environment, QString* error)
{
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {});
    const QString first = nextLine();
    if (first != QLatin1String("ready")) {
        *error = QStringLiteral("mirrak did not get ready: ") + first;
        return false;
    }
    return true;
}

void MirrakPeer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kTimeout)) {
        m_process.kill();
        m_process.waitForFinished(kTimeout);
    }
}

MirrakPeer::Reading MirrakPeer::read(const QString& blockName)
{
    m_process.write("read " + blockName.toUtf8() + '\n');
    const QString line = nextLine();
    const qsizetype space = line.indexOf(u' ');
    const QString status = line.left(space < 0 ? line.size() : space);
    const QString rest = space < 0 ? QString() : line.mid(space + 1);
    if (status == QLatin1String("text"))
        return {status, QString::fromUtf8(QByteArray::fromPercentEncoding(rest.toLatin1()))};
    return {status, rest};
}

QString MirrakPeer::nextLine()
{
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(kTimeout))
            return QStringLiteral("(no answer: %1)").arg(m_process.errorString());
    }
    return QString::fromUtf8(m_process.readLine()).chopped(1);
}
