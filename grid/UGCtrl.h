#pragma once
// The grid control without its windows: cells and defaults, layout, the
// current cell, the visible origin, scrolling, selection and notifications.
// It works with no window at all; the window layer attaches a CGridHost and
// feeds it the client size, scroll bar messages, keys and clicks.
//
// Operations return kGridDone, kGridRefused when refused or out of range,
// kGridVetoed when a notification vetoed them.
#include "grid/GridCellType.h"
#include "grid/GridCopy.h"
#include "grid/GridDC.h"
#include "grid/GridFind.h"
#include "grid/GridHost.h"
#include "grid/GridLayout.h"
#include "grid/GridSelection.h"
#include "grid/GridStore.h"
#include "grid/UGCell.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hpa {

class CArchive;
class CGridEditWnd; // the in-place edit window (never created by this program)

// Results of the control's operations. The numbers are part of the
// control's interface (derived classes and older callers compare them).
constexpr int kGridDone = 0, kGridRefused = 1, kGridVetoed = 2;
// MoveRow, MoveColumn, ScrollRows and ScrollColumns given a code they do not know.
constexpr int kGridUnknownCode = 3;

// Codes of MoveRow / ScrollRows (and the column counterparts).
constexpr int kMoveUp = 0, kMoveDown = 1, kMovePageUp = 2, kMovePageDown = 3, kMoveFirst = 4,
              kMoveLast = 5;
constexpr int kMoveLeft = 0, kMoveRight = 1, kMovePageLeft = 2, kMovePageRight = 3;

// Sections of the control (OnPrepareDC, CanShowMenu).
constexpr int kSectionCellArea = 1, kSectionTopHeading = 2, kSectionSideHeading = 3,
              kSectionCorner = 4;

// Scroll bar messages as the window layer reports them.
enum class GridScrollCode {
    lineUp,
    lineDown,
    pageUp,
    pageDown,
    top,
    bottom,
    thumbTrack,
    thumbPosition,
    endScroll
};

class CUGCtrl {
public:
    CUGCtrl();
    virtual ~CUGCtrl();
    CUGCtrl(const CUGCtrl&) = delete;
    CUGCtrl& operator=(const CUGCtrl&) = delete;

    // ---- windows ----------------------------------------------------------
    // The window layer (null = none). Not owned.
    void SetHost(CGridHost* pHost);
    CGridHost* GetHost() const { return m_pHost; }
    // Measuring without a window: devices from this factory (default: a
    // fixed-advance measurer). A host's own measure DC is preferred.
    void SetMeasureDCFactory(std::function<std::unique_ptr<CGridDC>()> factory);
    std::unique_ptr<CGridDC> CreateMeasureDC();

    // The control's client size; runs the layout pass.
    void SetClientSize(int nWidth, int nHeight);
    int ClientWidth() const { return m_nClientWidth; }
    int ClientHeight() const { return m_nClientHeight; }
    void Layout();
    const CGridChildRects& GetChildRects() const { return m_childRects; }

    GridLayout& GetGridLayout() { return m_layout; }
    const GridLayout& GetGridLayout() const { return m_layout; }
    CGridRedrawHints& GetRedrawHints() { return m_hints; }

    // ---- cells (no bounds beyond the counts; negative = headings) ----------
    int ColumnCount() const { return m_layout.m_nColumnCount; }
    int RowCount() const { return m_layout.m_nRowCount; }
    int ReadCell(int nCol, int nRow, CUGCell* pCell);
    int WriteCell(int nCol, int nRow, const CUGCell* pCell);
    int ResolveCell(int nCol, int nRow, CUGCell* pCell);
    int SetCellText(int nCol, int nRow, std::string_view str);
    // SetCellText for readers filling a grid with a million cells: the text
    // goes straight into the store's cell, without OnWriteCell.
    int FillCellText(int nCol, int nRow, std::string_view str);
    int SetCellBackColor(int nCol, int nRow, COLORREF cr);
    // Precondition: 0 <= nCol < ColumnCount (anything else returns 1).
    int GetColumnDefaults(int nCol, CUGCell* pCell);
    int SetColumnDefaults(int nCol, const CUGCell* pCell);
    int GetGridDefaults(CUGCell* pCell);
    int SetGridDefaults(const CUGCell* pCell);
    int GetHeadingDefaults(CUGCell* pCell);
    int SetHeadingDefaults(const CUGCell* pCell);
    // Slot 1..4, or the built-in store when that slot is empty.
    CGridStore* GetStore(int nIndex);
    CGridMemStore* GetMemStore() { return m_pMemStore.get(); }
    // One int32 alignment per column.
    void Serialize(CArchive& ar);

