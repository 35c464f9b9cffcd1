// CUGCtrl: moving the current cell, scrolling the view, processing a
// current-cell change with its notifications, the selection, and the redraw
// hints each change leaves for the cell area.
#include "grid/UGCtrl.h"

#include <algorithm>
#include <climits>

namespace hpa {

// ---- bringing the current cell into view ------------------------------------------

// Returns true when the top row moved.
bool CUGCtrl::BringRowIntoView()
{
    GridLayout& gl = m_layout;
    const int nCur = gl.m_nCurrentRow;
    int nTop = gl.m_nTopRow;
    if (nCur < nTop) {
        nTop = nCur;
    } else if (nCur > nTop) {
        // Smallest t whose rows t .. current fit; during a click the sum
        // stops one row short so a partly shown clicked row stays put.
        const int nLastCounted = gl.m_bFullView ? nCur : nCur - 1;
        int t = nLastCounted + 1;
        if (gl.m_bUniformRowHeight) {
            const int h = gl.m_nDefRowHeight;
            const long long nFit = h > 0 ? gl.m_nCellAreaHeight / h : LLONG_MAX / 2;
            t = static_cast<int>(std::max<long long>(nLastCounted + 1 - nFit, 0));
        } else {
            long long nSum = 0;
            while (t > 0 && nSum + RowHeightAt(t - 1) <= gl.m_nCellAreaHeight) {
                nSum += RowHeightAt(t - 1);
                --t;
            }
        }
        t = std::min(t, nCur);
        if (t > nTop)
            nTop = t;
    }
    if (nTop == gl.m_nTopRow)
        return false;
    gl.m_nTopRow = nTop;
    return true;
}

bool CUGCtrl::BringColumnIntoView()
{
    GridLayout& gl = m_layout;
    const int nCur = gl.m_nCurrentColumn;
    int nLeft = gl.m_nLeftColumn;
    if (nCur < nLeft) {
        nLeft = nCur;
    } else if (nCur > nLeft) {
        const int nLastCounted = gl.m_bFullView ? nCur : nCur - 1;
        int t = nLastCounted + 1;
        long long nSum = 0;
        while (t > 0 && nSum + ColumnWidthAt(t - 1) <= gl.m_nCellAreaWidth) {
            nSum += ColumnWidthAt(t - 1);
            --t;
        }
        t = std::min(t, nCur);
        if (t > nLeft)
            nLeft = t;
    }
    if (nLeft == gl.m_nLeftColumn)
        return false;
    gl.m_nLeftColumn = nLeft;
    return true;
}

// ---- change processing ------------------------------------------------------------

void CUGCtrl::ProcessCurrentCellChange()
{
    GridLayout& gl = m_layout;
    const bool bRow = gl.m_nCurrentRow != gl.m_nPrevCurrentRow;
    const bool bCol = gl.m_nCurrentColumn != gl.m_nPrevCurrentColumn;
    if (bRow) {
        BringRowIntoView();
        OnRowChanged(gl.m_nPrevCurrentRow, gl.m_nCurrentRow);
    }
    if (bCol) {
        BringColumnIntoView();
        OnColumnChanged(gl.m_nPrevCurrentColumn, gl.m_nCurrentColumn);
    }
    if (bRow || bCol)
        OnCellChanged(gl.m_nPrevCurrentColumn, gl.m_nCurrentColumn, gl.m_nPrevCurrentRow,
                      gl.m_nCurrentRow);
    if (gl.m_nTopRow != gl.m_nPrevTopRow)
        OnTopRowChanged(gl.m_nPrevTopRow, gl.m_nTopRow);
    if (gl.m_nLeftColumn != gl.m_nPrevLeftColumn)
        OnLeftColumnChanged(gl.m_nPrevLeftColumn, gl.m_nLeftColumn);
    const bool bCell = bRow || bCol;
    if (bCell && gl.m_bSelectionEnabled)
        UpdateSelectionFor(gl.m_nCurrentColumn, gl.m_nCurrentRow);
    if (bCell)
        RefreshCurrentCellCache();
    UpdateChildren(bCell);
    gl.m_nPrevCurrentRow = gl.m_nCurrentRow;
    gl.m_nPrevCurrentColumn = gl.m_nCurrentColumn;
    gl.m_nPrevTopRow = gl.m_nTopRow;
    gl.m_nPrevLeftColumn = gl.m_nLeftColumn;
}

void CUGCtrl::RefreshCurrentCellCache()
{
    GridLayout& gl = m_layout;
    GetCellType(gl.m_currentCell.GetCellType())
        ->LostFocus(gl.m_nPrevCurrentColumn, gl.m_nPrevCurrentRow, gl.m_currentCell);
    gl.m_currentCell.ClearCell();
    ResolveCell(gl.m_nCurrentColumn, gl.m_nCurrentRow, &gl.m_currentCell);
    GetCellType(gl.m_currentCell.GetCellType())
        ->GotFocus(gl.m_nCurrentColumn, gl.m_nCurrentRow, gl.m_currentCell);
}

void CUGCtrl::UpdateSelectionFor(int nCol, int nRow)
{
    const GridLayout& gl = m_layout;
    switch (gl.m_nInputSource) {
    case kInputKeyboard:
        if (gl.m_bShiftDown) {
            m_selection.ExtendBlock(nCol, nRow);
            return;
        }
        break;
    case kInputMouseClick:
        if (gl.m_bShiftDown) {
            m_selection.ExtendBlock(nCol, nRow);
            return;
        }
        if (gl.m_bControlDown) {
            m_selection.ToggleCell(nCol, nRow);
            return;
        }
        break;
    case kInputMouseDrag:
        m_selection.ExtendBlock(nCol, nRow);
        return;
    default:
        break;
    }
    HintSelection();
    m_selection.Clear();
    m_selection.StartBlock(nCol, nRow);
}

// ---- redraw hints ---------------------------------------------------------------------

void CUGCtrl::HintSelection()
{
    const GridLayout& gl = m_layout;
    for (const CGridSelection::CBlock& block : m_selection.Blocks()) {
        CGridRange r = block.range;
        if (m_selection.GetMode() == CGridSelection::rows) {
            r.left = gl.m_nLeftColumn;
            r.right = std::max(gl.m_nColumnCount - 1, gl.m_nLeftColumn);
        }
        m_hints.AddRange(r);
    }
}

void CUGCtrl::AddCurrentCellHints(int nCol, int nRow)
{
    if (m_layout.m_bRowSelection)
        m_hints.AddRange({0, nRow, std::max(m_layout.m_nColumnCount - 1, 0), nRow});
    else
        m_hints.AddCell(nCol, nRow);
}

// What the cell area must repaint after a change: when the origin moved by
// less than the area, the pixels move and only the exposed rows or columns
// repaint; then the current cell (old and new when it changed).
void CUGCtrl::UpdateChildren(bool bCellChanged)
{
    GridLayout& gl = m_layout;
    const int nLastCol = std::max(gl.m_nColumnCount - 1, 0);
    const int nLastRow = std::max(gl.m_nRowCount - 1, 0);
    const int nTop = gl.m_nTopRow, nPrevTop = gl.m_nPrevTopRow;
    const int nLeft = gl.m_nLeftColumn, nPrevLeft = gl.m_nPrevLeftColumn;
    const long long nAreaH = gl.m_nCellAreaHeight, nAreaW = gl.m_nCellAreaWidth;
    if (nTop < 0 || nLeft < 0) {
        m_hints.InvalidateAll();
    } else if (nTop != nPrevTop || nLeft != nPrevLeft) {
        const long long dy =
            nTop > nPrevTop ? -RowSpan(nPrevTop, nTop, nAreaH) : RowSpan(nTop, nPrevTop, nAreaH);
        const long long dx = nLeft > nPrevLeft ? -ColumnSpan(nPrevLeft, nLeft, nAreaW)
                                               : ColumnSpan(nLeft, nPrevLeft, nAreaW);
        if (dy > nAreaH || -dy > nAreaH || dx > nAreaW || -dx > nAreaW) {
            m_hints.InvalidateAll();
        } else {
            m_hints.AddScroll(static_cast<int>(dx), static_cast<int>(dy));
            if (dy < 0)
                m_hints.AddRange({0, std::min(RowAtOffset(nTop, nAreaH + dy, nullptr), nLastRow),
                                  nLastCol, nLastRow});
            else if (nTop < nPrevTop)
                m_hints.AddRange({0, nTop, nLastCol, nPrevTop - 1});
            if (dx < 0)
                m_hints.AddRange({std::min(ColumnAtOffset(nLeft, nAreaW + dx, nullptr), nLastCol),
                                  0, nLastCol, nLastRow});
            else if (nLeft < nPrevLeft)
                m_hints.AddRange({nLeft, 0, nPrevLeft - 1, nLastRow});
        }
    }
    if (bCellChanged) {
        AddCurrentCellHints(gl.m_nPrevCurrentColumn, gl.m_nPrevCurrentRow);
        AddCurrentCellHints(gl.m_nCurrentColumn, gl.m_nCurrentRow);
        if (gl.m_bSelectionEnabled && m_selection.AnchorRow() >= 0) {
            const int nAnchorCol = m_selection.AnchorColumn();
            const int nAnchorRow = m_selection.AnchorRow();
            m_hints.AddRange(
                {nAnchorCol, nAnchorRow, gl.m_nPrevCurrentColumn, gl.m_nPrevCurrentRow});
            m_hints.AddRange({nAnchorCol, nAnchorRow, gl.m_nCurrentColumn, gl.m_nCurrentRow});
        }
    } else {
        AddCurrentCellHints(gl.m_nCurrentColumn, gl.m_nCurrentRow);
    }
    if (m_pHost)
        m_pHost->UpdateChildren();
    UpdateScrollBars();
}

// ---- moving the current cell --------------------------------------------------------

// A row beyond the end first lets the store add rows; returns how many it added.
int CUGCtrl::AskStoreForRows(int nMissing)
{
    int nAdded = 0;
    const int nCount = m_layout.m_nRowCount;
    if (CurrentStore()->AddRowsOnDemand(nCount, nMissing, &nAdded) == 0 && nAdded > 0 &&
        nAdded <= INT_MAX - nCount)
        SetRowCount(nCount + nAdded);
    else
        nAdded = 0;
    return nAdded;
}

void CUGCtrl::NotePastLastRow(int nBeyond)
{
    const int nCount = m_layout.m_nRowCount;
    const int nAdded = AskStoreForRows(nBeyond);
    OnPastLastRow(nCount, nBeyond, nAdded);
}

// A joined target moves to its block's origin, then the notification may
// veto; else the cell becomes current and the change is processed.
int CUGCtrl::ApplyMove(int nCol, int nRow)
{
    GridLayout& gl = m_layout;
    GetJoinStartCell(&nCol, &nRow);
    if (nCol == gl.m_nCurrentColumn && nRow == gl.m_nCurrentRow)
        return kGridDone;
    if (!CanMoveCurrent(gl.m_nCurrentColumn, gl.m_nCurrentRow, nCol, nRow))
        return kGridVetoed;
    gl.m_nCurrentColumn = nCol;
    gl.m_nCurrentRow = nRow;
    ProcessCurrentCellChange();
    return kGridDone;
}

int CUGCtrl::MoveCurrentCell(int nCol, int nRow)
{
    GridLayout& gl = m_layout;
    if (nCol < 0 || nCol >= gl.m_nColumnCount)
        return kGridRefused;
    if (nRow != gl.m_nCurrentRow) {
        if (nRow >= gl.m_nRowCount) {
            NotePastLastRow(static_cast<int>(
                std::min<long long>(static_cast<long long>(nRow) - (gl.m_nRowCount - 1), INT_MAX)));
            if (nRow >= gl.m_nRowCount)
                return kGridRefused;
        } else if (nRow < 0) {
            OnBeforeFirstRow(gl.m_nRowCount, nRow);
            return kGridRefused;
        }
    }
    if (nCol == gl.m_nCurrentColumn && nRow == gl.m_nCurrentRow)
        return kGridDone;
    return ApplyMove(nCol, nRow);
}

int CUGCtrl::MoveRow(int nCode)
{
    GridLayout& gl = m_layout;
    const int nCur = gl.m_nCurrentRow;
    const int nLast = gl.m_nRowCount - 1;
    const long long nArea = gl.m_nCellAreaHeight;
    long long nTarget = nCur;
    switch (nCode) {
    case kMoveUp:
        nTarget = nCur - 1LL;
        break;
    case kMoveDown:
        nTarget = nCur + 1LL;
        break;
    case kMovePageUp:
    case kMovePageDown: {
        // Count rows from the current one while they fit into the area.
        const int nStep = nCode == kMovePageDown ? 1 : -1;
        if (gl.m_bUniformRowHeight) {
            const int h = gl.m_nDefRowHeight;
            const long long nFit = h > 0 ? nArea / h : static_cast<long long>(gl.m_nRowCount);
            nTarget = nCur + nStep * nFit;
        } else {
            long long nSum = 0;
            int t = nCur;
            while (t >= 0 && t <= nLast && (nStep < 0 ? t > 0 : t < nLast) &&
                   nSum + RowHeightAt(t) <= nArea) {
                nSum += RowHeightAt(t);
                t += nStep;
            }
            nTarget = t;
        }
        nTarget = std::clamp<long long>(nTarget, 0, std::max(nLast, 0));
        break;
    }
    case kMoveFirst:
        nTarget = 0;
        break;
    case kMoveLast:
        nTarget = nLast;
        break;
    default:
        return kGridUnknownCode;
    }
    if (nTarget > nLast) {
        NotePastLastRow(static_cast<int>(std::min<long long>(nTarget - nLast, INT_MAX)));
        nTarget = std::min<long long>(nTarget, gl.m_nRowCount - 1LL);
    } else if (nTarget < 0) {
        OnBeforeFirstRow(gl.m_nRowCount, static_cast<int>(nTarget));
    }
    nTarget = std::max<long long>(std::min<long long>(nTarget, gl.m_nRowCount - 1LL), 0);
    int nRow = static_cast<int>(nTarget);
    if (nRow == nCur || gl.m_nColumnCount == 0)
        return kGridDone;
    int c1 = gl.m_nCurrentColumn, r1 = nRow, c2 = 0, r2 = 0;
    if (GetJoinRange(&c1, &r1, &c2, &r2) == 0 && c1 == gl.m_nCurrentColumn && r1 == nCur &&
        nRow > nCur) {
        if (r2 + 1 > nLast)
            return kGridRefused;
        nRow = r2 + 1;
    }
    return ApplyMove(gl.m_nCurrentColumn, nRow);
}

int CUGCtrl::MoveColumn(int nCode)
{
    GridLayout& gl = m_layout;
    const int nCur = gl.m_nCurrentColumn;
    const int nLast = gl.m_nColumnCount - 1;
    const long long nArea = gl.m_nCellAreaWidth;
    long long nTarget = nCur;
    switch (nCode) {
    case kMoveLeft:
        nTarget = nCur - 1LL;
        break;
    case kMoveRight:
        nTarget = nCur + 1LL;
        break;
    case kMovePageLeft:
    case kMovePageRight: {
        const int nStep = nCode == kMovePageRight ? 1 : -1;
        if ((nStep < 0 && nCur <= 0) || (nStep > 0 && nCur >= nLast))
            return kGridRefused;
        long long nSum = 0;
        int t = nCur;
        while ((nStep < 0 ? t > 0 : t < nLast) && nSum + ColumnWidthAt(t) <= nArea) {
            nSum += ColumnWidthAt(t);
            t += nStep;
        }
        nTarget = t;
        break;
    }
    case kMoveFirst:
        nTarget = 0;
        break;
    case kMoveLast:
        nTarget = nLast;
        break;
    default:
        return kGridUnknownCode;
    }
    nTarget = std::max<long long>(std::min<long long>(nTarget, nLast), 0);
    int nCol = static_cast<int>(nTarget);
    if (nCol == nCur || gl.m_nColumnCount == 0 || gl.m_nRowCount == 0)
        return kGridDone;
    int c1 = nCol, r1 = gl.m_nCurrentRow, c2 = 0, r2 = 0;
    if (GetJoinRange(&c1, &r1, &c2, &r2) == 0 && c1 == nCur && r1 == gl.m_nCurrentRow &&
        nCol > nCur) {
        if (c2 + 1 > nLast)
            return kGridRefused;
        nCol = c2 + 1;
    }
    return ApplyMove(nCol, gl.m_nCurrentRow);
}

// ---- scrolling ----------------------------------------------------------------------

int CUGCtrl::ChangeTopRow(int nRow)
{
    GridLayout& gl = m_layout;
    if (nRow > gl.m_nMaxTopRow) {
        NotePastLastRow(nRow - gl.m_nMaxTopRow);
        return kGridRefused;
    }
    if (nRow < 0) {
        OnBeforeFirstRow(gl.m_nRowCount, nRow);
        return kGridRefused;
    }
    if (!CanScrollView(gl.m_nLeftColumn, gl.m_nTopRow, gl.m_nLeftColumn, nRow))
        return kGridVetoed;
    gl.m_nTopRow = nRow;
    ProcessCurrentCellChange();
    return kGridDone;
}

int CUGCtrl::ScrollRows(int nCode)
{
    GridLayout& gl = m_layout;
    const int nTop = gl.m_nTopRow;
    const long long nArea = gl.m_nCellAreaHeight;
    long long nTarget = nTop;
    switch (nCode) {
    case kMoveUp:
        nTarget = nTop - 1LL;
        break;
    case kMoveDown:
        nTarget = nTop + 1LL;
        break;
    case kMovePageUp:
    case kMovePageDown: {
        // Rows from the top row itself while they fit into the area.
        const int nStep = nCode == kMovePageDown ? 1 : -1;
        const int nBound = nStep > 0 ? gl.m_nMaxTopRow : 0;
        if (gl.m_bUniformRowHeight) {
            const int h = gl.m_nDefRowHeight;
            const long long nFit = h > 0 ? nArea / h : static_cast<long long>(gl.m_nRowCount);
            nTarget = nStep > 0 ? std::min<long long>(nTop + nFit, nBound)
                                : std::max<long long>(nTop - nFit, nBound);
        } else {
            long long nSum = 0;
            int t = nTop;
            while ((nStep > 0 ? t < nBound : t > nBound) && nSum + RowHeightAt(t) <= nArea) {
                nSum += RowHeightAt(t);
                t += nStep;
            }
            nTarget = t;
        }
        break;
    }
    case kMoveFirst:
        nTarget = 0;
        break;
    case kMoveLast:
        nTarget = gl.m_nMaxTopRow;
        break;
    default:
        return kGridUnknownCode;
    }
    if (nTarget == nTop)
        return kGridRefused;
    return ChangeTopRow(static_cast<int>(std::clamp<long long>(nTarget, INT_MIN, INT_MAX)));
}

int CUGCtrl::SetTopRow(int nRow)
{
    if (nRow == m_layout.m_nTopRow)
        return kGridRefused;
    return ChangeTopRow(nRow);
}

int CUGCtrl::ChangeLeftColumn(int nCol)
{
    GridLayout& gl = m_layout;
    if (!CanScrollView(gl.m_nLeftColumn, gl.m_nTopRow, nCol, gl.m_nTopRow))
        return kGridVetoed;
    gl.m_nLeftColumn = nCol;
    ProcessCurrentCellChange();
    return kGridDone;
}

int CUGCtrl::ScrollColumns(int nCode)
{
    GridLayout& gl = m_layout;
    const int nLeft = gl.m_nLeftColumn;
    const int nMax = gl.m_nMaxLeftColumn;
    const long long nArea = gl.m_nCellAreaWidth;
    int nTarget = nLeft;
    switch (nCode) {
    case kMoveLeft:
    case kMovePageLeft:
        if (nLeft <= 0)
            return kGridRefused;
        nTarget = nLeft - 1;
        if (nCode == kMovePageLeft) {
            long long nSum = 0;
            int t = nLeft;
            while (t > 0 && nSum + ColumnWidthAt(t) <= nArea) {
                nSum += ColumnWidthAt(t);
                --t;
            }
            nTarget = t;
        }
        break;
    case kMoveRight:
    case kMovePageRight:
        if (nLeft >= nMax)
            return kGridRefused;
        nTarget = nLeft + 1;
        if (nCode == kMovePageRight) {
            long long nSum = 0;
            int t = nLeft;
            while (t < nMax && nSum + ColumnWidthAt(t) <= nArea) {
                nSum += ColumnWidthAt(t);
                ++t;
            }
            nTarget = t;
        }
        break;
    case kMoveFirst:
        nTarget = 0;
        break;
    case kMoveLast:
        nTarget = nMax;
        break;
    default:
        return kGridUnknownCode;
    }
    if (nTarget == nLeft)
        return kGridRefused;
    return ChangeLeftColumn(nTarget);
}

int CUGCtrl::SetLeftColumn(int nCol)
{
    if (nCol < 0 || nCol > m_layout.m_nMaxLeftColumn)
        return kGridRefused;
    if (nCol == m_layout.m_nLeftColumn)
        return kGridDone;
    return ChangeLeftColumn(nCol);
}

// ---- scroll bar messages ------------------------------------------------------------

// A scroll refused at either end or vetoed leaves the view where it is; the
// bar then shows the unchanged position, so the results are not needed here.

int CUGCtrl::OnVScrollBar(GridScrollCode code, int nPos, std::string* pstrTip)
{
    GridLayout& gl = m_layout;
    if (m_pHost)
        m_pHost->FocusCellArea();
    const bool bThreeWay = gl.m_nVThumbMode == 2;
    switch (code) {
    case GridScrollCode::lineUp:
        (void)ScrollRows(kMoveUp);
        break;
    case GridScrollCode::lineDown:
        (void)ScrollRows(kMoveDown);
        break;
    case GridScrollCode::pageUp:
        (void)ScrollRows(kMovePageUp);
        break;
    case GridScrollCode::pageDown:
        (void)ScrollRows(kMovePageDown);
        break;
    case GridScrollCode::top:
        (void)ScrollRows(kMoveFirst);
        break;
    case GridScrollCode::bottom:
        (void)ScrollRows(kMoveLast);
        break;
    case GridScrollCode::thumbPosition:
        // The three-position bar pages up or down from its ends.
        if (bThreeWay) {
            if (nPos != 1)
                (void)ScrollRows(nPos < 1 ? kMovePageUp : kMovePageDown);
        } else {
            (void)SetTopRow(VScrollPosToRow(nPos));
        }
        break;
    case GridScrollCode::thumbTrack: {
        if (bThreeWay)
            break;
        const int nRow = VScrollPosToRow(nPos);
        if (gl.m_nVThumbMode == 1)
            (void)SetTopRow(nRow);
        if (gl.m_bVScrollTips && pstrTip) {
            const CGridScrollInfo info = GetVScrollInfo();
            const int nPercent =
                info.nMax > 0 ? static_cast<int>(static_cast<long long>(nPos) * 100 / info.nMax)
                              : 0;
            OnVScrollTip(nRow, nPercent, pstrTip);
            return 1;
        }
        break;
    }
    case GridScrollCode::endScroll:
        break;
    }
    return 0;
}

int CUGCtrl::OnHScrollBar(GridScrollCode code, int nPos, std::string* pstrTip)
{
    GridLayout& gl = m_layout;
    if (m_pHost)
        m_pHost->FocusCellArea();
    switch (code) {
    case GridScrollCode::lineUp:
        (void)ScrollColumns(kMoveLeft);
        break;
    case GridScrollCode::lineDown:
        (void)ScrollColumns(kMoveRight);
        break;
    case GridScrollCode::pageUp:
        (void)ScrollColumns(kMovePageLeft);
        break;
    case GridScrollCode::pageDown:
        (void)ScrollColumns(kMovePageRight);
        break;
    case GridScrollCode::top:
        (void)ScrollColumns(kMoveFirst);
        break;
    case GridScrollCode::bottom:
        (void)ScrollColumns(kMoveLast);
        break;
    case GridScrollCode::thumbPosition:
        (void)SetLeftColumn(nPos);
        break;
    case GridScrollCode::thumbTrack:
        if (gl.m_nHThumbMode == 1)
            (void)SetLeftColumn(nPos);
        if (gl.m_bHScrollTips && pstrTip) {
            const int nMax = gl.m_nMaxLeftColumn;
            const int nPercent =
                nMax > 0 ? static_cast<int>(static_cast<long long>(nPos) * 100 / nMax) : 0;
            OnHScrollTip(nPos, nPercent, pstrTip);
            return 1;
        }
        break;
    case GridScrollCode::endScroll:
        break;
    }
    return 0;
}

// ---- selection ------------------------------------------------------------------------

int CUGCtrl::AllowRangeSelection(int bAllow)
{
    GridLayout& gl = m_layout;
    if (bAllow) {
        gl.m_bSelectionEnabled = 1;
        m_selection.SetMode(gl.m_bRowSelection ? CGridSelection::rows : CGridSelection::cells);
        m_selection.Clear();
        m_selection.StartBlock(gl.m_nCurrentColumn, gl.m_nCurrentRow);
    } else {
        ClearSelection();
        gl.m_bSelectionEnabled = 0;
        m_selection.SetMode(CGridSelection::off);
    }
    return 0;
}

int CUGCtrl::SetMultiSelectMode(int bRows)
{
    GridLayout& gl = m_layout;
    gl.m_bRowSelection = bRows ? 1 : 0;
    if (gl.m_bSelectionEnabled)
        m_selection.SetMode(gl.m_bRowSelection ? CGridSelection::rows : CGridSelection::cells);
    return 0;
}

int CUGCtrl::IsSelected(int nCol, int nRow) const
{
    return m_layout.m_bSelectionEnabled && m_selection.IsSelected(nCol, nRow) ? 1 : 0;
}

int CUGCtrl::ClearSelection()
{
    HintSelection();
    m_selection.Clear();
    if (m_pHost)
        m_pHost->UpdateChildren();
    return 0;
}

void CUGCtrl::EnumerateSelection(const std::function<bool(int, int)>& fn) const
{
    const GridLayout& gl = m_layout;
    if (!gl.m_bSelectionEnabled) {
        fn(gl.m_nCurrentColumn, gl.m_nCurrentRow);
        return;
    }
    m_selection.Enumerate(gl.m_nCurrentColumn, gl.m_nCurrentRow, fn);
}

} // namespace hpa
