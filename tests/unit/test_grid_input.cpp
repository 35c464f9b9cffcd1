// Keys, focus and the mouse in the cell area, driven by synthetic events:
// which moves, selection changes and notifications each one triggers.
#include "test_grid_input_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CInputGrid;
using hpa::test::CProbeCellType;
using Log = std::vector<std::string>;

namespace {

class GridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        hpa::test::MakeInputGrid(m_grid);
        m_grid.AllowRangeSelection(1);
        m_grid.Take();
    }
    int Key(int nKey, unsigned nMods = 0) { return m_input.OnKeyDown(&nKey, nMods); }
    void Click(int x, int y, unsigned nMods = 0)
    {
        m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, x, y, nMods);
        m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, x, y, nMods);
    }
    // The cell's centre in cell-area pixels (columns of 100, rows of 16).
    static int X(int nCol) { return nCol * 100 + 50; }
    static int Y(int nRow) { return nRow * 16 + 8; }
    bool Sel(int c, int r) const { return m_grid.IsSelected(c, r) == 1; }

    CInputGrid m_grid;
    CGridInput m_input{m_grid};
};

} // namespace

// ---- keyboard ---------------------------------------------------------------------

TEST_F(GridInput, NavigationKeysMapToTheMoveCodes)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 10), kGridDone);
    EXPECT_EQ(Key(kGridKeyHome), 1);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 10);
    Key(kGridKeyEnd, kGridModControl);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 49);
    Key(kGridKeyEnd);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);
    Key(kGridKeyHome, kGridModControl);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);

    Key(kGridKeyLeft);
    Key(kGridKeyDown);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);
    EXPECT_EQ(m_grid.GetCurrentRow(), 1);
    Key(kGridKeyPageDown); // rows 1..6 fit into 100 pixels
    EXPECT_EQ(m_grid.GetCurrentRow(), 7);
    Key(kGridKeyPageUp);
    Key(kGridKeyUp);
    Key(kGridKeyRight);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);

    EXPECT_EQ(Key('A'), 0);
    EXPECT_EQ(Key(kGridKeyTab), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);
}

TEST_F(GridInput, InputSourceIsKeyboardOnlyDuringTheMove)
{
    Key(kGridKeyDown, kGridModShift);
    EXPECT_EQ(m_grid.m_nSourceAtChange, kInputKeyboard);
    EXPECT_TRUE(m_grid.m_bShiftAtChange);
    EXPECT_EQ(m_grid.GetGridLayout().m_nInputSource, kInputProgram);
    EXPECT_FALSE(m_grid.GetGridLayout().m_bShiftDown);
}

TEST_F(GridInput, CellTypeThenNotificationSeeTheKeyAndMayChangeIt)
{
    auto pType = std::make_unique<CProbeCellType>();
    CProbeCellType* pProbe = pType.get();
    m_grid.AddCellType(std::move(pType));
    CUGCell cell;
    cell.SetCellType(7);
    m_grid.WriteCell(0, 1, &cell);
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 1), kGridDone);
    m_grid.Take();

    // The cell type turns Down into Right; OnGridKeyDown sees Right with the
    // type's answer and the move goes right.
    pProbe->m_nKeyTo = kGridKeyRight;
    Key(kGridKeyDown);
    EXPECT_EQ(pProbe->m_seen, Log{"K40"});
    EXPECT_EQ(m_grid.TakeOnly({"OnGridKeyDown"}), Log{"OnGridKeyDown(39,5)"});
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);
    EXPECT_EQ(m_grid.GetCurrentRow(), 1);

    // The notification has the last word.
    m_grid.m_nKeyChangeTo = kGridKeyHome;
    Key(kGridKeyDown, kGridModControl);
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);

    EXPECT_EQ(m_grid.MoveCurrentCell(0, 1), kGridDone);
    m_grid.Take();
    int nChar = 'x';
    m_input.OnChar(&nChar, 0);
    EXPECT_EQ(pProbe->m_seen.back(), "C120");
    EXPECT_EQ(m_grid.Take(), Log{"OnGridChar(120,6)"});
}

TEST_F(GridInput, FocusChangesRedrawTheCurrentCell)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(2, 3), kGridDone);
    m_grid.GetRedrawHints().Clear();
    m_input.OnFocusIn();
    EXPECT_TRUE(m_input.HasFocus());
    EXPECT_EQ(m_grid.GetRedrawHints().Ranges(), (std::vector<CGridRange>{{2, 3, 2, 3}}));
    m_grid.GetRedrawHints().Clear();
    m_input.OnFocusOut();
    EXPECT_FALSE(m_input.HasFocus());
    EXPECT_TRUE(m_grid.GetRedrawHints().Contains(2, 3));
}

// ---- clicks -----------------------------------------------------------------------

