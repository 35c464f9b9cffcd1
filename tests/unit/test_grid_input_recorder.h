#pragma once
// A recording grid that also writes down the input notifications, a cell
// type that reports what it sees, and a window layer stand-in, for the
// input, find and copy tests.
#include "grid/GridInput.h"
#include "grid/UGCtrl.h"
#include "test_grid_recorder.h"

#include <string>
#include <vector>

namespace hpa::test {

class CInputGrid : public CRecordingGrid {
public:
    // What each notification answers.
    int m_bCanResize = 1;
    int m_bCanShowMenu = 1;
    int m_nResizedOverride = -1; // OnColumnResized / OnRowResized set this when >= 0
    // Input source and modifiers seen by the last OnCellChanged.
    int m_nSourceAtChange = -1;
    bool m_bShiftAtChange = false;
    int m_nKeyChangeTo = 0; // OnGridKeyDown replaces the key with this when nonzero

    void OnCellChanged(int c0, int c1, int r0, int r1) override
    {
        m_nSourceAtChange = GetGridLayout().m_nInputSource;
        m_bShiftAtChange = GetGridLayout().m_bShiftDown;
        CRecordingGrid::OnCellChanged(c0, c1, r0, r1);
    }
    void OnCellLeftClick(int c, int r, int bDown, const CGridRect*, const CGridPoint* pt,
                         int n) override
    {
        Note("OnCellLeftClick", {c, r, bDown, pt->x, pt->y, n});
    }
    void OnCellRightClick(int c, int r, int bDown, const CGridRect*, const CGridPoint*,
                          int n) override
    {
        Note("OnCellRightClick", {c, r, bDown, n});
    }
    void OnCellDoubleClick(int c, int r, const CGridRect*, const CGridPoint*, int n) override
    {
        Note("OnCellDoubleClick", {c, r, n});
    }
    void OnColumnHeadingClick(int c, int b) override { Note("OnColumnHeadingClick", {c, b}); }
    void OnColumnHeadingRightClick(int c, int b) override
    {
        Note("OnColumnHeadingRightClick", {c, b});
    }
    void OnColumnHeadingDoubleClick(int c) override { Note("OnColumnHeadingDoubleClick", {c}); }
    void OnRowHeadingClick(int r, int b) override { Note("OnRowHeadingClick", {r, b}); }
    void OnRowHeadingRightClick(int r, int b) override { Note("OnRowHeadingRightClick", {r, b}); }
    void OnRowHeadingDoubleClick(int r) override { Note("OnRowHeadingDoubleClick", {r}); }
    void OnCornerClick(int b) override { Note("OnCornerClick", {b}); }
    void OnCornerRightClick(int b) override { Note("OnCornerRightClick", {b}); }
    void OnCornerDoubleClick() override { Note("OnCornerDoubleClick", {}); }
    void OnGridKeyDown(int* pKey, int n) override
    {
        Note("OnGridKeyDown", {*pKey, n});
        if (m_nKeyChangeTo)
            *pKey = m_nKeyChangeTo;
    }
    void OnGridChar(int* pChar, int n) override { Note("OnGridChar", {*pChar, n}); }
    int CanShowMenu(int c, int r, int s) override
    {
        Note("CanShowMenu", {c, r, s});
        return m_bCanShowMenu;
    }
    void OnMenuCommand(int c, int r, int s, int id) override
    {
        Note("OnMenuCommand", {c, r, s, id});
    }
    int CanResizeColumn(int c) override
    {
        Note("CanResizeColumn", {c});
        return m_bCanResize;
    }
    void OnColumnResizing(int c, int* w) override { Note("OnColumnResizing", {c, *w}); }
    void OnColumnResized(int c, int* w) override
    {
        Note("OnColumnResized", {c, *w});
        if (m_nResizedOverride >= 0)
            *w = m_nResizedOverride;
    }
    int CanResizeRow(int r) override
    {
        Note("CanResizeRow", {r});
        return m_bCanResize;
    }
    void OnRowResizing(int r, int* h) override { Note("OnRowResizing", {r, *h}); }
    void OnRowResized(int r, int* h) override
    {
        Note("OnRowResized", {r, *h});
        if (m_nResizedOverride >= 0)
            *h = m_nResizedOverride;
    }
    int CanResizeTopHeading() override { return m_bCanResize; }
    int CanResizeSideHeading() override { return m_bCanResize; }

