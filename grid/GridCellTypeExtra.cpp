// The cell types besides the normal one. This program never selects them;
// they are kept small and draw with the same device-context operations.
#include "grid/GridCellTypeExtra.h"

#include "grid/GridDraw.h"
#include "grid/GridLayout.h"
#include "grid/UGCtrl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace hpa {

namespace {

enum class Dir { right, left, up, down };

// A filled triangle of lines in the selected pen, centred in rc, pointing
// in the given direction; n rows (or columns) of pixels.
void DrawTriangle(CGridDC& dc, const CGridRect& rc, Dir dir, int n)
{
    if (n <= 0)
        return;
    const int cx = rc.left + rc.Width() / 2;
    const int cy = rc.top + rc.Height() / 2;
    for (int i = 0; i < n; ++i) {
        const int nHalf = i; // grows away from the tip
        switch (dir) {
        case Dir::down: {
            const int y = cy + n / 2 - i;
            dc.Line(cx - nHalf, y, cx + nHalf + 1, y);
            break;
        }
        case Dir::up: {
            const int y = cy - n / 2 + i;
            dc.Line(cx - nHalf, y, cx + nHalf + 1, y);
            break;
        }
        case Dir::right: {
            const int x = cx + n / 2 - i;
            dc.Line(x, cy - nHalf, x, cy + nHalf + 1);
            break;
        }
        case Dir::left: {
            const int x = cx - n / 2 + i;
            dc.Line(x, cy - nHalf, x, cy + nHalf + 1);
            break;
        }
        }
    }
}

// A push button face: button colour, raised frame, a triangle in the text
// colour.
void DrawButton(CGridDC& dc, const CGridRect& rc, Dir dir, COLORREF crGlyph)
{
    if (rc.IsEmpty())
        return;
    dc.FillSolidRect(rc, GetGridSysColor(GridSysColor::buttonFace));
    const CGridRect inner = DrawBorder(dc, rc, kBorderRaised, nullptr, 1);
    const CGridPen pen{crGlyph, 1};
    const CGridPen* pOld = dc.SelectPen(&pen);
    DrawTriangle(dc, inner, dir, std::max(std::min(inner.Width(), inner.Height()) / 3, 1));
    dc.SelectPen(pOld);
}

bool HighlightFor(const GridLayout* pLayout, int bSelected, int bCurrent)
{
    return bSelected || (bCurrent && pLayout && (pLayout->m_nCurrentCellStyle & 2) != 0);
}

} // namespace

// ---- check box ------------------------------------------------------------------

CGridRect CCheckBoxCellType::BoxRect(const CGridRect& rc)
{
    const int nSide = std::min(rc.Height() - 6, 12);
    if (nSide <= 0)
        return {};
    const int x = rc.left + 3;
    const int y = rc.top + (rc.Height() - nSide) / 2;
    return {x, y, x + nSide, y + nSide};
}

void CCheckBoxCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                 int bSelected, int bCurrent)
{
    const CGridCellColors colors = CellColors(cell, HighlightFor(m_pLayout, bSelected, bCurrent));
    dc.FillSolidRect(rc, colors.crBack);
    const int nStyle = std::max(cell.GetCellTypeEx(), 0);
    const CGridRect box = BoxRect(rc);
    int nTextLeft = rc.left;
    if (!box.IsEmpty()) {
        dc.FillSolidRect(box, GetGridSysColor(GridSysColor::window));
        const CGridRect inner = (nStyle & kCheckStyle3D)
                                    ? DrawBorder(dc, box, kBorderSunken, nullptr, 2)
                                    : DrawBorder(dc, box, 0x0F, nullptr, 1);
        if (cell.GetNumber() > 0 && inner.Width() > 2 && inner.Height() > 2) {
            const CGridPen pen{GetGridSysColor(GridSysColor::windowText), 1};
            const CGridPen* pOld = dc.SelectPen(&pen);
            const int l = inner.left + 1, t = inner.top + 1, r = inner.right - 1,
                      b = inner.bottom - 1;
            if (nStyle & kCheckStyleCross) {
                dc.Line(l, t, r, b);
                dc.Line(r - 1, t, l - 1, b);
            } else {
                // A tick two pixels thick: down to the lower third, then up.
                const int xMid = l + (r - l) / 3;
                for (int d = 0; d < 2; ++d) {
                    dc.Line(l, t + (b - t) / 2 + d, xMid, b - 1 + d);
                    dc.Line(xMid, b - 1 + d, r, t + d);
                }
            }
            dc.SelectPen(pOld);
        }
        nTextLeft = box.right + 1;
    }
    const CGridPoint ptText = AlignText({nTextLeft, rc.top, rc.right, rc.bottom},
                                        dc.GetTextExtent(cell.GetLabel()), kAlignVCenter);
    const COLORREF crOld = dc.SetTextColor(colors.crText);
    if (!cell.GetLabel().empty())
        dc.TextOut(ptText.x, ptText.y, {nTextLeft, rc.top, rc.right, rc.bottom}, cell.GetLabel(),
                   false);
    dc.SetTextColor(crOld);
}

