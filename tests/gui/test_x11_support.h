#pragma once
// What the tests of the desktop on a real X server share: screenshots of
// what the server shows, keys and clicks that travel Qt's window-system
// path (the focus window the X server chose, modality, the implicit mouse
// grab, the shortcut map), the program started with test seams, generated
// accounting sets and documents, and a watchdog so a failing step never
// leaves a modal loop running.
//
// Every test skips itself unless the platform is xcb; tests/gui/x11_check.sh
// runs them under xvfb-run. HPA_X11_SHOTS names a directory for screenshots.
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/VexAccApp.h"
#include "document/qt/DocumentUi.h"
#include "interop/InteropPeers.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "view/qt/AccView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hpa::test::x11 {

namespace fs = std::filesystem;

inline bool OnX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

#define HPA_REQUIRE_X11()                                                                          \
    if (!::hpa::test::x11::OnX11())                                                                \
    GTEST_SKIP() << "needs a real X server (tests/gui/x11_check.sh)"

// ---- what the screen shows --------------------------------------------------------

// Lets pending paints reach the server before it is asked for pixels.
inline void SettlePainting()
{
    QApplication::processEvents();
    QTest::qWait(120);
}

// The whole screen, dialogs and all.
inline QImage ScreenShot()
{
    SettlePainting();
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// The screen's pixels inside one widget.
inline QImage ScreenShotOf(QWidget* pWidget)
{
    SettlePainting();
    const QPoint origin = pWidget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x(), origin.y(), pWidget->width(), pWidget->height())
        .toImage();
}

inline void Keep(const QImage& image, const QString& strName)
{
    const char* pszDir = std::getenv("HPA_X11_SHOTS");
    if (!pszDir)
        return;
    EXPECT_TRUE(image.save(QString::fromLocal8Bit(pszDir) + "/" + strName + ".png"))
        << strName.toStdString();
}

// Pixels darker than light grey: text and lines.
inline int DarkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 100;
    return n;
}

// ---- input ------------------------------------------------------------------------------

// Keys go to the window that has the X server's keyboard focus, as typed
// keys do; false (and a failure) when no window of ours has it.
inline bool Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWindow* pWindow = QGuiApplication::focusWindow();
    if (!pWindow) {
        ADD_FAILURE() << "no window has the keyboard focus";
        return false;
    }
    QTest::keyClick(pWindow, key, mods);
    return true;
}

inline bool Type(const std::string& strText)
{
    for (char ch : strText) {
        QWindow* pWindow = QGuiApplication::focusWindow();
        if (!pWindow) {
            ADD_FAILURE() << "no window has the keyboard focus";
            return false;
        }
        QTest::keyClick(pWindow, ch);
    }
    return true;
}

// A point of a widget in its top-level window, where the mouse is aimed.
inline QPoint InWindow(QWidget* pWidget, QPoint pt)
{
    return pWidget->mapTo(pWidget->window(), pt);
}

inline QWindow* WindowOf(QWidget* pWidget)
{
    return pWidget->window()->windowHandle();
}

inline void Click(QWidget* pWidget, QPoint pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::mouseClick(WindowOf(pWidget), Qt::LeftButton, mods, InWindow(pWidget, pt));
}

inline void Click(QWidget* pWidget)
{
    Click(pWidget, pWidget->rect().center());
}

// Whether the X server's keyboard focus is on the widget's window. (Qt's
// own "active" also counts a dialog's parent and a window's transient
// children, which is not where the keys go.)
inline bool HasKeyboard(QWidget* pWidget)
{
    QWindow* pFocus = QGuiApplication::focusWindow();
    return pFocus && pFocus == WindowOf(pWidget);
}

// Asks for the keyboard focus (with no window manager Qt sets it itself)
// and waits until the X server has given it.
inline bool Activate(QWidget* pWidget)
{
    pWidget->activateWindow();
    return QTest::qWaitFor([pWidget] { return HasKeyboard(pWidget); }, 5000);
}

// ---- timing -------------------------------------------------------------------------