    // ---- layout -----------------------------------------------------------
    int SetColumnCount(int nCount);
    int SetRowCount(int nCount);
    int SetColumnWidth(int nCol, int nWidth);
    int GetColumnWidth(int nCol, int* pnWidth) const;
    int SetDefaultColumnWidth(int nWidth);
    int FitColumnWidths(int nFirst, int nLast, int nRows);
    int SetDefaultRowHeight(int nHeight);
    int GetDefaultRowHeight() const { return m_layout.m_nDefRowHeight; }
    int UseOneRowHeight(int bUniform);
    int SetRowHeight(int nRow, int nHeight);
    int GetRowHeight(int nRow, int* pnHeight) const;
    int InsertRowAt(int nRow);
    int SetTopHeadingHeight(int nHeight);
    int SetSideHeadingWidth(int nWidth);
    int SetVScrollBarWidth(int nWidth);
    int SetHScrollBarHeight(int nHeight);

    int GetMaxTopRow() const { return m_layout.m_nMaxTopRow; }
    int GetMaxLeftColumn() const { return m_layout.m_nMaxLeftColumn; }
    // Recompute the maxima (and pull the origin back); 1 when a bar's need
    // changed.
    int CalcMaxTopRow();
    int CalcMaxLeftColumn();

    // ---- current cell and view ----------------------------------------------
    int GetCurrentColumn() const { return m_layout.m_nCurrentColumn; }
    int GetCurrentRow() const { return m_layout.m_nCurrentRow; }
    int GetTopRow() const { return m_layout.m_nTopRow; }
    int GetLeftColumn() const { return m_layout.m_nLeftColumn; }
    // Moves and scrolls: kGridDone (also when nothing had to change, except
    // for ScrollRows / ScrollColumns / SetTopRow, which refuse a scroll to
    // where the view already is), kGridRefused, kGridVetoed or
    // kGridUnknownCode.
    [[nodiscard]] int MoveCurrentCell(int nCol, int nRow);
    [[nodiscard]] int MoveRow(int nCode);
    [[nodiscard]] int MoveColumn(int nCode);
    [[nodiscard]] int ScrollRows(int nCode);
    [[nodiscard]] int ScrollColumns(int nCode);
    [[nodiscard]] int SetTopRow(int nRow);
    [[nodiscard]] int SetLeftColumn(int nCol);
    // The current-cell change processing (also after focus gain).
    void ProcessCurrentCellChange();

    // ---- scroll bars ----------------------------------------------------------
    CGridScrollInfo GetVScrollInfo() const;
    CGridScrollInfo GetHScrollInfo() const;
    // A vertical thumb position back to a top row (scaled bars).
    int VScrollPosToRow(int nPos) const;
    // A scroll bar message. Returns 1 when the scroll tip should show the
    // text put into *pstrTip (thumb dragged with tips on), else 0.
    int OnVScrollBar(GridScrollCode code, int nPos, std::string* pstrTip);
    int OnHScrollBar(GridScrollCode code, int nPos, std::string* pstrTip);
    void UseVScrollTips(int bOn) { m_layout.m_bVScrollTips = bOn ? 1 : 0; }
    void UseHScrollTips(int bOn) { m_layout.m_bHScrollTips = bOn ? 1 : 0; }
    int SetVScrollMode(int nMode);
    int SetHScrollMode(int nMode);

