// Clicks on the headings and the corner, and resizing columns, rows and the
// headings by dragging their edges, including a grid that refuses all of it.
#include "test_grid_input_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CInputGrid;
using Log = std::vector<std::string>;

namespace {

constexpr unsigned kLeft = kGridButtonLeft;
constexpr unsigned kRight = kGridButtonRight;
constexpr GridMouseAction kDown = GridMouseAction::down;
constexpr GridMouseAction kUp = GridMouseAction::up;

class GridHeadings : public ::testing::Test {
protected:
    void SetUp() override
    {
        hpa::test::MakeInputGrid(m_grid, 6);
        m_grid.Take();
    }
    // Press, move and release in one section.
    void Drag(int nSection, int x0, int y0, int x1, int y1)
    {
        m_input.OnHeadingButton(nSection, kLeft, kDown, x0, y0, 0);
        m_input.OnHeadingMouseMove(nSection, x1, y1, kLeft, 0);
        m_input.OnHeadingButton(nSection, kLeft, kUp, x1, y1, 0);
    }
    int Width(int nCol) const
    {
        int w = -1;
        m_grid.GetColumnWidth(nCol, &w);
        return w;
    }

    CInputGrid m_grid;
    CGridInput m_input{m_grid};
};

} // namespace

TEST_F(GridHeadings, ClicksNotifyOneOnPressAndZeroOnRelease)
{
    EXPECT_EQ(m_grid.SetLeftColumn(2), kGridDone);
    m_grid.m_bCanResize = 0; // keep the edge tests out of the log
    m_grid.Take();
    m_input.OnTopHeadingButton(kLeft, kDown, 130, 5, 0);
    m_input.OnTopHeadingButton(kLeft, kUp, 130, 5, 0);
    m_input.OnTopHeadingButton(kLeft, GridMouseAction::doubleClick, 30, 5, 0);
    m_input.OnTopHeadingButton(kRight, kDown, 30, 5, 0);
    m_input.OnTopHeadingButton(kRight, kUp, 30, 5, 0);
    EXPECT_EQ(m_grid.TakeOnly({"On"}),
              (Log{"OnColumnHeadingClick(3,1)", "OnColumnHeadingClick(3,0)",
                   "OnColumnHeadingDoubleClick(2)", "OnColumnHeadingRightClick(2,1)",
                   "OnColumnHeadingRightClick(2,0)"}));

    EXPECT_EQ(m_grid.SetTopRow(10), kGridDone);
    m_input.OnSideHeadingButton(kLeft, kDown, 5, 40, 0);
    m_input.OnSideHeadingButton(kLeft, kUp, 5, 40, 0);
    m_input.OnSideHeadingButton(kRight, kDown, 5, 0, 0);
    m_input.OnSideHeadingButton(kLeft, GridMouseAction::doubleClick, 5, 17, 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnRow"}),
              (Log{"OnRowHeadingClick(12,1)", "OnRowHeadingClick(12,0)",
                   "OnRowHeadingRightClick(10,1)", "OnRowHeadingDoubleClick(11)"}));

    m_input.OnCornerButton(kLeft, kDown, 5, 5, 0);
    m_input.OnCornerButton(kLeft, kUp, 5, 5, 0);
    m_input.OnCornerButton(kLeft, GridMouseAction::doubleClick, 5, 5, 0);
    m_input.OnCornerButton(kRight, kDown, 5, 5, 0);
    EXPECT_EQ(m_grid.TakeOnly({"OnCorner"}),
              (Log{"OnCornerClick(1)", "OnCornerClick(0)", "OnCornerDoubleClick()",
                   "OnCornerRightClick(1)"}));
}

