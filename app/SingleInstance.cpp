#include "app/SingleInstance.h"

#include "app/ActivationWatcher.h"
#include "document/WorkingDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace hpa {

namespace {

// The per-user directory below a shared temporary directory: made with mode
// 0700 if missing, and only used when it is ours and private.
QString PrivateUserDir(const QString& strParent)
{
    const QString strDir = strParent + QStringLiteral("/hpa-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(strDir);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return {};
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return {};
    return strDir;
}

} // namespace

CInstanceNames DefaultInstanceNames()
{
    const QString strBase = QString::fromStdString(RuntimeBaseDir().string());
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    // The runtime directory is private already; the shared temporary
    // directory gets a private folder of ours first.
    const QString strDir = (pszRuntime && strBase == QFile::decodeName(pszRuntime))
                               ? strBase
                               : PrivateUserDir(strBase);
    if (strDir.isEmpty())
        return {};
    const QString strName = QStringLiteral("HPA-%1").arg(::getuid());
    return {strDir + QLatin1Char('/') + strName + QStringLiteral(".lock"),
            strDir + QLatin1Char('/') + strName + QStringLiteral(".socket")};
}

CSingleInstance::CSingleInstance(CInstanceNames names) : m_names(std::move(names)) {}

CSingleInstance::~CSingleInstance()
{
    // The watcher goes first: its socket must not outlive the lock.
    m_pWatcher.reset();
    m_pLock.reset();
}

CSingleInstance::Outcome CSingleInstance::Claim(int nWaitMs)
{
    if (m_names.strLockFile.isEmpty() || m_names.strSocket.isEmpty())
        return Outcome::Unavailable;
    m_pLock = std::make_unique<QLockFile>(m_names.strLockFile);
    // Never stale by age, however long we run: only a lock whose process is
    // gone is taken over.
    m_pLock->setStaleLockTime(0);
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (m_pLock->tryLock(0)) {
            // A socket file still there belongs to a crashed instance.
            QLocalServer::removeServer(m_names.strSocket);
            auto* pServer = new QLocalServer;
            pServer->setSocketOptions(QLocalServer::UserAccessOption);
            if (!pServer->listen(m_names.strSocket))
                std::fprintf(stderr, "hpa: cannot listen on %s: %s\n",
                             qPrintable(m_names.strSocket), qPrintable(pServer->errorString()));
            m_pWatcher = std::make_unique<CActivationWatcher>(pServer);
            return Outcome::First;
        }
        if (m_pLock->error() != QLockFile::LockFailedError) {
            m_pLock.reset();
            return Outcome::Unavailable;
        }
        // A live instance holds the lock; it may still be opening its socket.
        const int nLeft = nWaitMs - static_cast<int>(timer.elapsed());
        if (SendActivation(m_names.strSocket, std::max(100, std::min(1000, nLeft))))
            return Outcome::Handed;
        if (timer.elapsed() >= nWaitMs)
            return Outcome::Unreachable;
        QThread::msleep(50);
    }
}

bool CSingleInstance::SendActivation(const QString& strSocket, int nTimeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(strSocket);
    if (!socket.waitForConnected(nTimeoutMs))
        return false;
    socket.write(CActivationWatcher::kActivateRequest);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(nTimeoutMs))
            return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(nTimeoutMs);
    return true;
}

} // namespace hpa