    // ---- geometry -------------------------------------------------------------
    // Cell-area pixels to a cell (a joined block's origin and whole rectangle).
    int GetCellFromPoint(int x, int y, int* pnCol, int* pnRow, CGridRect* pRect = nullptr);
    // Rectangle relative to the cell area's origin.
    int GetCellRect(int nCol, int nRow, CGridRect* pRect);
    // For a cell in a joined block, its origin (else the cell itself); 1 when
    // the cell is not joined.
    int GetJoinStartCell(int* pnCol, int* pnRow);
    // The block's inclusive range (the cell itself when not joined).
    int GetJoinRange(int* pnCol, int* pnRow, int* pnCol2, int* pnRow2);

    // ---- selection ------------------------------------------------------------
    int AllowRangeSelection(int bAllow);
    int SetMultiSelectMode(int bRows); // whole-row selection on / off
    int IsSelected(int nCol, int nRow) const;
    int ClearSelection();
    CGridSelection& GetSelection() { return m_selection; }
    const CGridSelection& GetSelection() const { return m_selection; }
    // The selected cells in copy order (just the current cell with no selection).
    void EnumerateSelection(const std::function<bool(int, int)>& fn) const;

    // ---- appearance -------------------------------------------------------------
    int EnableGridPaint(int bEnable);
    int SetGridFont(const CGridFont& font);
    const CGridFont& GetGridFont() const { return m_layout.m_font; }
    int SetDragMode(int nMode);
    int UseOffscreenPaint(int bOn);
    int SetCurrentCellStyle(int nStyle);
    int SetUserSizingMode(int nMode);
    int SetInputSource(int nSource);
    void RedrawAll();
    // The system colours changed (SetGridSysColor): default, heading and
    // column default cells whose colours still are the system colours they
    // were given take the new ones; colours the program set stay. Then every
    // cell type hears of it and the grid redraws.
    void OnSysColorChange();
    // Marks one cell (or one range) for repainting and lets the window paint it.
    void RedrawCell(int nCol, int nRow);
    void RedrawRange(const CGridRange& range);
    // The drawing pass reached the last row: a store that adds rows on
    // demand may add some now. Returns how many it added.
    int AskForRowsPastEnd() { return AskStoreForRows(1); }

    // ---- input / find / copy ------------------------------------------------------
    // After a click: scroll so the current cell shows fully (full-view rule).
    void BringCurrentCellIntoView();
    // The modeless find dialog (see CGridFind): 1 when one is already open.
    int OpenFindDialog() { return m_find.Open(); }
    // 1 when an open dialog was closed, else 0.
    int CloseFindDialog() { return m_find.Close(); }
    int IsFindDialogOpen() const { return m_find.IsDialogOpen() ? 1 : 0; }
    CGridFind& GetFind() { return m_find; }
    // The store searches run in (the current slot, else the built-in one).
    CGridStore* GetCurrentStore() { return CurrentStore(); }
    // Where CopySelectionToClipboard puts its text (null = nowhere). Not owned.
    void SetClipboard(CGridClipboard* pClipboard) { m_pClipboard = pClipboard; }
    // The selection's text onto the clipboard, then the selection cleared and
    // the grid redrawn; 0.
    int CopySelectionToClipboard();

    // ---- cell types ---------------------------------------------------------------
    // The type a cell names: a registered id above 0, else the normal type.
    CGridCellType* GetCellType(int nId);
    int AddCellType(std::unique_ptr<CGridCellType> pType);

