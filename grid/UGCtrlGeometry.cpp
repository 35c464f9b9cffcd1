// CUGCtrl: pixel sums over rows and columns, hit testing, cell rectangles
// and joined blocks.
#include "grid/UGCtrl.h"

#include <algorithm>
#include <climits>

namespace hpa {

namespace {

int ClampToInt(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

} // namespace

// Height of rows [nFrom, nTo); stops adding once the sum passes nCap.
long long CUGCtrl::RowSpan(int nFrom, int nTo, long long nCap) const
{
    if (nTo <= nFrom)
        return 0;
    if (m_layout.m_bUniformRowHeight)
        return static_cast<long long>(nTo - nFrom) * m_layout.m_nDefRowHeight;
    long long nSum = 0;
    for (int r = nFrom; r < nTo && nSum <= nCap; ++r)
        nSum += RowHeightAt(r);
    return nSum;
}

long long CUGCtrl::ColumnSpan(int nFrom, int nTo, long long nCap) const
{
    long long nSum = 0;
    for (int c = std::max(nFrom, 0); c < nTo && nSum <= nCap; ++c)
        nSum += ColumnWidthAt(c);
    return nSum;
}

// The row holding pixel offset y (>= 0) counted from the top of row nFrom;
// RowCount() when no row does. *pnRowTop gets that row's offset.
int CUGCtrl::RowAtOffset(int nFrom, long long y, long long* pnRowTop) const
{
    const GridLayout& gl = m_layout;
    if (gl.m_bUniformRowHeight) {
        const int h = gl.m_nDefRowHeight;
        if (h <= 0)
            return gl.m_nRowCount;
        const long long nRow = nFrom + y / h;
        if (nRow >= gl.m_nRowCount)
            return gl.m_nRowCount;
        if (pnRowTop)
            *pnRowTop = (nRow - nFrom) * h;
        return static_cast<int>(nRow);
    }
    long long nTop = 0;
    for (int r = nFrom; r < gl.m_nRowCount; ++r) {
        const int h = RowHeightAt(r);
        if (y < nTop + h) {
            if (pnRowTop)
                *pnRowTop = nTop;
            return r;
        }
        nTop += h;
    }
    return gl.m_nRowCount;
}

int CUGCtrl::ColumnAtOffset(int nFrom, long long x, long long* pnColLeft) const
{
    long long nLeft = 0;
    for (int c = nFrom; c < m_layout.m_nColumnCount; ++c) {
        const int w = ColumnWidthAt(c);
        if (x < nLeft + w) {
            if (pnColLeft)
                *pnColLeft = nLeft;
            return c;
        }
        nLeft += w;
    }
    return m_layout.m_nColumnCount;
}

int CUGCtrl::GetCellFromPoint(int x, int y, int* pnCol, int* pnRow, CGridRect* pRect)
{
    const GridLayout& gl = m_layout;
    int nCol = -1;
    int nRow = -1;
    int nResult = 1;
    if (x >= 0 && y >= 0 && x < gl.m_nCellAreaWidth && y < gl.m_nCellAreaHeight &&
        gl.m_nRowCount > 0 && gl.m_nColumnCount > 0) {
        const int c = ColumnAtOffset(gl.m_nLeftColumn, x, nullptr);
        const int r = RowAtOffset(gl.m_nTopRow, y, nullptr);
        if (c < gl.m_nColumnCount && r < gl.m_nRowCount) {
            nCol = c;
            nRow = r;
            GetJoinStartCell(&nCol, &nRow);
            nResult = 0;
            if (pRect)
                GetCellRect(nCol, nRow, pRect);
        }
    }
    if (pnCol)
        *pnCol = nCol;
    if (pnRow)
        *pnRow = nRow;
    return nResult;
}

// Cells above or left of the view get negative offsets, so a rectangle
// always says where the cell really is relative to the cell area.
int CUGCtrl::GetCellRect(int nCol, int nRow, CGridRect* pRect)
{
    const GridLayout& gl = m_layout;
    if (!pRect || nCol < 0 || nCol >= gl.m_nColumnCount || nRow < 0 || nRow >= gl.m_nRowCount)
        return 1;
    int c1 = nCol, r1 = nRow, c2 = nCol, r2 = nRow;
    GetJoinRange(&c1, &r1, &c2, &r2);
    const long long nNoCap = LLONG_MAX;
    const int nTop = gl.m_nTopRow;
    const int nLeft = gl.m_nLeftColumn;
    const long long y = r1 >= nTop ? RowSpan(nTop, r1, nNoCap) : -RowSpan(r1, nTop, nNoCap);
    const long long x =
        c1 >= nLeft ? ColumnSpan(nLeft, c1, nNoCap) : -ColumnSpan(c1, nLeft, nNoCap);
    pRect->left = ClampToInt(x);
    pRect->top = ClampToInt(y);
    pRect->right = ClampToInt(x + ColumnSpan(c1, c2 + 1, nNoCap));
    pRect->bottom = ClampToInt(y + RowSpan(r1, r2 + 1, nNoCap));
    return 0;
}

int CUGCtrl::GetJoinStartCell(int* pnCol, int* pnRow)
{
    if (!pnCol || !pnRow)
        return 1;
    CUGCell cell;
    if (ReadCell(*pnCol, *pnRow, &cell) != 0 || !cell.IsJoined())
        return 1;
    int bOrigin = 0, nCol = 0, nRow = 0;
    cell.GetJoinInfo(&bOrigin, &nCol, &nRow);
    if (!bOrigin && nCol >= 0 && nCol < m_layout.m_nColumnCount && nRow >= 0 &&
        nRow < m_layout.m_nRowCount) {
        *pnCol = nCol;
        *pnRow = nRow;
    }
    return 0;
}

// A block's end is read from its origin cell; an end outside the grid or
// before the origin is cut back so geometry never leaves the grid.
int CUGCtrl::GetJoinRange(int* pnCol, int* pnRow, int* pnCol2, int* pnRow2)
{
    if (!pnCol || !pnRow || !pnCol2 || !pnRow2)
        return 1;
    *pnCol2 = *pnCol;
    *pnRow2 = *pnRow;
    if (GetJoinStartCell(pnCol, pnRow) != 0)
        return 1;
    CUGCell origin;
    int bOrigin = 0, nEndCol = *pnCol, nEndRow = *pnRow;
    if (ReadCell(*pnCol, *pnRow, &origin) == 0 &&
        origin.GetJoinInfo(&bOrigin, &nEndCol, &nEndRow) == 0 && bOrigin) {
        *pnCol2 = std::clamp(nEndCol, *pnCol, m_layout.m_nColumnCount - 1);
        *pnRow2 = std::clamp(nEndRow, *pnRow, m_layout.m_nRowCount - 1);
    } else {
        *pnCol2 = *pnCol;
        *pnRow2 = *pnRow;
    }
    return 0;
}

} // namespace hpa
