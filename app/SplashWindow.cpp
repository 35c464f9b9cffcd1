#include "app/SplashWindow.h"

#include "ui/Resources.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

namespace hpa {

bool CSplashWindow::c_bShowSplashWnd = false;
CSplashWindow* CSplashWindow::c_pSplashWnd = nullptr;

void CSplashWindow::EnableSplashScreen(bool bEnable)
{
    c_bShowSplashWnd = bEnable;
}

bool CSplashWindow::IsEnabled()
{
    return c_bShowSplashWnd;
}

CSplashWindow* CSplashWindow::Current()
{
    return c_pSplashWnd;
}

void CSplashWindow::ShowSplashScreen(QWidget* pOwner)
{
    if (!c_bShowSplashWnd || c_pSplashWnd)
        return;
    InitResources();
    const QPixmap bitmap(QStringLiteral(":/hpa/splash.png"));
    if (bitmap.isNull())
        return; // nothing to show is no reason to stop the program
    c_pSplashWnd = new CSplashWindow(pOwner, bitmap);
    c_pSplashWnd->show();
    c_pSplashWnd->repaint();
}

CSplashWindow::CSplashWindow(QWidget* pOwner, const QPixmap& bitmap)
    : QWidget(pOwner, Qt::SplashScreen | Qt::FramelessWindowHint), m_bitmap(bitmap),
      m_pOwner(pOwner)
{
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.deviceIndependentSize().toSize());
    // Centred on the screen: the owner is not visible yet while it is created.
    QScreen* pScreen = pOwner ? pOwner->screen() : QGuiApplication::primaryScreen();
    if (pScreen) {
        QRect rect(QPoint(0, 0), size());
        rect.moveCenter(pScreen->availableGeometry().center());
        move(rect.topLeft());
    }
    m_timer.start(kShowMilliseconds, this);
    qApp->installEventFilter(this);
}

CSplashWindow::~CSplashWindow()
{
    qApp->removeEventFilter(this);
    if (c_pSplashWnd == this)
        c_pSplashWnd = nullptr;
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bitmap);
}

void CSplashWindow::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_timer.timerId())
        HideSplashScreen();
    else
        QWidget::timerEvent(pEvent);
}

bool CSplashWindow::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (c_pSplashWnd != this)
        return false;
    switch (pEvent->type()) {
    case QEvent::ShortcutOverride:
        // Claim the key so no shortcut fires; the key press that follows
        // hides the bitmap and is dropped.
        pEvent->accept();
        return true;
    case QEvent::KeyPress:
        HideSplashScreen();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress: {
        const auto button = static_cast<QMouseEvent*>(pEvent)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton) {
            HideSplashScreen();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(pObject, pEvent);
}

void CSplashWindow::HideSplashScreen()
{
    if (c_pSplashWnd != this)
        return;
    c_pSplashWnd = nullptr;
    m_timer.stop();
    qApp->removeEventFilter(this);
    hide();
    if (m_pOwner)
        m_pOwner->repaint();
    deleteLater();
}

} // namespace hpa
