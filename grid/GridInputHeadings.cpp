// The mouse on the headings and the corner button: click notifications, and
// resizing columns, rows and the headings by dragging their edges. Every
// resize first asks its Can... notification, so a grid that refuses keeps
// the arrow pointer and never starts a drag.
#include "grid/GridInput.h"

#include "grid/UGCtrl.h"

#include <algorithm>
#include <climits>

namespace hpa {

namespace {

// How close the pointer must be to an edge to grab it.
constexpr int kEdgeGrip = 3;         // column and row edges (strictly inside)
constexpr int kCornerGrip = 5;       // one heading size
constexpr int kCornerBothGrip = 8;   // both heading sizes at once
constexpr int kMinUniformHeight = 4; // a uniform row drag never goes below this

} // namespace

int CGridInput::RowHeightOf(int nRow) const
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    if (gl.m_bUniformRowHeight)
        return gl.m_nDefRowHeight;
    if (nRow < 0 || static_cast<std::size_t>(nRow) >= gl.m_anRowHeights.size())
        return 0;
    return gl.m_anRowHeights[static_cast<std::size_t>(nRow)];
}

// The column whose right edge is near x; when the columns after it are
// narrower than the grip (hidden ones), the last of those, so a hidden
// column can be pulled open again.
int CGridInput::ColumnEdgeAt(int x) const
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const auto& widths = gl.m_anColumnWidths;
    const int nCount = std::min(gl.m_nColumnCount, static_cast<int>(widths.size()));
    long long nEdge = 0;
    for (int c = gl.m_nLeftColumn; c < nCount; ++c) {
        nEdge += widths[static_cast<std::size_t>(c)];
        if (nEdge >= x + kEdgeGrip)
            return -1;
        if (nEdge > x - kEdgeGrip) {
            while (c + 1 < nCount && widths[static_cast<std::size_t>(c) + 1] < kEdgeGrip)
                ++c;
            return c;
        }
    }
    return -1;
}

int CGridInput::RowEdgeAt(int y) const
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const int nCount = gl.m_nRowCount;
    if (gl.m_bUniformRowHeight && gl.m_nDefRowHeight < kEdgeGrip) {
        // Every row is narrower than the grip: all edges lead to the last row.
        const bool bNear =
            y > -kEdgeGrip && gl.m_nTopRow < nCount &&
            y < static_cast<long long>(nCount - gl.m_nTopRow) * gl.m_nDefRowHeight + kEdgeGrip;
        return bNear ? nCount - 1 : -1;
    }
    long long nEdge = 0;
    for (int r = gl.m_nTopRow; r < nCount; ++r) {
        nEdge += RowHeightOf(r);
        if (nEdge >= y + kEdgeGrip)
            return -1;
        if (nEdge > y - kEdgeGrip) {
            while (r + 1 < nCount && RowHeightOf(r + 1) < kEdgeGrip)
                ++r;
            return r;
        }
    }
    return -1;
}

// The corner's bottom edge sizes the top heading, its right edge the side
// heading, the bottom-right corner both.
CGridInput::Drag CGridInput::CornerEdgeAt(int x, int y)
{
    const GridLayout& gl = m_ctrl.GetGridLayout();
    const int nFromBottom = gl.m_nTopHeadingHeight - y;
    const int nFromRight = gl.m_nSideHeadingWidth - x;
    if (nFromBottom < kCornerBothGrip && nFromRight < kCornerBothGrip &&
        m_ctrl.CanResizeTopHeading() && m_ctrl.CanResizeSideHeading())
        return Drag::bothHeadings;
    if (nFromBottom < kCornerGrip && m_ctrl.CanResizeTopHeading())
        return Drag::topHeading;
    if (nFromRight < kCornerGrip && m_ctrl.CanResizeSideHeading())
        return Drag::sideHeading;
    return Drag::none;
}

CGridInput::Drag CGridInput::ResizeAt(int nSection, int x, int y, int* pnIndex)
{
    if (m_ctrl.GetGridLayout().m_nUserSizingMode <= 0)
        return Drag::none;
    int nIndex = -1;
    Drag kind = Drag::none;
    if (nSection == kSectionTopHeading) {
        nIndex = ColumnEdgeAt(x);
        if (nIndex >= 0 && m_ctrl.CanResizeColumn(nIndex))
            kind = Drag::column;
    } else if (nSection == kSectionSideHeading) {
        nIndex = RowEdgeAt(y);
        if (nIndex >= 0 && m_ctrl.CanResizeRow(nIndex))
            kind = Drag::row;
    } else if (nSection == kSectionCorner) {
        kind = CornerEdgeAt(x, y);
    }
    if (pnIndex)
        *pnIndex = nIndex;
    return kind;
}

