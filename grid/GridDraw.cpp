#include "grid/GridDraw.h"

#include "grid/GridLayout.h"

#include <algorithm>

namespace hpa {

namespace {

// The widest class set for one side: thick 3, medium 2, thin 1.
int SideWidth(int nStyle, int nThin)
{
    if (nStyle & (nThin << 8))
        return 3;
    if (nStyle & (nThin << 4))
        return 2;
    if (nStyle & nThin)
        return 1;
    return 0;
}

const CGridPen& BlackPen()
{
    static const CGridPen s_black{MakeRGB(0, 0, 0), 1};
    return s_black;
}

// A 3D frame: for each ring the top-left edge in one pen, the bottom-right
// edge in the other, each as a two-segment line like a polyline.
void Draw3DFrame(CGridDC& dc, const CGridRect& rc, int nWidth, const CGridPen& penTopLeft,
                 const CGridPen& penBottomRight)
{
    const CGridPen* pOld = dc.SelectPen(&penTopLeft);
    for (int i = 0; i < nWidth; ++i) {
        const int l = rc.left + i, t = rc.top + i, r = rc.right - i - 1, b = rc.bottom - i - 1;
        if (i > 0)
            dc.SelectPen(&penTopLeft);
        dc.Line(l, b, l, t);
        dc.Line(l, t, r, t);
        dc.SelectPen(&penBottomRight);
        dc.Line(r, t, r, b);
        dc.Line(r, b, l, b);
    }
    dc.SelectPen(pOld);
}

} // namespace

CGridBorderWidths BorderLineWidths(int nStyle)
{
    return {SideWidth(nStyle, kBorderThinLeft), SideWidth(nStyle, kBorderThinTop),
            SideWidth(nStyle, kBorderThinRight), SideWidth(nStyle, kBorderThinBottom)};
}

int EffectiveBorderStyle(const CUGCell& cell)
{
    const short nStyle = cell.GetBorderStyle();
    return nStyle < 0 ? 0 : nStyle;
}

CGridPen Grid3DLightPen()
{
    return {MakeRGB(255, 255, 255), 1};
}

CGridPen Grid3DShadowPen()
{
    return {GetGridSysColor(GridSysColor::buttonShadow), 1};
}

CGridRect DrawBorder(CGridDC& dc, const CGridRect& rc, int nStyle, const CGridPen* pPen,
                     int n3DWidth)
{
    if (nStyle <= 0)
        return rc;
    if (nStyle & (kBorderSunken | kBorderRaised)) {
        const int w = std::max(n3DWidth, 0);
        const CGridPen light = Grid3DLightPen();
        const CGridPen shadow = Grid3DShadowPen();
        if (nStyle & kBorderSunken)
            Draw3DFrame(dc, rc, w, shadow, light);
        else
            Draw3DFrame(dc, rc, w, light, shadow);
        return {rc.left + w, rc.top + w, rc.right - w, rc.bottom - w};
    }
    const CGridBorderWidths w = BorderLineWidths(nStyle);
    const CGridPen* pOld = dc.SelectPen(pPen ? pPen : &BlackPen());
    for (int i = 0; i < w.left; ++i)
        dc.Line(rc.left + i, rc.top, rc.left + i, rc.bottom);
    for (int i = 0; i < w.top; ++i)
        dc.Line(rc.left, rc.top + i, rc.right, rc.top + i);
    for (int i = 0; i < w.right; ++i)
        dc.Line(rc.right - 1 - i, rc.top, rc.right - 1 - i, rc.bottom);
    for (int i = 0; i < w.bottom; ++i)
        dc.Line(rc.left, rc.bottom - 1 - i, rc.right, rc.bottom - 1 - i);
    dc.SelectPen(pOld);
    return {rc.left + w.left, rc.top + w.top, rc.right - w.right, rc.bottom - w.bottom};
}

CGridRect DrawCellBorder(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                         const GridLayout& gl)
{
    return DrawBorder(dc, rc, EffectiveBorderStyle(cell), cell.GetBorderPen(), gl.m_n3DBorderWidth);
}

COLORREF CellColorOr(COLORREF cr, GridSysColor fallback)
{
    return cr == kColorUnset ? GetGridSysColor(fallback) : cr;
}

CGridCellColors CellColors(const CUGCell& cell, bool bHighlight)
{
    if (bHighlight)
        return {CellColorOr(cell.GetHighlightTextColor(), GridSysColor::highlightText),
                CellColorOr(cell.GetHighlightBackColor(), GridSysColor::highlight)};
    return {CellColorOr(cell.GetTextColor(), GridSysColor::windowText),
            CellColorOr(cell.GetBackColor(), GridSysColor::window)};
}

CGridPoint AlignText(const CGridRect& rc, CGridSize size, int nAlign)
{
    CGridPoint pt;
    if (nAlign & kAlignCenter)
        pt.x = rc.left + (rc.right - rc.left - size.cx) / 2;
    else if (nAlign & kAlignRight)
        pt.x = rc.right - size.cx - 3;
    else
        pt.x = rc.left + 3;
    if (nAlign & kAlignVCenter)
        pt.y = rc.top + (rc.bottom - rc.top - size.cy) / 2;
    else if (nAlign & kAlignBottom)
        pt.y = rc.bottom - size.cy - 1;
    else
        pt.y = rc.top + 1;
    return pt;
}

} // namespace hpa
