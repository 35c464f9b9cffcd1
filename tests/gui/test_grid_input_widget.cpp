// Real Qt key and mouse events sent to the grid's windows reach the input
// engine: navigation, selection, clicks, heading clicks, resizing cursors,
// auto-scroll driven by the window's timer, and the find dialog.
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridFindDialog.h"
#include "grid/qt/GridWnd.h"
#include "unit/test_grid_input_recorder.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace hpa;
using hpa::test::CInputGrid;
using Log = std::vector<std::string>;

namespace {

// Sends a mouse event with the buttons held, which QTest's helpers do not
// carry on moves.
void SendMouse(QWidget* pWidget, QEvent::Type type, QPoint pt, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), button, buttons, mods);
    QApplication::sendEvent(pWidget, &event);
}

void Press(QWidget* w, QPoint pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton, mods);
}
void Move(QWidget* w, QPoint pt)
{
    SendMouse(w, QEvent::MouseMove, pt, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget* w, QPoint pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton, mods);
}
void Click(QWidget* w, QPoint pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Press(w, pt, mods);
    Release(w, pt, mods);
}

// 3 columns of 100 and 50 rows of 16 pixels in a window about 400 x 200.
template <class TGrid> struct CShownGrid {
    CShownGrid()
    {
        hpa::test::MakeInputGrid(grid);
        pWnd = new CGridWnd(grid);
        pWnd->CreateInParent(&parent, QRect(0, 0, 420, 200), 1);
        parent.resize(420, 200);
        parent.show();
        grid.SetCellText(0, 7, "needle");
    }
    // Deleted with the focus in its cell area: the teardown must not reach
    // the input engine after the window's members are gone.
    ~CShownGrid() { delete pWnd; }
    QWidget* Area() const { return pWnd->CellArea(); }
    static QPoint Cell(int nCol, int nRow) { return {nCol * 100 + 50, nRow * 16 + 8}; }

    TGrid grid;
    QWidget parent;
    CGridWnd* pWnd = nullptr;
};

} // namespace

TEST(GridInputWidget, KeysAndClicksReachTheEngine)
{
    CShownGrid<CInputGrid> g;
    g.grid.AllowRangeSelection(1);
    g.grid.Take();
    Click(g.Area(), g.Cell(1, 1));
    EXPECT_EQ(g.grid.TakeOnly({"OnCellLeftClick"}),
              (Log{"OnCellLeftClick(1,1,1,150,24,-1)", "OnCellLeftClick(1,1,0,150,24,-1)"}));

    QTest::keyClick(g.Area(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(g.Area(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(g.grid.GetCurrentRow(), 3);
    Click(g.Area(), g.Cell(1, 2), Qt::ControlModifier);
    EXPECT_TRUE(g.grid.IsSelected(1, 1));
    EXPECT_FALSE(g.grid.IsSelected(1, 2));
    EXPECT_TRUE(g.grid.IsSelected(1, 3));

    QTest::keyClick(g.Area(), Qt::Key_Home);
    EXPECT_EQ(g.grid.GetCurrentColumn(), 0);
    QTest::keyClick(g.Area(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(g.grid.GetCurrentRow(), 49);
    EXPECT_EQ(g.grid.GetCurrentColumn(), 0);
    QTest::keyClick(g.Area(), Qt::Key_X);
    EXPECT_EQ(g.grid.TakeOnly({"OnGridChar"}), Log{"OnGridChar(120,-1)"});
}

TEST(GridInputWidget, HeadingClicksAndTheResizeCursor)
{
    CShownGrid<CInputGrid> g;
    g.grid.Take();
    Click(g.pWnd->TopHeading(), QPoint(150, 5));
    Click(g.pWnd->SideHeading(), QPoint(5, 40));
    Click(g.pWnd->Corner(), QPoint(5, 5));
    EXPECT_EQ(
        g.grid.TakeOnly({"OnColumnHeadingClick", "OnRowHeadingClick", "OnCornerClick"}),
        (Log{"OnColumnHeadingClick(1,1)", "OnColumnHeadingClick(1,0)", "OnRowHeadingClick(2,1)",
             "OnRowHeadingClick(2,0)", "OnCornerClick(1)", "OnCornerClick(0)"}));

    QWidget* pTop = g.pWnd->TopHeading();
    SendMouse(pTop, QEvent::MouseMove, QPoint(100, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pTop->cursor().shape(), Qt::SizeHorCursor);
    Press(pTop, QPoint(100, 5));
    Move(pTop, QPoint(140, 5));
    Release(pTop, QPoint(140, 5));
    int w = 0;
    g.grid.GetColumnWidth(0, &w);
    EXPECT_EQ(w, 140);
    SendMouse(pTop, QEvent::MouseMove, QPoint(60, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pTop->cursor().shape(), Qt::ArrowCursor);
}

TEST(GridInputWidget, RefusingGridKeepsTheArrowOverEdges)
{
    CShownGrid<hpa::test::CNoResizeGrid> g;
    QWidget* pTop = g.pWnd->TopHeading();
    SendMouse(pTop, QEvent::MouseMove, QPoint(100, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(pTop->cursor().shape(), Qt::ArrowCursor);
    Press(pTop, QPoint(100, 5));
    Move(pTop, QPoint(160, 5));
    Release(pTop, QPoint(160, 5));
    int w = 0;
    g.grid.GetColumnWidth(0, &w);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(g.grid.m_nResizing, 0);
}

TEST(GridInputWidget, HoldingTheButtonBelowTheAreaKeepsScrolling)
{
    CShownGrid<CInputGrid> g;
    QWidget* pArea = g.Area();
    Press(pArea, g.Cell(0, 2));
    Move(pArea, QPoint(50, pArea->height() + 5));
    const int nAfterMove = g.grid.GetCurrentRow();
    EXPECT_EQ(nAfterMove, 3);
    // The window's timer takes further steps while the button stays down.
    for (int i = 0; i < 50 && g.grid.GetCurrentRow() < nAfterMove + 2; ++i)
        QTest::qWait(20);
    EXPECT_GE(g.grid.GetCurrentRow(), nAfterMove + 2);
    Release(pArea, QPoint(50, pArea->height() + 5));
    EXPECT_FALSE(g.pWnd->Input().IsAutoScrolling());
    const int nAfterRelease = g.grid.GetCurrentRow();
    QTest::qWait(60);
    EXPECT_EQ(g.grid.GetCurrentRow(), nAfterRelease);
}

TEST(GridInputWidget, FindDialogIsOwnedByTheGridWindow)
{
    CShownGrid<CInputGrid> g;
    ASSERT_EQ(g.grid.OpenFindDialog(), 0);
    auto* pDlg = g.pWnd->findChild<CGridFindDialogWnd*>();
    ASSERT_NE(pDlg, nullptr);
    QTest::keyClicks(pDlg->FindEdit(), "NEEDLE");
    QTest::keyClick(pDlg->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(g.grid.GetCurrentRow(), 7);
    QTest::keyClick(pDlg, Qt::Key_Escape);
    EXPECT_EQ(g.grid.IsFindDialogOpen(), 0);
}
