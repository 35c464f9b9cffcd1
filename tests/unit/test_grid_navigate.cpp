// Moving the current cell, scrolling, vetoes, the order of notifications,
// the selection, and the redraw hints each change leaves behind.
#include "grid/UGCtrl.h"
#include "test_grid_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CRecordingGrid;
using Log = std::vector<std::string>;

namespace {

// 50 rows of 16 pixels in a 100-pixel-high area (rows 0..5 fit fully, row 6
// shows in part); n columns of 100 pixels in a 300-pixel-wide area.
class GridNavigate : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { Make(3); }
    void Make(int nCols, int nRows = 50)
    {
        m_grid.UseOneRowHeight(GetParam() ? 1 : 0);
        m_grid.SetDefaultRowHeight(16);
        m_grid.SetColumnCount(nCols);
        m_grid.SetRowCount(nRows);
        const GridLayout& gl = m_grid.GetGridLayout();
        const int nBarH = nCols > 3 ? gl.m_nHScrollHeight : 0;
        m_grid.SetClientSize(300 + gl.m_nSideHeadingWidth + gl.m_nVScrollWidth,
                             100 + gl.m_nTopHeadingHeight + nBarH);
        ASSERT_EQ(gl.m_nCellAreaHeight, 100);
        ASSERT_EQ(gl.m_nCellAreaWidth, 300);
        m_grid.Take();
        m_grid.GetRedrawHints().Clear();
    }
    CRecordingGrid m_grid;
};

} // namespace

TEST_P(GridNavigate, MoveCurrentCellNotifiesInOrder)
{
    ASSERT_EQ(m_grid.MoveCurrentCell(2, 3), kGridDone);
    EXPECT_EQ(m_grid.Take(), (Log{"CanMoveCurrent(0,0,2,3)", "OnRowChanged(0,3)",
                                  "OnColumnChanged(0,2)", "OnCellChanged(0,2,0,3)"}));
    EXPECT_EQ(m_grid.MoveCurrentCell(2, 3), kGridDone);
    EXPECT_TRUE(m_grid.Take().empty());
    EXPECT_EQ(m_grid.GetGridLayout().m_nPrevCurrentRow, 3);
}

TEST_P(GridNavigate, MoveCurrentCellRefusesAndReportsBadTargets)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(3, 0), kGridRefused);
    EXPECT_EQ(m_grid.MoveCurrentCell(-1, 0), kGridRefused);
    EXPECT_TRUE(m_grid.Take().empty());
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 52), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnPastLastRow(50,3,0)"});
    EXPECT_EQ(m_grid.MoveCurrentCell(0, -2), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnBeforeFirstRow(50,-2)"});

    m_grid.m_bVetoMove = true;
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 1), kGridVetoed);
    EXPECT_EQ(m_grid.Take(), Log{"CanMoveCurrent(0,0,1,1)"});
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
}

TEST_P(GridNavigate, MovingDownFromTheLastVisibleRowScrollsJustEnough)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 5), kGridDone);
    ASSERT_EQ(m_grid.GetTopRow(), 0);
    m_grid.Take();
    m_grid.GetRedrawHints().Clear();

    ASSERT_EQ(m_grid.MoveRow(kMoveDown), kGridDone);
    EXPECT_EQ(m_grid.GetTopRow(), 1); // rows 1..6 are 96 pixels
    EXPECT_EQ(m_grid.Take(), (Log{"CanMoveCurrent(0,5,0,6)", "OnRowChanged(5,6)",
                                  "OnCellChanged(0,0,5,6)", "OnTopRowChanged(0,1)"}));

    // Repaint: the pixels move up one row, the rows exposed at the bottom
    // (from row 6, which was cut off), the old and the new current cell.
    const CGridRedrawHints& hints = m_grid.GetRedrawHints();
    EXPECT_FALSE(hints.IsFullRedraw());
    EXPECT_EQ(hints.ScrollDy(), -16);
    EXPECT_EQ(hints.ScrollDx(), 0);
    EXPECT_EQ(hints.Ranges(), (std::vector<CGridRange>{{0, 6, 2, 49}, {0, 5, 0, 5}}));
}

