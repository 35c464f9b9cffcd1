#include "app/ActivationWatcher.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <QWindow>

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
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            &CActivationWatcher::OnFocusWindowChanged);
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

namespace {

// The main window, or a top-level window of its own (a dialog whose parent
// lies in it).
bool BelongsToMainWindow(const QWidget* pWindow, const QWidget* pMainWindow)
{
    for (const QWidget* p = pWindow; p; p = p->parentWidget())
        if (p == pMainWindow)
            return true;
    return false;
}

} // namespace

void CActivationWatcher::OnFocusWindowChanged()
{
    // Remembered only while one of ours is active: switching to another
    // program leaves the last one of ours in place.
    QWidget* pActive = QApplication::activeWindow();
    if (pActive && m_pMainWindow && BelongsToMainWindow(pActive, m_pMainWindow))
        m_pLastActive = pActive;
}

QWidget* CActivationWatcher::WindowToActivate(QWidget* pMainWindow, QWidget* pLastActive)
{
    if (!pMainWindow)
        return nullptr;
    if (QWidget* pModal = QApplication::activeModalWidget())
        return pModal;
    if (pLastActive && pLastActive->isVisible() && BelongsToMainWindow(pLastActive, pMainWindow))
        return pLastActive;
    return pMainWindow;
}

void CActivationWatcher::Activate()
{
    ++m_nRequests;
    QWidget* pWindow = WindowToActivate(m_pMainWindow, m_pLastActive);
    if (!pWindow) {
        // Still starting up: nothing to bring forward yet.
        QApplication::beep();
        emit activated(nullptr);
        return;
    }
    if (m_pMainWindow->isMinimized())
        m_pMainWindow->setWindowState(m_pMainWindow->windowState() & ~Qt::WindowMinimized);
    // A modeless window comes forward together with the main window.
    if (pWindow != m_pMainWindow.data())
        m_pMainWindow->raise();
    pWindow->raise();
    pWindow->activateWindow();
    emit activated(pWindow);
}

} // namespace hpa
