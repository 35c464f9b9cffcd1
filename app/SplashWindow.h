#pragma once
// The start-up bitmap: shown for two seconds when the main frame is created,
// or until the user presses a key or a mouse button. That key or click only
// hides it; it never reaches the program. At most one exists at a time.
#include <QBasicTimer>
#include <QPixmap>
#include <QWidget>

namespace hpa {

class CSplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 2000;

    // Set once at start-up from the command line; off until then.
    static void EnableSplashScreen(bool bEnable = true);
    static bool IsEnabled();
    // Shows the bitmap owned by pOwner unless disabled or already showing.
    static void ShowSplashScreen(QWidget* pOwner);
    // The window on show, or nullptr.
    static CSplashWindow* Current();

    ~CSplashWindow() override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    // Sees every event of the application first while the bitmap shows.
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    CSplashWindow(QWidget* pOwner, const QPixmap& bitmap);
    void HideSplashScreen();

    QPixmap m_bitmap;
    QBasicTimer m_timer;
    QWidget* m_pOwner;

    static bool c_bShowSplashWnd;
    static CSplashWindow* c_pSplashWnd;
};

} // namespace hpa