TEST_P(GridNavigate, ScrollingByOneRowRepaintsOnlyTheExposedRowAndTheCurrentCell)
{
    ASSERT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_EQ(m_grid.Take(), (Log{"CanScrollView(0,0,0,1)", "OnTopRowChanged(0,1)"}));
    const CGridRedrawHints& hints = m_grid.GetRedrawHints();
    EXPECT_EQ(hints.ScrollDy(), -16);
    EXPECT_EQ(hints.Ranges(), (std::vector<CGridRange>{{0, 6, 2, 49}, {0, 0, 0, 0}}));
    EXPECT_EQ(m_grid.GetCurrentRow(), 0); // the current cell stays

    m_grid.GetRedrawHints().Clear();
    ASSERT_EQ(m_grid.ScrollRows(kMoveUp), kGridDone);
    EXPECT_EQ(hints.ScrollDy(), 16);
    EXPECT_EQ(hints.Ranges(), (std::vector<CGridRange>{{0, 0, 2, 0}}));

    // A jump further than the area repaints everything.
    m_grid.GetRedrawHints().Clear();
    ASSERT_EQ(m_grid.ScrollRows(kMoveLast), kGridDone);
    EXPECT_TRUE(hints.IsFullRedraw());
}

TEST_P(GridNavigate, RowMovesByCode)
{
    struct Case {
        int nFrom, nCode, nResult, nTo;
    };
    const Case cases[] = {
        {10, kMoveUp, 0, 9},        {10, kMoveDown, 0, 11}, {10, kMovePageUp, 0, 4},
        {10, kMovePageDown, 0, 16}, {10, kMoveFirst, 0, 0}, {10, kMoveLast, 0, 49},
        {47, kMovePageDown, 0, 49}, {3, kMovePageUp, 0, 0}, {10, 6, 3, 10},
        {0, kMoveUp, 0, 0},         {49, kMoveDown, 0, 49},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_grid.MoveCurrentCell(0, c.nFrom), kGridDone);
        EXPECT_EQ(m_grid.MoveRow(c.nCode), c.nResult) << c.nFrom << " code " << c.nCode;
        EXPECT_EQ(m_grid.GetCurrentRow(), c.nTo) << c.nFrom << " code " << c.nCode;
    }
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    m_grid.Take();
    EXPECT_EQ(m_grid.MoveRow(kMoveUp), kGridDone);
    EXPECT_EQ(m_grid.Take(), Log{"OnBeforeFirstRow(50,-1)"});
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 49), kGridDone);
    m_grid.Take();
    EXPECT_EQ(m_grid.MoveRow(kMoveDown), kGridDone);
    EXPECT_EQ(m_grid.Take(), Log{"OnPastLastRow(50,1,0)"});
}

TEST_P(GridNavigate, ColumnMovesByCode)
{
    Make(8);
    struct Case {
        int nFrom, nCode, nResult, nTo;
    };
    const Case cases[] = {
        {3, kMoveLeft, 0, 2},      {3, kMoveRight, 0, 4},
        {0, kMovePageLeft, 1, 0},  {7, kMovePageRight, 1, 7},
        {1, kMovePageRight, 0, 4}, {5, kMovePageLeft, 0, 2},
        {3, kMoveFirst, 0, 0},     {3, kMoveLast, 0, 7},
        {0, kMoveLeft, 0, 0},      {3, 9, 3, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_grid.MoveCurrentCell(c.nFrom, 0), kGridDone);
        EXPECT_EQ(m_grid.MoveColumn(c.nCode), c.nResult) << c.nFrom << " code " << c.nCode;
        EXPECT_EQ(m_grid.GetCurrentColumn(), c.nTo) << c.nFrom << " code " << c.nCode;
    }
    // The last column brought into view: columns 5..7 fill the 300 pixels.
    EXPECT_EQ(m_grid.MoveCurrentCell(7, 0), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 5);
}