    // ---- notifications ----------------------------------------------------------
    virtual void OnGridSetup() {}
    virtual int CanMoveCurrent(int /*nOldCol*/, int /*nOldRow*/, int /*nNewCol*/, int /*nNewRow*/)
    {
        return 1;
    }
    virtual int CanScrollView(int /*nOldLeft*/, int /*nOldTop*/, int /*nNewLeft*/, int /*nNewTop*/)
    {
        return 1;
    }
    virtual void OnPastLastRow(int /*nRowCount*/, int /*nBeyond*/, int /*nAdded*/) {}
    virtual void OnBeforeFirstRow(int /*nRowCount*/, int /*nRequested*/) {}
    virtual int CanResizeColumn(int /*nCol*/) { return 1; }
    virtual void OnColumnResizing(int /*nCol*/, int* /*pnWidth*/) {}
    virtual void OnColumnResized(int /*nCol*/, int* /*pnWidth*/) {}
    virtual int CanResizeRow(int /*nRow*/) { return 1; }
    virtual void OnRowResizing(int /*nRow*/, int* /*pnHeight*/) {}
    virtual void OnRowResized(int /*nRow*/, int* /*pnHeight*/) {}
    virtual int CanResizeTopHeading() { return 1; }
    virtual int CanResizeSideHeading() { return 1; }
    virtual int OnTopHeadingResizing(int* /*pnHeight*/) { return 1; }
    virtual int OnSideHeadingResizing(int* /*pnWidth*/) { return 1; }
    virtual void OnColumnChanged(int /*nOldCol*/, int /*nNewCol*/) {}
    virtual void OnRowChanged(int /*nOldRow*/, int /*nNewRow*/) {}
    virtual void OnCellChanged(int /*nOldCol*/, int /*nNewCol*/, int /*nOldRow*/, int /*nNewRow*/)
    {
    }
    virtual void OnLeftColumnChanged(int /*nOld*/, int /*nNew*/) {}
    virtual void OnTopRowChanged(int /*nOld*/, int /*nNew*/) {}
    virtual void OnCellLeftClick(int /*nCol*/, int /*nRow*/, int /*bDown*/,
                                 const CGridRect* /*pRect*/, const CGridPoint* /*pPoint*/,
                                 int /*nProcessed*/)
    {
    }
    virtual void OnCellRightClick(int /*nCol*/, int /*nRow*/, int /*bDown*/,
                                  const CGridRect* /*pRect*/, const CGridPoint* /*pPoint*/,
                                  int /*nProcessed*/)
    {
    }
    virtual void OnCellDoubleClick(int /*nCol*/, int /*nRow*/, const CGridRect* /*pRect*/,
                                   const CGridPoint* /*pPoint*/, int /*nProcessed*/)
    {
    }
    virtual void OnColumnHeadingClick(int /*nCol*/, int /*bDown*/) {}
    virtual void OnColumnHeadingRightClick(int /*nCol*/, int /*bDown*/) {}
    virtual void OnColumnHeadingDoubleClick(int /*nCol*/) {}
    virtual void OnRowHeadingClick(int /*nRow*/, int /*bDown*/) {}
    virtual void OnRowHeadingRightClick(int /*nRow*/, int /*bDown*/) {}
    virtual void OnRowHeadingDoubleClick(int /*nRow*/) {}
    virtual void OnCornerClick(int /*bDown*/) {}
    virtual void OnCornerRightClick(int /*bDown*/) {}
    virtual void OnCornerDoubleClick() {}
    virtual void OnGridKeyDown(int* /*pnKey*/, int /*nProcessed*/) {}
    virtual void OnGridChar(int* /*pnChar*/, int /*nProcessed*/) {}
    virtual void OnResolveCell(int /*nCol*/, int /*nRow*/, CUGCell* /*pCell*/) {}
    virtual void OnWriteCell(int /*nCol*/, int /*nRow*/, const CUGCell* /*pCell*/) {}
    virtual void OnStoreNotify(int /*n1*/, int /*n2*/, int /*n3*/) {}
    virtual void OnCellTypeEvent(int /*nTypeId*/, int /*nCol*/, int /*nRow*/, int /*nMsg*/,
                                 int /*nParam*/)
    {
    }
    virtual int CanStartEdit(int /*nCol*/, int /*nRow*/, CGridEditWnd* /*pEdit*/) { return 1; }
    virtual int CanAcceptEditKey(int /*nCol*/, int /*nRow*/, CGridEditWnd* /*pEdit*/,
                                 int* /*pnKey*/)
    {
        return 1;
    }
    virtual int CanFinishEdit(int /*nCol*/, int /*nRow*/, CGridEditWnd* /*pEdit*/) { return 1; }
    virtual int CanContinueEdit(int /*nCol*/, int /*nRow*/, int* /*pnNewCol*/, int* /*pnNewRow*/)
    {
        return 1;
    }
    virtual void OnMenuCommand(int /*nCol*/, int /*nRow*/, int /*nSection*/, int /*nId*/) {}
    virtual int CanShowMenu(int /*nCol*/, int /*nRow*/, int /*nSection*/) { return 1; }
    virtual int OnHeadingHint(int /*n1*/, int /*n2*/, int /*n3*/) { return 1; }
    virtual int OnVScrollTip(int /*nRow*/, int /*nPercent*/, std::string* /*pstrTip*/) { return 1; }
    virtual int OnHScrollTip(int /*nCol*/, int /*nPercent*/, std::string* /*pstrTip*/) { return 1; }
    virtual void OnPrepareDC(CGridDC* /*pDC*/, int /*nSection*/) {}
    // Locale-aware, case-sensitive comparison of the texts.
    virtual int CompareCells(const CUGCell* pCellA, const CUGCell* pCellB);
    virtual int OnPrepareEdit(int /*nCol*/, int /*nRow*/, CGridRect* /*pRect*/, CUGCell* /*pCell*/,
                              int* /*pnStyle*/, int /*nReserved*/)
    {
        return 0;
    }

protected:
    GridLayout m_layout;

private:
    CGridStore* CurrentStore();
    CGridStore* StoreForSlot(int nIndex);
    void Remap(int nCol, int* pnStoreCol, CGridStore** ppStore);

