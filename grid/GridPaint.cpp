// The cell area, headings and corner button painted through a CGridDC.
//
// Every loop here runs over what is in view: rows from the top row until
// the area's bottom edge, columns from the left column until its right
// edge. Nothing walks the grid's rows, so a paint costs the same for ten
// rows or a million.
#include "grid/GridPaint.h"

#include "grid/GridDraw.h"
#include "grid/UGCtrl.h"

#include <algorithm>

namespace hpa {

namespace {

int RowHeight(const CUGCtrl& ctrl, int nRow)
{
    int h = 0;
    return ctrl.GetRowHeight(nRow, &h) == 0 ? h : 0;
}

int ColumnWidth(const CUGCtrl& ctrl, int nCol)
{
    int w = 0;
    return ctrl.GetColumnWidth(nCol, &w) == 0 ? w : 0;
}

const CGridPen& BlackPen()
{
    static const CGridPen s_black{MakeRGB(0, 0, 0), 1};
    return s_black;
}

int ToInt(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, -(1LL << 30), 1LL << 30));
}

} // namespace

COLORREF CGridPainter::GridBackColor() const
{
    return CellColorOr(m_ctrl.GetGridLayout().m_gridDefault.GetBackColor(), GridSysColor::window);
}

COLORREF CGridPainter::HeadingBackColor() const
{
    return CellColorOr(m_ctrl.GetGridLayout().m_headingDefault.GetBackColor(),
                       GridSysColor::buttonFace);
}

// ---- one cell -----------------------------------------------------------------------

void CGridPainter::DrawCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc,
                            const CUGCell& cell)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const bool bCurrentCell = nCol == gl.m_nCurrentColumn && nRow == gl.m_nCurrentRow;
    // In row-selection mode the whole current row is drawn as current.
    const bool bOtherOfRow = gl.m_bRowSelection && nRow == gl.m_nCurrentRow && !bCurrentCell;
    const bool bSelected =
        gl.m_bSelectionEnabled ? !bCurrentCell && m_ctrl.IsSelected(nCol, nRow) != 0 : bOtherOfRow;

    const CGridRect inner = DrawCellBorder(dc, rc, cell, gl);
    const CGridFont* pOldFont = dc.SelectFont(cell.GetFont() ? cell.GetFont() : &gl.m_font);
    m_ctrl.GetCellType(cell.GetCellType())
        ->DrawCell(dc, inner, cell, bSelected ? 1 : 0, bCurrentCell || bOtherOfRow ? 1 : 0);
    dc.SelectFont(pOldFont);

    if (bCurrentCell && (gl.m_nCurrentCellStyle & 1) && m_bFocusFrame) {
        dc.DrawFocusRect(inner);
        dc.DrawFocusRect({inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1});
    }
}

void CGridPainter::DrawPassCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc)
{
    m_ctrl.ResolveCell(nCol, nRow, &m_cell);
    if (!m_cell.IsJoined()) {
        DrawCell(dc, nCol, nRow, rc, m_cell);
        return;
    }
    int nOriginCol = nCol, nOriginRow = nRow;
    m_ctrl.GetJoinStartCell(&nOriginCol, &nOriginRow);
    const CGridPoint origin{nOriginCol, nOriginRow};
    if (std::find(m_joinedDrawn.begin(), m_joinedDrawn.end(), origin) != m_joinedDrawn.end())
        return;
    m_joinedDrawn.push_back(origin);
    CGridRect rcBlock;
    if (m_ctrl.GetCellRect(nOriginCol, nOriginRow, &rcBlock) != 0)
        return;
    if (nOriginCol != nCol || nOriginRow != nRow)
        m_ctrl.ResolveCell(nOriginCol, nOriginRow, &m_cell);
    DrawCell(dc, nOriginCol, nOriginRow, rcBlock, m_cell);
}

// ---- the cell area -----------------------------------------------------------------

