// Connect to Printer on a real X server, as a person does it: the toolbar
// button clicked, host, user name and password typed into the dialog, OK
// clicked, the progress bar watched while a generated set of four job files
// comes in, and Cancel clicked while the last job file hangs half-way.
// Afterwards no message has been shown, the empty document is as it was and
// Connect to Printer works again.
#include "gui/test_x11_support.h"

#include "document/qt/VexAccDoc.h"
#include "support/TempDir.h"
#include "transfer/FtpClient.h"
#include "transfer/HostHistory.h"
#include "transfer/qt/ConnectDlg.h"
#include "transfer/qt/ProgressDlg.h"
#include "ui/CommandIds.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace hpa {

namespace {

using namespace test::x11;

const char* const kUser = "admin";
const char* const kPassword = "s3cret";
constexpr long kJobs = 12000;
constexpr int kJobFiles = 4;
const char* const kJobMessage = "Receiving Job Accounting File(s).";

// The filled part of a progress bar: the highlight colour is saturated, the
// empty groove and the frame are grey.
int FilledPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += QColor(image.pixel(x, y)).hsvSaturation() > 100;
    return n;
}

} // namespace

TEST(X11Connect, TypedLoginMovesTheBarAndCancelLeavesTheDocumentAsItWas)
{
    HPA_REQUIRE_X11();
    test::CTempDir dir;
    const fs::path printer = dir.Path() / "printer";
    ASSERT_TRUE(GenerateSet(printer, kJobs, kJobFiles));
    // Every RETR is answered late, so each file stays in flight across the
    // command's half-second polls; the last job file stops half-way with its
    // data connection open until the client gives up.
    const auto nStallAt = static_cast<std::int64_t>(fs::file_size(printer / "acc4.job") / 2);
    test::interop::CServerProcess sim;
    ASSERT_TRUE(sim.Start({SimBinary(), "--listen", "127.0.0.1:0", "--root", printer.string(),
                           "--user", kUser, "--password", kPassword, "--idle-timeout", "60",
                           "--fault", "slow-reply=300@RETR", "--fault",
                           "stall=" + std::to_string(nStallAt) + "@acc4.job"}));
    const std::string strHost = sim.HostText();

    CX11Program program;
    ASSERT_TRUE(program.Start({"--nosplash"}));
    CMainFrame* pFrame = program.Frame();
    CVexAccView* pView = program.View();
    ASSERT_NE(pView, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
    ASSERT_TRUE(Activate(pFrame));
    QWidget* pConnect = program.ToolButton(ID_CONNECT);
    ASSERT_NE(pConnect, nullptr);
    ASSERT_TRUE(WaitIdle([&] { return pConnect->isEnabled(); }, 5000));
    const QString strTitle = pFrame->windowTitle();
    int nRowsBefore[3];
    for (int i = 0; i < 3; ++i)
        nRowsBefore[i] = pView->Grid(i).RowCount();

    enum class Stage { Dialog, Download, Cancelled } stage = Stage::Dialog;
    QString strShownHost, strShownUser, strShownPassword;
    bool bPasswordHidden = false;
    std::vector<int> values; // the bar's positions, each change once
    int nStalledValue = -1;
    int nFilledFirst = -1;
    int nFilledStalled = -1;
    int nSecondDialogs = 0;
    QElapsedTimer stalled;
    auto pContext = std::make_unique<QObject>();

    Every20ms(pContext.get(), [&] {
        if (stage == Stage::Dialog) {
            auto* pDlg = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget());
            if (!pDlg || QGuiApplication::focusWindow() != pDlg->windowHandle())
                return false;
            // The keyboard: host, Tab, user name, Tab, password.
            Type(strHost);
            Key(Qt::Key_Tab);
            Type(kUser);
            Key(Qt::Key_Tab);
            Type(kPassword);
            strShownHost = pDlg->HostBox()->currentText();
            strShownUser = pDlg->UserNameEdit()->text();
            strShownPassword = pDlg->PasswordEdit()->text();
            bPasswordHidden = pDlg->PasswordEdit()->echoMode() == QLineEdit::Password;
            Keep(ScreenShot(), "connect-1-typed");
            stage = Stage::Download;
            Click(pDlg->OkButton());
            return false;
        }
        CProgressDlg* pDlg = pView->findChild<CProgressDlg*>();
        if (!pDlg || !pDlg->isVisible())
            return false;
        const int nValue = pDlg->ProgressBar()->value();
        if (values.empty() || nValue != values.back()) {
            values.push_back(nValue);
            if (values.size() == 2) {
                Keep(ScreenShot(), QStringLiteral("connect-2-bar-at-%1").arg(nValue));
                nFilledFirst = FilledPixels(ScreenShotOf(pDlg->ProgressBar()));
                // The main window refuses the mouse while the files come in.
                Click(pConnect);
            }
        }
        // The last job file has stopped: its count stands at the stall.
        if (pDlg->MessageLabel()->text() != kJobMessage || g_nBytesReceived.load() != nStallAt) {
            stalled.invalidate();
            return false;
        }
        if (!stalled.isValid())
            stalled.start();
        if (stalled.elapsed() < 1200) // a poll or two later the bar shows it
            return false;
        nStalledValue = pDlg->ProgressBar()->value();
        Keep(ScreenShot(), QStringLiteral("connect-3-bar-at-%1-stalled").arg(nStalledValue));
        nFilledStalled = FilledPixels(ScreenShotOf(pDlg->ProgressBar()));
        stage = Stage::Cancelled;
        Click(pDlg->CancelButton());
        return true;
    });
    // A Connect dialog during the download would mean the click got through.
    Every20ms(pContext.get(), [&] {
        auto* pDlg = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget());
        if (stage != Stage::Dialog && pDlg) {
            ++nSecondDialogs;
            pDlg->reject();
        }
        return false;
    });

    {
        CWatchdog watchdog(45000);
        Click(pConnect); // runs the whole command
        EXPECT_FALSE(watchdog.Fired()) << "the download had to be ended by the watchdog";
    }
    pContext.reset();

    EXPECT_EQ(strShownHost, QString::fromStdString(strHost));
    EXPECT_EQ(strShownUser, kUser);
    EXPECT_EQ(strShownPassword, kPassword);
    EXPECT_TRUE(bPasswordHidden);
    EXPECT_EQ(stage, Stage::Cancelled);
    EXPECT_EQ(nSecondDialogs, 0);

    // The bar moved at least twice, never back, and stood short of the end
    // while the last file hung.
    ASSERT_GE(values.size(), 3u) << "bar positions seen: " << values.size();
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << "the bar went back";
    EXPECT_EQ(nStalledValue, values.back());
    EXPECT_GT(nStalledValue, 0);
    EXPECT_LT(nStalledValue, 100);
    // And the screen showed it: more of the bar filled at the stall.
    EXPECT_GT(nFilledStalled, nFilledFirst);

    // Nothing to show for the cancelled download.
    EXPECT_TRUE(program.messages.m_messages.empty());
    EXPECT_FALSE(program.pApp->Document()->IsModified());
    EXPECT_EQ(pFrame->windowTitle(), strTitle);
    EXPECT_EQ(pView->CurrentKind(), 0);
    EXPECT_EQ(pFrame->DataKindPaneText(), "");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pView->Grid(i).RowCount(), nRowsBefore[i]) << "grid " << i;
        EXPECT_FALSE(pView->IsGridShown(i)) << "grid " << i;
    }
    EXPECT_EQ(pView->findChild<CProgressDlg*>(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(g_hostHistory.Front(), strHost);
    Keep(ScreenShot(), "connect-4-after-cancel");

    // Connect to Printer is available and the window takes the mouse again:
    // the button opens the dialog once more (left with Escape).
    EXPECT_TRUE(pConnect->isEnabled());
    bool bOpenedAgain = false;
    pContext = std::make_unique<QObject>();
    Every20ms(pContext.get(), [&] {
        auto* pDlg = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget());
        if (!pDlg || QGuiApplication::focusWindow() != pDlg->windowHandle())
            return false;
        bOpenedAgain = true;
        Key(Qt::Key_Escape);
        return true;
    });
    {
        CWatchdog watchdog(10000);
        Click(pConnect);
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_TRUE(bOpenedAgain);
    EXPECT_TRUE(program.messages.m_messages.empty());
    EXPECT_EQ(g_hostHistory.Front(), strHost);
}

} // namespace hpa
