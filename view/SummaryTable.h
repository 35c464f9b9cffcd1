#pragma once
// The accounting summary as a two-column table in a grid, as the summary
// dialog shows it and its Print button prints it (the desktop and the
// headless tool alike).
#include "grid/GridDC.h"

#include <functional>

namespace hpa {

class CAcc;
class CUGCtrl;

// Builds the table in a grid: two columns (labels 130 pixels wide, values
// right-aligned), eleven rows of 16 pixels, headings reduced to a line, no
// current-cell mark, no scroll bars, the consumption row coloured.
void FillSummaryGrid(CUGCtrl& grid, const CAcc& acc, const CGridFont& gridFont);

// Runs fnPrint with the table in its print form, as the "&Print" button
// prints it: painting off, the print font, both columns 30 pixels narrower.
// The table is restored afterwards whatever fnPrint returned; returns that.
int WithSummaryPrintForm(CUGCtrl& grid, const CGridFont& printFont, const CGridFont& screenFont,
                         const std::function<int()>& fnPrint);

} // namespace hpa
