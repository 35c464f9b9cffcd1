#include "app/ActivationWatcher.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cstring>

namespace hpa {

namespace {

// A request is one short line; anything longer is not one of ours.
constexpr qint64 kMaxRequestBytes = 64;

} // namespace

CActivationWatcher::CActivationWatcher(QLocalServer* pServer, QObject* pParent)
    : QObject(pParent), m_pServer(pServer)
{
    m_pServer->setParent(this);
    connect(m_pServer, &QLocalServer::newConnection, this, &CActivationWatcher::OnNewConnection);
}

CActivationWatcher::~CActivationWatcher()
{
    // Closing the server removes the socket file, so the next start finds
    // no instance at once.
    m_pServer->close();
}

void CActivationWatcher::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        pSocket->setParent(this);
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnReadyRead(pSocket); });
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        if (pSocket->bytesAvailable() > 0)
            OnReadyRead(pSocket);
    }
}

void CActivationWatcher::OnReadyRead(QLocalSocket* pSocket)
{
    if (!pSocket->canReadLine()) {
        if (pSocket->bytesAvailable() > kMaxRequestBytes)
            pSocket->abort();
        return;
    }
    const QByteArray line = pSocket->readLine(kMaxRequestBytes);
    pSocket->disconnectFromServer();
    if (line == kActivateRequest)
        Activate();
}

QWidget* CActivationWatcher::WindowToActivate(QWidget* pMainWindow)
{
    if (!pMainWindow)
        return nullptr;
    if (QWidget* pModal = QApplication::activeModalWidget())
        return pModal;
    return pMainWindow;
}

void CActivationWatcher::Activate()
{
    ++m_nRequests;
    QWidget* pWindow = WindowToActivate(m_pMainWindow);
    if (!pWindow) {
        // Still starting up: nothing to bring forward yet.
        QApplication::beep();
        emit activated(nullptr);
        return;
    }
    if (m_pMainWindow->isMinimized())
        m_pMainWindow->setWindowState(m_pMainWindow->windowState() & ~Qt::WindowMinimized);
    pWindow->raise();
    pWindow->activateWindow();
    emit activated(pWindow);
}

} // namespace hpa
