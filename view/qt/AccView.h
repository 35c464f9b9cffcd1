#pragma once
// The program's view: the client area of the main frame. It owns no data;
// it hosts the windows of the three data grids (Job, Paper, Status), shows
// one of them or none, and routes the commands that work on the data shown:
// the data kind, Find, Copy, Export, Filters, Summary, the print commands
// and Connect to Printer, with their enabling rules.
//
// Two states: no data (kind 0, grid -1, every grid hidden; only Connect to
// Printer among the data commands is enabled) and data shown (kind 32778,
// 32779 or 32780; Connect disabled until File > New).
#include "ui/AccViewBase.h"
#include "view/qt/ViewGlobals.h"

#include <QRect>

namespace hpa {

class CGridWnd;

class CVexAccView : public CAccViewBase {
    Q_OBJECT
public:
    // A view of the program's grids (g_grids, g_nCurrentKind, ...).
    explicit CVexAccView(QWidget* pParent = nullptr);
    // A view of the given grids and state; they must outlive the view.
    explicit CVexAccView(const CViewGrids& grids, QWidget* pParent = nullptr);
    ~CVexAccView() override;

    // ---- CViewLink ------------------------------------------------------------
    int CurrentKind() const override { return *m_grids.m_pnCurrentKind; }
    int CurrentGrid() const override { return *m_grids.m_pnCurrentGrid; }
    void SetCurrent(int nKind, int nGrid) override;
    void CloseFindDialog(int nGrid) override;
    void ShowGrid(int nGrid, bool bShow) override;
    void FocusGrid(int nGrid) override;
    void SetDataKindPaneText(const QString& strText) override;

    CUGCtrl& Grid(int nIndex) override { return AccGrid(nIndex); }
    CAccGrid& AccGrid(int nIndex);
    // The grid shown, or null when no data kind is shown.
    CAccGrid* ShownGrid();
    CGridWnd* GridWnd(int nIndex);
    bool IsGridShown(int nIndex) const;

    // ---- commands ---------------------------------------------------------------
    // View > Data > Job / Paper / Status (32778..32780).
    void OnSelectDataKind(int nID);
    // Edit > Find...: the shown grid's find dialog (a second request while it
    // is open is ignored by the grid).
    void OnEditFind();
    // Edit > Copy: the shown grid's selection to the clipboard; Copy stays
    // disabled until the next click in that grid.
    void OnEditCopy();
    // The data dialogs and printing (view/qt/AccViewDataCommands.cpp).
    void OnExport();
    void OnFilters();
    void OnViewSummary();
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    // Printing state (the print job sets them; paint does not fill the
    // background while a page is printed).
    bool m_bPrinting = false;
    bool m_bPrintDirect = false;
    QRect m_rectPage;
    int m_nPage = 0;

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void CreateGrids();
    void AddCommands();
    void FitGridsToClient();
    bool IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < kDataKindCount; }

    CViewGrids m_grids;
};

} // namespace hpa