bool CGridInput::IsResizing() const
{
    return m_drag == Drag::column || m_drag == Drag::row || m_drag == Drag::topHeading ||
           m_drag == Drag::sideHeading || m_drag == Drag::bothHeadings;
}

// ---- events -------------------------------------------------------------------------

void CGridInput::OnHeadingButton(int nSection, unsigned nButton, GridMouseAction action, int x,
                                 int y, unsigned /*nModifiers*/)
{
    if (nSection != kSectionTopHeading && nSection != kSectionSideHeading &&
        nSection != kSectionCorner)
        return;
    if (nButton == kGridButtonLeft) {
        if (action == GridMouseAction::up && IsResizing()) {
            ResizeEnd();
            return;
        }
        if (action != GridMouseAction::up) {
            int nIndex = -1;
            const Drag kind = ResizeAt(nSection, x, y, &nIndex);
            if (kind != Drag::none) {
                StartResize(kind, nIndex, x, y);
                return;
            }
        }
    } else if (nButton != kGridButtonRight) {
        return;
    }
    HeadingClick(nSection, nButton, action, x, y);
}

// Only a resize drag follows the pointer; the section does not matter then.
void CGridInput::OnHeadingMouseMove(int /*nSection*/, int x, int y, unsigned nButtons,
                                    unsigned /*nModifiers*/)
{
    if (!IsResizing())
        return;
    if ((nButtons & kGridButtonLeft) == 0) {
        // The release went elsewhere: keep what the drag reached.
        ResizeEnd();
        return;
    }
    ResizeMove(x, y);
}

// Each click notification gets 1 on the press and 0 on the release; a right
// press may then show the popup menu.
void CGridInput::HeadingClick(int nSection, unsigned nButton, GridMouseAction action, int x, int y)
{
    const bool bLeft = nButton == kGridButtonLeft;
    const bool bDouble = action == GridMouseAction::doubleClick;
    // A right double click stands for the second press.
    const int bDown = action == GridMouseAction::up ? 0 : 1;
    const CGridPoint pt{x, y};
    if (nSection == kSectionTopHeading) {
        const int nCol = ColumnAtX(x);
        if (bLeft && bDouble)
            m_ctrl.OnColumnHeadingDoubleClick(nCol);
        else if (bLeft)
            m_ctrl.OnColumnHeadingClick(nCol, bDown);
        else
            m_ctrl.OnColumnHeadingRightClick(nCol, bDown);
        if (!bLeft && bDown)
            ShowMenu(nCol, -1, nSection, pt, kSectionTopHeading);
    } else if (nSection == kSectionSideHeading) {
        const int nRow = RowAtY(y);
        if (bLeft && bDouble)
            m_ctrl.OnRowHeadingDoubleClick(nRow);
        else if (bLeft)
            m_ctrl.OnRowHeadingClick(nRow, bDown);
        else
            m_ctrl.OnRowHeadingRightClick(nRow, bDown);
        if (!bLeft && bDown)
            ShowMenu(-1, nRow, nSection, pt, kSectionSideHeading);
    } else {
        if (bLeft && bDouble)
            m_ctrl.OnCornerDoubleClick();
        else if (bLeft)
            m_ctrl.OnCornerClick(bDown);
        else
            m_ctrl.OnCornerRightClick(bDown);
        if (!bLeft && bDown)
            ShowMenu(-1, -1, nSection, pt, kSectionCorner);
    }
}

// ---- resizing -------------------------------------------------------------------------

void CGridInput::StartResize(Drag kind, int nIndex, int x, int y)
{
    m_drag = kind;
    m_nDragIndex = nIndex;
    if (kind == Drag::column) {
        m_nDragStart = x;
        m_ctrl.GetColumnWidth(nIndex, &m_nDragStartSize);
    } else if (kind == Drag::row) {
        m_nDragStart = y;
        m_nDragStartSize = RowHeightOf(nIndex);
    }
}

// Headings follow the drag at once; in sizing mode 2 the cells do too,
// in mode 1 they wait for the release.
void CGridInput::ShowResize()
{
    if (m_ctrl.GetGridLayout().m_nUserSizingMode >= 2) {
        m_ctrl.RedrawAll();
        return;
    }
    m_ctrl.GetRedrawHints().SetHeadingsChanged();
    if (CGridHost* pHost = m_ctrl.GetHost())
        pHost->UpdateChildren();
}

