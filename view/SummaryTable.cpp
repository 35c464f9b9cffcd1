#include "view/SummaryTable.h"

#include "accounting/Acc.h"
#include "grid/UGCtrl.h"
#include "view/SummaryRows.h"

namespace hpa {

namespace {

constexpr int kLabelColumnWidth = 130;
constexpr int kPrintWidthReduction = 30;

} // namespace

void FillSummaryGrid(CUGCtrl& grid, const CAcc& acc, const CGridFont& gridFont)
{
    CUGCell cell;
    grid.GetGridDefaults(&cell);
    cell.SetAlignment(kAlignLeft | kAlignVCenter);
    grid.SetGridDefaults(&cell);
    grid.SetDefaultRowHeight(16);
    grid.SetGridFont(gridFont);
    grid.SetHScrollBarHeight(0);
    grid.SetVScrollBarWidth(0);
    grid.SetColumnCount(2);
    grid.SetRowCount(kSummaryRowCount);
    grid.SetColumnWidth(0, kLabelColumnWidth);
    grid.GetColumnDefaults(1, &cell);
    cell.SetAlignment(kAlignRight | kAlignVCenter);
    grid.SetColumnDefaults(1, &cell);
    grid.SetSideHeadingWidth(1);
    grid.SetTopHeadingHeight(1);
    grid.SetCurrentCellStyle(0);

    const COLORREF crConsumption = ConsumptionBackColor(acc.m_nJobFileConsumption);
    int nRow = 0;
    for (const CSummaryRow& row : SummaryRows(acc)) {
        grid.SetCellText(0, nRow, row.m_pszLabel);
        grid.SetCellText(1, nRow, row.m_strValue);
        if (nRow == kSummaryConsumptionRow) {
            // Black text reads on white, yellow and red, whatever text
            // colour the desktop's scheme gives the other rows.
            for (int nCol = 0; nCol < 2; ++nCol) {
                grid.ReadCell(nCol, nRow, &cell);
                cell.SetBackColor(crConsumption);
                cell.SetTextColor(MakeRGB(0, 0, 0));
                grid.WriteCell(nCol, nRow, &cell);
            }
        }
        ++nRow;
    }
}

int WithSummaryPrintForm(CUGCtrl& grid, const CGridFont& printFont, const CGridFont& screenFont,
                         const std::function<int()>& fnPrint)
{
    int nWidth0 = 0, nWidth1 = 0;
    grid.GetColumnWidth(0, &nWidth0);
    grid.GetColumnWidth(1, &nWidth1);
    grid.EnableGridPaint(0);
    grid.SetGridFont(printFont);
    grid.SetColumnWidth(0, nWidth0 - kPrintWidthReduction);
    grid.SetColumnWidth(1, nWidth1 - kPrintWidthReduction);
    const int nResult = fnPrint ? fnPrint() : 1;
    grid.SetGridFont(screenFont);
    grid.SetColumnWidth(0, nWidth0);
    grid.SetColumnWidth(1, nWidth1);
    grid.EnableGridPaint(1);
    return nResult;
}

} // namespace hpa