TEST_F(GridHeadings, RightPressesOfferTheMenuWithTheirSection)
{
    m_grid.m_bCanResize = 0;
    m_grid.GetGridLayout().m_bPopupMenus = 1;
    std::vector<int> shown;
    m_input.SetShowMenu([&](int nSection, CGridPoint) { shown.push_back(nSection); });
    m_input.OnTopHeadingButton(kRight, kDown, 150, 5, 0);
    m_input.OnSideHeadingButton(kRight, kDown, 5, 20, 0);
    m_input.OnCornerButton(kRight, kDown, 5, 5, 0);
    EXPECT_EQ(m_grid.TakeOnly({"CanShowMenu"}),
              (Log{"CanShowMenu(1,-1,2)", "CanShowMenu(-1,1,3)", "CanShowMenu(-1,-1,4)"}));
    EXPECT_EQ(shown, (std::vector<int>{kSectionTopHeading, kSectionSideHeading, kSectionCorner}));
    m_input.OnMenuCommand(1000);
    EXPECT_EQ(m_grid.Take(), Log{"OnMenuCommand(-1,-1,4,1000)"});
}

TEST_F(GridHeadings, ColumnEdgeGripIsThreePixelsEachSide)
{
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 97, 5), GridCursor::arrow);
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 98, 5), GridCursor::sizeWE);
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 102, 5), GridCursor::sizeWE);
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 103, 5), GridCursor::arrow);
    EXPECT_EQ(m_grid.TakeOnly({"CanResize"}), (Log{"CanResizeColumn(0)", "CanResizeColumn(0)"}));
    EXPECT_EQ(m_input.CursorAt(kSectionSideHeading, 5, 15), GridCursor::sizeNS);
    EXPECT_EQ(m_input.CursorAt(kSectionCellArea, 100, 5), GridCursor::arrow);

    // A hidden column after the edge is the one that gets pulled open.
    m_grid.SetColumnWidth(1, 0);
    m_grid.Take();
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 100, 5), GridCursor::sizeWE);
    EXPECT_EQ(m_grid.TakeOnly({"CanResize"}), Log{"CanResizeColumn(1)"});
}

TEST_F(GridHeadings, DraggingAColumnEdgeResizesWithNotifications)
{
    Drag(kSectionTopHeading, 200, 5, 230, 5);
    EXPECT_EQ(m_grid.TakeOnly({"OnColumnResiz", "OnColumnHeading"}),
              (Log{"OnColumnResizing(1,130)", "OnColumnResized(1,130)"}));
    EXPECT_EQ(Width(1), 130);

    // Not below 0; the released width may be changed by the notification.
    m_grid.m_nResizedOverride = 40;
    Drag(kSectionTopHeading, 230, 5, 0, 5);
    EXPECT_EQ(m_grid.TakeOnly({"OnColumnResiz"}),
              (Log{"OnColumnResizing(1,0)", "OnColumnResized(1,0)"}));
    EXPECT_EQ(Width(1), 40);
    EXPECT_FALSE(m_input.IsDragging());
}

TEST_F(GridHeadings, SizingModeDecidesWhenTheCellsFollow)
{
    hpa::test::CCountingHost host;
    m_grid.SetHost(&host);
    m_grid.SetUserSizingMode(1);
    m_input.OnHeadingButton(kSectionTopHeading, kLeft, kDown, 100, 5, 0);
    m_input.OnHeadingMouseMove(kSectionTopHeading, 120, 5, kLeft, 0);
    EXPECT_EQ(host.m_nInvalidates, 0);
    EXPECT_EQ(Width(0), 120);
    m_input.OnHeadingButton(kSectionTopHeading, kLeft, kUp, 120, 5, 0);
    EXPECT_GT(host.m_nInvalidates, 0);

    m_grid.SetUserSizingMode(2);
    host.m_nInvalidates = 0;
    m_input.OnHeadingButton(kSectionTopHeading, kLeft, kDown, 120, 5, 0);
    m_input.OnHeadingMouseMove(kSectionTopHeading, 110, 5, kLeft, 0);
    EXPECT_GT(host.m_nInvalidates, 0);
    m_input.OnCaptureLost();

    m_grid.SetUserSizingMode(0);
    EXPECT_EQ(m_input.CursorAt(kSectionTopHeading, 110, 5), GridCursor::arrow);
    m_grid.SetHost(nullptr);
}

