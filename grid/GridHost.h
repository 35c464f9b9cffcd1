#pragma once
// What the control asks of its windows. The control works without any
// (host = null); the window layer implements this to move, repaint and
// scroll the child windows. Repaints are described by the redraw hints the
// control records, so the decisions stay testable without a window.
#include "grid/GridDC.h"
#include "grid/GridSelection.h"

#include <memory>
#include <vector>

namespace hpa {

// Where the layout pass put the children, in the control's client
// coordinates. A scroll bar that is not needed has an empty rectangle.
struct CGridChildRects {
    CGridRect rcCellArea;
    CGridRect rcTopHeading;
    CGridRect rcSideHeading;
    CGridRect rcCorner;
    CGridRect rcVScroll;
    CGridRect rcHScroll;
    bool bVScrollVisible = false;
    bool bHScrollVisible = false;
};

// A scroll bar's range, page and position as the window should show them.
struct CGridScrollInfo {
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    bool bScaled = false; // 0..1000 standing for 0..maximum top row
    bool operator==(const CGridScrollInfo&) const = default;
};

// Which cells of the cell area must be repainted, and by how much the
// existing pixels move first. Ranges are inclusive cell ranges.
class CGridRedrawHints {
public:
    // Beyond this many ranges the hints give up and ask for everything.
    static constexpr std::size_t kMaxRanges = 64;

    void AddRange(const CGridRange& range);
    void AddCell(int nCol, int nRow) { AddRange({nCol, nRow, nCol, nRow}); }
    void InvalidateAll();
    // Pixels the cell area content moves (dy < 0 when scrolling down).
    void AddScroll(int dx, int dy);

    bool IsFullRedraw() const { return m_bAll; }
    bool IsEmpty() const { return !m_bAll && m_ranges.empty() && m_nDx == 0 && m_nDy == 0; }
    const std::vector<CGridRange>& Ranges() const { return m_ranges; }
    bool Contains(int nCol, int nRow) const;
    bool GetBoundingBox(CGridRange* pRange) const;
    int ScrollDx() const { return m_nDx; }
    int ScrollDy() const { return m_nDy; }
    // The headings' content moved or must repaint.
    bool HeadingsChanged() const { return m_bHeadings; }
    void SetHeadingsChanged() { m_bHeadings = true; }

    void Clear();

private:
    std::vector<CGridRange> m_ranges;
    bool m_bAll = false;
    bool m_bHeadings = false;
    int m_nDx = 0;
    int m_nDy = 0;
};

class CGridHost {
public:
    virtual ~CGridHost() = default;

    // The layout pass decided the children's geometry.
    virtual void PlaceChildren(const CGridChildRects& rects) = 0;
    // After a change: carry out the control's redraw hints (scroll pixels,
    // paint the hinted cells, repaint headings as needed), then clear them.
    virtual void UpdateChildren() = 0;
    // Invalidate every child and update them now.
    virtual void InvalidateAll() = 0;
    // Range or position of a scroll bar changed (GetVScrollInfo/GetHScrollInfo).
    virtual void UpdateScrollBars() = 0;
    // The grid font changed: headings repaint now, the cell area later.
    virtual void OnGridFontChanged() = 0;
    // Create (bOn) or drop the cell area's off-screen bitmap; 1 on failure.
    virtual int SetOffscreenPaint(int bOn) = 0;
    // A device context of the control's window for measuring text, or null.
    virtual std::unique_ptr<CGridDC> CreateMeasureDC() = 0;
    // A scroll bar message gives the cell area the focus first.
    virtual void FocusCellArea() {}
    // The control is being destroyed while its window still exists: the
    // window must let go of it and never call it again.
    virtual void OnControlDestroyed() {}
};

} // namespace hpa
