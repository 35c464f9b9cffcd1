#include "view/qt/ViewGlobals.h"

#include "document/WorkingDir.h"

namespace hpa {

std::array<CAccGrid, kDataKindCount> g_grids;
int g_nCurrentKind = 0;
int g_nCurrentGrid = -1;
CGridFont g_gridFont;
CGridFont g_printGridFont;

namespace {
constexpr int kAccGridRowHeight = 16;
}

CGridFont MakeScreenGridFont(int nLogPixelsY)
{
    CGridFont font;
    font.strFace = "Arial";
    font.nHeight = -(9 * nLogPixelsY) / 72;
    font.nWeight = 400;
    return font;
}

CGridFont MakePrintGridFont()
{
    CGridFont font;
    font.strFace = "Arial";
    font.nHeight = 9;
    font.nWeight = 400;
    return font;
}

void SetAccGridDefaults(CUGCtrl& grid)
{
    CUGCell cell;
    grid.GetGridDefaults(&cell);
    cell.SetAlignment(kAlignLeft | kAlignVCenter);
    grid.SetGridDefaults(&cell);
    grid.AllowRangeSelection(1);
    grid.UseOneRowHeight(1);
    grid.SetDefaultRowHeight(kAccGridRowHeight);
}

CViewGrids ProgramViewGrids()
{
    return {&g_grids, &g_nCurrentKind, &g_nCurrentGrid, &g_workDir};
}

} // namespace hpa
