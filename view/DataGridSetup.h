#pragma once
// How every data grid (Job, Paper, Status) is set up, wherever it lives: in
// the desktop's view or in a document the headless tool loads. One place,
// so both show, print and save the same column alignments and row heights.
#include "grid/GridDC.h"

namespace hpa {

class CUGCtrl;

// The one row height of a data grid, in pixels.
inline constexpr int kDataGridRowHeight = 16;

// Arial 9 points on a device with nLogPixelsY pixels per logical inch: the
// character height in pixels, as a negative height (truncated by integer
// division, so every grid gets the same whole-pixel height).
CGridFont MakeScreenGridFont(int nLogPixelsY);
// Arial with a cell height of 9 logical units of the printer.
CGridFont MakePrintGridFont();

// The settings every accounting grid gets before it is filled: text left
// and vertically centred, range selection, one row height of
// kDataGridRowHeight pixels. The desktop's view and hpactl both use it,
// because a saved document carries the column alignments and must draw the
// same whoever wrote it.
void SetAccGridDefaults(CUGCtrl& grid);

} // namespace hpa