    // Only the notifications whose names start with one of these prefixes.
    std::vector<std::string> TakeOnly(std::initializer_list<const char*> prefixes)
    {
        std::vector<std::string> out;
        for (const std::string& str : Take()) {
            for (const char* psz : prefixes) {
                if (str.rfind(psz, 0) == 0) {
                    out.push_back(str);
                    break;
                }
            }
        }
        return out;
    }

private:
    void Note(const char* pszName, std::initializer_list<int> args)
    {
        std::string str = std::string(pszName) + "(";
        const char* pszSep = "";
        for (int n : args) {
            str += pszSep + std::to_string(n);
            pszSep = ",";
        }
        m_log.push_back(str + ")");
    }
};

// The program's grid class refuses every kind of resizing by mouse; this
// stands in for it.
class CNoResizeGrid : public CUGCtrl {
public:
    int CanResizeColumn(int) override { return 0; }
    int CanResizeRow(int) override { return 0; }
    int CanResizeTopHeading() override { return 0; }
    int CanResizeSideHeading() override { return 0; }
    void OnColumnResizing(int, int*) override { ++m_nResizing; }
    void OnRowResizing(int, int*) override { ++m_nResizing; }
    void OnColumnHeadingClick(int c, int b) override { m_clicks.push_back(c * 10 + b); }
    int m_nResizing = 0;
    std::vector<int> m_clicks;
};

// A cell type (id 7) that answers with a fixed result and writes down what
// it sees.
class CProbeCellType : public CGridCellType {
public:
    int GetTypeId() const override { return 7; }
    int HandleLeftClick(int c, int r, int bDown, const CGridRect&, CGridPoint) override
    {
        m_seen.push_back("L" + std::to_string(c) + "," + std::to_string(r) + "," +
                         std::to_string(bDown));
        return m_nAnswer;
    }
    int HandleKeyDown(int* pKey) override
    {
        m_seen.push_back("K" + std::to_string(*pKey));
        if (m_nKeyTo)
            *pKey = m_nKeyTo;
        return 5;
    }
    int HandleChar(int* pChar) override
    {
        m_seen.push_back("C" + std::to_string(*pChar));
        return 6;
    }
    int HandleMouseMove(CGridPoint pt, int nButtons) override
    {
        m_seen.push_back("M" + std::to_string(pt.x) + "," + std::to_string(pt.y) + "," +
                         std::to_string(nButtons));
        return -1;
    }
    int m_nAnswer = 3;
    int m_nKeyTo = 0;
    std::vector<std::string> m_seen;
};

// Counts what the control asks of its windows.
class CCountingHost : public CGridHost {
public:
    void PlaceChildren(const CGridChildRects&) override {}
    void UpdateChildren() override { ++m_nUpdates; }
    void InvalidateAll() override { ++m_nInvalidates; }
    void UpdateScrollBars() override {}
    void OnGridFontChanged() override {}
    int SetOffscreenPaint(int) override { return 0; }
    std::unique_ptr<CGridDC> CreateMeasureDC() override { return nullptr; }
    void FocusCellArea() override { ++m_nFocus; }
    int m_nUpdates = 0;
    int m_nInvalidates = 0;
    int m_nFocus = 0;
};

// 3 columns of 100 pixels, 50 rows of 16 pixels, a 300 x 100 cell area:
// rows 0..5 show fully, row 6 in part.
inline void MakeInputGrid(CUGCtrl& grid, int nCols = 3, int nRows = 50)
{
    grid.SetDefaultRowHeight(16);
    grid.UseOneRowHeight(0);
    grid.SetColumnCount(nCols);
    grid.SetRowCount(nRows);
    const GridLayout& gl = grid.GetGridLayout();
    const int nBarH = nCols > 3 ? gl.m_nHScrollHeight : 0;
    grid.SetClientSize(300 + gl.m_nSideHeadingWidth + gl.m_nVScrollWidth,
                       100 + gl.m_nTopHeadingHeight + nBarH);
}

} // namespace hpa::test
