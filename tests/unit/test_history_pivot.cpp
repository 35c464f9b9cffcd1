// The History window's grid rows, sort order, chart points and header texts,
// without widgets.
#include "accounting/FieldCatalogue.h"
#include "grid/UGCtrl.h"
#include "history/HistoryPivot.h"
#include "view/ExportWriter.h"
#include "view/PrintHeader.h"
#include "view/SummaryRows.h"

#include <gtest/gtest.h>

namespace hpa {

namespace {

CReportRow Row(const std::string& strKey, std::int64_t nJobs, std::int64_t nSimplex,
               std::int64_t nDuplex)
{
    CReportRow row;
    row.m_strKey = strKey;
    row.m_nJobs = nJobs;
    row.m_nSimplex = nSimplex;
    row.m_nDuplex = nDuplex;
    row.m_nJams = nJobs % 3;
    row.m_nPrintSeconds = nJobs * 7;
    return row;
}

CReport Report(ReportKey key, std::vector<CReportRow> rows)
{
    CReport report;
    report.m_query.m_key = key;
    report.m_total.m_strKey = "Total";
    for (const CReportRow& row : rows) {
        report.m_total.m_nJobs += row.m_nJobs;
        report.m_total.m_nSimplex += row.m_nSimplex;
        report.m_total.m_nDuplex += row.m_nDuplex;
        report.m_total.m_nJams += row.m_nJams;
        report.m_total.m_nPrintSeconds += row.m_nPrintSeconds;
    }
    report.m_rows = std::move(rows);
    return report;
}

std::vector<std::string> Keys(const std::vector<CReportRow>& rows)
{
    std::vector<std::string> keys;
    for (const CReportRow& row : rows)
        keys.push_back(row.m_strKey);
    return keys;
}

std::string Cell(CUGCtrl& grid, int nCol, int nRow)
{
    CUGCell cell;
    grid.ReadCell(nCol, nRow, &cell);
    return cell.GetText();
}

} // namespace

// The window's export of the pivot must be the command line's csv, quoting
// included, and a refill with fewer keys must leave no row of the old one.
TEST(HistoryPivot, ReportGridExportsAsTheReportCsv)
{
    CUGCtrl grid;
    FillReportGrid(grid, Report(ReportKey::User, {Row("a", 1, 1, 0), Row("b", 2, 2, 2),
                                                  Row("c", 3, 3, 3), Row("d", 4, 4, 4)}));
    const CReport report = Report(
        ReportKey::User, {Row("ann, \"the boss\"", 3, 4, 1), Row("bob", 12, 20, 6),
                          Row(std::string("caf\xe9"), 1, 1, 0), Row("line\r\nend", 2, 0, 2)});
    FillReportGrid(grid, report);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(Cell(grid, 0, 4), "Total");
    EXPECT_EQ(ExportToString(grid, kKindPaper, {}, ','), FormatReport(report, ReportFormat::Csv));
}

TEST(HistoryPivot, SortsByAnyColumnKeepingKeyOrderForTies)
{
    std::vector<CReportRow> rows = {Row("dan", 5, 10, 0), Row("ann", 9, 2, 0), Row("cy", 1, 4, 6),
                                    Row("bob", 2, 8, 2)};
    SortReportRows(rows, 4, false); // Total Sheets: 10, 2, 10, 10
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"bob", "cy", "dan", "ann"}));
    SortReportRows(rows, 1, true); // Jobs
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"cy", "bob", "dan", "ann"}));
    SortReportRows(rows, 0, false);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"dan", "cy", "bob", "ann"}));
}