void CGridPainter::PaintCellArea(CGridDC& dc)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const int nCols = gl.m_nColumnCount;
    const int nRows = gl.m_nRowCount;
    if (nRows == 0 || nCols == 0) {
        m_ctrl.GetRedrawHints().Clear();
        dc.FillSolidRect({0, 0, gl.m_nCellAreaWidth, gl.m_nCellAreaHeight}, GridBackColor());
        return;
    }
    const CGridFont* pOldFont = dc.SelectFont(&gl.m_font);
    const CGridRect rcClip = dc.GetClipBox();
    int nCol = -1, nRow = -1;
    CGridRange range{-1, -1, -1, -1};
    if (m_ctrl.GetCellFromPoint(rcClip.left, rcClip.top, &nCol, &nRow) == 0) {
        range = {nCol, nRow, nCols - 1, nRows - 1};
    } else {
        // A clip box that starts outside the cells lies wholly right of the
        // last column or below the last row: its background is filled here
        // so no stale pixels stay behind.
        dc.FillSolidRect(rcClip, GridBackColor());
        if (rcClip.right >= gl.m_nCellAreaWidth)
            range.right = nCols - 1;
        if (rcClip.bottom >= gl.m_nCellAreaHeight)
            range.bottom = nRows - 1;
    }
    m_ctrl.GetRedrawHints().AddRange(range);
    DrawingPass(dc);
    dc.SelectFont(pOldFont);
}

bool CGridPainter::DrawingPass(CGridDC& dc, bool bForced)
{
    GridLayout& gl = m_ctrl.GetGridLayout();
    CGridRedrawHints& hints = m_ctrl.GetRedrawHints();
    m_ctrl.OnPrepareDC(&dc, kSectionCellArea);
    if (!gl.m_bPaintEnabled && !bForced)
        return false;

    const int nAreaW = gl.m_nCellAreaWidth;
    const int nAreaH = gl.m_nCellAreaHeight;
    CGridRange box{gl.m_nLeftColumn, gl.m_nTopRow, gl.m_nColumnCount - 1, gl.m_nRowCount - 1};
    if (!hints.IsFullRedraw() && !hints.GetBoundingBox(&box)) {
        hints.Clear();
        return true;
    }
    box.left = std::max(box.left, gl.m_nLeftColumn);
    box.top = std::max(box.top, gl.m_nTopRow);
    box.right = std::min(box.right, gl.m_nColumnCount - 1);
    box.bottom = std::min(box.bottom, gl.m_nRowCount - 1);
    if (box.left > box.right || box.top > box.bottom) {
        hints.Clear();
        return true;
    }

    // Where the box's top-left cell starts; beyond the area nothing shows.
    long long x0 = 0;
    for (int c = gl.m_nLeftColumn; c < box.left && x0 < nAreaW; ++c)
        x0 += ColumnWidth(m_ctrl, c);
    long long y = 0;
    for (int r = gl.m_nTopRow; r < box.top && y < nAreaH; ++r)
        y += RowHeight(m_ctrl, r);
    if (x0 >= nAreaW || y >= nAreaH) {
        hints.Clear();
        return true;
    }

    const CGridFont* pOldFont = dc.SelectFont(&gl.m_font);
    const COLORREF crBack = GridBackColor();
    m_joinedDrawn.clear();
    bool bLastRowDrawn = false;
    for (int nRow = box.top; nRow <= box.bottom && y < nAreaH; ++nRow) {
        const int h = RowHeight(m_ctrl, nRow);
        if (h <= 0)
            continue;
        long long x = x0;
        bool bAnyDrawn = false;
        bool bLastColDrawn = false;
        for (int nCol = box.left; nCol <= box.right && x < nAreaW; ++nCol) {
            const int w = ColumnWidth(m_ctrl, nCol);
            if (w <= 0)
                continue;
            if (hints.Contains(nCol, nRow)) {
                DrawPassCell(dc, nCol, nRow, {ToInt(x), ToInt(y), ToInt(x + w), ToInt(y + h)});
                bAnyDrawn = true;
                bLastColDrawn = nCol == gl.m_nColumnCount - 1;
            }
            x += w;
        }
        if (bLastColDrawn && x < nAreaW)
            dc.FillSolidRect({ToInt(x), ToInt(y), nAreaW, ToInt(y + h)}, crBack);
        y += h;
        if (nRow == gl.m_nRowCount - 1 && bAnyDrawn) {
            bLastRowDrawn = true;
            // A store that adds rows on demand may extend the grid here.
            if (y < nAreaH && m_ctrl.AskForRowsPastEnd() > 0) {
                box.bottom = gl.m_nRowCount - 1;
                bLastRowDrawn = false;
            }
        }
    }
    if (bLastRowDrawn && y < nAreaH)
        dc.FillSolidRect({0, ToInt(y), nAreaW, nAreaH}, crBack);
    dc.SelectFont(pOldFont);
    hints.Clear();
    return true;
}

