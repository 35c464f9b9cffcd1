#include "accounting/GridFill.h"

#include "grid/GridStore.h"
#include "grid/UGCtrl.h"

#include <algorithm>
#include <charconv>

namespace hpa {

void ClearGridForFill(CUGCtrl& grid)
{
    if (grid.RowCount() > 0 || grid.ColumnCount() > 0) {
        if (CGridStore* pStore = grid.GetStore(1))
            pStore->ClearAllCells();
    }
}

void WriteRowHeadings(CUGCtrl& grid, int nRows)
{
    char szNumber[16];
    for (int nRow = 0; nRow < nRows; ++nRow) {
        auto result = std::to_chars(szNumber, szNumber + sizeof szNumber, nRow + 1);
        grid.FillCellText(
            -1, nRow, std::string_view(szNumber, static_cast<std::size_t>(result.ptr - szNumber)));
    }
}

void MoveToTopLeftCell(CUGCtrl& grid)
{
    // An empty grid refuses the move; its current cell is at (0, 0) already.
    (void)grid.MoveCurrentCell(0, 0);
}

void FitAndScrollHome(CUGCtrl& grid, int nColumns, int nRows)
{
    // Rows past the last stored one are all alike (empty), so measuring one
    // of them gives the same widths as measuring them all; a status file
    // announcing two billion paper types must not be walked row by row.
    if (CGridMemStore* pStore = grid.GetMemStore(); pStore && grid.GetStore(1) == pStore)
        nRows = std::min(nRows, pStore->StoredRowCount() + 1);
    grid.FitColumnWidths(0, nColumns - 1, nRows);
    // Refused when the view is at the top left already.
    (void)grid.ScrollRows(kMoveFirst);
    (void)grid.ScrollColumns(kMoveFirst);
}

} // namespace hpa
