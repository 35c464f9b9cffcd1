// The History window under a real X server, the road a new user takes: two
// simulated printers collected twice by hpactl collect, Admin > History...
// from the keyboard, the history opened through "Open Database...", the
// report grouped by month with its chart, exported (the bytes of hpactl
// report --format csv) and printed to a PDF whose pages name the period and
// the printers. Screenshots of the 1280x800 window are kept as
// history-1-by-user.png and history-2-by-month.png.
#include "gui/test_x11_support.h"

#include "grid/qt/GridChildren.h"
#include "grid/qt/GridWnd.h"

#include "history/HistoryStore.h"
#include "history/qt/CollectPanel.h"
#include "history/qt/HistoryChart.h"
#include "history/qt/HistoryWindow.h"
#include "history/qt/PivotPane.h"
#include "support/TempDir.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>

#include <cstdio>
#include <cstdlib>

namespace hpa {

namespace {

using namespace test::x11;

std::string PdfText(const fs::path& pdf)
{
    std::string strOut;
    const std::string cmd = "pdftotext -layout " + Quoted(pdf) + " - 2>/dev/null";
    if (FILE* pPipe = ::popen(cmd.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0)
            strOut.append(buffer, n);
        ::pclose(pPipe);
    }
    return strOut;
}

using SimList = std::vector<std::unique_ptr<test::interop::CServerProcess>>;

// Two printers with growing job logs (kept running in sims), collected
// twice into db.
void CollectFleet(const test::CTempDir& work, const fs::path& db, SimList& sims)
{
    const fs::path& dir = work.Path();
    std::string strFleet;
    for (int n = 0; n < 2; ++n) {
        const fs::path root = dir / ("printer" + std::to_string(n));
        ASSERT_EQ(std::system((Quoted(SimBinary()) + " --generate " + Quoted(root) +
                               " --jobs 4000 --seed " + std::to_string(n + 5) + " >/dev/null")
                                  .c_str()),
                  0);
        sims.push_back(std::make_unique<test::interop::CServerProcess>());
        ASSERT_TRUE(sims.back()->Start({SimBinary(), "--listen", "127.0.0.1:0", "--root",
                                        root.string(), "--user", "admin", "--password", "admin",
                                        "--advance", "50", "--idle-timeout", "30"}));
        strFleet += "[printer " + std::string(n ? "lab" : "front desk") +
                    "]\nhost = " + sims.back()->HostText() +
                    "\nuser = admin\npassword-file = secret\n";
    }
    work.Write("secret", "admin\n");
    work.Write("fleet.conf", strFleet);
    for (int nRun = 0; nRun < 2; ++nRun) {
        const auto result =
            test::interop::RunHpactl(dir, "collect --db " + Quoted(db) + " --fleet fleet.conf");
        ASSERT_EQ(result.status, 0) << result.err;
    }
}

} // namespace

TEST(X11History, NewUserOpensHistoryGroupsByMonthExportsAndPrints)
{
    HPA_REQUIRE_X11();
    test::CTempDir dir;
    const fs::path db = dir.Path() / "fleet.sqlite";
    SimList sims;
    ASSERT_NO_FATAL_FAILURE(CollectFleet(dir, db, sims));
    // No history where the window looks first: the user opens the fleet's.
    ::setenv("HPA_DB", (dir.Path() / "none.sqlite").c_str(), 1);
    CX11Program program;
    ASSERT_TRUE(program.Start({"--nosplash"}));
    CMainFrame* pFrame = program.Frame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
    ASSERT_TRUE(Activate(pFrame));

    // Admin > History... from the keyboard: Alt+A, then H.
    ASSERT_TRUE(Key(Qt::Key_A, Qt::AltModifier));
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }, 3000));
    ASSERT_TRUE(Type("h"));
    ASSERT_TRUE(QTest::qWaitFor([] { return CHistoryWindow::Instance() != nullptr; }, 3000));
    CHistoryWindow* pWindow = CHistoryWindow::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pWindow));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the window is modeless";
    EXPECT_EQ(pWindow->Store(), nullptr);
    EXPECT_TRUE(program.messages.m_messages.empty()) << "a missing history is no error box";

    // Open Database...: the path typed into the dialog, then Enter.
    bool bTyped = false;
    auto pContext = std::make_unique<QObject>();
    Every20ms(pContext.get(), [&] {
        QWidget* pModal = QApplication::activeModalWidget();
        auto* pEdit = pModal ? pModal->findChild<QLineEdit*>(QStringLiteral("location")) : nullptr;
        if (!pEdit || QGuiApplication::focusWindow() != pModal->windowHandle())
            return false;
        pEdit->selectAll();
        bTyped = Type(db.string()) && Key(Qt::Key_Return);
        return true;
    });
    {
        CWatchdog watchdog(30000);
        QAction* pOpen = pWindow->findChild<QAction*>(QStringLiteral("openDatabase"));
        ASSERT_NE(pOpen, nullptr);
        Click(pWindow->findChild<QToolBar*>()->widgetForAction(pOpen));
        EXPECT_FALSE(watchdog.Fired());
    }
    pContext.reset();
    ASSERT_TRUE(bTyped);
    ASSERT_NE(pWindow->Store(), nullptr) << program.messages.m_messages.size();
    EXPECT_EQ(program.profile.GetString(kProfileHistorySection, kProfileHistoryDatabase),
              db.string());

    // The fleet table and the first report: by user, all dates.
    EXPECT_EQ(pWindow->FleetGrid().RowCount(), 2);
    CPivotPane* pPivot = pWindow->Pivot();
    EXPECT_EQ(pPivot->Report().m_query.m_key, ReportKey::User);
    EXPECT_GT(pPivot->Report().m_total.m_nJobs, 8000);
    EXPECT_GT(pPivot->Chart()->PointCount(), 1);
    pWindow->resize(1280, 800);
    SettlePainting();
    const QImage byUser = pWindow->grab().toImage();
    EXPECT_EQ(byUser.size(), QSize(1280, 800));
    Keep(byUser, QStringLiteral("history-1-by-user"));

    // A click on the Total Sheets heading puts the user with most sheets first.
    CPivotGrid& grid = pPivot->Grid();
    CGridRect rcCell;
    ASSERT_EQ(grid.GetCellRect(4, 0, &rcCell), 0);
    CGridTopHeading* pHeading = grid.GetGridWnd()->TopHeading();
    Click(pHeading, QPoint((rcCell.left + rcCell.right) / 2, pHeading->height() / 2));
    std::int64_t nMost = 0;
    for (const CReportRow& row : pPivot->Report().m_rows)
        nMost = std::max(nMost, row.TotalSheets());
    ASSERT_FALSE(pPivot->Report().m_rows.empty());
    EXPECT_EQ(pPivot->Report().m_rows.front().TotalSheets(), nMost);
    EXPECT_GT(nMost, pPivot->Report().m_rows.back().TotalSheets());

    // Group by month: the combo box takes the first letter.
    ASSERT_TRUE(Activate(pWindow));
    pPivot->GroupBy()->setFocus();
    ASSERT_TRUE(Key(Qt::Key_M));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pPivot->Report().m_query.m_key == ReportKey::Month; }, 3000));
    EXPECT_EQ(pPivot->Chart()->PointCount(), static_cast<int>(pPivot->Report().m_rows.size()));
    EXPECT_GT(DarkPixels(ScreenShotOf(pPivot->Chart())), 300) << "the chart is drawn";
    Keep(pWindow->grab().toImage(), QStringLiteral("history-2-by-month"));

    // Export...: the same bytes as the command line's csv.
    const fs::path csv = dir.Path() / "by-month.csv";
    pPivot->SetFileAsker([&](const QString&) { return QString::fromStdString(csv.string()); });
    Click(pPivot->Button(QStringLiteral("export")));
    const auto expected = test::interop::RunHpactl(dir.Path(), "report --db " + Quoted(db) +
                                                                   " --by month --format csv");
    ASSERT_EQ(expected.status, 0) << expected.err;
    EXPECT_EQ(test::CTempDir::Read(csv), expected.out);

    // Save Chart... as SVG and as PNG (by the name's ending), Copy Chart.
    for (const char* pszName : {"chart.svg", "chart.png"}) {
        const fs::path file = dir.Path() / pszName;
        pPivot->SetFileAsker([&](const QString&) { return QString::fromStdString(file.string()); });
        Click(pPivot->Button(QStringLiteral("saveChart")));
        const std::string strSaved = test::CTempDir::Read(file);
        if (file.extension() == ".svg")
            EXPECT_NE(strSaved.find("Total sheets by month"), std::string::npos);
        else
            EXPECT_EQ(QImage(QString::fromStdString(file.string())).size(),
                      pPivot->Chart()->size());
    }
    QApplication::clipboard()->clear();
    Click(pPivot->Button(QStringLiteral("copyChart")));
    EXPECT_EQ(QApplication::clipboard()->image().size(), pPivot->Chart()->size());

    // Print...: the PDF file chosen in the print dialog, then the pages.
    const fs::path pdf = dir.Path() / "by-month.pdf";
    program.pApp->Printer().setOutputFormat(QPrinter::PdfFormat);
    pPivot->SetPrintDialog([&](QPrinter& printer) {
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return true;
    });
    {
        CWatchdog watchdog(45000);
        Click(pPivot->Button(QStringLiteral("print")));
        EXPECT_FALSE(watchdog.Fired());
    }
    EXPECT_TRUE(program.messages.m_messages.empty());
    const std::string strPdf = PdfText(pdf);
    EXPECT_NE(strPdf.find("Printers: all"), std::string::npos) << strPdf.substr(0, 600);
    EXPECT_NE(strPdf.find("the beginning"), std::string::npos) << strPdf.substr(0, 600);
    EXPECT_NE(strPdf.find("Total Sheets"), std::string::npos) << strPdf.substr(0, 600);
    EXPECT_NE(strPdf.find("Total"), std::string::npos);

    // Collect Now from the fleet file: each printer's log has grown by 50
    // jobs since, and the new ones show once the panel is done.
    const std::int64_t nJobsBefore = pPivot->Report().m_total.m_nJobs;
    ASSERT_TRUE(
        pWindow->CollectFleet(QString::fromStdString((dir.Path() / "fleet.conf").string())));
    CCollectPanel* pPanel = pWindow->CollectPanel();
    EXPECT_TRUE(pPanel->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pPanel->IsRunning(); }, 60000));
    ASSERT_EQ(pPanel->RowCount(), 2);
    for (int nRow = 0; nRow < 2; ++nRow)
        EXPECT_EQ(pPanel->RowResult(nRow).m_ingest.m_nJobsNew, 50)
            << pPanel->RowText(nRow).toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return pPivot->Report().m_total.m_nJobs == nJobsBefore + 100; }, 10000));
    SettlePainting();
    Keep(pWindow->grab().toImage(), QStringLiteral("history-3-collected"));
    ::unsetenv("HPA_DB");
}

} // namespace hpa
