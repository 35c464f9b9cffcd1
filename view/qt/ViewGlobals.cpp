#include "view/qt/ViewGlobals.h"

#include "document/WorkingDir.h"

namespace hpa {

std::array<CAccGrid, kDataKindCount> g_grids;
int g_nCurrentKind = 0;
int g_nCurrentGrid = -1;
CGridFont g_gridFont;
CGridFont g_printGridFont;

CViewGrids ProgramViewGrids()
{
    return {&g_grids, &g_nCurrentKind, &g_nCurrentGrid, &g_workDir};
}

} // namespace hpa
