#pragma once
// What the document needs from the view: which data kind is shown
// (g_nCurrentKind, g_nCurrentGrid), showing and hiding the grids, and the
// main frame's data-kind pane. The grid view implements it.
#include <QString>

namespace hpa {

class CViewLink {
public:
    virtual ~CViewLink() = default;

    // Command id of the kind shown (32778..32780), 0 when none.
    virtual int CurrentKind() const = 0;
    // Index of the grid shown (0 job, 1 paper, 2 status), -1 when none.
    virtual int CurrentGrid() const = 0;
    // Both change together.
    virtual void SetCurrent(int nKind, int nGrid) = 0;

    // Closes the find dialog of a grid if it is open.
    virtual void CloseFindDialog(int nGrid) = 0;
    virtual void ShowGrid(int nGrid, bool bShow) = 0;
    virtual void FocusGrid(int nGrid) = 0;
    // Pane 1 of the main frame's status bar, repainted at once.
    virtual void SetDataKindPaneText(const QString& strText) = 0;
};

} // namespace hpa
