#pragma once
// Cell types draw a cell's content and may react to the mouse and keys. The
// control keeps a list of them keyed by id; a cell names one by its cell type
// property. Only the normal text type is used by this program.
#include "grid/GridDC.h"

namespace hpa {

class CUGCtrl;
struct GridLayout;

// Normal cell type style bits.
constexpr int kCellStyleWordWrap = 2;
constexpr int kCellStyleEllipsis = 4;
constexpr int kCellStyleLabel = 8;

class CGridCellType {
public:
    virtual ~CGridCellType() = default;

    virtual int GetTypeId() const = 0;
    virtual int OnSystemColorChange() { return 1; }
    // -1 = not handled; -2 from a left button down captures the mouse. The
    // rectangle is the cell's and the point the pointer's, both in cell-area
    // pixels.
    virtual int HandleLeftClick(int /*nCol*/, int /*nRow*/, int /*bDown*/, const CGridRect& /*rc*/,
                                CGridPoint /*pt*/)
    {
        return -1;
    }
    virtual int HandleRightClick(int /*nCol*/, int /*nRow*/, int /*bDown*/, const CGridRect& /*rc*/,
                                 CGridPoint /*pt*/)
    {
        return -1;
    }
    virtual int HandleDoubleClick(int /*nCol*/, int /*nRow*/, const CGridRect& /*rc*/,
                                  CGridPoint /*pt*/)
    {
        return -1;
    }
    virtual int HandleKeyDown(int* /*pnKey*/) { return -1; }
    virtual int HandleChar(int* /*pnChar*/) { return -1; }
    virtual int HandleMouseMove(CGridPoint /*pt*/, int /*nButtons*/) { return -1; }

    // Draws the cell's content into the inner rectangle.
    virtual void DrawCell(CGridDC& /*dc*/, const CGridRect& /*rc*/, const CUGCell& /*cell*/,
                          int /*bSelected*/, int /*bCurrent*/)
    {
    }
    // Drawing for print: the font re-created at height x rect height / nRefHeight.
    // Types without a scaled form draw as on screen.
    virtual void DrawCellScaled(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                int /*nUnused*/, int /*nRefHeight*/)
    {
        DrawCell(dc, rc, cell, 0, 0);
    }
    virtual void GotFocus(int nCol, int nRow, const CUGCell& cell);
    virtual void LostFocus(int nCol, int nRow, const CUGCell& cell);
    // The space the content needs.
    virtual void MeasureCell(CGridDC& /*dc*/, CGridSize* pSize, const CUGCell& /*cell*/)
    {
        *pSize = {};
    }

    // Set by CUGCtrl::AddCellType.
    void Attach(CUGCtrl* pCtrl, GridLayout* pLayout);

    // The cell this type last got the focus on, (-1, -1) when none.
    int FocusColumn() const { return m_nFocusCol; }
    int FocusRow() const { return m_nFocusRow; }

protected:
    CUGCtrl* m_pCtrl = nullptr;
    GridLayout* m_pLayout = nullptr;
    int m_nFocusCol = -1;
    int m_nFocusRow = -1;
};

// The normal text cell (id 0).
class CNormalCellType : public CGridCellType {
public:
    int GetTypeId() const override { return 0; }
    // The extent of the shown text (the label with style bit 8) in the cell's
    // font, else the grid font.
    void MeasureCell(CGridDC& dc, CGridSize* pSize, const CUGCell& cell) override;
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    void DrawCellScaled(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int nUnused,
                        int nRefHeight) override;

    // The text this type shows for a cell.
    static const std::string& ShownText(const CUGCell& cell);
    // Draws the shown text in rc with the colours given: aligned, wrapped,
    // or cut with "..." by the style bits. pFont (when not null) is selected
    // for the drawing.
    static void DrawText(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                         const CGridFont* pFont, COLORREF crText, COLORREF crBack);
};

} // namespace hpa
