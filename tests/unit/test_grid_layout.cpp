// Layout of the windowless control: maxima, scroll bars, child placement,
// counts and sizes, fitting, hit testing and cell rectangles.
#include "grid/UGCtrl.h"
#include "test_grid_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CRecordingGrid;

namespace {

// One 100-pixel column and n rows of 16 pixels; the client is sized so the
// cell area is 200 wide (vertical bar shown) and nAreaH high.
void MakeTenRowGrid(CUGCtrl& grid, bool bUniform, int nAreaH, int nRows = 10)
{
    grid.UseOneRowHeight(bUniform ? 1 : 0);
    grid.SetDefaultRowHeight(16);
    grid.SetColumnCount(1);
    grid.SetRowCount(nRows);
    const GridLayout& gl = grid.GetGridLayout();
    grid.SetClientSize(200 + gl.m_nSideHeadingWidth + gl.m_nVScrollWidth,
                       nAreaH + gl.m_nTopHeadingHeight);
}

} // namespace

TEST(GridLayout, InitialValues)
{
    CUGCtrl grid;
    const GridLayout& gl = grid.GetGridLayout();
    EXPECT_EQ(gl.m_nDefColumnWidth, 100);
    EXPECT_EQ(gl.m_nDefRowHeight, 20);
    EXPECT_EQ(gl.m_nTopHeadingHeight, 20);
    EXPECT_EQ(gl.m_nSideHeadingWidth, 50);
    EXPECT_EQ(gl.m_nUserSizingMode, 2);
    EXPECT_EQ(gl.m_nCurrentCellStyle, 1);
    EXPECT_EQ(gl.m_bPaintEnabled, 1);
    EXPECT_EQ(gl.m_bRemap, 1);
    EXPECT_EQ(gl.m_bFullView, 1);
    EXPECT_EQ(gl.m_bUniformRowHeight, 0);
    EXPECT_EQ(grid.ColumnCount(), 0);
    EXPECT_EQ(grid.RowCount(), 0);
}

TEST(GridLayout, MaximumTopRowDecidesTheVerticalBar)
{
    for (bool bUniform : {false, true}) {
        SCOPED_TRACE(bUniform ? "uniform" : "per-row");
        CUGCtrl grid;
        MakeTenRowGrid(grid, bUniform, 100);
        const GridLayout& gl = grid.GetGridLayout();
        EXPECT_EQ(gl.m_nCellAreaHeight, 100);
        EXPECT_EQ(grid.GetMaxTopRow(), 4); // rows 4..9 are 96 pixels
        EXPECT_TRUE(grid.GetChildRects().bVScrollVisible);
        EXPECT_EQ(gl.m_nCellAreaWidth, 200);

        MakeTenRowGrid(grid, bUniform, 200);
        EXPECT_EQ(grid.GetMaxTopRow(), 0);
        EXPECT_FALSE(grid.GetChildRects().bVScrollVisible);
        // The bar's width went to the cells.
        EXPECT_EQ(gl.m_nCellAreaWidth, 200 + gl.m_nVScrollWidth);
        EXPECT_TRUE(grid.GetChildRects().rcVScroll.IsEmpty());
    }
}

TEST(GridLayout, ALastRowTallerThanTheAreaIsTheMaximum)
{
    CUGCtrl grid;
    MakeTenRowGrid(grid, false, 100);
    grid.SetRowHeight(9, 150);
    EXPECT_EQ(grid.GetMaxTopRow(), 9);
}

TEST(GridLayout, TopRowIsPulledBackToTheMaximum)
{
    CUGCtrl grid;
    MakeTenRowGrid(grid, true, 100, 50);
    ASSERT_EQ(grid.ScrollRows(kMoveLast), kGridDone);
    EXPECT_EQ(grid.GetTopRow(), 44);
    grid.SetRowCount(20);
    EXPECT_EQ(grid.GetTopRow(), 14);
}

TEST(GridLayout, ChildrenArePlacedAroundTheCellArea)
{
    CUGCtrl grid;
    grid.SetColumnCount(10); // 1000 pixels: horizontal bar needed
    grid.SetRowCount(100);   // vertical bar needed
    grid.SetClientSize(400, 300);
    const CGridChildRects& rc = grid.GetChildRects();
    const int s = kDefaultScrollBarSize;
    EXPECT_EQ(rc.rcCellArea, (CGridRect{50, 20, 400 - s, 300 - s}));
    EXPECT_EQ(rc.rcTopHeading, (CGridRect{50, 0, 400 - s, 20}));
    EXPECT_EQ(rc.rcSideHeading, (CGridRect{0, 20, 50, 300 - s}));
    EXPECT_EQ(rc.rcCorner, (CGridRect{0, 0, 50, 20}));
    EXPECT_EQ(rc.rcVScroll, (CGridRect{400 - s, 0, 400, 300 - s}));
    EXPECT_EQ(rc.rcHScroll, (CGridRect{0, 300 - s, 400 - s, 300}));

    // A zero-width bar stays hidden for good.
    grid.SetVScrollBarWidth(0);
    EXPECT_EQ(grid.GetChildRects().rcCellArea.right, 400);
}

