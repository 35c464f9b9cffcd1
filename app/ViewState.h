#pragma once
// A stand-in for the grid view until its windows exist: it keeps which data
// kind is shown (the view's g_nCurrentKind / g_nCurrentGrid), holds three
// windowless grids for the document, serves the view's enabling rules and
// data-kind switching, and paints the client area white. The grid view
// replaces it by implementing CAccViewBase itself.
#include "app/AccViewBase.h"

#include <array>
#include <memory>

namespace hpa {

class CViewState : public CAccViewBase {
    Q_OBJECT
public:
    explicit CViewState(QWidget* pParent = nullptr);
    ~CViewState() override;

    // CViewLink
    int CurrentKind() const override { return m_nCurrentKind; }
    int CurrentGrid() const override { return m_nCurrentGrid; }
    void SetCurrent(int nKind, int nGrid) override;
    void CloseFindDialog(int nGrid) override;
    void ShowGrid(int nGrid, bool bShow) override;
    void FocusGrid(int nGrid) override;
    void SetDataKindPaneText(const QString& strText) override;

    CUGCtrl& Grid(int nIndex) override;

    // What a grid window would hold: shown or hidden, clicked since the
    // last copy.
    bool IsGridShown(int nGrid) const;
    void SetCellClicked(int nGrid, bool bClicked);
    bool IsCellClicked(int nGrid) const;

private:
    int m_nCurrentKind = 0;
    int m_nCurrentGrid = -1;
    std::array<std::unique_ptr<CUGCtrl>, 3> m_grids;
    std::array<bool, 3> m_bShown{};
    std::array<bool, 3> m_bCellClicked{};
};

} // namespace hpa
