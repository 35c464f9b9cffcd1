#include "view/qt/AccGrid.h"

#include "grid/qt/GridWnd.h"

namespace hpa {

// The window belongs to its parent; when the grid goes first, the base
// class tells the window, which then stays empty until its parent deletes it.
CAccGrid::~CAccGrid() = default;

int CAccGrid::CreateGridWnd(QWidget* pParent, const QRect& rc, int nId, bool bVisible)
{
    if (!pParent)
        return 0;
    auto* pWnd = new CGridWnd(*this);
    if (!pWnd->CreateInParent(pParent, rc, nId, bVisible)) {
        delete pWnd;
        return 0;
    }
    m_pWnd = pWnd;
    return 1;
}

CGridWnd* CAccGrid::GetGridWnd() const
{
    return m_pWnd.data();
}

int CAccGrid::AttachToDialogItem(QWidget* pDialog, int nId)
{
    auto* pWnd = new CGridWnd(*this);
    if (pWnd->AttachToDialogItem(pDialog, nId) != 0) {
        delete pWnd;
        return 1;
    }
    m_pWnd = pWnd;
    return 0;
}

void CAccGrid::OnCellLeftClick(int, int, int bDown, const CGridRect*, const CGridPoint*, int)
{
    if (!bDown)
        m_bCellClicked = true;
}

// Column widths come from the data (fitted to the texts); the user does not
// drag them, nor row heights or the headings.
int CAccGrid::CanResizeColumn(int)
{
    return 0;
}

int CAccGrid::CanResizeRow(int)
{
    return 0;
}

int CAccGrid::CanResizeTopHeading()
{
    return 0;
}

int CAccGrid::CanResizeSideHeading()
{
    return 0;
}

int CAccGrid::CompareCells(const CUGCell* pCellA, const CUGCell* pCellB)
{
    return CUGCtrl::CompareCells(pCellA, pCellB);
}

int CAccGrid::OnPrepareEdit(int nCol, int nRow, CGridRect* pRect, CUGCell* pCell, int* pnStyle,
                            int nReserved)
{
    return CUGCtrl::OnPrepareEdit(nCol, nRow, pRect, pCell, pnStyle, nReserved);
}

} // namespace hpa
