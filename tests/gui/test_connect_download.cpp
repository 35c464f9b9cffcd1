// Connect to Printer from the desktop against the simulated printer: the
// dialogs driven as a user would, the download on its transfer threads, the
// failures, a cancel, and the program's own command from the menu to the
// Status grid and back through File > New.
#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "app/CommandLineInfo.h"
#include "app/MainFrame.h"
#include "app/VexAccApp.h"
#include "document/qt/DocumentUi.h"
#include "document/qt/VexAccDoc.h"
#include "grid/UGCtrl.h"
#include "interop/InteropPeers.h"
#include "platform/Profile.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "transfer/HostHistory.h"
#include "transfer/qt/ConnectCommand.h"
#include "transfer/qt/ConnectDlg.h"
#include "transfer/qt/ProgressDlg.h"
#include "ui/AccViewBase.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace hpa {

namespace {

namespace fs = std::filesystem;
using test::interop::CServerProcess;
using test::interop::ReadText;

const char* const kUser = "admin";
const char* const kPassword = "secret";

// Records messages and lets a test look at the program at that moment.
class CObservingMessages : public test::CRecordingMessages {
public:
    void Exclamation(const std::string& strText) override
    {
        if (m_fnObserve)
            m_fnObserve();
        CRecordingMessages::Exclamation(strText);
    }
    std::function<void()> m_fnObserve;
};

Qt::CursorShape OverrideShape()
{
    const QCursor* pCursor = QGuiApplication::overrideCursor();
    return pCursor ? pCursor->shape() : Qt::BitmapCursor;
}

bool HasOverrideCursor()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

// Answers the Connect dialog once it is open: fills it in and presses OK.
// Retries for about five seconds; the timers die with pContext.
void AnswerConnectDialog(QObject* pContext, const QString& strHost,
                         std::function<void()> fnBeforeOk = {}, int nTriesLeft = 250)
{
    QTimer::singleShot(20, pContext, [=] {
        auto* pDlg = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget());
        if (!pDlg) {
            if (nTriesLeft > 0)
                AnswerConnectDialog(pContext, strHost, fnBeforeOk, nTriesLeft - 1);
            return;
        }
        pDlg->HostBox()->setEditText(strHost);
        pDlg->UserNameEdit()->setText(kUser);
        pDlg->PasswordEdit()->setText(kPassword);
        if (fnBeforeOk)
            fnBeforeOk();
        pDlg->OkButton()->click();
        if (pDlg->isVisible())
            pDlg->reject(); // refused: never leave a modal dialog behind
    });
}

// Calls fnTick every 20 ms while the command runs (the progress dialog
// pumps the queue) until it returns true.
void WhileRunning(QObject* pContext, std::function<bool()> fnTick)
{
    auto* pTimer = new QTimer(pContext);
    QObject::connect(pTimer, &QTimer::timeout, pContext, [pTimer, fnTick] {
        if (fnTick())
            pTimer->stop();
    });
    pTimer->start(20);
}

// The printer's files in a directory the simulator serves.
class CPrinterFiles {
public:
    CPrinterFiles()
    {
        const fs::path sample = fs::path(test::interop::SourceDir()) / "samples" / "printer";
        for (const char* pszName : {"acc.sta", "acc.dic", "acc.pap", "acc1.job"})
            m_dir.Write(pszName, ReadText(sample / pszName));
    }
    void Write(const char* pszName, const std::string& strBytes) { m_dir.Write(pszName, strBytes); }
    std::string Read(const char* pszName) const { return ReadText(m_dir.Path() / pszName); }
    const fs::path& Path() const { return m_dir.Path(); }

private:
    test::CTempDir m_dir;
};

std::string SimBinary()
{
    return (test::interop::BinDir() / "hpa-printer-sim").string();
}

