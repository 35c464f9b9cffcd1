// Painting the cell area, the headings and the corner through a recording
// device context: which cells a paint request, a scroll or a cursor move
// draws, where, in which colours, and what painting disabled draws.
#include "grid/GridDraw.h"
#include "grid/GridPaint.h"
#include "grid/UGCtrl.h"
#include "support/RecordingGridDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace hpa;
using hpa::test::CDCCall;
using hpa::test::CRecordingGridDC;
using Strings = std::vector<std::string>;

namespace {

std::string Name(int nCol, int nRow)
{
    return "C" + std::to_string(nCol) + "R" + std::to_string(nRow);
}

// Every data cell shows its own name without being stored, so a million
// rows cost nothing; the sections that prepare a device context are logged.
class PaintGrid : public CUGCtrl {
public:
    std::vector<int> m_sections;
    int m_nResolved = 0;
    void OnPrepareDC(CGridDC* /*pDC*/, int nSection) override { m_sections.push_back(nSection); }
    void OnResolveCell(int nCol, int nRow, CUGCell* pCell) override
    {
        ++m_nResolved;
        if (nCol >= 0 && nRow >= 0 && pCell->GetText().empty())
            pCell->SetText(Name(nCol, nRow));
    }
};

// Rows of 16 pixels; columns of 100 pixels; a cell area of 300 x 100
// (rows 0..5 fully in view, row 6 in part).
class GridPaint : public ::testing::Test {
protected:
    void Make(int nCols, int nRows)
    {
        m_grid.UseOneRowHeight(1);
        m_grid.SetDefaultRowHeight(16);
        m_grid.SetColumnCount(nCols);
        m_grid.SetRowCount(nRows);
        const GridLayout& gl = m_grid.GetGridLayout();
        // A bar shows only when the cells do not fit the 300 x 100 area.
        const int nBarW = nRows > 6 ? gl.m_nVScrollWidth : 0;
        const int nBarH = nCols > 3 ? gl.m_nHScrollHeight : 0;
        m_grid.SetClientSize(300 + gl.m_nSideHeadingWidth + nBarW,
                             100 + gl.m_nTopHeadingHeight + nBarH);
        ASSERT_EQ(gl.m_nCellAreaWidth, 300);
        ASSERT_EQ(gl.m_nCellAreaHeight, 100);
        m_grid.GetRedrawHints().Clear();
        m_grid.m_sections.clear();
    }
    CRecordingGridDC PaintRequest(const CGridRect& rcClip = {0, 0, 300, 100})
    {
        CRecordingGridDC dc;
        dc.m_rcClip = rcClip;
        m_painter.PaintCellArea(dc);
        return dc;
    }
    CRecordingGridDC Update()
    {
        CRecordingGridDC dc;
        m_painter.UpdateCellArea(dc);
        return dc;
    }
    static const CDCCall& TextOf(const CRecordingGridDC& dc, const std::string& str)
    {
        static const CDCCall s_none;
        for (const CDCCall& c : dc.m_calls)
            if (c.kind == CDCCall::Kind::textOut && c.str == str)
                return c;
        ADD_FAILURE() << str << " not drawn";
        return s_none;
    }
    static Strings RowOfNames(int nRow, int nFirstCol, int nLastCol)
    {
        Strings out;
        for (int c = nFirstCol; c <= nLastCol; ++c)
            out.push_back(Name(c, nRow));
        return out;
    }