TEST_P(GridNavigate, ScrollRowsCodesAndRefusals)
{
    struct Case {
        int nFromTop, nCode, nResult, nTop;
    };
    const Case cases[] = {
        {10, kMoveUp, 0, 9},
        {10, kMoveDown, 0, 11},
        {10, kMovePageUp, 0, 4},
        {10, kMovePageDown, 0, 16},
        {40, kMovePageDown, 0, 44},
        {3, kMovePageUp, 0, 0},
        {10, kMoveFirst, 0, 0},
        {10, kMoveLast, 0, 44},
        {0, kMoveFirst, 1, 0},
        {44, kMoveLast, 1, 44},
        {10, 7, 3, 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_grid.SetTopRow(c.nFromTop), kGridDone);
        EXPECT_EQ(m_grid.ScrollRows(c.nCode), c.nResult) << c.nFromTop << " code " << c.nCode;
        EXPECT_EQ(m_grid.GetTopRow(), c.nTop) << c.nFromTop << " code " << c.nCode;
    }
    EXPECT_EQ(m_grid.SetTopRow(0), kGridDone);
    m_grid.Take();
    EXPECT_EQ(m_grid.ScrollRows(kMoveUp), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnBeforeFirstRow(50,-1)"});
    EXPECT_EQ(m_grid.SetTopRow(44), kGridDone);
    m_grid.Take();
    EXPECT_EQ(m_grid.ScrollRows(kMoveDown), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnPastLastRow(50,1,0)"});

    m_grid.m_bVetoScroll = true;
    EXPECT_EQ(m_grid.ScrollRows(kMoveUp), kGridVetoed);
    EXPECT_EQ(m_grid.GetTopRow(), 44);
    EXPECT_EQ(m_grid.Take(), Log{"CanScrollView(0,44,0,43)"});
}

TEST_P(GridNavigate, DirectTopRowAndLeftColumn)
{
    Make(8);
    EXPECT_EQ(m_grid.SetTopRow(0), kGridRefused); // unchanged
    EXPECT_EQ(m_grid.SetTopRow(45), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnPastLastRow(50,1,0)"});
    EXPECT_EQ(m_grid.SetTopRow(-1), kGridRefused);
    EXPECT_EQ(m_grid.Take(), Log{"OnBeforeFirstRow(50,-1)"});
    EXPECT_EQ(m_grid.SetTopRow(20), kGridDone);
    EXPECT_EQ(m_grid.Take(), (Log{"CanScrollView(0,0,0,20)", "OnTopRowChanged(0,20)"}));

    EXPECT_EQ(m_grid.GetMaxLeftColumn(), 5);
    EXPECT_EQ(m_grid.SetLeftColumn(0), kGridDone); // unchanged
    EXPECT_EQ(m_grid.SetLeftColumn(6), kGridRefused);
    EXPECT_EQ(m_grid.SetLeftColumn(2), kGridDone);
    EXPECT_EQ(m_grid.Take(), (Log{"CanScrollView(0,20,2,20)", "OnLeftColumnChanged(0,2)"}));
    m_grid.m_bVetoScroll = true;
    EXPECT_EQ(m_grid.SetLeftColumn(3), kGridVetoed);
}

TEST_P(GridNavigate, ScrollColumnsCodes)
{
    Make(8);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveLeft), kGridRefused);
    EXPECT_EQ(m_grid.ScrollColumns(kMovePageLeft), kGridRefused);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveFirst), kGridRefused);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveRight), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 1);
    EXPECT_EQ(m_grid.ScrollColumns(kMovePageRight), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 4);
    EXPECT_EQ(m_grid.ScrollColumns(kMovePageRight), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 5);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveRight), kGridRefused);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveLast), kGridRefused);
    EXPECT_EQ(m_grid.ScrollColumns(kMovePageLeft), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 2);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveFirst), kGridDone);
    EXPECT_EQ(m_grid.GetLeftColumn(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
}

TEST_P(GridNavigate, AClickedPartlyVisibleRowDoesNotScroll)
{
    GridLayout& gl = m_grid.GetGridLayout();
    gl.m_bFullView = 0;
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 6), kGridDone); // partly shown at the bottom
    EXPECT_EQ(m_grid.GetTopRow(), 0);
    gl.m_bFullView = 1;
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 7), kGridDone);
    EXPECT_EQ(m_grid.GetTopRow(), 2);
}

TEST_P(GridNavigate, CountChangesPullTheCurrentCellIn)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(2, 40), kGridDone);
    m_grid.Take();
    m_grid.SetColumnCount(2);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);
    EXPECT_EQ(m_grid.Take(), (Log{"OnColumnChanged(2,1)", "OnCellChanged(2,1,40,40)"}));
    m_grid.SetRowCount(10);
    EXPECT_EQ(m_grid.GetCurrentRow(), 9);
    m_grid.SetRowCount(0);
    m_grid.SetColumnCount(0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
    EXPECT_EQ(m_grid.GetTopRow(), 0);
    int nCol = 0, nRow = 0;
    EXPECT_EQ(m_grid.GetCellFromPoint(1, 1, &nCol, &nRow), 1);
    EXPECT_EQ(m_grid.MoveRow(kMoveDown), kGridDone);
}

TEST_P(GridNavigate, CurrentCellCacheFollowsTheCurrentCell)
{
    m_grid.SetCellText(1, 2, "here");
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 2), kGridDone);
    EXPECT_EQ(m_grid.GetGridLayout().m_currentCell.GetText(), "here");
    EXPECT_EQ(m_grid.GetCellType(0)->FocusRow(), 2);
}

INSTANTIATE_TEST_SUITE_P(Heights, GridNavigate, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return p.param ? "Uniform" : "PerRow";
                         });

// ---- selection ------------------------------------------------------------------------