bool StartSim(CServerProcess& server, const CPrinterFiles& files,
              const std::vector<std::string>& faults = {})
{
    std::vector<std::string> args = {
        SimBinary(), "--listen", "127.0.0.1:0", "--root",  files.Path().string(),
        "--user",    kUser,      "--password",  kPassword, "--idle-timeout",
        "10"};
    for (const std::string& strFault : faults) {
        args.push_back("--fault");
        args.push_back(strFault);
    }
    return server.Start(args);
}

// A main window with a button and the view as its central widget.
struct CFrame {
    CFrame()
    {
        window.resize(600, 400);
        pView = new QWidget(&window);
        window.setCentralWidget(pView);
        pButton = new QPushButton(QStringLiteral("Press"), pView);
        pButton->setGeometry(10, 10, 100, 30);
        QObject::connect(pButton, &QPushButton::clicked, [this] { ++nClicks; });
        window.show();
    }
    // A click as the window system delivers it, so a blocked window can
    // refuse it.
    void ClickButton()
    {
        const QPoint at = pButton->mapTo(&window, pButton->rect().center());
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    CProgressDlg* Progress() const { return pView->findChild<CProgressDlg*>(); }

    QMainWindow window;
    QWidget* pView;
    QPushButton* pButton;
    int nClicks = 0;
};

class ConnectDownload : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(SimBinary()))
            GTEST_SKIP() << "hpa-printer-sim is not built";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame.window));
        CAccBinding binding;
        binding.m_pathWorkDir = m_work.Path();
        binding.m_pGrids = {&m_grids[0], &m_grids[1], &m_grids[2]};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
    }

    std::optional<DownloadResult> Run(const std::vector<std::string>& faults = {},
                                      std::function<void()> fnBeforeOk = {})
    {
        EXPECT_TRUE(StartSim(m_server, m_files, faults));
        m_strHost = "127.0.0.1:" + std::to_string(m_server.Port());
        AnswerConnectDialog(&m_context, QString::fromStdString(m_strHost), fnBeforeOk);
        CConnectContext context;
        context.m_pView = m_frame.pView;
        context.m_pAcc = &m_acc;
        context.m_pMessages = &m_messages;
        context.m_pProfile = &m_profile;
        context.m_pHostHistory = &m_history;
        context.m_fnSucceeded = [this] { ++m_nSucceeded; };
        context.m_pollInterval = std::chrono::milliseconds(50);
        context.m_nTimeoutMs = 5000;
        return OnConnect(context);
    }
    bool WorkFile(const char* pszName) const { return fs::exists(m_work.Path() / pszName); }

    CFrame m_frame;
    QObject m_context;
    CPrinterFiles m_files;
    CServerProcess m_server;
    std::string m_strHost;
    test::CTempDir m_work;
    CUGCtrl m_grids[3];
    CFieldMasks m_masks;
    CAcc m_acc;
    CObservingMessages m_messages;
    CMemoryProfile m_profile;
    CHostHistory m_history;
    int m_nSucceeded = 0;
};

} // namespace

TEST_F(ConnectDownload, FullDownloadFillsTheGridsAndCallsTheSuccessHook)
{
    EXPECT_EQ(Run(), DownloadResult::Decoded);
    EXPECT_EQ(m_nSucceeded, 1);
    EXPECT_TRUE(m_messages.m_messages.empty());
    EXPECT_EQ(m_grids[2].RowCount(), m_masks.m_nStatusRows);
    EXPECT_EQ(m_grids[2].ColumnCount(), 2);
    EXPECT_EQ(m_grids[1].RowCount(), 4); // four paper types
    EXPECT_EQ(m_grids[1].ColumnCount(), m_masks.m_nPaperColumns);
    EXPECT_GE(m_grids[0].RowCount(), 36); // 36 jobs, and sub-rows
    EXPECT_EQ(m_acc.m_strHost, m_strHost);
    EXPECT_FALSE(m_acc.m_strDownloadDate.empty());
    EXPECT_EQ(ReadText(m_work.Path() / "JOB.tmp"), m_files.Read("acc1.job"));
    EXPECT_EQ(m_history.Entries(), std::vector<std::string>{m_strHost});
    EXPECT_EQ(m_profile.GetString("1.1", "HostName00"), m_strHost);
    // Nothing of the command is left: no cursor, no dialog, the window
    // takes clicks again.
    EXPECT_FALSE(HasOverrideCursor());
    EXPECT_EQ(m_frame.Progress(), nullptr);
    m_frame.ClickButton();
    EXPECT_EQ(m_frame.nClicks, 1);
}