    PaintGrid m_grid;
    CGridPainter m_painter{m_grid};
};

Strings Concat(std::initializer_list<Strings> parts)
{
    Strings out;
    for (const Strings& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

// ---- paint requests ---------------------------------------------------------------------

TEST_F(GridPaint, FullPaintDrawsJustTheVisibleCellsOfAMillionRows)
{
    Make(3, 1000000);
    const CRecordingGridDC dc = PaintRequest();
    Strings expected;
    for (int r = 0; r <= 6; ++r)
        expected = Concat({expected, RowOfNames(r, 0, 2)});
    EXPECT_EQ(dc.TextStrings(), expected);
    EXPECT_LE(m_grid.m_nResolved, 21);
    EXPECT_EQ(m_grid.m_sections, std::vector<int>{kSectionCellArea});

    // Cell (1, 2) is at (100, 32, 200, 48): grid lines at x = 199 and
    // y = 47, text 3 pixels in and vertically centred in the rest.
    const CDCCall& text = TextOf(dc, "C1R2");
    EXPECT_EQ(text.rc, (CGridRect{100, 32, 199, 47}));
    EXPECT_EQ(text.x, 103);
    EXPECT_EQ(text.font, m_grid.GetGridFont());
    const auto lines = dc.Lines();
    auto hasLine = [&](int x1, int y1, int x2, int y2) {
        return std::any_of(lines.begin(), lines.end(), [&](const CDCCall& c) {
            return c.x == x1 && c.y == y1 && c.x2 == x2 && c.y2 == y2;
        });
    };
    EXPECT_TRUE(hasLine(199, 32, 199, 48));
    EXPECT_TRUE(hasLine(100, 47, 200, 47));
    EXPECT_TRUE(dc.Fills().empty()); // the cells cover the whole area
    EXPECT_TRUE(m_grid.GetRedrawHints().IsEmpty());
}

TEST_F(GridPaint, ClipBoxPaintsFromItsTopLeftCellToTheEnd)
{
    Make(3, 50);
    const CRecordingGridDC dc = PaintRequest({150, 40, 300, 100});
    Strings expected;
    for (int r = 2; r <= 6; ++r)
        expected = Concat({expected, RowOfNames(r, 1, 2)});
    EXPECT_EQ(dc.TextStrings(), expected);
}

TEST_F(GridPaint, ShortNarrowGridFillsRightOfItsColumnsAndBelowItsRows)
{
    Make(2, 3); // 200 x 48 pixels of cells in the 300 x 100 area
    const COLORREF crBack = GetGridSysColor(GridSysColor::window);
    const CRecordingGridDC dc = PaintRequest();
    EXPECT_EQ(dc.TextStrings(),
              Concat({RowOfNames(0, 0, 1), RowOfNames(1, 0, 1), RowOfNames(2, 0, 1)}));
    std::vector<CGridRect> fills;
    for (const CDCCall& c : dc.Fills()) {
        if (c.rc.left >= 200 || c.rc.top >= 48) {
            fills.push_back(c.rc);
            EXPECT_EQ(c.crBack, crBack);
        }
    }
    EXPECT_EQ(fills,
              (std::vector<CGridRect>{
                  {200, 0, 300, 16}, {200, 16, 300, 32}, {200, 32, 300, 48}, {0, 48, 300, 100}}));

    // A clip box wholly outside the cells is filled even where it does not
    // reach the area's edges.
    const CRecordingGridDC dcOut = PaintRequest({220, 10, 260, 30});
    ASSERT_FALSE(dcOut.Fills().empty());
    EXPECT_EQ(dcOut.Fills().front().rc, (CGridRect{220, 10, 260, 30}));
    EXPECT_TRUE(dcOut.TextStrings().empty());
}

TEST_F(GridPaint, EmptyGridPaintsTheBackgroundOnly)
{
    Make(3, 0);
    const CRecordingGridDC dc = PaintRequest();
    ASSERT_EQ(dc.m_calls.size(), 1u);
    EXPECT_EQ(dc.Fills().at(0).rc, (CGridRect{0, 0, 300, 100}));
    EXPECT_EQ(dc.Fills().at(0).crBack, GetGridSysColor(GridSysColor::window));

    CRecordingGridDC top;
    m_painter.PaintTopHeading(top, 300, 20);
    CRecordingGridDC side;
    m_painter.PaintSideHeading(side, 50, 100);
    const COLORREF crHead = GetGridSysColor(GridSysColor::buttonFace);
    EXPECT_EQ(top.Lines().size(), 3u * 4 + 1); // the columns' raised headings still show
    EXPECT_EQ(side.Fills().at(0).rc, (CGridRect{0, 0, 50, 100}));
    EXPECT_EQ(side.Fills().at(0).crBack, crHead);
    const auto line = side.Lines().at(0);
    EXPECT_EQ(std::tuple(line.x, line.y, line.x2, line.y2), std::tuple(49, -1, 49, 100));
}

TEST_F(GridPaint, PaintingDisabledDrawsNoCellsUntilForcedOrEnabled)
{
    Make(3, 50);
    m_grid.EnableGridPaint(0);
    EXPECT_TRUE(PaintRequest().m_calls.empty());
    EXPECT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_TRUE(Update().m_calls.empty()); // not even the pixels move

    CRecordingGridDC forced;
    m_grid.GetRedrawHints().AddRange({0, 0, 2, 49});
    EXPECT_TRUE(m_painter.DrawingPass(forced, true));
    EXPECT_EQ(forced.Texts().size(), 21u);

    // Headings and the corner keep painting.
    CRecordingGridDC top;
    m_painter.PaintTopHeading(top, 300, 20);
    EXPECT_FALSE(top.m_calls.empty());

    m_grid.EnableGridPaint(1);
    EXPECT_EQ(PaintRequest().Texts().size(), 21u);
}

// ---- incremental updates -------------------------------------------------------------

TEST_F(GridPaint, MovingDownPastTheViewScrollsAndRedrawsTheExposedRowsAndBothCurrentCells)
{
    Make(3, 1000000);
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 5), kGridDone);
    m_grid.GetRedrawHints().Clear();
    m_painter.SetFocusFrameShown(true);

    ASSERT_EQ(m_grid.MoveRow(kMoveDown), kGridDone);
    ASSERT_EQ(m_grid.GetTopRow(), 1);
    m_grid.m_nResolved = 0;
    const CRecordingGridDC dc = Update();
    ASSERT_FALSE(dc.m_calls.empty());
    const CDCCall& scroll = dc.m_calls.front();
    EXPECT_EQ(scroll.kind, CDCCall::Kind::scroll);
    EXPECT_EQ(std::tuple(scroll.x, scroll.y), std::tuple(0, -16));
    EXPECT_EQ(scroll.rc, (CGridRect{0, 0, 300, 100}));
    // Row 6 was only partly shown before; row 7 comes into view.
    EXPECT_EQ(dc.TextStrings(), Concat({{"C0R5"}, RowOfNames(6, 0, 2), RowOfNames(7, 0, 2)}));
    EXPECT_EQ(m_grid.m_nResolved, 7);
    EXPECT_EQ(TextOf(dc, "C0R5").rc, (CGridRect{0, 64, 99, 79}));
    EXPECT_EQ(TextOf(dc, "C0R7").rc, (CGridRect{0, 96, 99, 111}));
    // Only the new current cell gets the focus frame.
    const auto frames = dc.Calls(CDCCall::Kind::focusRect);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].rc, (CGridRect{0, 80, 99, 95}));
    EXPECT_EQ(frames[1].rc, (CGridRect{1, 81, 98, 94}));
    EXPECT_TRUE(m_grid.GetRedrawHints().IsEmpty());
}