void CCheckBoxCellType::Toggle(int nCol, int nRow)
{
    if (!m_pCtrl)
        return;
    CUGCell shown;
    if (m_pCtrl->ResolveCell(nCol, nRow, &shown) != 0)
        return;
    CUGCell stored;
    m_pCtrl->ReadCell(nCol, nRow, &stored);
    stored.SetNumber(shown.GetNumber() > 0 ? 0 : 1);
    m_pCtrl->WriteCell(nCol, nRow, &stored);
    m_pCtrl->RedrawCell(nCol, nRow);
}

int CCheckBoxCellType::HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc,
                                       CGridPoint pt)
{
    if (!bDown || !BoxRect(rc).Contains(pt.x, pt.y))
        return -1;
    Toggle(nCol, nRow);
    return 1;
}

int CCheckBoxCellType::HandleDoubleClick(int nCol, int nRow, const CGridRect& /*rc*/,
                                         CGridPoint /*pt*/)
{
    Toggle(nCol, nRow);
    return 1;
}

int CCheckBoxCellType::HandleKeyDown(int* pnKey)
{
    if (!pnKey || *pnKey != kCheckToggleKey || !m_pLayout)
        return -1;
    Toggle(m_pLayout->m_nCurrentColumn, m_pLayout->m_nCurrentRow);
    return 1;
}

// ---- drop list ------------------------------------------------------------------

CGridRect CDropListCellType::ButtonRect(const CGridRect& rc)
{
    const int w = std::min(rc.Height(), 17);
    if (w <= 0 || rc.Width() <= w)
        return {};
    return {rc.right - w, rc.top, rc.right, rc.bottom};
}

void CDropListCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                 int bSelected, int bCurrent)
{
    const CGridCellColors colors = CellColors(cell, HighlightFor(m_pLayout, bSelected, bCurrent));
    const CGridRect button = ButtonRect(rc);
    const CGridRect text{rc.left, rc.top, button.IsEmpty() ? rc.right : button.left, rc.bottom};
    CNormalCellType::DrawText(dc, text, cell, cell.GetFont(), colors.crText, colors.crBack);
    DrawButton(dc, button, Dir::down, CellColorOr(cell.GetTextColor(), GridSysColor::windowText));
}

// The list itself is the window layer's; the type reports that it should
// open.
int CDropListCellType::HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc,
                                       CGridPoint pt)
{
    if (!bDown || !ButtonRect(rc).Contains(pt.x, pt.y) || !m_pCtrl)
        return -1;
    m_pCtrl->OnCellTypeEvent(kCellTypeDropList, nCol, nRow, kDropListOpen, 0);
    return 1;
}

// ---- arrow ----------------------------------------------------------------------

void CArrowCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                              int bCurrent)
{
    const CGridCellColors colors = CellColors(cell, HighlightFor(m_pLayout, bSelected, bCurrent));
    dc.FillSolidRect(rc, colors.crBack);
    Dir dir = Dir::right;
    switch (std::max(cell.GetCellTypeEx(), 0)) {
    case kArrowLeft:
        dir = Dir::left;
        break;
    case kArrowUp:
        dir = Dir::up;
        break;
    case kArrowDown:
        dir = Dir::down;
        break;
    default:
        break;
    }
    const CGridPen pen{colors.crText, 1};
    const CGridPen* pOld = dc.SelectPen(&pen);
    DrawTriangle(dc, rc, dir, std::max(std::min(rc.Width(), rc.Height()) / 3, 1));
    dc.SelectPen(pOld);
}

// ---- fitted text ----------------------------------------------------------------

int CFittedTextCellType::FittedHeight(CGridDC& dc, const CGridRect& rc, const CUGCell& cell) const
{
    const int nMax = std::max(std::min(rc.Height(), 500), 2);
    const CGridFont* pBase = cell.GetFont();
    if (!pBase && m_pLayout)
        pBase = &m_pLayout->m_font;
    CGridFont probe = pBase ? *pBase : CGridFont{};
    probe.nHeight = -nMax;
    const CGridFont* pOld = dc.SelectFont(&probe);
    const int w = dc.GetTextExtent(CNormalCellType::ShownText(cell)).cx;
    dc.SelectFont(pOld);
    if (w <= 0)
        return nMax;
    const long long nFit = static_cast<long long>(nMax) * std::max(rc.Width() - 6, 0) / w;
    return static_cast<int>(std::clamp<long long>(nFit, 2, nMax));
}

void CFittedTextCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                   int bSelected, int bCurrent)
{
    const CGridCellColors colors = CellColors(cell, HighlightFor(m_pLayout, bSelected, bCurrent));
    const CGridFont* pBase = cell.GetFont();
    if (!pBase && m_pLayout)
        pBase = &m_pLayout->m_font;
    CGridFont font = pBase ? *pBase : CGridFont{};
    font.nHeight = -FittedHeight(dc, rc, cell);
    CNormalCellType::DrawText(dc, rc, cell, &font, colors.crText, colors.crBack);
}

// ---- progress bar ---------------------------------------------------------------

int CProgressCellType::Percent(const CUGCell& cell)
{
    const long nValue = std::strtol(cell.GetText().c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(nValue, 0, 100));
}

void CProgressCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell,
                                 int /*bSelected*/, int /*bCurrent*/)
{
    const int nPercent = Percent(cell);
    std::string str;
    if (std::max(cell.GetCellTypeEx(), 0) & kProgressStyleLabel) {
        str = cell.GetLabel();
    } else {
        char sz[32];
        std::snprintf(sz, sizeof sz, "%% %ld", static_cast<long>(nPercent));
        str = sz;
    }
    const int xSplit =
        rc.left + static_cast<int>(static_cast<long long>(rc.Width()) * nPercent / 100);
    const CGridRect bar{rc.left, rc.top, xSplit, rc.bottom};
    const CGridRect rest{xSplit, rc.top, rc.right, rc.bottom};
    int nAlign = cell.GetAlignment();
    if (nAlign < 0)
        nAlign = kAlignCenter | kAlignVCenter;
    const CGridPoint pt = AlignText(rc, dc.GetTextExtent(str), nAlign);
    const CGridCellColors high = CellColors(cell, true);
    const CGridCellColors normal = CellColors(cell, false);
    const COLORREF crOldText = dc.SetTextColor(high.crText);
    const COLORREF crOldBack = dc.SetBkColor(high.crBack);
    dc.TextOut(pt.x, pt.y, bar, str, true);
    dc.SetTextColor(normal.crText);
    dc.SetBkColor(normal.crBack);
    dc.TextOut(pt.x, pt.y, rest, str, true);
    dc.SetBkColor(crOldBack);
    dc.SetTextColor(crOldText);
}

// ---- spin -----------------------------------------------------------------------

namespace {

CGridRect SpinButtons(const CGridRect& rc)
{
    const int w = std::min(rc.Height(), 16);
    if (w <= 0 || rc.Width() <= w || rc.Height() < 2)
        return {};
    return {rc.right - w, rc.top, rc.right, rc.bottom};
}

} // namespace

CGridRect CSpinCellType::UpButtonRect(const CGridRect& rc)
{
    const CGridRect b = SpinButtons(rc);
    return b.IsEmpty() ? b : CGridRect{b.left, b.top, b.right, b.top + b.Height() / 2};
}

CGridRect CSpinCellType::DownButtonRect(const CGridRect& rc)
{
    const CGridRect b = SpinButtons(rc);
    return b.IsEmpty() ? b : CGridRect{b.left, b.top + b.Height() / 2, b.right, b.bottom};
}

void CSpinCellType::DrawCell(CGridDC& dc, const CGridRect& rc, const CUGCell& cell, int bSelected,
                             int bCurrent)
{
    const CGridCellColors colors = CellColors(cell, HighlightFor(m_pLayout, bSelected, bCurrent));
    const CGridRect buttons = SpinButtons(rc);
    const CGridRect text{rc.left, rc.top, buttons.IsEmpty() ? rc.right : buttons.left, rc.bottom};
    CNormalCellType::DrawText(dc, text, cell, cell.GetFont(), colors.crText, colors.crBack);
    const COLORREF crGlyph = CellColorOr(cell.GetTextColor(), GridSysColor::windowText);
    DrawButton(dc, UpButtonRect(rc), Dir::up, crGlyph);
    DrawButton(dc, DownButtonRect(rc), Dir::down, crGlyph);
}

int CSpinCellType::HandleLeftClick(int nCol, int nRow, int bDown, const CGridRect& rc,
                                   CGridPoint pt)
{
    if (!bDown || !m_pCtrl)
        return -1;
    int nMsg = 0;
    if (UpButtonRect(rc).Contains(pt.x, pt.y))
        nMsg = kSpinUp;
    else if (DownButtonRect(rc).Contains(pt.x, pt.y))
        nMsg = kSpinDown;
    else
        return -1;
    m_pCtrl->OnCellTypeEvent(kCellTypeSpin, nCol, nRow, nMsg, 0);
    return 1;
}

} // namespace hpa
