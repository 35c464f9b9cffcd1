#include "view/DataGridSetup.h"

#include "grid/UGCtrl.h"

namespace hpa {

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
    grid.SetDefaultRowHeight(kDataGridRowHeight);
}

} // namespace hpa