    // Sizes and pixel sums.
    int RowHeightAt(int nRow) const;
    int ColumnWidthAt(int nCol) const;
    long long RowSpan(int nFrom, int nTo, long long nCap) const;
    long long ColumnSpan(int nFrom, int nTo, long long nCap) const;
    int RowAtOffset(int nFrom, long long y, long long* pnRowTop) const;
    int ColumnAtOffset(int nFrom, long long x, long long* pnColLeft) const;

    // Moves, scrolls and their processing.
    bool BringRowIntoView();
    bool BringColumnIntoView();
    void UpdateChildren(bool bCellChanged);
    void AddCurrentCellHints(int nCol, int nRow);
    void HintSelection();
    void UpdateScrollBars();
    void UpdateSelectionFor(int nCol, int nRow);
    void RefreshCurrentCellCache();
    int AskStoreForRows(int nMissing);
    void NotePastLastRow(int nBeyond);
    int ApplyMove(int nCol, int nRow);
    int ChangeTopRow(int nRow);
    int ChangeLeftColumn(int nCol);

    CGridHost* m_pHost = nullptr;
    std::function<std::unique_ptr<CGridDC>()> m_measureFactory;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    bool m_bInLayout = false;
    CGridChildRects m_childRects;
    CGridRedrawHints m_hints;
    CGridScrollInfo m_lastVScroll;
    CGridScrollInfo m_lastHScroll;

    GridSysColors m_sysColors; // the system colours the cells were last given
    std::unique_ptr<CGridMemStore> m_pMemStore;
    std::array<CGridStore*, 5> m_apStores{};
    int m_nCurrentStore = 0;

    std::vector<std::unique_ptr<CGridCellType>> m_cellTypes;
    CGridSelection m_selection;
    CUGCell m_scratch;
    CGridFind m_find{*this};
    CGridClipboard* m_pClipboard = nullptr;
};

} // namespace hpa