TEST_F(ConnectDownload, CancelDuringATransferShowsNothingAndChangesNoGrid)
{
    // The paper file never arrives: the transfer thread sits in its receive.
    int nStage = 0;
    bool bWaitCursor = false;
    bool bOwnerBlocked = false;
    int nPaintsBefore = 0;
    int nPaints = 0;
    struct CPaints : QObject {
        int* pn;
        explicit CPaints(int* p) : pn(p) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            *pn += e->type() == QEvent::Paint;
            return false;
        }
    } paints(&nPaints);
    m_frame.pButton->installEventFilter(&paints);
    WhileRunning(&m_context, [&] {
        CProgressDlg* pDlg = m_frame.Progress();
        if (!pDlg || !pDlg->isVisible() ||
            pDlg->MessageLabel()->text() != "Receiving Paper Accounting File.")
            return false;
        if (nStage++ == 0) {
            bWaitCursor = OverrideShape() == Qt::WaitCursor;
            bOwnerBlocked = pDlg->IsOwnerDisabled();
            m_frame.ClickButton(); // refused
            nPaintsBefore = nPaints;
            m_frame.pButton->update();
            return false;
        }
        if (nPaints == nPaintsBefore && nStage < 50)
            return false; // the repaint comes with the next pump
        QTest::mouseClick(pDlg->CancelButton(), Qt::LeftButton);
        return true;
    });
    EXPECT_EQ(Run({"stall=0@acc.pap"}), DownloadResult::Cancelled);
    EXPECT_GE(nStage, 2);
    EXPECT_TRUE(bWaitCursor);
    EXPECT_TRUE(bOwnerBlocked);
    EXPECT_EQ(m_frame.nClicks, 0);
    EXPECT_GT(nPaints, nPaintsBefore);

    EXPECT_TRUE(m_messages.m_messages.empty());
    EXPECT_EQ(m_nSucceeded, 0);
    EXPECT_EQ(m_grids[2].RowCount(), 0);
    EXPECT_EQ(m_grids[1].RowCount(), 0);
    EXPECT_TRUE(WorkFile("DIC.tmp"));
    EXPECT_FALSE(WorkFile("JOB.tmp"));
    EXPECT_FALSE(HasOverrideCursor());
    EXPECT_EQ(m_frame.Progress(), nullptr);
    m_frame.ClickButton();
    EXPECT_EQ(m_frame.nClicks, 1);
}

TEST_F(ConnectDownload, EmptyPaperFileFailsAndNoJobFileIsFetched)
{
    m_files.Write("acc.pap", "");
    bool bArrow = false;
    bool bProgressShown = false;
    m_messages.m_fnObserve = [&] {
        bArrow = OverrideShape() == Qt::ArrowCursor;
        bProgressShown = m_frame.Progress() && m_frame.Progress()->isVisible();
    };
    EXPECT_EQ(Run(), DownloadResult::DownloadFailed);
    EXPECT_EQ(m_messages.Exclamations(),
              std::vector<std::string>{"Download of Paper Accounting File failed."});
    EXPECT_TRUE(bArrow);
    EXPECT_TRUE(bProgressShown);
    EXPECT_TRUE(WorkFile("PAP.tmp"));
    EXPECT_FALSE(WorkFile("JOB.tmp"));
    EXPECT_EQ(m_nSucceeded, 0);
    EXPECT_EQ(m_grids[2].RowCount(), 0);
    EXPECT_FALSE(HasOverrideCursor());
    EXPECT_EQ(m_frame.Progress(), nullptr);
}