TEST_F(GridInput, LeftClickNotifiesPressAndReleaseWithMinusOneOutsideCells)
{
    Click(X(1), Y(2));
    EXPECT_EQ(m_grid.TakeOnly({"OnCellLeftClick", "OnCellChanged"}),
              (Log{"OnCellChanged(0,1,0,2)", "OnCellLeftClick(1,2,1,150,40,-1)",
                   "OnCellLeftClick(1,2,0,150,40,-1)"}));
    // Right of the last column is inside the area but on no cell.
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, 299, -5, 0);
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, 299, -5, 0);
    EXPECT_EQ(m_grid.Take(),
              (Log{"OnCellLeftClick(-1,-1,1,299,-5,0)", "OnCellLeftClick(-1,-1,0,299,-5,0)"}));
    EXPECT_EQ(m_grid.GetCurrentRow(), 2);
}

TEST_F(GridInput, ClickOnAPartlyShownCellScrollsOnlyOnRelease)
{
    // Row 6 spans pixels 96..112 of a 100-pixel area.
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(0), 98, 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 6);
    EXPECT_EQ(m_grid.GetTopRow(), 0);
    EXPECT_EQ(m_grid.GetGridLayout().m_bFullView, 1);
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, X(0), 98, 0);
    EXPECT_EQ(m_grid.GetTopRow(), 1);
    EXPECT_EQ(m_grid.TakeOnly({"OnTopRowChanged"}), Log{"OnTopRowChanged(0,1)"});
}

TEST_F(GridInput, ShiftDownTwiceThenControlClickDeselectsOnlyTheMiddle)
{
    Click(X(1), Y(1));
    Key(kGridKeyDown, kGridModShift);
    Key(kGridKeyDown, kGridModShift);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(Sel(1, r), r >= 1 && r <= 3) << r;
    EXPECT_FALSE(Sel(0, 2));

    Click(X(1), Y(2), kGridModControl);
    EXPECT_TRUE(Sel(1, 1));
    EXPECT_FALSE(Sel(1, 2));
    EXPECT_TRUE(Sel(1, 3));
    EXPECT_EQ(m_grid.GetCurrentRow(), 2);
}

TEST_F(GridInput, ShiftClickExtendsAndAPlainClickStartsAgain)
{
    Click(X(0), Y(1));
    Click(X(2), Y(3), kGridModShift);
    EXPECT_TRUE(Sel(0, 1));
    EXPECT_TRUE(Sel(1, 2));
    EXPECT_TRUE(Sel(2, 3));
    Click(X(1), Y(4));
    EXPECT_FALSE(Sel(0, 1));
    EXPECT_TRUE(Sel(1, 4));
}

TEST_F(GridInput, CellTypeSeesClicksOnTheCurrentCellAndCanCaptureMoves)
{
    auto pType = std::make_unique<CProbeCellType>();
    CProbeCellType* pProbe = pType.get();
    m_grid.AddCellType(std::move(pType));
    CUGCell cell;
    cell.SetCellType(7);
    m_grid.WriteCell(1, 1, &cell);
    m_grid.Take();

    pProbe->m_nAnswer = -2;
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(1), Y(1), 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnCellLeftClick"}), Log{"OnCellLeftClick(1,1,1,150,24,-2)"});
    // The capturing type gets the drag instead of the selection.
    m_input.OnCellAreaMouseMove(X(2), Y(4), kGridButtonLeft, 0);
    EXPECT_EQ(pProbe->m_seen, (Log{"L1,1,1", "M250,72,1"}));
    EXPECT_EQ(m_grid.GetCurrentRow(), 1);
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, X(1), Y(1), 0);
    EXPECT_EQ(pProbe->m_seen.back(), "L1,1,0");
    EXPECT_FALSE(m_input.IsDragging());

    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::doubleClick, X(1), Y(1), 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnCellDoubleClick"}), Log{"OnCellDoubleClick(1,1,-1)"});
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::doubleClick, X(2), 300, 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnCellDoubleClick"}), Log{"OnCellDoubleClick(-1,-1,0)"});
}

