#include "grid/GridDC.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>

namespace hpa {

namespace {

// Set once by the window layer at start-up (and on a palette change); read
// by any grid. Atomic so a grid built on a worker thread reads them safely.
std::array<std::atomic<COLORREF>, kGridSysColorCount>& SysColors()
{
    static std::array<std::atomic<COLORREF>, kGridSysColorCount> s_colors = {
        MakeRGB(255, 255, 255), // window
        MakeRGB(0, 0, 0),       // window text
        MakeRGB(0, 120, 215),   // highlight
        MakeRGB(255, 255, 255), // highlight text
        MakeRGB(240, 240, 240), // button face
        MakeRGB(160, 160, 160), // button shadow
    };
    return s_colors;
}

} // namespace

COLORREF GetGridSysColor(GridSysColor which)
{
    return SysColors()[static_cast<std::size_t>(which)].load(std::memory_order_relaxed);
}

void SetGridSysColor(GridSysColor which, COLORREF cr)
{
    SysColors()[static_cast<std::size_t>(which)].store(cr, std::memory_order_relaxed);
}

void CGridDC::FillSolidRect(const CGridRect& rc, COLORREF cr)
{
    const COLORREF crOld = SetBkColor(cr);
    TextOut(rc.left, rc.top, rc, std::string_view(), true);
    SetBkColor(crOld);
}

COLORREF CFixedMeasureDC::SetTextColor(COLORREF cr)
{
    const COLORREF crOld = m_crText;
    m_crText = cr;
    return crOld;
}

COLORREF CFixedMeasureDC::SetBkColor(COLORREF cr)
{
    const COLORREF crOld = m_crBack;
    m_crBack = cr;
    return crOld;
}

const CGridFont* CFixedMeasureDC::SelectFont(const CGridFont* pFont)
{
    const CGridFont* pOld = m_pFont;
    m_pFont = pFont;
    return pOld;
}

const CGridPen* CFixedMeasureDC::SelectPen(const CGridPen* pPen)
{
    const CGridPen* pOld = m_pPen;
    m_pPen = pPen;
    return pOld;
}

CGridSize CFixedMeasureDC::GetTextExtent(std::string_view str)
{
    int nAdvance = kDefaultAdvance;
    int nHeight = kDefaultHeight;
    if (m_pFont && m_pFont->nHeight != 0) {
        nHeight = std::abs(m_pFont->nHeight);
        nAdvance = nHeight / 2 > 0 ? nHeight / 2 : 1;
    }
    const long long nWidth = static_cast<long long>(str.size()) * nAdvance;
    return {nWidth > INT_MAX ? INT_MAX : static_cast<int>(nWidth), nHeight};
}

} // namespace hpa