TEST_F(GridPaint, ScrollingTheViewRedrawsOnlyWhatComesIntoView)
{
    Make(3, 1000000);
    ASSERT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    CRecordingGridDC dc = Update();
    // The current cell (0, 0) is out of view now and is not drawn.
    EXPECT_EQ(dc.TextStrings(), Concat({RowOfNames(6, 0, 2), RowOfNames(7, 0, 2)}));

    ASSERT_EQ(m_grid.ScrollRows(kMoveUp), kGridDone);
    dc = Update();
    EXPECT_EQ(std::tuple(dc.m_calls.front().x, dc.m_calls.front().y), std::tuple(0, 16));
    EXPECT_EQ(dc.TextStrings(), RowOfNames(0, 0, 2));
}

TEST_F(GridPaint, ScrollingAColumnRedrawsTheExposedColumn)
{
    Make(6, 50);
    ASSERT_EQ(m_grid.ScrollColumns(kMoveRight), kGridDone);
    const CRecordingGridDC dc = Update();
    EXPECT_EQ(std::tuple(dc.m_calls.front().x, dc.m_calls.front().y), std::tuple(-100, 0));
    Strings expected;
    for (int r = 0; r <= 6; ++r)
        expected.push_back(Name(3, r));
    EXPECT_EQ(dc.TextStrings(), expected);
    EXPECT_EQ(TextOf(dc, "C3R0").rc, (CGridRect{200, 0, 299, 15}));
}

TEST_F(GridPaint, CursorMoveInsideTheViewRedrawsJustTheTwoCells)
{
    Make(3, 50);
    ASSERT_EQ(m_grid.MoveCurrentCell(2, 3), kGridDone);
    const CRecordingGridDC dc = Update();
    EXPECT_TRUE(dc.Calls(CDCCall::Kind::scroll).empty());
    EXPECT_EQ(dc.TextStrings(), (Strings{"C0R0", "C2R3"}));
}

