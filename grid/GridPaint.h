#pragma once
// What the control's windows paint: the cell area (a paint request, the
// drawing pass over the redraw hints, the incremental update after a
// change), the headings, the corner button and the control's background.
// Every decision is made here against a CGridDC, so it runs and is tested
// without a window.
#include "grid/GridDC.h"
#include "grid/GridSelection.h"

#include <vector>

namespace hpa {

class CUGCtrl;

class CGridPainter {
public:
    explicit CGridPainter(CUGCtrl& ctrl) : m_ctrl(ctrl) {}

    // The current cell shows its dotted frame only while this is set: the
    // cell area has the focus, or the find dialog is open.
    void SetFocusFrameShown(bool bShown) { m_bFocusFrame = bShown; }
    bool IsFocusFrameShown() const { return m_bFocusFrame; }

    // A paint request for the cell area: the cells from the clip box's
    // top-left cell to the end of the grid (dc.GetClipBox(), cell-area
    // pixels), or just the background of an empty grid.
    void PaintCellArea(CGridDC& dc);
    // Draws the cells of the control's redraw hints that are in view, then
    // clears the hints. With painting disabled (EnableGridPaint) it draws
    // nothing unless bForced; returns false then.
    bool DrawingPass(CGridDC& dc, bool bForced = false);
    // After a change: moves the pixels by the hints' scroll, then runs the
    // drawing pass for the exposed and changed cells.
    void UpdateCellArea(CGridDC& dc);

    // The headings and the corner button in their own client sizes.
    void PaintTopHeading(CGridDC& dc, int cx, int cy);
    void PaintSideHeading(CGridDC& dc, int cx, int cy);
    void PaintCorner(CGridDC& dc, int cx, int cy);
    // The control's own client area (seen between the scroll bars).
    static void PaintControlBackground(CGridDC& dc, const CGridRect& rc);

    // One data cell, already resolved, in rc (cell-area pixels): border,
    // font, the cell type's drawing, the focus frame.
    void DrawCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc, const CUGCell& cell);

private:
    void DrawHeadingCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc);
    // A hinted cell at (col, row) whose rectangle is rc; joined blocks are
    // drawn whole, once per pass, through their origin.
    void DrawPassCell(CGridDC& dc, int nCol, int nRow, const CGridRect& rc);
    COLORREF GridBackColor() const;
    COLORREF HeadingBackColor() const;

    CUGCtrl& m_ctrl;
    bool m_bFocusFrame = false;
    CUGCell m_cell; // reused so painting does not allocate per cell
    std::vector<CGridPoint> m_joinedDrawn;
};

} // namespace hpa