TEST_F(ConnectDownload, VersionZeroStopsBeforeTheDictionary)
{
    std::string strStatus = m_files.Read("acc.sta");
    strStatus.replace(strStatus.find("28:2"), 4, "28:0");
    m_files.Write("acc.sta", strStatus);
    EXPECT_EQ(Run(), DownloadResult::InvalidInitialization);
    EXPECT_EQ(m_messages.Exclamations(),
              std::vector<std::string>{
                  "The Status Accounting File indicates an invalid initialization."});
    EXPECT_TRUE(WorkFile("STA.tmp"));
    EXPECT_FALSE(WorkFile("DIC.tmp"));
    EXPECT_EQ(m_acc.m_strFieldValue[28], "0");
    EXPECT_EQ(m_nSucceeded, 0);
    EXPECT_FALSE(HasOverrideCursor());
}

TEST_F(ConnectDownload, FailedLoginBlocksTheWindowAndStillPutsTheHostFirstInTheProfile)
{
    m_profile.WriteString("1.1", "HostName00", "OLD");
    m_history.Load(m_profile);
    // A timer due well before the login ends must not run during it: the
    // login does not pump.
    bool bTimerRan = false;
    bool bTimerRanDuringLogin = true;
    bool bArrow = false;
    bool bProgressShown = true;
    m_messages.m_fnObserve = [&] {
        bTimerRanDuringLogin = bTimerRan;
        bArrow = OverrideShape() == Qt::ArrowCursor;
        bProgressShown = m_frame.Progress() && m_frame.Progress()->isVisible();
    };
    const auto result = Run({"slow-reply=800@PASS", "refuse-pass"}, [&] {
        QTimer::singleShot(100, &m_context, [&] { bTimerRan = true; });
    });
    EXPECT_EQ(result, DownloadResult::LoginFailed);
    EXPECT_EQ(m_messages.Exclamations(), std::vector<std::string>{"Connection to host failed."});
    EXPECT_FALSE(bTimerRanDuringLogin);
    EXPECT_TRUE(bArrow);
    EXPECT_FALSE(bProgressShown);
    EXPECT_EQ(m_history.Entries(), (std::vector<std::string>{m_strHost, "OLD"}));
    EXPECT_EQ(m_profile.GetString("1.1", "HostName00"), m_strHost);
    EXPECT_EQ(m_profile.GetString("1.1", "HostName01"), "OLD");
    EXPECT_FALSE(HasOverrideCursor());
}

TEST_F(ConnectDownload, CancelledDialogTouchesNothing)
{
    m_history.Use("OLD");
    QTimer::singleShot(20, &m_context, [] {
        if (auto* pDlg = qobject_cast<CConnectDlg*>(QApplication::activeModalWidget())) {
            pDlg->HostBox()->setEditText("NEW");
            pDlg->CancelButton()->click();
        }
    });
    QTimer::singleShot(5000, &m_context, [] {
        if (QWidget* pModal = QApplication::activeModalWidget())
            pModal->close();
    });
    CConnectContext context;
    context.m_pView = m_frame.pView;
    context.m_pAcc = &m_acc;
    context.m_pMessages = &m_messages;
    context.m_pProfile = &m_profile;
    context.m_pHostHistory = &m_history;
    EXPECT_EQ(OnConnect(context), std::nullopt);
    EXPECT_EQ(m_history.Entries(), std::vector<std::string>{"OLD"});
    EXPECT_FALSE(m_profile.Has("1.1", "HostName00"));
    EXPECT_FALSE(HasOverrideCursor());
}

namespace {

class CNoQuestionsUi : public CDocumentUi {
public:
    Answer AskSaveChanges(const QString&) override { return Answer::No; }
    QString GetOpenFileName() override { return {}; }
    QString GetSaveFileName(const QString&) override { return {}; }
};

} // namespace

