#pragma once
// The cell types besides the normal one: check box, drop list, arrow, fitted
// text, progress bar and spin. The control registers them at construction;
// a cell selects one through its cell type property.
#include "grid/GridCellType.h"

namespace hpa {

constexpr int kCellTypeNormal = 0;
constexpr int kCellTypeCheckBox = 1;
constexpr int kCellTypeDropList = 2;
constexpr int kCellTypeFittedText = 4;
constexpr int kCellTypeProgress = 5;
constexpr int kCellTypeSpin = 6;
constexpr int kCellTypeArrow = 8;

// Check box style bits.
constexpr int kCheckStyle3D = 0x100;
constexpr int kCheckStyleCross = 0x1000;
// Progress bar style bit: show the label instead of the percentage.
constexpr int kProgressStyleLabel = 1;
// Arrow styles (the shape drawn).
constexpr int kArrowRight = 0, kArrowLeft = 1, kArrowUp = 2, kArrowDown = 3;

// Messages the types report through CUGCtrl::OnCellTypeEvent.
constexpr int kDropListOpen = 1; // the drop button was pressed
constexpr int kSpinUp = 16;
constexpr int kSpinDown = 17;

// The key the check box toggles on (the space bar, the same code in the
// window system's and the platform's key numbering).
constexpr int kCheckToggleKey = 0x20;

class CCheckBoxCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeCheckBox; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    int HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc, CGridPoint pt) override;
    int HandleDoubleClick(int nCol, int nRow, const CGridRect& rc, CGridPoint pt) override;
    int HandleKeyDown(int* pnKey) override;

    // The square box inside a cell rectangle: side min(height - 6, 12), 3
    // pixels from the left, centred vertically. Empty when it has no room.
    static CGridRect BoxRect(const CGridRect& rc);

private:
    void Toggle(int nCol, int nRow);
};

class CDropListCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeDropList; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    int HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc, CGridPoint pt) override;
    static CGridRect ButtonRect(const CGridRect& rc);
};

class CArrowCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeArrow; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
};

class CFittedTextCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeFittedText; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    // The character height that makes the text fill the width: at most the
    // rectangle's height and 500, at least 2.
    int FittedHeight(CGridDC& dc, const CGridRect& rc, const CUGCell& cell) const;
};

class CProgressCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeProgress; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    // The cell's text as an integer, clamped to 0..100.
    static int Percent(const CUGCell& cell);
};

class CSpinCellType : public CGridCellType {
public:
    int GetTypeId() const override { return kCellTypeSpin; }
    void DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                  int bCurrent) override;
    int HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc, CGridPoint pt) override;
    // The two half buttons at the right of the cell.
    static CGridRect UpButtonRect(const CGridRect& rc);
    static CGridRect DownButtonRect(const CGridRect& rc);
};

} // namespace hpa
