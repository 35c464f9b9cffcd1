// The report and the fleet as grid rows and chart points.
#include "history/HistoryPivot.h"

#include "grid/GridStore.h"
#include "grid/UGCtrl.h"
#include "history/HistoryValues.h"
#include "view/DataGridSetup.h"
#include "view/SummaryRows.h"

#include <algorithm>

namespace hpa {

namespace {

constexpr int kFleetConsumptionColumn = 3;
constexpr int kFleetDaysColumn = 5;

std::int64_t ColumnValue(const CReportRow& row, int nColumn)
{
    switch (nColumn) {
    case 1:
        return row.m_nJobs;
    case 2:
        return row.m_nSimplex;
    case 3:
        return row.m_nDuplex;
    case 4:
        return row.TotalSheets();
    case 5:
        return row.m_nJams;
    case 6:
        return row.m_nPrintSeconds;
    }
    return 0;
}

// Headings in row -1 and the cells below, numeric columns right-aligned.
void FillCells(CUGCtrl& grid, const std::vector<std::string>& headings,
               const std::vector<std::vector<std::string>>& rows, const std::vector<bool>& numeric)
{
    SetAccGridDefaults(grid);
    const int nColumns = static_cast<int>(headings.size());
    grid.SetColumnCount(nColumns);
    grid.SetRowCount(static_cast<int>(rows.size()));
    if (CGridMemStore* pStore = grid.GetMemStore())
        pStore->ClearAllCells();
    CUGCell cell;
    for (int c = 0; c < nColumns; ++c) {
        grid.GetColumnDefaults(c, &cell);
        cell.SetAlignment(numeric[static_cast<std::size_t>(c)] ? kAlignRight | kAlignVCenter
                                                               : kAlignLeft | kAlignVCenter);
        grid.SetColumnDefaults(c, &cell);
        grid.SetCellText(c, -1, headings[static_cast<std::size_t>(c)]);
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < nColumns; ++c)
            grid.SetCellText(c, static_cast<int>(r), rows[r][static_cast<std::size_t>(c)]);
}

} // namespace

bool IsFullSoon(const CPrinterStatus& status)
{
    return status.m_bFull || (status.m_nDaysUntilFull && *status.m_nDaysUntilFull <= kFullSoonDays);
}

void SortReportRows(std::vector<CReportRow>& rows, int nColumn, bool bAscending)
{
    std::sort(rows.begin(), rows.end(),
              [](const CReportRow& a, const CReportRow& b) { return a.m_strKey < b.m_strKey; });
    if (nColumn <= 0) {
        if (!bAscending)
            std::reverse(rows.begin(), rows.end());
        return;
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [nColumn, bAscending](const CReportRow& a, const CReportRow& b) {
                         const std::int64_t nA = ColumnValue(a, nColumn);
                         const std::int64_t nB = ColumnValue(b, nColumn);
                         return bAscending ? nA < nB : nA > nB;
                     });
}

void FillReportGrid(CUGCtrl& grid, const CReport& report)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(report.m_rows.size() + 1);
    for (const CReportRow& row : report.m_rows)
        rows.push_back(ReportCells(row));
    rows.push_back(ReportCells(report.m_total));
    std::vector<bool> numeric(kReportColumns, true);
    numeric[0] = false;
    FillCells(grid, ReportHeadings(report.m_query.m_key), rows, numeric);
}

void FillFleetGrid(CUGCtrl& grid, const std::vector<CPrinterStatus>& printers)
{
    std::vector<std::vector<std::string>> rows;
    for (const CPrinterStatus& status : printers)
        rows.push_back(PrinterStatusCells(status));
    FillCells(grid, PrinterStatusHeadings(), rows, {false, false, true, true, false, true});
    for (std::size_t r = 0; r < printers.size(); ++r) {
        const CPrinterStatus& status = printers[r];
        const int nRow = static_cast<int>(r);
        if (status.m_nConsumptionPercent) {
            const auto nPercent = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(*status.m_nConsumptionPercent, 0, 1000));
            grid.SetCellBackColor(kFleetConsumptionColumn, nRow, ConsumptionBackColor(nPercent));
        }
        if (IsFullSoon(status)) {
            CUGCell cell;
            for (int nCol : {0, kFleetDaysColumn}) {
                grid.ReadCell(nCol, nRow, &cell);
                cell.SetTextColor(kFullSoonTextColor);
                grid.WriteCell(nCol, nRow, &cell);
            }
        }
    }
}

bool IsTimeLineKey(ReportKey key)
{
    return key == ReportKey::Day || key == ReportKey::Month;
}

std::vector<CChartPoint> ReportChartPoints(const CReport& report, std::size_t nBars)
{
    std::vector<CChartPoint> points;
    for (const CReportRow& row : report.m_rows) {
        if (IsTimeLineKey(report.m_query.m_key) && row.m_strKey == kUnknownDay)
            continue;
        points.push_back({row.m_strKey, row.TotalSheets()});
    }
    std::sort(points.begin(), points.end(),
              [](const CChartPoint& a, const CChartPoint& b) { return a.m_strKey < b.m_strKey; });
    if (IsTimeLineKey(report.m_query.m_key))
        return points;
    std::stable_sort(points.begin(), points.end(), [](const CChartPoint& a, const CChartPoint& b) {
        return a.m_nTotalSheets > b.m_nTotalSheets;
    });
    if (points.size() > nBars)
        points.resize(nBars);
    return points;
}

std::string ReportPeriodText(const CReportQuery& query)
{
    if (query.m_strSince.empty() && query.m_strUntil.empty())
        return "all dates";
    return (query.m_strSince.empty() ? std::string("the beginning") : query.m_strSince) + " to " +
           (query.m_strUntil.empty() ? std::string("the end") : query.m_strUntil);
}

std::string ReportPrintersText(const CReportQuery& query)
{
    if (query.m_printers.empty())
        return "all";
    std::string str;
    for (const std::string& strName : query.m_printers)
        str += (str.empty() ? "" : ", ") + strName;
    return str;
}

CPrintHeaderFields ReportPrintHeaderFields(const CReportQuery& query)
{
    CPrintHeaderFields fields;
    fields.m_strLabel1 = "From:";
    fields.m_strValue1 = query.m_strSince.empty() ? "the beginning" : query.m_strSince;
    fields.m_strLabel2 = "To:";
    fields.m_strValue2 = query.m_strUntil.empty() ? "the end" : query.m_strUntil;
    fields.m_strLabel3 = "By:";
    fields.m_strValue3 = ReportKeyHeading(query.m_key);
    return fields;
}

std::string ReportPrintTitle(const CReportQuery& query)
{
    return "Printers: " + ReportPrintersText(query);
}

} // namespace hpa