// ---- current cell, selection, joined cells --------------------------------------------

TEST_F(GridPaint, FocusFrameFollowsTheCurrentCellStyleAndTheFocus)
{
    Make(3, 50);
    struct Case {
        int nStyle;
        bool bFocus;
        std::size_t nFrames;
        bool bHighlight;
    };
    const COLORREF crHigh = GetGridSysColor(GridSysColor::highlight);
    for (const Case& c :
         {Case{0, true, 0, false}, Case{1, true, 2, false}, Case{1, false, 0, false},
          Case{2, true, 0, true}, Case{3, true, 2, true}, Case{3, false, 0, true}}) {
        m_grid.SetCurrentCellStyle(c.nStyle);
        m_painter.SetFocusFrameShown(c.bFocus);
        const CRecordingGridDC dc = PaintRequest();
        EXPECT_EQ(dc.Calls(CDCCall::Kind::focusRect).size(), c.nFrames) << c.nStyle << c.bFocus;
        EXPECT_EQ(TextOf(dc, "C0R0").crBack == crHigh, c.bHighlight) << c.nStyle;
        EXPECT_NE(TextOf(dc, "C1R0").crBack, crHigh);
    }
}

TEST_F(GridPaint, SelectedCellsAreHighlightedButNeverTheCurrentCell)
{
    Make(3, 50);
    m_grid.AllowRangeSelection(1);
    GridLayout& gl = m_grid.GetGridLayout();
    m_grid.SetInputSource(kInputKeyboard);
    gl.m_bShiftDown = true;
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 1), kGridDone);
    gl.m_bShiftDown = false;
    m_grid.SetInputSource(kInputProgram);
    const COLORREF crHigh = GetGridSysColor(GridSysColor::highlight);
    const CRecordingGridDC dc = PaintRequest();
    for (const char* psz : {"C0R0", "C1R0", "C0R1"})
        EXPECT_EQ(TextOf(dc, psz).crBack, crHigh) << psz;
    for (const char* psz : {"C1R1", "C2R0", "C2R1", "C0R2"})
        EXPECT_NE(TextOf(dc, psz).crBack, crHigh) << psz;
}

TEST_F(GridPaint, RowModeWithoutSelectionHighlightsTheRestOfTheCurrentRow)
{
    Make(3, 50);
    m_grid.SetMultiSelectMode(1);
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 2), kGridDone);
    m_painter.SetFocusFrameShown(true);
    const COLORREF crHigh = GetGridSysColor(GridSysColor::highlight);
    const CRecordingGridDC dc = PaintRequest();
    EXPECT_EQ(TextOf(dc, "C0R2").crBack, crHigh);
    EXPECT_EQ(TextOf(dc, "C2R2").crBack, crHigh);
    EXPECT_NE(TextOf(dc, "C1R2").crBack, crHigh);
    EXPECT_NE(TextOf(dc, "C0R1").crBack, crHigh);
    const auto frames = dc.Calls(CDCCall::Kind::focusRect);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].rc, (CGridRect{100, 32, 199, 47}));
}

TEST_F(GridPaint, JoinedBlockIsDrawnOnceInItsWholeRectangle)
{
    Make(3, 50);
    CUGCell cell;
    cell.SetText("joined");
    cell.SetJoinInfo(1, 1, 2); // origin (0, 1), last cell (1, 2)
    m_grid.WriteCell(0, 1, &cell);
    CUGCell part;
    part.SetJoinInfo(0, 0, 1);
    for (auto [c, r] : {std::pair{1, 1}, {0, 2}, {1, 2}})
        m_grid.WriteCell(c, r, &part);
    const CRecordingGridDC dc = PaintRequest();
    const Strings strings = dc.TextStrings();
    EXPECT_EQ(std::count(strings.begin(), strings.end(), "joined"), 1);
    EXPECT_EQ(std::count(strings.begin(), strings.end(), "C1R2"), 0);
    EXPECT_EQ(TextOf(dc, "joined").rc, (CGridRect{0, 16, 199, 47}));
    EXPECT_EQ(TextOf(dc, "C2R1").rc, (CGridRect{200, 16, 299, 31}));
}

