// Drawing of the normal text cell: colours, bitmap, alignment, word wrap and
// the "..." cut.
#include "grid/GridCellType.h"
#include "grid/GridDraw.h"
#include "grid/GridLayout.h"

#include <algorithm>

namespace hpa {

namespace {

constexpr std::string_view kEllipsis = "...";

// Text too wide for the cell: as much of it as fits before "...", which
// ends at the cell's right edge. When not even a character's room is left
// the "..." alone is shown, starting inside the cell, never left of it.
void DrawCutText(CGridDC& dc, const CGridRect& rc, const CGridRect& rcFirst, int y,
                 std::string_view str)
{
    const int e = dc.GetTextExtent(kEllipsis).cx;
    const int nEnd = rc.right - e - 3;
    const CGridRect rcDots{std::max(nEnd, rcFirst.left + 1), rc.top, rcFirst.right, rc.bottom};
    if (nEnd > rc.left) {
        dc.TextOut(rc.left + 3, y, {rc.left, rc.top, nEnd, rc.bottom}, str, true);
    } else {
        dc.TextOut(rc.left, rc.top, {rc.left, rc.top, std::min(rcDots.left, rc.right), rc.bottom},
                   {}, true);
    }
    dc.TextOut(std::max(nEnd + 1, rcDots.left), y, rcDots, kEllipsis, true);
}

} // namespace

void CNormalCellType::DrawText(CGridDC& dc, const CGridRect& rcCell, const CUGCell& cell,
                               const CGridFont* pFont, COLORREF crText, COLORREF crBack)
{
    const std::string& str = ShownText(cell);
    const CGridFont* pOldFont = pFont ? dc.SelectFont(pFont) : nullptr;
    const COLORREF crOldText = dc.SetTextColor(crText);
    const COLORREF crOldBack = dc.SetBkColor(crBack);

    CGridRect rc = rcCell;
    if (const CGridBitmap* pBitmap = cell.GetBitmap()) {
        const int w = std::min(pBitmap->Width(), std::max(rc.Width(), 0));
        const CGridRect rcBitmap{rc.left, rc.top, rc.left + w, rc.bottom};
        dc.TextOut(rc.left, rc.top, rcBitmap, {}, true);
        dc.DrawBitmap(*pBitmap, rc.left, rc.top, rcBitmap);
        rc.left += w;
    }

    const int nStyle = std::max(cell.GetCellTypeEx(), 0);
    const CGridSize size = dc.GetTextExtent(str);
    const CGridPoint pt = AlignText(rc, size, std::max<int>(cell.GetAlignment(), 0));
    if (nStyle & kCellStyleWordWrap) {
        dc.TextOut(rc.left, rc.top, rc, {}, true);
        dc.DrawWrappedText(rc, str);
    } else if ((nStyle & kCellStyleEllipsis) && size.cx > rc.Width() - 6) {
        DrawCutText(dc, rc, rcCell, pt.y, str);
    } else {
        dc.TextOut(pt.x, pt.y, rc, str, true);
    }

    dc.SetBkColor(crOldBack);
    dc.SetTextColor(crOldText);
    if (pFont)
        dc.SelectFont(pOldFont);
}

void CNormalCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                               int bCurrent)
{
    const bool bHighlightCurrent =
        bCurrent && m_pLayout && (m_pLayout->m_nCurrentCellStyle & 2) != 0;
    const CGridCellColors colors = CellColors(cell, bSelected || bHighlightCurrent);
    DrawText(dc, rc, cell, cell.GetFont(), colors.crText, colors.crBack);
}

// Printing draws at the printer's resolution: the font grows with the
// printed row against the row's height on screen.
void CNormalCellType::DrawCellScaled(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                     int /*nUnused*/, int nRefHeight)
{
    const CGridFont* pFont = cell.GetFont();
    if (!pFont && m_pLayout)
        pFont = &m_pLayout->m_font;
    CGridFont scaled = pFont ? *pFont : CGridFont{};
    if (nRefHeight > 0)
        scaled.nHeight =
            static_cast<int>(static_cast<long long>(scaled.nHeight) * rc.Height() / nRefHeight);
    const CGridCellColors colors = CellColors(cell, false);
    DrawText(dc, rc, cell, &scaled, colors.crText, colors.crBack);
}

} // namespace hpa
