#pragma once
// The program's data grids and which one is shown, with the two grid fonts.
// They live as long as the process, not as long as the view: the readers,
// the document, the download and the data dialogs all work on them. Code
// reaches them through the view (CVexAccView::ProgramGrids) so tests can
// give a view grids of their own.
#include "accounting/FieldCatalogue.h"
#include "grid/GridDC.h"
#include "view/qt/AccGrid.h"

#include <array>

namespace hpa {

class CWorkingDir;

// Control ids of the grid windows, by data kind index (job, paper, status).
inline constexpr std::array<int, kDataKindCount> kGridControlId = {1236, 1235, 1234};

// Index 0 the Job grid, 1 the Paper grid, 2 the Status grid.
extern std::array<CAccGrid, kDataKindCount> g_grids;
// Command id of the kind shown (32778 Job, 32779 Paper, 32780 Status), 0
// when none; and the index of its grid, -1 when none. They change together.
extern int g_nCurrentKind;
extern int g_nCurrentGrid;
// The screen font of every grid, and the font a grid uses while printed.
extern CGridFont g_gridFont;
extern CGridFont g_printGridFont;

// Arial 9 points on a device with nLogPixelsY pixels per logical inch: the
// character height in pixels, as a negative height (truncated by integer
// division, so every grid gets the same whole-pixel height).
CGridFont MakeScreenGridFont(int nLogPixelsY);
// Arial with a cell height of 9 logical units of the printer.
CGridFont MakePrintGridFont();

// The settings every accounting grid gets before it is filled: text left and
// vertically centred, range selection, one row height of 16 pixels. The
// desktop's view and hpactl both use it, because a saved document carries
// the column alignments and must draw the same whoever wrote it.
void SetAccGridDefaults(CUGCtrl& grid);

// What a view works on: three grids, the shown-kind pair, and the working
// directory whose files go when the view goes (null: none).
struct CViewGrids {
    std::array<CAccGrid, kDataKindCount>* m_pGrids = nullptr;
    int* m_pnCurrentKind = nullptr;
    int* m_pnCurrentGrid = nullptr;
    CWorkingDir* m_pWorkDir = nullptr;
};

// g_grids, g_nCurrentKind, g_nCurrentGrid and g_workDir.
CViewGrids ProgramViewGrids();

} // namespace hpa