TEST_F(GridHeadings, RowEdgesResizeOneRowOrTheUniformHeight)
{
    Drag(kSectionSideHeading, 5, 32, 5, 40);
    int h = 0;
    m_grid.GetRowHeight(1, &h);
    EXPECT_EQ(h, 24);
    EXPECT_EQ(m_grid.TakeOnly({"OnRowResiz"}), (Log{"OnRowResizing(1,24)", "OnRowResized(1,24)"}));

    // Uniform: the pointer's depth over the rows from the top row to the
    // dragged one, never below 4.
    m_grid.UseOneRowHeight(1);
    Drag(kSectionSideHeading, 5, 48, 5, 60); // edge of row 2
    EXPECT_EQ(m_grid.GetDefaultRowHeight(), 20);
    Drag(kSectionSideHeading, 5, 60, 5, 3);
    EXPECT_EQ(m_grid.GetDefaultRowHeight(), 4);
}

TEST_F(GridHeadings, CornerEdgesResizeTheHeadings)
{
    // The corner is 50 x 20.
    EXPECT_EQ(m_input.CursorAt(kSectionCorner, 10, 16), GridCursor::sizeNS);
    EXPECT_EQ(m_input.CursorAt(kSectionCorner, 46, 5), GridCursor::sizeWE);
    EXPECT_EQ(m_input.CursorAt(kSectionCorner, 43, 13), GridCursor::sizeNWSE);
    EXPECT_EQ(m_input.CursorAt(kSectionCorner, 10, 5), GridCursor::arrow);

    const int nAreaH = m_grid.GetGridLayout().m_nCellAreaHeight;
    Drag(kSectionCorner, 10, 18, 10, 30);
    EXPECT_EQ(m_grid.GetGridLayout().m_nTopHeadingHeight, 30);
    EXPECT_EQ(m_grid.GetGridLayout().m_nCellAreaHeight, nAreaH - 10);
    Drag(kSectionCorner, 48, 28, 70, 40);
    EXPECT_EQ(m_grid.GetGridLayout().m_nTopHeadingHeight, 40);
    EXPECT_EQ(m_grid.GetGridLayout().m_nSideHeadingWidth, 70);
    EXPECT_EQ(m_grid.GetGridLayout().m_bPaintEnabled, 1);
    EXPECT_TRUE(m_grid.TakeOnly({"OnCorner"}).empty());
}

// The program's grids refuse all four kinds of resizing: the pointer stays
// an arrow everywhere and a press on an edge is an ordinary click.
TEST(GridHeadingsRefused, RefusingGridKeepsTheArrowAndNeverDrags)
{
    hpa::test::CNoResizeGrid grid;
    hpa::test::MakeInputGrid(grid);
    CGridInput input(grid);
    EXPECT_EQ(input.CursorAt(kSectionTopHeading, 100, 5), GridCursor::arrow);
    EXPECT_EQ(input.CursorAt(kSectionSideHeading, 5, 16), GridCursor::arrow);
    EXPECT_EQ(input.CursorAt(kSectionCorner, 49, 19), GridCursor::arrow);
    EXPECT_EQ(input.CursorAt(kSectionCorner, 10, 19), GridCursor::arrow);

    input.OnTopHeadingButton(kLeft, kDown, 99, 5, 0);
    EXPECT_FALSE(input.IsDragging());
    input.OnTopHeadingMouseMove(150, 5, kLeft, 0);
    input.OnTopHeadingButton(kLeft, kUp, 150, 5, 0);
    input.OnSideHeadingButton(kLeft, kDown, 5, 16, 0);
    input.OnSideHeadingMouseMove(5, 60, kLeft, 0);
    input.OnCornerButton(kLeft, kDown, 49, 19, 0);
    input.OnCornerMouseMove(90, 60, kLeft, 0);
    int w = 0, h = 0;
    grid.GetColumnWidth(0, &w);
    grid.GetRowHeight(0, &h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(grid.GetGridLayout().m_nTopHeadingHeight, 20);
    EXPECT_EQ(grid.GetGridLayout().m_nSideHeadingWidth, 50);
    EXPECT_EQ(grid.m_nResizing, 0);
    EXPECT_EQ(grid.m_clicks, (std::vector<int>{1, 10}));
}