// ---- headings and corner -------------------------------------------------------------------

TEST_F(GridPaint, TopHeadingDrawsRaisedCentredHeadingsFromTheLeftColumn)
{
    Make(6, 50);
    m_grid.SetCellText(1, -1, "B");
    m_grid.SetCellText(2, -1, "C");
    EXPECT_EQ(m_grid.ScrollColumns(kMoveRight), kGridDone);
    CRecordingGridDC dc;
    m_painter.PaintTopHeading(dc, 350, 20);
    EXPECT_EQ(m_grid.m_sections.back(), kSectionTopHeading);
    // Left column 1: heading cells (0, 0, 100, 19), (100, 0, 200, 19), ...
    const CDCCall& b = TextOf(dc, "B");
    EXPECT_EQ(b.rc, (CGridRect{1, 1, 99, 18}));
    // Grid font -11: "B" is 5 x 11, centred both ways (alignment 36).
    EXPECT_EQ(std::tuple(b.x, b.y), std::tuple(1 + (98 - 5) / 2, 1 + (17 - 11) / 2));
    EXPECT_EQ(TextOf(dc, "C").rc, (CGridRect{101, 1, 199, 18}));
    EXPECT_EQ(b.crBack, GetGridSysColor(GridSysColor::buttonFace));
    // Raised frame: white at the top-left of the first heading.
    const CDCCall first = dc.Lines().front();
    EXPECT_EQ(std::tuple(first.x, first.y, first.x2, first.y2, first.crPen),
              std::tuple(0, 18, 0, 0, MakeRGB(255, 255, 255)));
    // Columns 1..4 fill 400 > 350 pixels: no fill at the right; the black
    // line along the bottom closes it.
    const CDCCall last = dc.Lines().back();
    EXPECT_EQ(std::tuple(last.x, last.y, last.x2, last.y2, last.crPen),
              std::tuple(-1, 19, 350, 19, MakeRGB(0, 0, 0)));
    for (const CDCCall& fill : dc.Fills())
        EXPECT_LT(fill.rc.left, 350);
}

TEST_F(GridPaint, SideHeadingDrawsRowsFromTheTopRowAndFillsBelowTheLast)
{
    Make(3, 4);
    m_grid.SetCellText(-1, 0, "1");
    m_grid.SetCellText(-1, 3, "4");
    CRecordingGridDC dc;
    m_painter.PaintSideHeading(dc, 50, 100);
    EXPECT_EQ(TextOf(dc, "1").rc, (CGridRect{1, 1, 48, 15}));
    EXPECT_EQ(TextOf(dc, "4").rc, (CGridRect{1, 49, 48, 63}));
    const CDCCall fill = dc.Fills().back();
    EXPECT_EQ(fill.rc, (CGridRect{0, 64, 49, 100}));
    EXPECT_EQ(fill.crBack, GetGridSysColor(GridSysColor::buttonFace));
    const CDCCall line = dc.Lines().back();
    EXPECT_EQ(std::tuple(line.x, line.y, line.x2, line.y2), std::tuple(49, -1, 49, 100));
}

TEST_F(GridPaint, CornerIsARaisedCellClosedByBlackLines)
{
    Make(3, 4);
    CRecordingGridDC dc;
    m_painter.PaintCorner(dc, 50, 20);
    EXPECT_EQ(m_grid.m_sections.back(), kSectionCorner);
    const auto lines = dc.Lines();
    ASSERT_EQ(lines.size(), 6u); // the 3D frame's four, then two black ones
    EXPECT_EQ(std::tuple(lines[0].x, lines[0].y, lines[0].x2, lines[0].y2),
              std::tuple(0, 18, 0, 0));
    EXPECT_EQ(std::tuple(lines[4].x, lines[4].y, lines[4].x2, lines[4].y2, lines[4].crPen),
              std::tuple(0, 19, 49, 19, MakeRGB(0, 0, 0)));
    EXPECT_EQ(std::tuple(lines[5].x, lines[5].y, lines[5].x2, lines[5].y2),
              std::tuple(49, 19, 49, -1));
    // The corner cell's background fills the inside of the frame.
    EXPECT_EQ(dc.Fills().at(0).rc, (CGridRect{1, 1, 48, 18}));
}