TEST(GridLayout, VerticalBarScalesAboveAThousandTopRows)
{
    CUGCtrl grid;
    MakeTenRowGrid(grid, true, 160, 5010); // 10 rows fit: maximum top row 5000
    ASSERT_EQ(grid.GetMaxTopRow(), 5000);
    CGridScrollInfo info = grid.GetVScrollInfo();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 1000);
    EXPECT_EQ(info.nPage, 1);
    EXPECT_TRUE(info.bScaled);
    EXPECT_EQ(grid.SetTopRow(2500), kGridDone);
    EXPECT_EQ(grid.GetVScrollInfo().nPos, 500);
    EXPECT_EQ(grid.VScrollPosToRow(500), 2500);
    EXPECT_EQ(grid.VScrollPosToRow(1000), 5000);
    grid.OnVScrollBar(GridScrollCode::thumbPosition, 250, nullptr);
    EXPECT_EQ(grid.GetTopRow(), 1250);

    CUGCtrl small;
    MakeTenRowGrid(small, true, 100, 20); // page 6, maximum top row 14
    info = small.GetVScrollInfo();
    EXPECT_FALSE(info.bScaled);
    EXPECT_EQ(info.nPage, 6);
    EXPECT_EQ(info.nMax, 6 + 14 - 1);
    small.SetVScrollMode(2);
    EXPECT_EQ(small.GetVScrollInfo(), (CGridScrollInfo{0, 2, 0, 1, false}));
}

TEST(GridLayout, ThumbTrackingShowsTipsAndFollowsInModeOne)
{
    struct CTipGrid : CUGCtrl {
        int OnVScrollTip(int nRow, int nPercent, std::string* pstr) override
        {
            *pstr = std::to_string(nRow) + "@" + std::to_string(nPercent);
            return 1;
        }
    } grid;
    MakeTenRowGrid(grid, true, 100, 20);
    std::string strTip;
    EXPECT_EQ(grid.OnVScrollBar(GridScrollCode::thumbTrack, 7, &strTip), 0);
    EXPECT_EQ(grid.GetTopRow(), 0); // mode 0: scroll at release
    grid.UseVScrollTips(1);
    grid.SetVScrollMode(1);
    EXPECT_EQ(grid.OnVScrollBar(GridScrollCode::thumbTrack, 7, &strTip), 1);
    EXPECT_EQ(strTip, "7@36");
    EXPECT_EQ(grid.GetTopRow(), 7);
}

TEST(GridLayout, RowCountSwitchesToUniformHeightsAtTheThreshold)
{
    CUGCtrl grid;
    grid.SetRowCount(63999);
    EXPECT_EQ(grid.GetGridLayout().m_bUniformRowHeight, 0);
    EXPECT_EQ(grid.GetGridLayout().m_anRowHeights.size(), 63999u);
    grid.SetRowCount(70000);
    EXPECT_EQ(grid.GetGridLayout().m_bUniformRowHeight, 1);
    EXPECT_TRUE(grid.GetGridLayout().m_anRowHeights.empty());
    EXPECT_EQ(grid.UseOneRowHeight(0), 1); // too many rows for per-row heights
    grid.SetRowCount(64001);
    EXPECT_EQ(grid.UseOneRowHeight(0), 0);
    EXPECT_EQ(grid.GetGridLayout().m_anRowHeights.size(), 64001u);
}

TEST(GridLayout, CountsAndSizesRejectBadArguments)
{
    CUGCtrl grid;
    grid.SetColumnCount(3);
    int nWidth = 0;
    EXPECT_EQ(grid.SetColumnCount(-1), 1);
    EXPECT_EQ(grid.SetRowCount(-1), 1);
    EXPECT_EQ(grid.SetColumnWidth(3, 10), 1);
    EXPECT_EQ(grid.SetColumnWidth(0, -1), 1);
    EXPECT_EQ(grid.GetColumnWidth(-1, &nWidth), 1);
    EXPECT_EQ(grid.SetDefaultRowHeight(-1), 1);
    EXPECT_EQ(grid.SetTopHeadingHeight(-1), 1);
    EXPECT_EQ(grid.SetCurrentCellStyle(4), 1);
    EXPECT_EQ(grid.SetDragMode(4), 1);
    EXPECT_EQ(grid.UseOffscreenPaint(2), 1);
    EXPECT_EQ(grid.SetColumnWidth(2, 33), 0);
    EXPECT_EQ(grid.GetColumnWidth(2, &nWidth), 0);
    EXPECT_EQ(nWidth, 33);
}