TEST(HistoryPivot, ChartShowsTopBarsOrATimeLine)
{
    std::vector<CReportRow> rows;
    for (int n = 0; n < 25; ++n)
        rows.push_back(Row("u" + std::to_string(100 + n), 1, n % 5 == 0 ? 50 : n, 0));
    const auto bars = ReportChartPoints(Report(ReportKey::User, rows));
    ASSERT_EQ(bars.size(), kChartBars);
    // Five keys share the largest total: they come first, in key order.
    EXPECT_EQ(bars[0].m_strKey, "u100");
    EXPECT_EQ(bars[4].m_strKey, "u120");
    EXPECT_EQ(bars[5].m_strKey, "u124");
    EXPECT_EQ(bars[5].m_nTotalSheets, 24);

    const auto line = ReportChartPoints(
        Report(ReportKey::Month, {Row("2025-11", 1, 1, 0), Row("2026-02", 1, 9, 0),
                                  Row("2026-01", 1, 3, 0), Row("unknown", 4, 40, 0)}));
    ASSERT_EQ(line.size(), 3u);
    EXPECT_EQ(line[0].m_strKey, "2025-11");
    EXPECT_EQ(line[1].m_strKey, "2026-01");
    EXPECT_EQ(line[2].m_strKey, "2026-02");
    EXPECT_EQ(line[2].m_nTotalSheets, 9);
}

TEST(HistoryPivot, FleetGridColoursConsumptionAndPrintersFullSoon)
{
    std::vector<CPrinterStatus> printers(4);
    printers[0].m_strName = "calm";
    printers[0].m_nConsumptionPercent = 40;
    printers[0].m_nDaysUntilFull = 30.0;
    printers[1].m_strName = "soon";
    printers[1].m_nConsumptionPercent = 85;
    printers[1].m_nDaysUntilFull = 6.5;
    printers[2].m_strName = "full";
    printers[2].m_nConsumptionPercent = 100;
    printers[2].m_strJobFileFull = "1";
    printers[2].m_bFull = true;
    printers[3].m_strName = "new"; // never collected: nothing to tell
    EXPECT_FALSE(IsFullSoon(printers[0]));
    EXPECT_TRUE(IsFullSoon(printers[1]));
    EXPECT_TRUE(IsFullSoon(printers[2]));
    EXPECT_FALSE(IsFullSoon(printers[3]));

    CUGCtrl grid;
    FillFleetGrid(grid, printers);
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(Cell(grid, 0, 1), "soon");
    EXPECT_EQ(Cell(grid, 5, 1), "6.5");
    CUGCell cell;
    for (int nRow = 0; nRow < 3; ++nRow) {
        SCOPED_TRACE(nRow);
        cell.ClearCell();
        grid.ReadCell(3, nRow, &cell);
        EXPECT_EQ(cell.GetBackColor(),
                  ConsumptionBackColor(static_cast<int>(*printers[nRow].m_nConsumptionPercent)));
        cell.ClearCell();
        grid.ReadCell(0, nRow, &cell);
        EXPECT_EQ(cell.GetTextColor() == kFullSoonTextColor, IsFullSoon(printers[nRow]));
    }
}

TEST(HistoryPivot, PrintHeaderNamesPeriodAndPrinters)
{
    CReportQuery query;
    EXPECT_EQ(ReportPeriodText(query), "all dates");
    EXPECT_EQ(ReportPrintersText(query), "all");
    query.m_strUntil = "2026-03-31";
    query.m_printers = {"lab", "office"};
    EXPECT_EQ(ReportPeriodText(query), "the beginning to 2026-03-31");
    EXPECT_EQ(ReportPrintersText(query), "lab, office");

    query.m_key = ReportKey::Month;
    const std::string strTitle = ReportPrintTitle(query);
    EXPECT_EQ(strTitle, "Printers: lab, office");
    const auto texts =
        PrintHeaderTexts({0, 0, 2400, 3300}, ReportPrintHeaderFields(query), 2, strTitle, 200);
    EXPECT_EQ(texts[0], (CPrintHeaderText{"From:", 100, 100}));
    EXPECT_EQ(texts[1], (CPrintHeaderText{"the beginning", 300, 100}));
    EXPECT_EQ(texts[3], (CPrintHeaderText{"2026-03-31", 300, 200}));
    EXPECT_EQ(texts[5], (CPrintHeaderText{"Month", 1700, 100}));
    EXPECT_EQ(texts[7], (CPrintHeaderText{"2", 1700, 200}));
    EXPECT_EQ(texts[8], (CPrintHeaderText{strTitle, 1100, 100}));
}

} // namespace hpa