void CGridInput::ResizeMove(int x, int y)
{
    GridLayout& gl = m_ctrl.GetGridLayout();
    if (m_drag == Drag::column) {
        if (m_nDragIndex >= static_cast<int>(gl.m_anColumnWidths.size()))
            return;
        int nWidth = static_cast<int>(std::clamp<long long>(
            static_cast<long long>(m_nDragStartSize) + x - m_nDragStart, 0, INT_MAX));
        m_ctrl.OnColumnResizing(m_nDragIndex, &nWidth);
        gl.m_anColumnWidths[static_cast<std::size_t>(m_nDragIndex)] = std::max(nWidth, 0);
        ShowResize();
    } else if (m_drag == Drag::row) {
        if (m_nDragIndex >= gl.m_nRowCount)
            return;
        int nHeight = 0;
        if (gl.m_bUniformRowHeight) {
            // The pointer's depth shared by the rows from the top row down to
            // the dragged one.
            const int nRows = std::max(m_nDragIndex - gl.m_nTopRow + 1, 1);
            nHeight = std::max(y / nRows, kMinUniformHeight);
        } else {
            nHeight = static_cast<int>(std::clamp<long long>(
                static_cast<long long>(m_nDragStartSize) + y - m_nDragStart, 0, INT_MAX));
        }
        m_ctrl.OnRowResizing(m_nDragIndex, &nHeight);
        nHeight = std::max(nHeight, 0);
        if (gl.m_bUniformRowHeight)
            gl.m_nDefRowHeight = nHeight;
        else if (static_cast<std::size_t>(m_nDragIndex) < gl.m_anRowHeights.size())
            gl.m_anRowHeights[static_cast<std::size_t>(m_nDragIndex)] = nHeight;
        ShowResize();
    } else if (m_drag == Drag::topHeading || m_drag == Drag::sideHeading ||
               m_drag == Drag::bothHeadings) {
        // One relayout with painting held back, then every child repaints.
        const bool bPaint = gl.m_bPaintEnabled != 0;
        if (bPaint)
            m_ctrl.EnableGridPaint(0);
        if (m_drag != Drag::sideHeading)
            m_ctrl.SetTopHeadingHeight(std::max(y, 0));
        if (m_drag != Drag::topHeading)
            m_ctrl.SetSideHeadingWidth(std::max(x, 0));
        if (bPaint)
            m_ctrl.EnableGridPaint(1);
    }
}

void CGridInput::ResizeEnd()
{
    const Drag kind = m_drag;
    const int nIndex = m_nDragIndex;
    m_drag = Drag::none;
    m_nDragIndex = -1;
    const GridLayout& gl = m_ctrl.GetGridLayout();
    if (kind == Drag::column && nIndex < gl.m_nColumnCount) {
        int nWidth = 0;
        m_ctrl.GetColumnWidth(nIndex, &nWidth);
        m_ctrl.CalcMaxLeftColumn();
        m_ctrl.RedrawAll();
        m_ctrl.OnColumnResized(nIndex, &nWidth);
        m_ctrl.SetColumnWidth(nIndex, std::max(nWidth, 0));
    } else if (kind == Drag::row && nIndex < gl.m_nRowCount) {
        int nHeight = RowHeightOf(nIndex);
        m_ctrl.CalcMaxTopRow();
        m_ctrl.RedrawAll();
        m_ctrl.OnRowResized(nIndex, &nHeight);
        if (gl.m_bUniformRowHeight)
            m_ctrl.SetDefaultRowHeight(std::max(nHeight, 0));
        else
            m_ctrl.SetRowHeight(nIndex, std::max(nHeight, 0));
    }
}

// ---- per-section entry points ------------------------------------------------------

void CGridInput::OnTopHeadingButton(unsigned nButton, GridMouseAction action, int x, int y,
                                    unsigned nMods)
{
    OnHeadingButton(kSectionTopHeading, nButton, action, x, y, nMods);
}

void CGridInput::OnTopHeadingMouseMove(int x, int y, unsigned nButtons, unsigned nMods)
{
    OnHeadingMouseMove(kSectionTopHeading, x, y, nButtons, nMods);
}

void CGridInput::OnSideHeadingButton(unsigned nButton, GridMouseAction action, int x, int y,
                                     unsigned nMods)
{
    OnHeadingButton(kSectionSideHeading, nButton, action, x, y, nMods);
}

void CGridInput::OnSideHeadingMouseMove(int x, int y, unsigned nButtons, unsigned nMods)
{
    OnHeadingMouseMove(kSectionSideHeading, x, y, nButtons, nMods);
}

void CGridInput::OnCornerButton(unsigned nButton, GridMouseAction action, int x, int y,
                                unsigned nMods)
{
    OnHeadingButton(kSectionCorner, nButton, action, x, y, nMods);
}

void CGridInput::OnCornerMouseMove(int x, int y, unsigned nButtons, unsigned nMods)
{
    OnHeadingMouseMove(kSectionCorner, x, y, nButtons, nMods);
}

} // namespace hpa