TEST(GridLayout, FitColumnWidthsMeasuresOnlyTheGivenColumnsAndRows)
{
    CUGCtrl grid;
    grid.SetColumnCount(5);
    grid.SetRowCount(20);
    for (int c = 0; c < 5; ++c)
        grid.SetCellText(c, 0, "xx");
    grid.SetCellText(2, -1, "Heading text"); // 12 characters
    grid.SetCellText(3, 4, "abc");
    grid.SetCellText(3, 12, "not within the first ten rows");
    CGridFont big{"Arial", -20, 400, false, false};
    CUGCell cell;
    grid.ReadCell(3, 5, &cell);
    cell.SetText("abcd");
    cell.SetFont(&big); // 10 pixels a character
    grid.WriteCell(3, 5, &cell);

    ASSERT_EQ(grid.FitColumnWidths(2, 3, 10), 0);
    // The grid font (11 pixels high) measures 5 pixels a character.
    int nWidth = 0;
    grid.GetColumnWidth(2, &nWidth);
    EXPECT_EQ(nWidth, 12 * 5 + 6);
    grid.GetColumnWidth(3, &nWidth);
    EXPECT_EQ(nWidth, 4 * 10 + 6);
    for (int c : {0, 1, 4}) {
        grid.GetColumnWidth(c, &nWidth);
        EXPECT_EQ(nWidth, 100) << c;
    }
    EXPECT_EQ(grid.FitColumnWidths(3, 2, 10), 1);
    EXPECT_EQ(grid.FitColumnWidths(4, 99, 10), 0); // cut to the last column
}

TEST(GridLayout, FitColumnWidthsUsesTheGivenMeasurer)
{
    struct CWideDC : CFixedMeasureDC {
        CGridSize GetTextExtent(std::string_view str) override
        {
            return {static_cast<int>(str.size()) * 20, 10};
        }
    };
    CUGCtrl grid;
    grid.SetMeasureDCFactory([] { return std::make_unique<CWideDC>(); });
    grid.SetColumnCount(1);
    grid.SetRowCount(1);
    grid.SetCellText(0, 0, "abc");
    grid.FitColumnWidths(0, 0, 1);
    int nWidth = 0;
    grid.GetColumnWidth(0, &nWidth);
    EXPECT_EQ(nWidth, 66);
}

TEST(GridLayout, InsertRowAtShiftsStoreHeightsAndCurrentRow)
{
    CRecordingGrid grid;
    grid.SetColumnCount(2);
    grid.SetRowCount(5);
    for (int r = 0; r < 5; ++r)
        grid.SetCellText(0, r, std::to_string(r));
    grid.SetRowHeight(2, 30);
    EXPECT_EQ(grid.MoveCurrentCell(0, 3), kGridDone);
    grid.Take();

    EXPECT_EQ(grid.InsertRowAt(-1), 2);
    EXPECT_EQ(grid.InsertRowAt(6), 2);
    ASSERT_EQ(grid.InsertRowAt(1), 0);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.GetCurrentRow(), 4);
    int nHeight = 0;
    grid.GetRowHeight(3, &nHeight);
    EXPECT_EQ(nHeight, 30);
    CUGCell cell;
    EXPECT_EQ(grid.ReadCell(0, 1, &cell), 1);
    grid.ReadCell(0, 4, &cell);
    EXPECT_EQ(cell.GetText(), "3");

    // Inserting at the end: the store has no such row and inserts nothing,
    // but the grid still grows.
    ASSERT_EQ(grid.InsertRowAt(6), 0);
    EXPECT_EQ(grid.RowCount(), 7);
    std::string strWhy;
    EXPECT_TRUE(grid.GetMemStore()->CheckConsistency(&strWhy)) << strWhy;
}

