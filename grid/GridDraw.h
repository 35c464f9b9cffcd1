#pragma once
// Drawing pieces shared by the screen painter, the cell types and printing:
// cell borders, the 3D pens and the colours a cell is drawn in.
#include "grid/GridDC.h"

namespace hpa {

struct GridLayout;

// Border style bits: thin (1 px), medium (2 px), thick (3 px) lines per
// side, and the 3D frames that override them.
constexpr int kBorderThinLeft = 0x1, kBorderThinTop = 0x2, kBorderThinRight = 0x4,
              kBorderThinBottom = 0x8;
constexpr int kBorderMediumLeft = 0x10, kBorderMediumTop = 0x20, kBorderMediumRight = 0x40,
              kBorderMediumBottom = 0x80;
constexpr int kBorderThickLeft = 0x100, kBorderThickTop = 0x200, kBorderThickRight = 0x400,
              kBorderThickBottom = 0x800;
constexpr int kBorderSunken = 0x1000;
constexpr int kBorderRaised = 0x2000;

// Line widths a style draws on each side (3D frames not included).
struct CGridBorderWidths {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CGridBorderWidths&) const = default;
};
CGridBorderWidths BorderLineWidths(int nStyle);

// The border style a cell draws with: an unset style (negative) draws none.
int EffectiveBorderStyle(const CUGCell& cell);

// The pens of 3D frames: white for the lit edges, the button shadow colour
// for the others.
CGridPen Grid3DLightPen();
CGridPen Grid3DShadowPen();

// Draws a border of nStyle in rc with pPen (null = black) and returns the
// rectangle left inside it. n3DWidth is the width of 3D frames.
CGridRect DrawBorder(CGridDC& dc, const CGridRect& rc, int nStyle, const CGridPen* pPen,
                     int n3DWidth);
// The same with the cell's own style and pen and the control's 3D width.
CGridRect DrawCellBorder(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                         const GridLayout& gl);

// A colour property, or the system colour when the cell leaves it unset.
COLORREF CellColorOr(COLORREF cr, GridSysColor fallback);

// Foreground and background of a cell as drawn: the highlight pair when
// selected (or current with bHighlightCurrent), else the normal pair.
struct CGridCellColors {
    COLORREF crText = 0;
    COLORREF crBack = 0;
};
CGridCellColors CellColors(const CUGCell& cell, bool bHighlight);

// Where text of the given size starts inside rc for an alignment: 3 pixels
// in from the left or right edge or centred; 1 pixel from the top or bottom
// or centred.
CGridPoint AlignText(const CGridRect& rc, CGridSize size, int nAlign);

} // namespace hpa