// The program's own road: Admin > Connect to Printer from the router, a
// cancelled attempt that leaves the command available, a download that
// shows the Status grid, and File > New before the next download.
TEST(ConnectCommand, FromTheMenuToTheStatusGridAndBackThroughFileNew)
{
    if (!fs::exists(SimBinary()))
        GTEST_SKIP() << "hpa-printer-sim is not built";
    test::CTempDir dir;
    CMemoryProfile profile;
    profile.WriteString("1.1", "HostName00", "OLD");
    test::CRecordingMessages messages;
    CNoQuestionsUi ui;
    CVexAccApp::Options options;
    options.pProfile = &profile;
    options.pMessages = &messages;
    options.pDocumentUi = &ui;
    options.bSingleInstance = false;
    CVexAccApp app(options);
    CCommandLineInfo cmdInfo;
    cmdInfo.Parse({"--nosplash"});
    ASSERT_TRUE(app.InitInstance(cmdInfo));
    EXPECT_EQ(g_hostHistory.Entries(), std::vector<std::string>{"OLD"});
    CAccViewBase* pView = app.View();
    ASSERT_NE(pView, nullptr);
    CCommandRouter& router = app.Router();
    QObject context;

    CPrinterFiles files;
    CServerProcess stalled;
    ASSERT_TRUE(StartSim(stalled, files, {"stall=0@acc1.job"}));
    AnswerConnectDialog(&context, "127.0.0.1:" + QString::number(stalled.Port()));
    WhileRunning(&context, [pView] {
        CProgressDlg* pDlg = pView->findChild<CProgressDlg*>();
        if (!pDlg || pDlg->MessageLabel()->text() != "Receiving Job Accounting File(s).")
            return false;
        pDlg->CancelButton()->click();
        return true;
    });
    EXPECT_TRUE(router.Execute(ID_CONNECT));
    EXPECT_TRUE(messages.m_messages.empty());
    EXPECT_EQ(pView->CurrentKind(), 0);
    EXPECT_FALSE(app.Document()->IsModified());
    EXPECT_TRUE(router.QueryState(ID_CONNECT).m_bEnabled);

    CServerProcess server;
    ASSERT_TRUE(StartSim(server, files));
    const std::string strHost = "127.0.0.1:" + std::to_string(server.Port());
    AnswerConnectDialog(&context, QString::fromStdString(strHost));
    EXPECT_TRUE(router.Execute(ID_CONNECT));
    EXPECT_TRUE(messages.m_messages.empty());
    EXPECT_EQ(pView->CurrentKind(), ID_DATA_STATUS);
    EXPECT_EQ(pView->CurrentGrid(), 2);
    EXPECT_EQ(app.MainFrame()->DataKindPaneText(), "STATUS");
    EXPECT_TRUE(app.Document()->IsModified());
    EXPECT_EQ(pView->Grid(2).RowCount(), g_masks.m_nStatusRows);
    EXPECT_EQ(g_acc.m_strHost, strHost);
    EXPECT_EQ(g_hostHistory.Front(), strHost);
    EXPECT_EQ(profile.GetString("1.1", "HostName00"), strHost);
    EXPECT_EQ(profile.GetString("1.1", "HostName01"),
              "127.0.0.1:" + std::to_string(stalled.Port())); // the cancelled attempt
    EXPECT_EQ(profile.GetString("1.1", "HostName02"), "OLD");

    // A second download waits for File > New.
    EXPECT_FALSE(router.QueryState(ID_CONNECT).m_bEnabled);
    QTimer::singleShot(2000, &context, [] {
        if (QWidget* pModal = QApplication::activeModalWidget())
            pModal->close();
    });
    EXPECT_FALSE(router.Execute(ID_CONNECT));
    app.OnFileNew();
    EXPECT_EQ(pView->CurrentKind(), 0);
    EXPECT_TRUE(router.QueryState(ID_CONNECT).m_bEnabled);
}

} // namespace hpa
