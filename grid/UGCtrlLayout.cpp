// CUGCtrl: counts, widths and heights, the layout pass, the maximum top row
// and left column, geometry and scroll bar state.
//
// In uniform-height mode every row computation is arithmetic, so a grid of a
// million rows lays out, hit-tests and pages in constant time. With per-row
// heights (fewer than 64000 rows) the walks touch only the visible rows.
#include "grid/UGCtrl.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace hpa {

namespace {

int ClampToInt(long long n)
{
    return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

} // namespace

int CUGCtrl::RowHeightAt(int nRow) const
{
    const GridLayout& gl = m_layout;
    if (gl.m_bUniformRowHeight || nRow < 0 ||
        static_cast<std::size_t>(nRow) >= gl.m_anRowHeights.size())
        return gl.m_nDefRowHeight;
    return gl.m_anRowHeights[static_cast<std::size_t>(nRow)];
}

int CUGCtrl::ColumnWidthAt(int nCol) const
{
    const auto& widths = m_layout.m_anColumnWidths;
    if (nCol < 0 || static_cast<std::size_t>(nCol) >= widths.size())
        return 0;
    return widths[static_cast<std::size_t>(nCol)];
}

// ---- counts and sizes ---------------------------------------------------------------

int CUGCtrl::SetColumnCount(int nCount)
{
    if (nCount < 0)
        return 1;
    GridLayout& gl = m_layout;
    const int nOld = gl.m_nColumnCount;
    const auto n = static_cast<std::size_t>(nCount);
    gl.m_anColumnWidths.resize(n, gl.m_nDefColumnWidth);
    gl.m_aColumnDefaults.resize(n, gl.m_gridDefault);
    gl.m_aColumnHeadings.resize(n, gl.m_cornerCell);
    gl.m_nColumnCount = nCount;
    if (nCount > nOld)
        m_hints.AddRange({nOld, 0, nCount - 1, std::max(gl.m_nRowCount - 1, 0)});
    if (nCount > 0) {
        const int nCur = std::clamp(gl.m_nCurrentColumn, 0, nCount - 1);
        if (nCur != gl.m_nCurrentColumn) {
            gl.m_nCurrentColumn = nCur;
            ProcessCurrentCellChange();
        }
    } else {
        gl.m_nCurrentColumn = gl.m_nPrevCurrentColumn = 0;
        gl.m_nLeftColumn = gl.m_nPrevLeftColumn = 0;
    }
    CalcMaxLeftColumn();
    RedrawAll();
    return 0;
}

int CUGCtrl::SetRowCount(int nCount)
{
    if (nCount < 0)
        return 1;
    GridLayout& gl = m_layout;
    if (!gl.m_bUniformRowHeight) {
        if (nCount >= kUniformRowThreshold) {
            gl.m_bUniformRowHeight = 1;
            std::vector<int>().swap(gl.m_anRowHeights);
        } else {
            gl.m_anRowHeights.resize(static_cast<std::size_t>(nCount), gl.m_nDefRowHeight);
        }
    }
    gl.m_nRowCount = nCount;
    if (nCount == 0) {
        gl.m_nCurrentRow = gl.m_nPrevCurrentRow = 0;
        gl.m_nTopRow = gl.m_nPrevTopRow = 0;
    } else {
        if (gl.m_nTopRow >= nCount)
            gl.m_nTopRow = gl.m_nPrevTopRow = nCount - 1;
        const int nCur = std::clamp(gl.m_nCurrentRow, 0, nCount - 1);
        if (nCur != gl.m_nCurrentRow) {
            gl.m_nCurrentRow = nCur;
            ProcessCurrentCellChange();
        }
    }
    CalcMaxTopRow();
    RedrawAll();
    return 0;
}

int CUGCtrl::SetColumnWidth(int nCol, int nWidth)
{
    if (nCol < 0 || nCol >= m_layout.m_nColumnCount || nWidth < 0)
        return 1;
    m_layout.m_anColumnWidths[static_cast<std::size_t>(nCol)] = nWidth;
    CalcMaxLeftColumn();
    RedrawAll();
    return 0;
}

int CUGCtrl::GetColumnWidth(int nCol, int* pnWidth) const
{
    if (!pnWidth || nCol < 0 || nCol >= m_layout.m_nColumnCount)
        return 1;
    *pnWidth = m_layout.m_anColumnWidths[static_cast<std::size_t>(nCol)];
    return 0;
}

int CUGCtrl::SetDefaultColumnWidth(int nWidth)
{
    if (nWidth < 0)
        return 1;
    m_layout.m_nDefColumnWidth = nWidth;
    return 0;
}

int CUGCtrl::SetDefaultRowHeight(int nHeight)
{
    if (nHeight < 0)
        return 1;
    m_layout.m_nDefRowHeight = nHeight;
    CalcMaxTopRow();
    RedrawAll();
    return 0;
}

int CUGCtrl::UseOneRowHeight(int bUniform)
{
    GridLayout& gl = m_layout;
    if (bUniform == 1) {
        gl.m_bUniformRowHeight = 1;
        std::vector<int>().swap(gl.m_anRowHeights);
    } else {
        if (gl.m_nRowCount > kUniformRowThreshold + 1)
            return 1;
        gl.m_anRowHeights.assign(static_cast<std::size_t>(gl.m_nRowCount), gl.m_nDefRowHeight);
        gl.m_bUniformRowHeight = 0;
    }
    CalcMaxTopRow();
    RedrawAll();
    return 0;
}

int CUGCtrl::SetRowHeight(int nRow, int nHeight)
{
    GridLayout& gl = m_layout;
    if (gl.m_bUniformRowHeight || nRow < 0 || nRow >= gl.m_nRowCount || nHeight < 0)
        return 1;
    gl.m_anRowHeights[static_cast<std::size_t>(nRow)] = nHeight;
    CalcMaxTopRow();
    RedrawAll();
    return 0;
}

int CUGCtrl::GetRowHeight(int nRow, int* pnHeight) const
{
    if (!pnHeight || nRow < 0 || nRow >= m_layout.m_nRowCount)
        return 1;
    *pnHeight = RowHeightAt(nRow);
    return 0;
}

int CUGCtrl::InsertRowAt(int nRow)
{
    GridLayout& gl = m_layout;
    if (nRow < 0 || nRow > gl.m_nRowCount || gl.m_nRowCount == INT_MAX)
        return 2;
    const int nResult = CurrentStore()->InsertRowBefore(nRow);
    if (nResult != 0)
        return nResult;
    ++gl.m_nRowCount;
    if (nRow < gl.m_nCurrentRow)
        ++gl.m_nCurrentRow;
    if (!gl.m_bUniformRowHeight) {
        // Past the threshold the per-row array goes, as with SetRowCount.
        if (gl.m_nRowCount >= kUniformRowThreshold) {
            gl.m_bUniformRowHeight = 1;
            std::vector<int>().swap(gl.m_anRowHeights);
        } else {
            gl.m_anRowHeights.insert(gl.m_anRowHeights.begin() + nRow, gl.m_nDefRowHeight);
        }
    }
    CalcMaxTopRow();
    RedrawAll();
    return 0;
}

int CUGCtrl::FitColumnWidths(int nFirst, int nLast, int nRows)
{
    GridLayout& gl = m_layout;
    nLast = std::min(nLast, gl.m_nColumnCount - 1);
    nFirst = std::max(nFirst, 0);
    if (nLast < nFirst)
        return 1;
    const int nEnd = static_cast<int>(
        std::min<long long>(static_cast<long long>(gl.m_nTopRow) + nRows, gl.m_nRowCount));
    std::unique_ptr<CGridDC> pDC = CreateMeasureDC();
    CUGCell cell;
    const CUGCell empty;
    const auto Measure = [&](const CUGCell& measured) {
        CGridSize size;
        GetCellType(measured.GetCellType())->MeasureCell(*pDC, &size, measured);
        return size.cx;
    };

    // Cells of the built-in store that hold nothing but their text are
    // measured where they lie: ReadCell would give an equal copy, and
    // copying a million texts costs more than measuring them. They are
    // visited row by row, as a row's cells lie together in memory; a column
    // stops there at its first cell with properties.
    struct CFitColumn {
        int nStoreCol;
        const CGridMemStore* pMem; // null: every cell is read
        int nWidest;
        int nFirstRead; // first row left to the second pass
    };
    std::vector<CFitColumn> columns;
    columns.reserve(static_cast<std::size_t>(nLast - nFirst + 1));
    for (int nCol = nFirst; nCol <= nLast; ++nCol) {
        int nStoreCol = nCol;
        CGridStore* pStore = nullptr;
        Remap(nCol, &nStoreCol, &pStore);
        const CGridMemStore* pMem = pStore == m_pMemStore.get() ? m_pMemStore.get() : nullptr;
        columns.push_back({nStoreCol, pMem, 0, pMem ? std::max(nEnd, 0) : 0});
    }
    for (int nRow = 0; nRow < nEnd; ++nRow) {
        for (CFitColumn& column : columns) {
            if (nRow >= column.nFirstRead)
                continue;
            const CUGCell* pStored = column.pMem->PeekCell(column.nStoreCol, nRow);
            if (pStored && pStored->HasProperties())
                column.nFirstRead = nRow;
            else
                column.nWidest = std::max(column.nWidest, Measure(pStored ? *pStored : empty));
        }
    }

    // Then column by column, the order OnGetCell handlers rely on: the
    // heading row and every cell the first pass left.
    for (int nCol = nFirst; nCol <= nLast; ++nCol) {
        CFitColumn& column = columns[static_cast<std::size_t>(nCol - nFirst)];
        ReadCell(nCol, -1, &cell);
        column.nWidest = std::max(column.nWidest, Measure(cell));
        for (int nRow = column.nFirstRead; nRow < nEnd; ++nRow) {
            const CUGCell* pStored =
                column.pMem ? column.pMem->PeekCell(column.nStoreCol, nRow) : nullptr;
            const CUGCell* pCell = &cell;
            if (column.pMem && !pStored)
                pCell = &empty; // nothing stored: ReadCell leaves a cleared cell
            else if (pStored && !pStored->HasProperties())
                pCell = pStored;
            else
                ReadCell(nCol, nRow, &cell);
            column.nWidest = std::max(column.nWidest, Measure(*pCell));
        }
        gl.m_anColumnWidths[static_cast<std::size_t>(nCol)] = ClampToInt(column.nWidest + 6LL);
    }
    CalcMaxLeftColumn();
    RedrawAll();
    return 0;
}

int CUGCtrl::SetTopHeadingHeight(int nHeight)
{
    if (nHeight < 0)
        return 1;
    m_layout.m_nTopHeadingHeight = nHeight;
    Layout();
    return 0;
}

int CUGCtrl::SetSideHeadingWidth(int nWidth)
{
    if (nWidth < 0)
        return 1;
    m_layout.m_nSideHeadingWidth = nWidth;
    Layout();
    return 0;
}

int CUGCtrl::SetVScrollBarWidth(int nWidth)
{
    if (nWidth < 0)
        return 1;
    m_layout.m_nVScrollWidth = nWidth;
    Layout();
    return 0;
}

int CUGCtrl::SetHScrollBarHeight(int nHeight)
{
    if (nHeight < 0)
        return 1;
    m_layout.m_nHScrollHeight = nHeight;
    Layout();
    return 0;
}

// ---- maxima -----------------------------------------------------------------------

// The smallest top row whose rows down to the last one fit into the cell
// area; the last row when even it alone does not fit.
int CUGCtrl::CalcMaxTopRow()
{
    GridLayout& gl = m_layout;
    const int bOldNeed = gl.m_bVScrollNeeded;
    const int nLast = gl.m_nRowCount - 1;
    int nMax = 0;
    if (nLast > 0) {
        const int nArea = gl.m_nCellAreaHeight;
        if (gl.m_bUniformRowHeight) {
            const int h = gl.m_nDefRowHeight;
            const long long nFit = h > 0 ? nArea / h : static_cast<long long>(gl.m_nRowCount);
            nMax = nFit <= 0 ? nLast : ClampToInt(std::max<long long>(gl.m_nRowCount - nFit, 0));
        } else {
            long long nSum = 0;
            int r = nLast;
            while (r >= 0 && nSum + RowHeightAt(r) <= nArea) {
                nSum += RowHeightAt(r);
                --r;
            }
            nMax = std::min(r + 1, nLast);
        }
    }
    gl.m_nMaxTopRow = nMax;
    gl.m_bVScrollNeeded = nMax > 0 ? 1 : 0;
    // A pull-back is no scroll: every caller repaints the whole area, so the
    // next move must shift the pixels from this top row, not the old one.
    if (gl.m_nTopRow > nMax)
        gl.m_nTopRow = gl.m_nPrevTopRow = nMax;
    const int bChanged = bOldNeed != gl.m_bVScrollNeeded ? 1 : 0;
    if (bChanged && !m_bInLayout)
        Layout();
    else if (!m_bInLayout)
        UpdateScrollBars();
    return bChanged;
}

int CUGCtrl::CalcMaxLeftColumn()
{
    GridLayout& gl = m_layout;
    const int bOldNeed = gl.m_bHScrollNeeded;
    const int nLast = gl.m_nColumnCount - 1;
    int nMax = 0;
    if (nLast > 0) {
        long long nSum = 0;
        int c = nLast;
        while (c >= 0 && nSum + ColumnWidthAt(c) <= gl.m_nCellAreaWidth) {
            nSum += ColumnWidthAt(c);
            --c;
        }
        nMax = std::min(c + 1, nLast);
    }
    gl.m_nMaxLeftColumn = nMax;
    gl.m_bHScrollNeeded = nMax > 0 ? 1 : 0;
    // As with the top row: the pulled-back column is what is painted next.
    if (gl.m_nLeftColumn > nMax)
        gl.m_nLeftColumn = gl.m_nPrevLeftColumn = nMax;
    const int bChanged = bOldNeed != gl.m_bHScrollNeeded ? 1 : 0;
    if (bChanged && !m_bInLayout)
        Layout();
    else if (!m_bInLayout)
        UpdateScrollBars();
    return bChanged;
}

// ---- the layout pass ---------------------------------------------------------------

void CUGCtrl::SetClientSize(int nWidth, int nHeight)
{
    m_nClientWidth = std::max(nWidth, 0);
    m_nClientHeight = std::max(nHeight, 0);
    Layout();
}

void CUGCtrl::Layout()
{
    if (m_bInLayout)
        return;
    m_bInLayout = true;
    GridLayout& gl = m_layout;
    const int W = m_nClientWidth;
    const int H = m_nClientHeight;
    const int sw = gl.m_nSideHeadingWidth;
    const int th = gl.m_nTopHeadingHeight;
    int vw = gl.m_nVScrollWidth;
    int hh = gl.m_nHScrollHeight;
    // Start with both bars; a bar found unnecessary gives its room to the
    // cells and the maxima are computed again for the larger area. Room only
    // grows, so needs only drop and this settles within three rounds.
    for (int nRound = 0; nRound < 3; ++nRound) {
        gl.m_nCellAreaWidth = std::max(W - sw - vw, 0);
        gl.m_nCellAreaHeight = std::max(H - th - hh, 0);
        CalcMaxTopRow();
        CalcMaxLeftColumn();
        const int vwNew = gl.m_bVScrollNeeded ? gl.m_nVScrollWidth : 0;
        const int hhNew = gl.m_bHScrollNeeded ? gl.m_nHScrollHeight : 0;
        if (vwNew == vw && hhNew == hh)
            break;
        vw = vwNew;
        hh = hhNew;
    }
    gl.m_nCellAreaWidth = std::max(W - sw - vw, 0);
    gl.m_nCellAreaHeight = std::max(H - th - hh, 0);

    auto rect = [](int x, int y, int w, int h) { return CGridRect{x, y, x + w, y + h}; };
    CGridChildRects& rc = m_childRects;
    rc.rcCellArea = rect(sw, th, W - vw - sw, H - hh - th);
    rc.rcTopHeading = rect(sw, 0, W - vw - sw, th);
    rc.rcSideHeading = rect(0, th, sw, H - hh - th);
    rc.rcVScroll = rect(W - vw, 0, vw, H - hh);
    rc.rcHScroll = rect(0, H - hh, W - vw, hh);
    rc.rcCorner = rect(0, 0, sw, th);
    rc.bVScrollVisible = vw > 0;
    rc.bHScrollVisible = hh > 0;

    gl.m_nPrevTopRow = gl.m_nTopRow;
    gl.m_nPrevLeftColumn = gl.m_nLeftColumn;
    m_bInLayout = false;
    if (m_pHost)
        m_pHost->PlaceChildren(rc);
    UpdateScrollBars();
    RedrawAll();
}

// ---- scroll bar state ----------------------------------------------------------------

CGridScrollInfo CUGCtrl::GetVScrollInfo() const
{
    const GridLayout& gl = m_layout;
    CGridScrollInfo info;
    if (gl.m_nVThumbMode == 2) {
        info.nMax = 2;
        info.nPos = 1;
        return info;
    }
    if (gl.m_nMaxTopRow > 1000) {
        info.nMax = 1000;
        info.nPage = 1;
        info.nPos = static_cast<int>(static_cast<long long>(gl.m_nTopRow) * 1000 / gl.m_nMaxTopRow);
        info.bScaled = true;
        return info;
    }
    const int nPage = gl.m_nDefRowHeight > 0 ? gl.m_nCellAreaHeight / gl.m_nDefRowHeight : 0;
    info.nPage = nPage;
    info.nMax = nPage + gl.m_nMaxTopRow - 1;
    info.nPos = gl.m_nTopRow;
    return info;
}

CGridScrollInfo CUGCtrl::GetHScrollInfo() const
{
    const GridLayout& gl = m_layout;
    CGridScrollInfo info;
    const int nPage = gl.m_nDefColumnWidth > 0 ? gl.m_nCellAreaWidth / gl.m_nDefColumnWidth : 0;
    info.nPage = nPage;
    info.nMax = nPage + gl.m_nMaxLeftColumn - 1;
    info.nPos = gl.m_nLeftColumn;
    return info;
}

int CUGCtrl::VScrollPosToRow(int nPos) const
{
    const int nMaxTop = m_layout.m_nMaxTopRow;
    long long nRow = nPos;
    if (nMaxTop > 1000)
        nRow = static_cast<long long>(static_cast<double>(nPos) * nMaxTop * 0.001);
    return ClampToInt(std::clamp<long long>(nRow, 0, nMaxTop));
}

void CUGCtrl::UpdateScrollBars()
{
    const CGridScrollInfo v = GetVScrollInfo();
    const CGridScrollInfo h = GetHScrollInfo();
    if (v == m_lastVScroll && h == m_lastHScroll)
        return;
    m_lastVScroll = v;
    m_lastHScroll = h;
    if (m_pHost)
        m_pHost->UpdateScrollBars();
}

int CUGCtrl::SetVScrollMode(int nMode)
{
    if (nMode < 0 || nMode > 2)
        return 1;
    m_layout.m_nVThumbMode = nMode;
    UpdateScrollBars();
    return 0;
}

int CUGCtrl::SetHScrollMode(int nMode)
{
    if (nMode < 0 || nMode > 1)
        return 1;
    m_layout.m_nHThumbMode = nMode;
    UpdateScrollBars();
    return 0;
}

} // namespace hpa
