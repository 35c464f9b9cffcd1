#include "grid/GridCellType.h"

#include "grid/GridLayout.h"

namespace hpa {

void CGridCellType::Attach(CUGCtrl* pCtrl, GridLayout* pLayout)
{
    m_pCtrl = pCtrl;
    m_pLayout = pLayout;
}

void CGridCellType::GotFocus(int nCol, int nRow, const CUGCell& /*cell*/)
{
    m_nFocusCol = nCol;
    m_nFocusRow = nRow;
}

void CGridCellType::LostFocus(int /*nCol*/, int /*nRow*/, const CUGCell& /*cell*/)
{
    m_nFocusCol = -1;
    m_nFocusRow = -1;
}

const std::string& CNormalCellType::ShownText(const CUGCell& cell)
{
    const int nStyle = cell.GetCellTypeEx();
    if (nStyle > 0 && (nStyle & kCellStyleLabel) != 0)
        return cell.GetLabel();
    return cell.GetText();
}

void CNormalCellType::MeasureCell(CGridDC& dc, CGridSize* pSize, const CUGCell& cell)
{
    const CGridFont* pFont = cell.GetFont();
    if (!pFont && m_pLayout)
        pFont = &m_pLayout->m_font;
    const CGridFont* pOld = dc.SelectFont(pFont);
    *pSize = dc.GetTextExtent(ShownText(cell));
    dc.SelectFont(pOld);
}

} // namespace hpa