// Runs the event loop as the program's own does, letting it go idle between
// events (the toolbar's enabled states are brought up to date then), until
// fnDone returns true or nMs have passed.
inline bool WaitIdle(const std::function<bool()>& fnDone, int nMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!fnDone()) {
        if (elapsed.elapsed() >= nMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Calls fnStep every 20 ms, also inside the modal loops and event pumps
// the program runs, until it returns true or pContext goes.
inline void Every20ms(QObject* pContext, std::function<bool()> fnStep)
{
    auto* pTimer = new QTimer(pContext);
    QObject::connect(pTimer, &QTimer::timeout, pContext, [pTimer, fnStep] {
        if (fnStep())
            pTimer->stop();
    });
    pTimer->start(20);
}

// Ends whatever a failing step left open: after nMs, and every 200 ms from
// then on, closes popups and modal dialogs (a progress dialog's close is its
// Cancel) so the command that runs them returns.
class CWatchdog {
public:
    explicit CWatchdog(int nMs)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_bFired = true;
            m_timer.start(200);
            if (QWidget* pPopup = QApplication::activePopupWidget())
                pPopup->close();
            if (QWidget* pModal = QApplication::activeModalWidget())
                pModal->close();
        });
        m_timer.setSingleShot(true);
        m_timer.start(nMs);
    }
    ~CWatchdog() { m_timer.stop(); }
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

    bool Fired() const { return m_bFired; }

private:
    QTimer m_timer;
    bool m_bFired = false;
};

// ---- the program ----------------------------------------------------------------------

class CNoQuestionsUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
    // A print into a PDF file goes to m_strPrintFile (none: cancelled).
    QString GetPrintFileName(const QString&) override { return m_strPrintFile; }
    QString m_strPrintFile;
};

// The desktop program with an in-memory profile and recorded messages.
struct CX11Program {
    bool Start(const std::vector<std::string>& args)
    {
        CVexAccApp::Options options;
        options.pProfile = &profile;
        options.pMessages = &messages;
        options.pDocumentUi = &ui;
        options.bSingleInstance = false;
        pApp = std::make_unique<CVexAccApp>(options);
        CCommandLineInfo info;
        info.Parse(args);
        return pApp->InitInstance(info);
    }
    CMainFrame* Frame() const { return pApp->MainFrame(); }
    CVexAccView* View() const { return dynamic_cast<CVexAccView*>(pApp->View()); }
    QWidget* ToolButton(int nID) const
    {
        return Frame()->ToolBar()->widgetForAction(Frame()->CommandAction(nID));
    }

    CMemoryProfile profile;
    test::CRecordingMessages messages;
    CNoQuestionsUi ui;
    std::unique_ptr<CVexAccApp> pApp; // goes first
};

// ---- data ---------------------------------------------------------------------------------

inline std::string SimBinary()
{
    return (interop::BinDir() / "hpa-printer-sim").string();
}

inline std::string Quoted(const fs::path& path)
{
    return test::Quoted(path.string());
}

// A synthetic accounting set under the printer's file names (acc.sta,
// acc.dic, acc.pap, acc1.job ...).
inline bool GenerateSet(const fs::path& dir, long nJobs, int nJobFiles)
{
    const std::string cmd = Quoted(SimBinary()) + " --generate " + Quoted(dir) + " --jobs " +
                            std::to_string(nJobs) + " --job-files " + std::to_string(nJobFiles) +
                            " >/dev/null";
    return std::system(cmd.c_str()) == 0;
}

// A saved document of a generated set of nJobs jobs, fetched from the
// simulated printer by hpactl as the desktop would fetch it (so the print
// header has a date, a time and a host). Returns the host, empty on failure.
inline std::string MakeDocument(const fs::path& dir, long nJobs, const fs::path& document)
{
    const fs::path printer = dir / "printer";
    if (!GenerateSet(printer, nJobs, 1))
        return {};
    interop::CServerProcess sim;
    if (!sim.Start({SimBinary(), "--listen", "127.0.0.1:0", "--root", printer.string(), "--user",
                    "admin", "--password", "admin", "--idle-timeout", "30"}))
        return {};
    const interop::RunResult result = interop::RunHpactl(
        dir, "fetch " + sim.HostText() + " --user admin --password admin --quiet --save " +
                 Quoted(document));
    EXPECT_EQ(result.status, 0) << result.err;
    return result.status == 0 && fs::exists(document) ? sim.HostText() : std::string();
}

} // namespace hpa::test::x11