TEST(GridLayout, HitTestWalksFromTheVisibleOrigin)
{
    CUGCtrl empty;
    empty.SetClientSize(400, 300);
    int nCol = 0, nRow = 0;
    EXPECT_EQ(empty.GetCellFromPoint(10, 10, &nCol, &nRow), 1);
    EXPECT_EQ(nCol, -1);
    EXPECT_EQ(nRow, -1);
    empty.SetColumnCount(3); // columns but still no rows
    EXPECT_EQ(empty.GetCellFromPoint(10, 10, &nCol, &nRow), 1);
    EXPECT_EQ(nCol, -1);

    for (bool bUniform : {false, true}) {
        SCOPED_TRACE(bUniform ? "uniform" : "per-row");
        CUGCtrl grid;
        MakeTenRowGrid(grid, bUniform, 100, 40);
        grid.SetColumnCount(3);
        CGridRect rc;
        ASSERT_EQ(grid.GetCellFromPoint(150, 20, &nCol, &nRow, &rc), 0);
        EXPECT_EQ(nCol, 1);
        EXPECT_EQ(nRow, 1);
        EXPECT_EQ(rc, (CGridRect{100, 16, 200, 32}));
        EXPECT_EQ(grid.SetTopRow(3), kGridDone);
        ASSERT_EQ(grid.GetCellFromPoint(0, 0, &nCol, &nRow, &rc), 0);
        EXPECT_EQ(nRow, 3);
        EXPECT_EQ(rc, (CGridRect{0, 0, 100, 16}));
        EXPECT_EQ(grid.GetCellFromPoint(-1, 5, &nCol, &nRow), 1);
        EXPECT_EQ(grid.GetCellFromPoint(5, grid.GetGridLayout().m_nCellAreaHeight, &nCol, &nRow),
                  1);
        // A cell above the view lies above the area, not on top of row 3.
        ASSERT_EQ(grid.GetCellRect(0, 1, &rc), 0);
        EXPECT_EQ(rc, (CGridRect{0, -32, 100, -16}));
        EXPECT_EQ(grid.GetCellRect(0, 40, &rc), 1);
    }
}

TEST(GridLayout, JoinedBlocksHitTestAsTheirOrigin)
{
    CUGCtrl grid;
    MakeTenRowGrid(grid, false, 100, 10);
    grid.SetColumnCount(4);
    grid.SetClientSize(500, 200);
    CUGCell cell;
    cell.SetJoinInfo(1, 2, 3); // origin (1,1), block to (2,3)
    grid.WriteCell(1, 1, &cell);
    for (int c = 1; c <= 2; ++c) {
        for (int r = 1; r <= 3; ++r) {
            if (c == 1 && r == 1)
                continue;
            CUGCell part;
            part.SetJoinInfo(0, 1, 1);
            grid.WriteCell(c, r, &part);
        }
    }
    int nCol = 0, nRow = 0;
    CGridRect rc;
    ASSERT_EQ(grid.GetCellFromPoint(250, 40, &nCol, &nRow, &rc), 0);
    EXPECT_EQ(nCol, 1);
    EXPECT_EQ(nRow, 1);
    EXPECT_EQ(rc, (CGridRect{100, 16, 300, 64}));

    // Moving down from the origin skips past the block.
    EXPECT_EQ(grid.MoveCurrentCell(1, 1), kGridDone);
    EXPECT_EQ(grid.MoveRow(kMoveDown), kGridDone);
    EXPECT_EQ(grid.GetCurrentRow(), 4);
    // A move into the block lands on its origin.
    EXPECT_EQ(grid.MoveCurrentCell(2, 3), kGridDone);
    EXPECT_EQ(grid.GetCurrentColumn(), 1);
    EXPECT_EQ(grid.GetCurrentRow(), 1);
}

TEST(GridLayout, MillionUniformRowsUseArithmetic)
{
    CUGCtrl grid;
    grid.UseOneRowHeight(1);
    grid.SetDefaultRowHeight(16);
    grid.SetColumnCount(27);
    grid.SetRowCount(1000000);
    hpa::test::SetCellAreaWithBars(grid, 800, 600); // 37 rows fit fully
    ASSERT_EQ(grid.GetMaxTopRow(), 1000000 - 37);
    ASSERT_EQ(grid.ScrollRows(kMoveLast), kGridDone);
    CGridRect rc;
    ASSERT_EQ(grid.GetCellRect(3, 999999, &rc), 0);
    EXPECT_EQ(rc.top, 36 * 16);
    int nCol = 0, nRow = 0;
    ASSERT_EQ(grid.GetCellFromPoint(5, 590, &nCol, &nRow), 0);
    EXPECT_EQ(nRow, 999999);
    EXPECT_EQ(grid.MoveCurrentCell(0, 500000), kGridDone);
    EXPECT_EQ(grid.GetTopRow(), 500000);
    ASSERT_EQ(grid.MoveRow(kMovePageDown), kGridDone);
    EXPECT_EQ(grid.GetCurrentRow(), 500037);
    EXPECT_EQ(grid.GetTopRow(), 500001);
    ASSERT_EQ(grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_EQ(grid.GetTopRow(), 500002);
}
