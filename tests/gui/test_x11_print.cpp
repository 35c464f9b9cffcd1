// Printing a job grid of several pages under a real X server: File > Print
// Preview chosen with the keyboard (Alt+F, V), the preview's Next page
// button clicked, the preview closed with Escape; then the toolbar's Print
// button prints every page to a PDF file, whose pages pdfinfo counts.
#include "gui/test_x11_support.h"

#include "grid/UGCtrl.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridWnd.h"
#include "support/TempDir.h"
#include "ui/CommandIds.h"
#include "view/qt/AccGrid.h"
#include "view/qt/ViewGlobals.h"

#include <QAction>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>

#include <cstdio>

namespace hpa {

namespace {

using namespace test::x11;

constexpr long kJobs = 150;

std::string CommandOutput(const std::string& cmd)
{
    std::string strOut;
    if (FILE* pPipe = ::popen(cmd.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pPipe)) > 0 && strOut.size() < 1000000)
            strOut.append(buffer, n);
        ::pclose(pPipe);
    }
    return strOut;
}

int PdfPages(const fs::path& pdf)
{
    const std::string strInfo = CommandOutput("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
    const std::size_t nAt = strInfo.find("Pages:");
    return nAt == std::string::npos ? -1 : std::atoi(strInfo.c_str() + nAt + 6);
}

std::string PdfPageText(const fs::path& pdf, int nPage)
{
    const std::string strPage = std::to_string(nPage);
    return CommandOutput("pdftotext -layout -f " + strPage + " -l " + strPage + " " + Quoted(pdf) +
                         " - 2>/dev/null");
}

// The number after "Page:" in a page's text, or -1.
int HeaderPageNumber(const std::string& strText)
{
    std::size_t nAt = strText.find("Page:");
    if (nAt == std::string::npos)
        return -1;
    nAt = strText.find_first_not_of(" \t", nAt + 5);
    return nAt == std::string::npos ? -1 : std::atoi(strText.c_str() + nAt);
}

QAction* ActionByText(QWidget* pDialog, const QString& strText)
{
    for (QAction* pAction : pDialog->findChildren<QAction*>())
        if (pAction->text() == strText)
            return pAction;
    return nullptr;
}

} // namespace

TEST(X11Print, PreviewShowsSeveralPagesAndPrintDirectWritesThemAll)
{
    HPA_REQUIRE_X11();
    test::CTempDir dir;
    const fs::path document = dir.Path() / "jobs.hpa";
    const std::string strHost = MakeDocument(dir.Path(), kJobs, document);
    ASSERT_FALSE(strHost.empty());
    CX11Program program;
    ASSERT_TRUE(program.Start({"--nosplash", document.string()}));
    CMainFrame* pFrame = program.Frame();
    CVexAccView* pView = program.View();
    ASSERT_NE(pView, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pFrame));
    ASSERT_TRUE(Activate(pFrame));
    pFrame->ExecuteCommand(ID_DATA_JOB);
    ASSERT_EQ(pFrame->DataKindPaneText(), "JOB");
    CAccGrid& grid = pView->AccGrid(0);
    // The application's printer writes into a PDF file, which the print
    // asks for (as it does when there is no print queue).
    const fs::path pdf = dir.Path() / "jobs.pdf";
    program.pApp->Printer().setOutputFormat(QPrinter::PdfFormat);
    program.ui.m_strPrintFile = QString::fromStdString(pdf.string());

    int nPreviewPages = -1;
    int nPageAfterNext = -1;
    bool bGridFrozenInPreview = false;
    auto pContext = std::make_unique<QObject>();
    Every20ms(pContext.get(), [&] {
        auto* pDlg = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        auto* pPreview = pDlg ? pDlg->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!pPreview || pPreview->pageCount() == 0 ||
            QGuiApplication::focusWindow() != pDlg->windowHandle())
            return false;
        nPreviewPages = pPreview->pageCount();
        bGridFrozenInPreview = grid.GetGridLayout().m_bPaintEnabled == 0;
        QAction* pNext = ActionByText(pDlg, QStringLiteral("Next page"));
        QToolBar* pToolBar = pDlg->findChild<QToolBar*>();
        if (pNext && pToolBar && pToolBar->widgetForAction(pNext))
            Click(pToolBar->widgetForAction(pNext));
        else
            ADD_FAILURE() << "the preview has no Next page button";
        nPageAfterNext = pPreview->currentPage();
        Keep(ScreenShot(), "print-1-preview-page-2");
        Key(Qt::Key_Escape);
        return true;
    });

    {
        CWatchdog watchdog(45000);
        // File > Print Preview from the keyboard: Alt+F opens the menu, V is
        // Print Pre&view. The preview runs until Escape.
        ASSERT_TRUE(Key(Qt::Key_F, Qt::AltModifier));
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
            3000));
        ASSERT_TRUE(Type("v"));
        EXPECT_FALSE(watchdog.Fired()) << "the preview had to be closed by the watchdog";
    }
    pContext.reset();
    EXPECT_GT(nPreviewPages, 1);
    EXPECT_EQ(nPageAfterNext, 2);
    EXPECT_FALSE(bGridFrozenInPreview) << "between the preview's jobs the grid paints";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The grid is back to its screen font and paints on the screen.
    EXPECT_TRUE(grid.GetGridFont() == g_gridFont);
    EXPECT_EQ(grid.GetGridLayout().m_bPaintEnabled, 1);
    EXPECT_GT(DarkPixels(ScreenShotOf(pView->GridWnd(0)->CellArea())), 500);
    Keep(ScreenShot(), "print-2-after-preview");

    // The toolbar's Print: every page, no dialog, into the PDF file.
    QWidget* pPrint = program.ToolButton(ID_FILE_PRINT_DIRECT);
    ASSERT_NE(pPrint, nullptr);
    ASSERT_TRUE(WaitIdle([&] { return pPrint->isEnabled(); }, 3000));
    {
        CWatchdog watchdog(45000);
        Click(pPrint);
        EXPECT_FALSE(watchdog.Fired()) << "printing showed a dialog";
    }
    EXPECT_TRUE(program.messages.m_messages.empty());
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(PdfPages(pdf), nPreviewPages);
    // Every page carries the header: the data kind, the host, its own number.
    for (int nPage : {1, 2, nPreviewPages}) {
        SCOPED_TRACE(nPage);
        const std::string strText = PdfPageText(pdf, nPage);
        EXPECT_NE(strText.find("JOB"), std::string::npos) << strText.substr(0, 400);
        EXPECT_NE(strText.find(strHost), std::string::npos) << strText.substr(0, 400);
        EXPECT_EQ(HeaderPageNumber(strText), nPage) << strText.substr(0, 400);
    }
    EXPECT_TRUE(grid.GetGridFont() == g_gridFont);
    EXPECT_EQ(grid.GetGridLayout().m_bPaintEnabled, 1);
}

} // namespace hpa
