#pragma once
// How every reader fills its grid: clear the stored cells first, headings at
// row -1 and column -1, row headings "1", "2", ..., then current cell at the
// top left, columns fitted and the view scrolled to the top left corner.
namespace hpa {

class CUGCtrl;

// Deletes every stored cell when the grid has any rows or columns.
void ClearGridForFill(CUGCtrl& grid);
// Row headings 1 to nRows on rows 0 to nRows - 1.
void WriteRowHeadings(CUGCtrl& grid, int nRows);
// Current cell (0, 0).
void MoveToTopLeftCell(CUGCtrl& grid);
// Columns 0 to nColumns - 1 fitted over nRows rows; view at the top left.
void FitAndScrollHome(CUGCtrl& grid, int nColumns, int nRows);

} // namespace hpa
