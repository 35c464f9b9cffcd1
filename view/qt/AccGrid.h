#pragma once
// The program's grid: the grid control with one flag of its own and the
// user's column and row sizing switched off. Every data grid and the summary
// grid is one of these.
#include "grid/UGCtrl.h"

#include <QPointer>

class QRect;
class QWidget;

namespace hpa {

class CGridWnd;

class CAccGrid : public CUGCtrl {
public:
    CAccGrid() = default;
    ~CAccGrid() override;

    // Set whenever the left button goes up in the cell area (on a cell or
    // not); cleared by Copy. Edit > Copy is enabled only while it is set.
    bool m_bCellClicked = false;

    // Makes the grid's window as a child of pParent at rc with control id
    // nId. Nonzero on success. A window made earlier stays where it is.
    int CreateGridWnd(QWidget* pParent, const QRect& rc, int nId, bool bVisible);
    // Takes over a dialog's placeholder control nId (0 when done).
    int AttachToDialogItem(QWidget* pDialog, int nId);
    // The window made last, or null once its parent has deleted it.
    CGridWnd* GetGridWnd() const;

    void OnCellLeftClick(int nCol, int nRow, int bDown, const CGridRect* pRect,
                         const CGridPoint* pPoint, int nProcessed) override;
    int CanResizeColumn(int nCol) override;
    int CanResizeRow(int nRow) override;
    int CanResizeTopHeading() override;
    int CanResizeSideHeading() override;
    int CompareCells(const CUGCell* pCellA, const CUGCell* pCellB) override;
    int OnPrepareEdit(int nCol, int nRow, CGridRect* pRect, CUGCell* pCell, int* pnStyle,
                      int nReserved) override;

private:
    QPointer<CGridWnd> m_pWnd;
};

} // namespace hpa