namespace {

Log Enumerate(const CUGCtrl& grid)
{
    Log cells;
    grid.EnumerateSelection([&](int c, int r) {
        cells.push_back(std::to_string(c) + "," + std::to_string(r));
        return true;
    });
    return cells;
}

class GridSelect : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_grid.SetColumnCount(4);
        m_grid.SetRowCount(10);
        m_grid.SetClientSize(600, 400);
    }
    void Key(int nCode, bool bShift)
    {
        GridLayout& gl = m_grid.GetGridLayout();
        gl.m_nInputSource = kInputKeyboard;
        gl.m_bShiftDown = bShift;
        EXPECT_EQ(m_grid.MoveRow(nCode), kGridDone);
        gl.m_nInputSource = kInputProgram;
        gl.m_bShiftDown = false;
    }
    void Click(int nCol, int nRow, bool bShift, bool bControl)
    {
        GridLayout& gl = m_grid.GetGridLayout();
        gl.m_nInputSource = kInputMouseClick;
        gl.m_bShiftDown = bShift;
        gl.m_bControlDown = bControl;
        EXPECT_EQ(m_grid.MoveCurrentCell(nCol, nRow), kGridDone);
        gl.m_nInputSource = kInputProgram;
        gl.m_bShiftDown = gl.m_bControlDown = false;
    }
    CRecordingGrid m_grid;
};

} // namespace

TEST_F(GridSelect, WithSelectionOffOnlyTheCurrentCellIsEnumerated)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(2, 3), kGridDone);
    EXPECT_EQ(Enumerate(m_grid), Log{"2,3"});
    EXPECT_EQ(m_grid.IsSelected(2, 3), 0);
}

TEST_F(GridSelect, ShiftExtendsAndEnumerationGoesRowByRow)
{
    m_grid.AllowRangeSelection(1);
    Click(1, 1, false, false);
    Key(kMoveDown, true);
    Click(2, 2, true, false);
    EXPECT_EQ(Enumerate(m_grid), (Log{"1,1", "2,1", "1,2", "2,2"}));
    // A plain move starts over.
    Key(kMoveDown, false);
    EXPECT_EQ(Enumerate(m_grid), Log{"2,3"});
}

TEST_F(GridSelect, ControlClickTogglesOneCellInsideABlock)
{
    m_grid.AllowRangeSelection(1);
    Click(0, 0, false, false);
    Key(kMoveDown, true);
    Key(kMoveDown, true); // a three-cell block (0,0)-(0,2)
    Click(0, 1, false, true);
    EXPECT_EQ(Enumerate(m_grid), (Log{"0,0", "0,2"}));
    EXPECT_EQ(m_grid.IsSelected(0, 1), 0);
    Click(3, 5, false, true); // a new cell far away
    EXPECT_EQ(Enumerate(m_grid), (Log{"0,0", "0,2", "3,5"}));
    Click(0, 1, false, true); // the same one-cell block flips back
    EXPECT_EQ(m_grid.IsSelected(0, 1), 1);
    EXPECT_EQ(Enumerate(m_grid), (Log{"0,0", "0,1", "0,2", "3,5"}));
}

TEST_F(GridSelect, RowModeYieldsColumnZeroOfEachSelectedRow)
{
    m_grid.SetMultiSelectMode(1);
    m_grid.AllowRangeSelection(1);
    Click(2, 4, false, false);
    Click(3, 6, true, false);
    EXPECT_EQ(Enumerate(m_grid), (Log{"0,4", "0,5", "0,6"}));
    EXPECT_EQ(m_grid.IsSelected(0, 5), 1);
    EXPECT_EQ(m_grid.IsSelected(3, 7), 0);
}

TEST_F(GridSelect, TurningSelectionOffRepaintsTheSelectedCells)
{
    m_grid.AllowRangeSelection(1);
    Click(1, 1, false, false);
    Click(2, 3, true, false);
    m_grid.GetRedrawHints().Clear();
    m_grid.AllowRangeSelection(0);
    EXPECT_TRUE(m_grid.GetRedrawHints().Contains(2, 2));
    EXPECT_FALSE(m_grid.GetRedrawHints().Contains(3, 3));
    EXPECT_EQ(Enumerate(m_grid), Log{"2,3"});
}

TEST_F(GridSelect, ProgramMovesStartANewBlock)
{
    m_grid.AllowRangeSelection(1);
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 1), kGridDone);
    m_grid.GetGridLayout().m_nInputSource = kInputMouseDrag;
    EXPECT_EQ(m_grid.MoveCurrentCell(2, 2), kGridDone);
    EXPECT_EQ(Enumerate(m_grid).size(), 4u);
    m_grid.GetGridLayout().m_nInputSource = kInputProgram;
    EXPECT_EQ(m_grid.MoveCurrentCell(3, 3), kGridDone);
    EXPECT_EQ(Enumerate(m_grid), Log{"3,3"});
}
