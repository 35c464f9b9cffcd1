// View > Summary...: the "Accounting Summary" table (texts, widths,
// alignment, headings reduced to a line, the consumption colours), its
// Print button (print form and restore), PrintRange's outcomes on printers
// and a system without any print queue, and F1.
#include "accounting/Acc.h"
#include "app/HelpWindow.h"
#include "grid/UGCtrl.h"
#include "grid/qt/GridPrintJob.h"
#include "grid/qt/GridWnd.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "view/qt/SummaryDlg.h"

#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace hpa {
namespace {

using test::CRecordingMessages;
using test::CTempDir;

const CGridFont kScreenFont{"Arial", -12, 400, false, false};
const CGridFont kPrintFont{"Arial", 9, 400, false, false};

CAcc MakeAcc(std::int32_t nConsumption = 85)
{
    CAcc acc;
    acc.m_strHost = "PRN-4";
    acc.m_strDownloadDate = "03/07/2024";
    acc.m_strDownloadTime = "14:05:09";
    acc.m_nJobFileConsumption = nConsumption;
    acc.m_nJobs = 4;
    acc.m_nSimplexSheets = 4;
    acc.m_nDuplexSheets = 7;
    acc.m_nJams = 3;
    acc.m_nPrintingTime = 3661;
    acc.m_nUsers = 3;
    return acc;
}

std::string Text(CUGCtrl& grid, int nCol, int nRow)
{
    CUGCell cell;
    grid.ReadCell(nCol, nRow, &cell);
    return cell.GetText();
}

COLORREF Back(CUGCtrl& grid, int nCol, int nRow)
{
    CUGCell cell;
    grid.ResolveCell(nCol, nRow, &cell);
    return cell.GetBackColor();
}

} // namespace

TEST(SummaryTable, ElevenRowsOfLabelsAndValues)
{
    CUGCtrl grid;
    FillSummaryGrid(grid, MakeAcc(), kScreenFont);
    ASSERT_EQ(grid.ColumnCount(), 2);
    ASSERT_EQ(grid.RowCount(), 11);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Host", "PRN-4"},
        {"Download Date", "03/07/2024"},
        {"Download Time", "14:05:09"},
        {"Job File Consumption", "85%"},
        {"Jobs", "4"},
        {"Simplex Sheets", "4"},
        {"Duplex Sheets", "7"},
        {"Total Sheets", "11"},
        {"Jams", "3"},
        {"Printing Time", "1:01:01"},
        {"Users", "3"},
    };
    for (int nRow = 0; nRow < 11; ++nRow) {
        EXPECT_EQ(Text(grid, 0, nRow), expected[static_cast<std::size_t>(nRow)].first);
        EXPECT_EQ(Text(grid, 1, nRow), expected[static_cast<std::size_t>(nRow)].second);
    }
    CAcc zero = MakeAcc();
    zero.m_nPrintingTime = 0;
    FillSummaryGrid(grid, zero, kScreenFont);
    EXPECT_EQ(Text(grid, 1, 9), "0:00:00");
}

TEST(SummaryTable, LayoutOfTheTable)
{
    CUGCtrl grid;
    FillSummaryGrid(grid, MakeAcc(), kScreenFont);
    int nWidth = 0;
    grid.GetColumnWidth(0, &nWidth);
    EXPECT_EQ(nWidth, 130);
    grid.GetColumnWidth(1, &nWidth);
    EXPECT_EQ(nWidth, grid.GetGridLayout().m_nDefColumnWidth);
    CUGCell cell;
    grid.ResolveCell(0, 4, &cell);
    EXPECT_EQ(cell.GetAlignment(), kAlignLeft | kAlignVCenter);
    grid.ResolveCell(1, 4, &cell);
    EXPECT_EQ(cell.GetAlignment(), kAlignRight | kAlignVCenter);
    const GridLayout& gl = grid.GetGridLayout();
    EXPECT_EQ(gl.m_nDefRowHeight, 16);
    EXPECT_EQ(gl.m_nSideHeadingWidth, 1);
    EXPECT_EQ(gl.m_nTopHeadingHeight, 1);
    EXPECT_EQ(gl.m_nCurrentCellStyle, 0);
    EXPECT_EQ(gl.m_nVScrollWidth, 0);
    EXPECT_EQ(gl.m_nHScrollHeight, 0);
    EXPECT_EQ(grid.GetGridFont(), kScreenFont);
}

TEST(SummaryTable, ConsumptionRowColours)
{
    constexpr COLORREF kWhite = MakeRGB(255, 255, 255);
    constexpr COLORREF kYellow = MakeRGB(255, 255, 0);
    constexpr COLORREF kRed = MakeRGB(255, 0, 0);
    CUGCtrl grid;
    // The same grid each time, as the dialog reuses it: a red row must not
    // stay red when the next set is below 80.
    for (const auto& [nPercent, crExpected] : std::vector<std::pair<int, COLORREF>>{
             {90, kRed}, {79, kWhite}, {80, kYellow}, {89, kYellow}, {150, kRed}, {0, kWhite}}) {
        FillSummaryGrid(grid, MakeAcc(nPercent), kScreenFont);
        EXPECT_EQ(Back(grid, 0, 3), crExpected) << nPercent;
        EXPECT_EQ(Back(grid, 1, 3), crExpected) << nPercent;
        EXPECT_NE(Back(grid, 1, 4), kRed) << nPercent;
    }
}

