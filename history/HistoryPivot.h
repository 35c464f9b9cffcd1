#pragma once
// The History window's pieces that need no widgets: the report and the
// fleet as rows of our grid, the rows sorted by any column, the chart's
// points, and the texts that name a report's period and printers.
#include "grid/UGCell.h"
#include "history/HistoryReport.h"
#include "history/PrinterStatus.h"
#include "view/PrintHeader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hpa {

class CUGCtrl;

// A printer whose job file is full, or forecast to be within this many
// days, stands out in the fleet table.
inline constexpr double kFullSoonDays = 7.0;
bool IsFullSoon(const CPrinterStatus& status);
// The text colour of such a printer's name and days cells.
inline constexpr COLORREF kFullSoonTextColor = MakeRGB(192, 0, 0);

// Rows sorted by a column of the report (0: the key, bytewise; the others
// by their numbers), ascending or descending. Equal cells keep key order.
void SortReportRows(std::vector<CReportRow>& rows, int nColumn, bool bAscending);

// The report in a grid: the headings, one row per key in the order given,
// and the Total row last, numbers right-aligned. Exported as the grids are,
// it gives the bytes of `hpactl report --format csv` for the same rows.
void FillReportGrid(CUGCtrl& grid, const CReport& report);

// One row per printer with the `hpactl printers` columns. The consumption
// cell takes the summary's colours; a printer full or to be full soon has
// its name and days cells in red.
void FillFleetGrid(CUGCtrl& grid, const std::vector<CPrinterStatus>& printers);

// What the chart shows of a report: total sheets per key.
struct CChartPoint {
    std::string m_strKey;
    std::int64_t m_nTotalSheets = 0;
};
inline constexpr std::size_t kChartBars = 20;
// Days and months lie on a time line: every dated key in date order, the
// "unknown" day left out. Other keys are bars: the nBars keys with the most
// sheets, most first (equal totals in key order).
bool IsTimeLineKey(ReportKey key);
std::vector<CChartPoint> ReportChartPoints(const CReport& report, std::size_t nBars = kChartBars);

// "all dates", "2026-01-01 to 2026-03-31", "the beginning to 2026-03-31" ...
std::string ReportPeriodText(const CReportQuery& query);
// "all", or the printers' names separated by ", ".
std::string ReportPrintersText(const CReportQuery& query);

// The page header of the printed pivot: "From:" and "To:" (the period's
// ends, or "the beginning" and "the end") at the left, "By:" and the key's
// heading at the right; its title is ReportPrintTitle.
CPrintHeaderFields ReportPrintHeaderFields(const CReportQuery& query);
// "Printers: " and the printers' names.
std::string ReportPrintTitle(const CReportQuery& query);

} // namespace hpa
