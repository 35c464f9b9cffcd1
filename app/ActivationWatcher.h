#pragma once
// The running instance's side of single-instance activation: it listens on
// the per-user local socket, and each request from a later start brings the
// main window, or the dialog open in it, to the front. It lives on the user
// interface thread, so it keeps answering while a modal dialog runs.
#include <QObject>
#include <QPointer>
#include <QWidget>

class QLocalServer;
class QLocalSocket;

namespace hpa {

class CActivationWatcher : public QObject {
    Q_OBJECT
public:
    // The message a later start sends.
    static constexpr const char* kActivateRequest = "activate\n";

    // Takes over a listening server.
    explicit CActivationWatcher(QLocalServer* pServer, QObject* pParent = nullptr);
    ~CActivationWatcher() override;

    // The window to bring forward; until it exists a request only beeps.
    void SetMainWindow(QWidget* pMainWindow) { m_pMainWindow = pMainWindow; }

    // The modal dialog open in the main window; else the main window's
    // window that was active last (pLastActive: the main window itself or
    // a modeless window it owns, such as the Find dialog) while it is still
    // shown; else the main window itself.
    static QWidget* WindowToActivate(QWidget* pMainWindow, QWidget* pLastActive = nullptr);

    int RequestCount() const { return m_nRequests; }

signals:
    // After each request was served; pWindow is null when there was none.
    void activated(QWidget* pWindow);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* pSocket);
    void Activate();
    void OnFocusWindowChanged();

    QLocalServer* m_pServer;
    QPointer<QWidget> m_pMainWindow;
    QPointer<QWidget> m_pLastActive; // the main window's own window active last
    int m_nRequests = 0;
};

} // namespace hpa