// With light text on a dark desktop the consumption row's own background
// would hide it: that row's text is black.
TEST(SummaryTable, ConsumptionRowTextReadsOnItsColourInADarkScheme)
{
    const COLORREF crBefore = GetGridSysColor(GridSysColor::windowText);
    SetGridSysColor(GridSysColor::windowText, MakeRGB(230, 230, 230));
    CUGCtrl grid;
    FillSummaryGrid(grid, MakeAcc(85), kScreenFont);
    SetGridSysColor(GridSysColor::windowText, crBefore);
    CUGCell cell;
    for (int nCol = 0; nCol < 2; ++nCol) {
        grid.ResolveCell(nCol, 3, &cell);
        EXPECT_EQ(cell.GetTextColor(), MakeRGB(0, 0, 0)) << nCol;
    }
    grid.ResolveCell(1, 4, &cell);
    EXPECT_EQ(cell.GetTextColor(), MakeRGB(230, 230, 230));
}

TEST(SummaryDialog, GridTakesOverThePlaceholder)
{
    CUGCtrl grid;
    CRecordingMessages messages;
    CSummaryDlg dialog(grid, MakeAcc(), kScreenFont, kPrintFont, messages);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Accounting Summary");
    ASSERT_NE(dialog.GridWindow(), nullptr);
    EXPECT_EQ(dialog.GridWindow()->parentWidget(), &dialog);
    EXPECT_EQ(dialog.GridWindow()->property(kGridControlIdProperty).toInt(), 1052);
    EXPECT_EQ(&dialog.GridWindow()->Ctrl(), &grid);
    EXPECT_EQ(dialog.PrintButton()->text().toStdString(), "&Print");
    EXPECT_EQ(Text(grid, 1, 0), "PRN-4");
}

TEST(SummaryDialog, PrintUsesThePrintFormAndRestoresTheTable)
{
    CUGCtrl grid;
    CRecordingMessages messages;
    int nCalls = 0;
    CSummaryDlg dialog(grid, MakeAcc(), kScreenFont, kPrintFont, messages, nullptr,
                       [&](CUGCtrl& printed) {
                           ++nCalls;
                           int w0 = 0, w1 = 0;
                           printed.GetColumnWidth(0, &w0);
                           printed.GetColumnWidth(1, &w1);
                           EXPECT_EQ(w0, 100);
                           EXPECT_EQ(w1, printed.GetGridLayout().m_nDefColumnWidth - 30);
                           EXPECT_EQ(printed.GetGridFont(), kPrintFont);
                           EXPECT_EQ(printed.GetGridLayout().m_bPaintEnabled, 0);
                           return 1; // a failed print restores all the same
                       });
    QTest::mouseClick(dialog.PrintButton(), Qt::LeftButton);
    EXPECT_EQ(nCalls, 1);
    int w0 = 0;
    grid.GetColumnWidth(0, &w0);
    EXPECT_EQ(w0, 130);
    EXPECT_EQ(grid.GetGridFont(), kScreenFont);
    EXPECT_EQ(grid.GetGridLayout().m_bPaintEnabled, 1);
}

TEST(SummaryDialog, F1ShowsTheSummaryHelpTopic)
{
    CUGCtrl grid;
    CRecordingMessages messages;
    CSummaryDlg dialog(grid, MakeAcc(), kScreenFont, kPrintFont, messages);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_F1);
    ASSERT_NE(CHelpWindow::Existing(), nullptr);
    EXPECT_EQ(CHelpWindow::Existing()->CurrentPage(), HelpPageForContext(98319));
    CHelpWindow::Existing()->close();
}

// ---- PrintRange on printers -----------------------------------------------------------------

namespace {

struct SummaryPrint {
    SummaryPrint() { FillSummaryGrid(grid, MakeAcc(), kScreenFont); }
    int Print(QPrinter& printer, const CPdfFileAsker& fnAsk = {})
    {
        return PrintRange(gridPrinter, printer, 0, 0, 0, 1, 10, messages, fnAsk);
    }
    CUGCtrl grid;
    CGridPrinter gridPrinter{grid};
    CRecordingMessages messages;
    CTempDir dir;
};

} // namespace

TEST(SummaryPrintRange, PrintsADocumentNamedPrtWnd)
{
    SummaryPrint s;
    QPrinter printer(QPrinter::HighResolution);
    const std::filesystem::path pdf = s.dir.Path() / "summary.pdf";
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    EXPECT_EQ(s.Print(printer), 0);
    EXPECT_TRUE(s.messages.m_messages.empty());
    EXPECT_EQ(printer.docName().toStdString(), "PrtWnd");
    EXPECT_EQ(printer.resolution(), kPrintResolution);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(CTempDir::Read(pdf).substr(0, 5), "%PDF-");
}

TEST(SummaryPrintRange, DocumentThatCannotStartShowsPrintError)
{
    SummaryPrint s;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFileName(QString::fromStdString((s.dir.Path() / "no" / "x.pdf").string()));
    EXPECT_EQ(s.Print(printer), 1);
    ASSERT_EQ(s.messages.m_messages.size(), 1u);
    EXPECT_EQ(s.messages.m_messages[0].strText, "Print Error");
    EXPECT_EQ(s.messages.m_messages[0].strCaption, "Error");
}

TEST(SummaryPrintRange, NoPrintQueueOffersAPdfFile)
{
    // A printer with no queue behind it: PDF output without a file name.
    SummaryPrint s;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    int nAsked = 0;
    EXPECT_EQ(s.Print(printer,
                      [&](const QString&) {
                          ++nAsked;
                          return QString();
                      }),
              1);
    EXPECT_EQ(nAsked, 1);
    EXPECT_TRUE(s.messages.m_messages.empty()); // cancelled: no "Print Error"

    const std::filesystem::path pdf = s.dir.Path() / "chosen.pdf";
    EXPECT_EQ(
        s.Print(printer, [&](const QString&) { return QString::fromStdString(pdf.string()); }), 0);
    EXPECT_TRUE(s.messages.m_messages.empty());
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

} // namespace hpa