TEST_F(GridInput, RightClickMovesNotifiesAndShowsTheMenuOnlyWhenSwitchedOn)
{
    int nMenus = 0;
    m_input.SetShowMenu([&](int nSection, CGridPoint) {
        EXPECT_EQ(nSection, kSectionCellArea);
        ++nMenus;
    });
    m_input.OnCellAreaButton(kGridButtonRight, GridMouseAction::down, X(2), Y(3), 0);
    m_input.OnCellAreaButton(kGridButtonRight, GridMouseAction::up, X(2), Y(3), 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnCellRightClick", "CanShowMenu"}),
              (Log{"OnCellRightClick(2,3,1,-1)", "OnCellRightClick(2,3,0,-1)"}));
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);
    EXPECT_EQ(nMenus, 0);

    m_grid.GetGridLayout().m_bPopupMenus = 1;
    m_input.OnCellAreaButton(kGridButtonRight, GridMouseAction::down, X(0), 300, 0);
    EXPECT_EQ(m_grid.Take(), (Log{"OnCellRightClick(-1,-1,1,0)", "CanShowMenu(-1,-1,1)"}));
    EXPECT_EQ(nMenus, 1);
    m_input.OnMenuCommand(999); // below the command range
    m_input.OnMenuCommand(1001);
    EXPECT_EQ(m_grid.Take(), Log{"OnMenuCommand(-1,-1,1,1001)"});

    m_grid.m_bCanShowMenu = 0;
    m_input.OnCellAreaButton(kGridButtonRight, GridMouseAction::down, X(1), Y(1), 0);
    EXPECT_EQ(nMenus, 1);
}

// ---- dragging and auto-scroll --------------------------------------------------------

TEST_F(GridInput, DragOverCellsExtendsTheSelection)
{
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(0), Y(1), 0);
    m_input.OnCellAreaMouseMove(X(1), Y(3), kGridButtonLeft, 0);
    EXPECT_EQ(m_grid.m_nSourceAtChange, kInputMouseDrag);
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, X(1), Y(3), 0);
    EXPECT_TRUE(Sel(0, 1));
    EXPECT_TRUE(Sel(1, 3));
    EXPECT_FALSE(Sel(2, 3));
    // Moves without a button do not select.
    m_input.OnCellAreaMouseMove(X(2), Y(5), 0, 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 3);
}

TEST_F(GridInput, DragBelowTheAreaInModeZeroMovesOneRowPerStep)
{
    m_grid.GetGridLayout().m_nDragStepPause = 30;
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(0), Y(4), 0);
    m_input.OnCellAreaMouseMove(X(0), 100 + 200, kGridButtonLeft, 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 5);
    EXPECT_TRUE(m_input.IsAutoScrolling());
    EXPECT_EQ(m_input.AutoScrollDelay(), 30);
    m_input.AutoScrollStep();
    m_input.AutoScrollStep();
    EXPECT_EQ(m_grid.GetCurrentRow(), 7);
    EXPECT_EQ(m_grid.GetTopRow(), 2);
    EXPECT_TRUE(Sel(0, 4) && Sel(0, 7));

    // A move back inside stops it; so does the release.
    m_input.OnCellAreaMouseMove(X(0), Y(3), kGridButtonLeft, 0);
    EXPECT_FALSE(m_input.IsAutoScrolling());
    m_input.OnCellAreaMouseMove(X(0), -1, kGridButtonLeft, 0);
    EXPECT_TRUE(m_input.IsAutoScrolling());
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::up, X(0), -1, 0);
    EXPECT_FALSE(m_input.IsAutoScrolling());
    const int nRow = m_grid.GetCurrentRow();
    m_input.AutoScrollStep();
    EXPECT_EQ(m_grid.GetCurrentRow(), nRow);
}

TEST_F(GridInput, DragModesAccelerateWithTheDistance)
{
    // 40 pixels below the area = 2 default rows of 16 (q = 2).
    struct Case {
        int nMode;
        int nRowStep;
    };
    for (Case c : {Case{1, 2}, Case{2, 4}, Case{3, 8}}) {
        m_grid.SetDragMode(c.nMode);
        EXPECT_EQ(m_grid.MoveCurrentCell(0, 10), kGridDone);
        m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(0), Y(0), 0);
        const int nStart = m_grid.GetCurrentRow();
        m_input.OnCellAreaMouseMove(X(0), 100 + 40, kGridButtonLeft, 0);
        EXPECT_EQ(m_grid.GetCurrentRow(), nStart + c.nRowStep) << c.nMode;
        EXPECT_EQ(m_input.AutoScrollDelay(), 0);
        // Above the area the step goes up by as much.
        m_input.OnCellAreaMouseMove(X(0), -40, kGridButtonLeft, 0);
        EXPECT_EQ(m_grid.GetCurrentRow(), nStart) << c.nMode;
        m_input.OnCaptureLost();
    }
    // Columns: q = distance / half the default width; mode 3 squares it.
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    m_input.OnCellAreaButton(kGridButtonLeft, GridMouseAction::down, X(0), Y(0), 0);
    m_input.OnCellAreaMouseMove(300 + 50, Y(0), kGridButtonLeft, 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);
    m_input.OnCellAreaMouseMove(300 + 100, Y(0), kGridButtonLeft, 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2); // 1 + 4, held at the last column
    // Very far out stays inside the grid.
    m_input.OnCellAreaMouseMove(X(0), 2000000000, kGridButtonLeft, 0);
    EXPECT_EQ(m_grid.GetCurrentRow(), 49);
}