// A frozen picture (painting disabled) is left where it is rather than
// moved without its exposed part being drawn.
void CGridPainter::UpdateCellArea(CGridDC& dc)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    CGridRedrawHints& hints = m_ctrl.GetRedrawHints();
    const int dx = hints.ScrollDx();
    const int dy = hints.ScrollDy();
    if ((dx != 0 || dy != 0) && !hints.IsFullRedraw() && gl.m_bPaintEnabled)
        dc.ScrollPixels(dx, dy, {0, 0, gl.m_nCellAreaWidth, gl.m_nCellAreaHeight});
    DrawingPass(dc);
}

// ---- headings and corner --------------------------------------------------------------

void CGridPainter::DrawHeadingCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    m_ctrl.ResolveCell(nCol, nRow, &m_cell);
    const CGridRect inner = DrawCellBorder(dc, rc, m_cell, gl);
    const CGridFont* pOldFont = dc.SelectFont(m_cell.GetFont() ? m_cell.GetFont() : &gl.m_font);
    m_ctrl.GetCellType(m_cell.GetCellType())->DrawCell(dc, inner, m_cell, 0, 0);
    dc.SelectFont(pOldFont);
}

void CGridPainter::PaintTopHeading(CGridDC& dc, int cx, int cy)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    m_ctrl.OnPrepareDC(&dc, kSectionTopHeading);
    if (gl.m_nColumnCount > 0) {
        long long x = 0;
        for (int nCol = gl.m_nLeftColumn; nCol < gl.m_nColumnCount && x < cx; ++nCol) {
            const int w = ColumnWidth(m_ctrl, nCol);
            if (w <= 0)
                continue;
            DrawHeadingCell(dc, nCol, -1, {ToInt(x), 0, ToInt(x + w), cy - 1});
            x += w;
        }
        if (x < cx)
            dc.FillSolidRect({ToInt(x), 0, cx, cy - 1}, HeadingBackColor());
    } else {
        dc.FillSolidRect({0, 0, cx, cy}, HeadingBackColor());
    }
    const CGridPen* pOld = dc.SelectPen(&BlackPen());
    dc.Line(-1, cy - 1, cx, cy - 1);
    dc.SelectPen(pOld);
}

void CGridPainter::PaintSideHeading(CGridDC& dc, int cx, int cy)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    m_ctrl.OnPrepareDC(&dc, kSectionSideHeading);
    if (gl.m_nRowCount > 0) {
        long long y = 0;
        for (int nRow = gl.m_nTopRow; nRow < gl.m_nRowCount && y < cy; ++nRow) {
            const int h = RowHeight(m_ctrl, nRow);
            if (h <= 0)
                continue;
            DrawHeadingCell(dc, -1, nRow, {0, ToInt(y), cx - 1, ToInt(y + h)});
            y += h;
        }
        if (y < cy)
            dc.FillSolidRect({0, ToInt(y), cx - 1, cy}, HeadingBackColor());
    } else {
        dc.FillSolidRect({0, 0, cx, cy}, HeadingBackColor());
    }
    const CGridPen* pOld = dc.SelectPen(&BlackPen());
    dc.Line(cx - 1, -1, cx - 1, cy);
    dc.SelectPen(pOld);
}

// The closing line runs up through the top pixel so the corner has no gap.
void CGridPainter::PaintCorner(CGridDC& dc, int cx, int cy)
{
    m_ctrl.OnPrepareDC(&dc, kSectionCorner);
    DrawHeadingCell(dc, -1, -1, {0, 0, cx - 1, cy - 1});
    const CGridPen* pOld = dc.SelectPen(&BlackPen());
    dc.Line(0, cy - 1, cx - 1, cy - 1);
    dc.Line(cx - 1, cy - 1, cx - 1, -1);
    dc.SelectPen(pOld);
}

void CGridPainter::PaintControlBackground(CGridDC& dc, const CGridRect& rc)
{
    dc.FillSolidRect(rc, GetGridSysColor(GridSysColor::buttonFace));
}

} // namespace hpa
