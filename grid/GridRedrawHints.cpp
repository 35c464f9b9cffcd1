#include "grid/GridHost.h"

#include <algorithm>

namespace hpa {

void CGridRedrawHints::AddRange(const CGridRange& range)
{
    if (m_bAll)
        return;
    CGridRange r{std::min(range.left, range.right), std::min(range.top, range.bottom),
                 std::max(range.left, range.right), std::max(range.top, range.bottom)};
    for (const CGridRange& have : m_ranges) {
        if (have.left <= r.left && have.right >= r.right && have.top <= r.top &&
            have.bottom >= r.bottom)
            return;
    }
    if (m_ranges.size() >= kMaxRanges) {
        InvalidateAll();
        return;
    }
    m_ranges.push_back(r);
}

void CGridRedrawHints::InvalidateAll()
{
    m_bAll = true;
    m_bHeadings = true;
    m_ranges.clear();
    m_nDx = 0;
    m_nDy = 0;
}

// Scrolls nobody carried out add up; once they exceed any window the
// content is simply repainted.
void CGridRedrawHints::AddScroll(int dx, int dy)
{
    m_bHeadings = true;
    if (m_bAll)
        return;
    constexpr long long kLimit = 1 << 24;
    const long long nDx = static_cast<long long>(m_nDx) + dx;
    const long long nDy = static_cast<long long>(m_nDy) + dy;
    if (nDx > kLimit || nDx < -kLimit || nDy > kLimit || nDy < -kLimit) {
        InvalidateAll();
        return;
    }
    m_nDx = static_cast<int>(nDx);
    m_nDy = static_cast<int>(nDy);
}

bool CGridRedrawHints::Contains(int nCol, int nRow) const
{
    if (m_bAll)
        return true;
    return std::any_of(m_ranges.begin(), m_ranges.end(),
                       [=](const CGridRange& r) { return r.Contains(nCol, nRow); });
}

bool CGridRedrawHints::GetBoundingBox(CGridRange* pRange) const
{
    if (m_ranges.empty())
        return false;
    CGridRange box = m_ranges.front();
    for (const CGridRange& r : m_ranges) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    if (pRange)
        *pRange = box;
    return true;
}

void CGridRedrawHints::Clear()
{
    m_ranges.clear();
    m_bAll = false;
    m_bHeadings = false;
    m_nDx = 0;
    m_nDy = 0;
}

} // namespace hpa
