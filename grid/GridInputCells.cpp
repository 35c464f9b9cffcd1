// The mouse in the cell area: clicks make cells current and notify, a drag
// with the left button extends the selection, and a drag outside the area
// scrolls toward the pointer.
#include "grid/GridInput.h"

#include "grid/UGCtrl.h"

#include <algorithm>

namespace hpa {

namespace {

// Large enough that any step it gives reaches the grid's end, small enough
// that its cube still fits a long long.
constexpr long long kMaxAutoScrollFactor = 1 << 20;

} // namespace

// A click moves with the full-view flag off, so a partly shown cell that is
// clicked stays where it is until the button is released.
void CGridInput::ClickMove(int nCol, int nRow)
{
    GridLayout& gl = m_ctrl.GetGridLayout();
    gl.m_bFullView = 0;
    (void)m_ctrl.MoveCurrentCell(nCol, nRow);
    gl.m_bFullView = 1;
}

void CGridInput::OnCellAreaButton(unsigned nButton, GridMouseAction action, int x, int y,
                                  unsigned nModifiers)
{
    if (nButton != kGridButtonLeft && nButton != kGridButtonRight)
        return;
    BeginEvent(kInputMouseClick, nModifiers);
    if (nButton == kGridButtonLeft) {
        switch (action) {
        case GridMouseAction::down:
            CellLeftDown(x, y);
            break;
        case GridMouseAction::up:
            CellLeftUp(x, y);
            break;
        case GridMouseAction::doubleClick:
            CellDoubleClick(x, y);
            break;
        }
    } else {
        // A right double click stands for the second press.
        if (action == GridMouseAction::up)
            CellRightUp(x, y);
        else
            CellRightDown(x, y);
    }
    EndEvent();
}

void CGridInput::CellLeftDown(int x, int y)
{
    m_bAutoScroll = false;
    m_pCaptureType = nullptr;
    m_drag = Drag::cells;
    const CGridPoint pt{x, y};
    CGridRect rc;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow, &rc) != 0) {
        m_ctrl.OnCellLeftClick(-1, -1, 1, &rc, &pt, 0);
        return;
    }
    ClickMove(nCol, nRow);
    int nProcessed = 0;
    if (IsCurrent(nCol, nRow)) {
        m_ctrl.GetCellRect(nCol, nRow, &rc);
        CGridCellType* pType = CurrentCellType();
        nProcessed = pType->HandleLeftClick(nCol, nRow, 1, rc, pt);
        if (nProcessed == -2) {
            m_pCaptureType = pType;
            m_drag = Drag::cellType;
        }
    }
    m_ctrl.OnCellLeftClick(nCol, nRow, 1, &rc, &pt, nProcessed);
}

void CGridInput::CellLeftUp(int x, int y)
{
    m_bAutoScroll = false;
    m_pCaptureType = nullptr;
    m_drag = Drag::none;
    const CGridPoint pt{x, y};
    CGridRect rc;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow, &rc) != 0) {
        m_ctrl.OnCellLeftClick(-1, -1, 0, &rc, &pt, 0);
        return;
    }
    if (!IsCurrent(nCol, nRow))
        ClickMove(nCol, nRow);
    m_ctrl.BringCurrentCellIntoView();
    int nProcessed = 0;
    m_ctrl.GetCellRect(nCol, nRow, &rc);
    if (IsCurrent(nCol, nRow))
        nProcessed = CurrentCellType()->HandleLeftClick(nCol, nRow, 0, rc, pt);
    m_ctrl.OnCellLeftClick(nCol, nRow, 0, &rc, &pt, nProcessed);
}

void CGridInput::CellDoubleClick(int x, int y)
{
    const CGridPoint pt{x, y};
    CGridRect rc;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow, &rc) != 0) {
        m_ctrl.OnCellDoubleClick(-1, -1, &rc, &pt, 0);
        return;
    }
    int nProcessed = 0;
    if (IsCurrent(nCol, nRow))
        nProcessed = CurrentCellType()->HandleDoubleClick(nCol, nRow, rc, pt);
    m_ctrl.OnCellDoubleClick(nCol, nRow, &rc, &pt, nProcessed);
}

void CGridInput::CellRightDown(int x, int y)
{
    const CGridPoint pt{x, y};
    CGridRect rc;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow, &rc) != 0) {
        m_ctrl.OnCellRightClick(-1, -1, 1, &rc, &pt, 0);
    } else {
        ClickMove(nCol, nRow);
        int nProcessed = 0;
        m_ctrl.GetCellRect(nCol, nRow, &rc);
        if (IsCurrent(nCol, nRow))
            nProcessed = CurrentCellType()->HandleRightClick(nCol, nRow, 1, rc, pt);
        m_ctrl.OnCellRightClick(nCol, nRow, 1, &rc, &pt, nProcessed);
    }
    ShowMenu(nCol, nRow, kSectionCellArea, pt, kSectionCellArea);
}

void CGridInput::CellRightUp(int x, int y)
{
    const CGridPoint pt{x, y};
    CGridRect rc;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow, &rc) != 0) {
        m_ctrl.OnCellRightClick(-1, -1, 0, &rc, &pt, 0);
        return;
    }
    if (!IsCurrent(nCol, nRow))
        ClickMove(nCol, nRow);
    int nProcessed = 0;
    m_ctrl.GetCellRect(nCol, nRow, &rc);
    if (IsCurrent(nCol, nRow))
        nProcessed = CurrentCellType()->HandleRightClick(nCol, nRow, 0, rc, pt);
    m_ctrl.OnCellRightClick(nCol, nRow, 0, &rc, &pt, nProcessed);
}

