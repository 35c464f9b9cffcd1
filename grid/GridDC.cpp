#include "grid/GridDC.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstdlib>

namespace hpa {

namespace {

// The light scheme: what the grid uses without a desktop, and what paper
// shows.
constexpr GridSysColors kLightSysColors = {
    MakeRGB(255, 255, 255), // window
    MakeRGB(0, 0, 0),       // window text
    MakeRGB(0, 120, 215),   // highlight
    MakeRGB(255, 255, 255), // highlight text
    MakeRGB(240, 240, 240), // button face
    MakeRGB(160, 160, 160), // button shadow
    MakeRGB(0, 0, 0),       // button text
};

// Set by the window layer at start-up and on a palette change; read by any
// grid. Atomic so a grid built on a worker thread reads them safely.
std::array<std::atomic<COLORREF>, kGridSysColorCount>& SysColors()
{
    static std::array<std::atomic<COLORREF>, kGridSysColorCount> s_colors;
    static const bool s_bStarted = [] {
        for (std::size_t i = 0; i < s_colors.size(); ++i)
            s_colors[i].store(kLightSysColors[i], std::memory_order_relaxed);
        return true;
    }();
    (void)s_bStarted;
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

GridSysColors LightGridSysColors()
{
    return kLightSysColors;
}

GridSysColors GetGridSysColors()
{
    GridSysColors colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = SysColors()[i].load(std::memory_order_relaxed);
    return colors;
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
