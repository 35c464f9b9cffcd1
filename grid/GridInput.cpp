// CGridInput: what every event shares (input source and modifiers), focus,
// the popup menu, positions to columns and rows in the headings, and the
// pointer shape.
#include "grid/GridInput.h"

#include "grid/UGCtrl.h"

namespace hpa {

CGridInput::CGridInput(CUGCtrl& ctrl) : m_ctrl(ctrl) {}

CGridInput::~CGridInput() = default;

// The input source and the modifiers steer how a move updates the
// selection; they hold only while the event is being handled.
void CGridInput::BeginEvent(int nSource, unsigned nModifiers)
{
    GridLayout& gl = m_ctrl.GetGridLayout();
    gl.m_nInputSource = nSource;
    gl.m_bShiftDown = (nModifiers & kGridModShift) != 0;
    gl.m_bControlDown = (nModifiers & kGridModControl) != 0;
}

void CGridInput::EndEvent()
{
    GridLayout& gl = m_ctrl.GetGridLayout();
    gl.m_nInputSource = kInputProgram;
    gl.m_bShiftDown = false;
    gl.m_bControlDown = false;
    gl.m_bFullView = 1;
}

CGridCellType* CGridInput::CurrentCellType()
{
    return m_ctrl.GetCellType(m_ctrl.GetGridLayout().m_currentCell.GetCellType());
}

bool CGridInput::IsCurrent(int nCol, int nRow) const
{
    return nCol == m_ctrl.GetCurrentColumn() && nRow == m_ctrl.GetCurrentRow();
}

// ---- focus ----------------------------------------------------------------------

void CGridInput::OnFocusIn()
{
    m_bHasFocus = true;
    m_ctrl.RedrawCell(m_ctrl.GetCurrentColumn(), m_ctrl.GetCurrentRow());
}

void CGridInput::OnFocusOut()
{
    m_bHasFocus = false;
    m_ctrl.RedrawCell(m_ctrl.GetCurrentColumn(), m_ctrl.GetCurrentRow());
}

void CGridInput::OnCaptureLost()
{
    m_drag = Drag::none;
    m_pCaptureType = nullptr;
    m_bAutoScroll = false;
    EndEvent();
}

// ---- popup menu --------------------------------------------------------------------

// nMenuSection is what CanShowMenu hears (1 cell area, 2 top heading, 3 side
// heading, 4 corner); nSection says which child the point belongs to.
void CGridInput::ShowMenu(int nCol, int nRow, int nSection, CGridPoint pt, int nMenuSection)
{
    if (!m_ctrl.GetGridLayout().m_bPopupMenus)
        return;
    if (m_ctrl.CanShowMenu(nCol, nRow, nMenuSection) != 1)
        return;
    m_nMenuCol = nCol;
    m_nMenuRow = nRow;
    m_nMenuSection = nMenuSection;
    if (m_fnShowMenu)
        m_fnShowMenu(nSection, pt);
}

void CGridInput::OnMenuCommand(int nId)
{
    if (nId >= 1000)
        m_ctrl.OnMenuCommand(m_nMenuCol, m_nMenuRow, m_nMenuSection, nId);
}

// ---- heading positions ------------------------------------------------------------

// Walks the widths from the left column; -1 right of the last column.
int CGridInput::ColumnAtX(int x) const
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    if (x < 0)
        return -1;
    long long nRight = 0;
    for (int c = gl.m_nLeftColumn; c < gl.m_nColumnCount; ++c) {
        nRight += gl.m_anColumnWidths[static_cast<std::size_t>(c)];
        if (x < nRight)
            return c;
        if (nRight > gl.m_nCellAreaWidth)
            break;
    }
    return -1;
}

// Walks the heights from the top row; -1 below the last row.
int CGridInput::RowAtY(int y) const
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    if (y < 0)
        return -1;
    if (gl.m_bUniformRowHeight) {
        const int h = gl.m_nDefRowHeight;
        if (h <= 0)
            return -1;
        const long long nRow = gl.m_nTopRow + static_cast<long long>(y) / h;
        return nRow < gl.m_nRowCount ? static_cast<int>(nRow) : -1;
    }
    long long nBottom = 0;
    for (int r = gl.m_nTopRow; r < gl.m_nRowCount; ++r) {
        nBottom += gl.m_anRowHeights[static_cast<std::size_t>(r)];
        if (y < nBottom)
            return r;
        if (nBottom > gl.m_nCellAreaHeight)
            break;
    }
    return -1;
}

// ---- pointer shape ------------------------------------------------------------------

GridCursor CGridInput::CursorAt(int nSection, int x, int y)
{
    Drag kind = m_drag;
    if (kind == Drag::none || kind == Drag::cells || kind == Drag::cellType)
        kind = ResizeAt(nSection, x, y, nullptr);
    switch (kind) {
    case Drag::column:
    case Drag::sideHeading:
        return GridCursor::sizeWE;
    case Drag::row:
    case Drag::topHeading:
        return GridCursor::sizeNS;
    case Drag::bothHeadings:
        return GridCursor::sizeNWSE;
    default:
        return GridCursor::arrow;
    }
}

} // namespace hpa