// ---- moves ------------------------------------------------------------------------

void CGridInput::OnCellAreaMouseMove(int x, int y, unsigned nButtons, unsigned nModifiers)
{
    const CGridPoint pt{x, y};
    const bool bLeft = (nButtons & kGridButtonLeft) != 0;
    if (m_drag == Drag::cellType && m_pCaptureType && bLeft) {
        m_pCaptureType->HandleMouseMove(pt, static_cast<int>(nButtons));
        return;
    }
    if (m_drag == Drag::cells && bLeft) {
        m_bAutoScroll = false;
        m_nAutoModifiers = nModifiers;
        BeginEvent(kInputMouseDrag, nModifiers);
        DragOver(x, y);
        EndEvent();
        return;
    }
    if (m_drag == Drag::cells || m_drag == Drag::cellType) {
        // The release went elsewhere; the drag is over.
        OnCaptureLost();
    }
    if (nButtons != 0)
        return;
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow) != 0)
        return;
    CUGCell cell;
    m_ctrl.ResolveCell(nCol, nRow, &cell);
    m_ctrl.GetCellType(cell.GetCellType())->HandleMouseMove(pt, 0);
}

// Over a cell the drag makes it current, extending the selection; outside
// the area it starts scrolling toward the pointer.
void CGridInput::DragOver(int x, int y)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    if (x < 0 || y < 0 || x >= gl.m_nCellAreaWidth || y >= gl.m_nCellAreaHeight) {
        m_nAutoX = x;
        m_nAutoY = y;
        m_bAutoScroll = true;
        AutoScrollTo(x, y);
        return;
    }
    int nCol = -1, nRow = -1;
    if (m_ctrl.GetCellFromPoint(x, y, &nCol, &nRow) == 0)
        (void)m_ctrl.MoveCurrentCell(nCol, nRow);
}

void CGridInput::AutoScrollStep()
{
    if (!m_bAutoScroll)
        return;
    BeginEvent(kInputMouseDrag, m_nAutoModifiers);
    AutoScrollTo(m_nAutoX, m_nAutoY);
    EndEvent();
}

int CGridInput::AutoScrollDelay() const
{
    return m_bAutoSingleStep ? std::max(m_ctrl.GetGridLayout().m_nDragStepPause, 0) : 0;
}

// One auto-scroll step. q says how far outside the pointer is, in half
// default columns or default rows; the drag mode turns it into a step.
void CGridInput::AutoScrollTo(int x, int y)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const int nMode = gl.m_nDragMode;
    m_bAutoSingleStep = false;
    // Mode 1 steps q, mode 2 q squared; mode 3 q squared for columns and q
    // cubed for rows.
    auto jump = [nMode](long long q, int nDir, bool bRows) {
        q = std::min(q, kMaxAutoScrollFactor);
        long long nStep = nMode == 1 ? q : q * q;
        if (nMode == 3 && bRows)
            nStep *= q;
        return nDir * nStep;
    };

    if (x < 0 || x >= gl.m_nCellAreaWidth) {
        const int nDir = x < 0 ? -1 : 1;
        const long long nDist =
            x < 0 ? -static_cast<long long>(x) : static_cast<long long>(x) - gl.m_nCellAreaWidth;
        const long long q = nDist / std::max(gl.m_nDefColumnWidth / 2, 1);
        if (nMode == 0 || q == 0) {
            (void)m_ctrl.MoveColumn(nDir < 0 ? kMoveLeft : kMoveRight);
            m_bAutoSingleStep = true;
        } else if (gl.m_nColumnCount > 0) {
            const long long nTarget = std::clamp<long long>(
                gl.m_nCurrentColumn + jump(q, nDir, false), 0, gl.m_nColumnCount - 1);
            (void)m_ctrl.MoveCurrentCell(static_cast<int>(nTarget), gl.m_nCurrentRow);
        }
    }
    if (y < 0 || y >= gl.m_nCellAreaHeight) {
        const int nDir = y < 0 ? -1 : 1;
        const long long nDist =
            y < 0 ? -static_cast<long long>(y) : static_cast<long long>(y) - gl.m_nCellAreaHeight;
        const long long q = nDist / std::max(gl.m_nDefRowHeight, 1);
        if (nMode == 0 || q == 0) {
            (void)m_ctrl.MoveRow(nDir < 0 ? kMoveUp : kMoveDown);
            m_bAutoSingleStep = true;
        } else if (gl.m_nRowCount > 0) {
            const long long nTarget = std::clamp<long long>(gl.m_nCurrentRow + jump(q, nDir, true),
                                                            0, gl.m_nRowCount - 1);
            (void)m_ctrl.MoveCurrentCell(gl.m_nCurrentColumn, static_cast<int>(nTarget));
        }
    }
}

// ---- bringing the clicked cell into view ---------------------------------------------

void CUGCtrl::BringCurrentCellIntoView()
{
    const int bFullView = m_layout.m_bFullView;
    m_layout.m_bFullView = 1;
    const bool bRow = BringRowIntoView();
    const bool bCol = BringColumnIntoView();
    m_layout.m_bFullView = bFullView;
    if (bRow || bCol)
        ProcessCurrentCellChange();
}

} // namespace hpa
