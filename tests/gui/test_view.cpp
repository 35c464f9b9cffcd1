// The grid view: its three grid windows and their set-up, data-kind
// switching (pane, radio mark, find dialog), Copy's enabling by clicks, the
// grids following the main window's size, refused column and row sizing,
// the white background, and the working files going with the view.
#include "app/MainFrame.h"
#include "document/WorkingDir.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridWnd.h"
#include "support/TempDir.h"
#include "support/qt/FrameViewFixture.h"
#include "ui/CommandIds.h"
#include "view/qt/AccView.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace hpa {

namespace {

void SendMouse(QWidget* pWidget, QEvent::Type type, QPoint pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

void Press(QWidget* pWidget, QPoint pt)
{
    SendMouse(pWidget, QEvent::MouseButtonPress, pt, Qt::LeftButton);
}

void Release(QWidget* pWidget, QPoint pt)
{
    SendMouse(pWidget, QEvent::MouseButtonRelease, pt, Qt::NoButton);
}

void Drag(QWidget* pWidget, QPoint from, QPoint to)
{
    SendMouse(pWidget, QEvent::MouseMove, from, Qt::NoButton);
    Press(pWidget, from);
    SendMouse(pWidget, QEvent::MouseMove, to, Qt::LeftButton);
    Release(pWidget, to);
}

// A frame with the view on grids of its own, each filled with 3 columns
// and 4 rows of "g<grid>c<col>r<row>".
struct ViewFixture : test::FrameViewFixture {
    void SetUp() override
    {
        FrameViewFixture::SetUp();
        for (int g = 0; g < 3; ++g) {
            grids[g].SetColumnCount(3);
            grids[g].SetRowCount(4);
            for (int c = 0; c < 3; ++c)
                for (int r = 0; r < 4; ++r)
                    grids[g].SetCellText(c, r, Text(g, c, r));
        }
        frame->resize(640, 480);
        frame->show();
    }
    static std::string Text(int g, int c, int r)
    {
        return "g" + std::to_string(g) + "c" + std::to_string(c) + "r" + std::to_string(r);
    }
    // What a download leaves: the Status grid shown.
    void ShowData()
    {
        view->SetCurrent(ID_DATA_STATUS, 2);
        view->ShowGrid(2, true);
    }
    bool Radio(int nID)
    {
        emit frame->TopMenu(2)->aboutToShow();
        for (QAction* pAction : frame->TopMenu(2)->actions())
            if (pAction->menu())
                emit pAction->menu()->aboutToShow();
        return frame->CommandAction(nID)->isChecked();
    }
    // The middle of cell (c, r) in the cell area of grid g.
    QPoint CellPoint(int g, int c, int r)
    {
        CGridRect rc;
        grids[g].GetCellRect(c, r, &rc);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    QWidget* Area(int g) { return view->GridWnd(g)->CellArea(); }
};

} // namespace

TEST_F(ViewFixture, CreatesThreeHiddenGridsWithTheirIdsFontsAndDefaults)
{
    // Children in creation order: Status 1234, Paper 1235, Job 1236.
    std::vector<int> ids;
    for (QObject* pChild : view->children())
        if (auto* pWnd = qobject_cast<CGridWnd*>(pChild))
            ids.push_back(pWnd->property(kGridControlIdProperty).toInt());
    EXPECT_EQ(ids, (std::vector<int>{1234, 1235, 1236}));

    const CGridFont screen = MakeScreenGridFont(view->logicalDpiY());
    EXPECT_EQ(screen.strFace, "Arial");
    EXPECT_EQ(screen.nHeight, -(9 * view->logicalDpiY()) / 72);
    EXPECT_EQ(g_gridFont, screen);
    EXPECT_EQ(g_printGridFont, (CGridFont{"Arial", 9, 400, false, false}));
    for (int g = 0; g < 3; ++g) {
        SCOPED_TRACE(g);
        CGridWnd* pWnd = view->GridWnd(g);
        ASSERT_NE(pWnd, nullptr);
        EXPECT_EQ(pWnd->parentWidget(), view);
        EXPECT_TRUE(pWnd->isHidden());
        EXPECT_EQ(pWnd->property(kGridControlIdProperty).toInt(), kGridControlId[g]);
        const GridLayout& gl = grids[g].GetGridLayout();
        EXPECT_EQ(gl.m_font, screen);
        EXPECT_EQ(gl.m_nDefRowHeight, 16);
        EXPECT_EQ(gl.m_bUniformRowHeight, 1);
        EXPECT_EQ(gl.m_bSelectionEnabled, 1);
        CUGCell cell;
        grids[g].GetGridDefaults(&cell);
        EXPECT_EQ(cell.GetAlignment(), kAlignLeft | kAlignVCenter);
    }
    // A 9-point font at 120 pixels per inch: 1080 / 72 = 15 pixels.
    EXPECT_EQ(MakeScreenGridFont(120).nHeight, -15);
    EXPECT_EQ(MakeScreenGridFont(100).nHeight, -12); // 12.5 truncated
}

TEST_F(ViewFixture, SwitchingKindsMovesPaneRadioMarkAndTheShownGrid)
{
    EXPECT_FALSE(router.Execute(ID_DATA_JOB)); // disabled while nothing is shown
    EXPECT_EQ(frame->DataKindPaneText(), "");
    ShowData();
    struct Step {
        int nID;
        const char* pszPane;
        int nGrid;
    };
    for (const Step& step : {Step{ID_DATA_JOB, "JOB", 0}, Step{ID_DATA_PAPER, "PAPER", 1},
                             Step{ID_DATA_STATUS, "STATUS", 2}, Step{ID_DATA_JOB, "JOB", 0}}) {
        SCOPED_TRACE(step.pszPane);
        frame->CommandAction(step.nID)->trigger();
        EXPECT_EQ(frame->DataKindPaneText(), step.pszPane);
        EXPECT_EQ(nKind, step.nID);
        EXPECT_EQ(nGrid, step.nGrid);
        for (int g = 0; g < 3; ++g)
            EXPECT_EQ(view->GridWnd(g)->isVisible(), g == step.nGrid) << g;
        EXPECT_EQ(view->GridWnd(step.nGrid)->geometry(), view->rect());
        for (int nID : {ID_DATA_JOB, ID_DATA_PAPER, ID_DATA_STATUS})
            EXPECT_EQ(Radio(nID), nID == step.nID) << nID;
    }
}

TEST_F(ViewFixture, SwitchingClosesTheFindDialogButTheSameKindLeavesItOpen)
{
    ShowData();
    router.Execute(ID_EDIT_FIND);
    EXPECT_EQ(grids[2].IsFindDialogOpen(), 1);
    // A second Find keeps the one dialog.
    CGridFindDialog* pDialog = grids[2].GetFind().Dialog();
    router.Execute(ID_EDIT_FIND);
    EXPECT_EQ(grids[2].GetFind().Dialog(), pDialog);

    frame->SetDataKindPaneText("kept");
    router.Execute(ID_DATA_STATUS);
    EXPECT_EQ(grids[2].IsFindDialogOpen(), 1);
    EXPECT_EQ(frame->DataKindPaneText(), "kept");
    EXPECT_TRUE(view->GridWnd(2)->isVisible());

    router.Execute(ID_DATA_PAPER);
    EXPECT_EQ(grids[2].IsFindDialogOpen(), 0);
    EXPECT_EQ(grids[1].IsFindDialogOpen(), 0);
    // Find goes to the grid shown now.
    router.Execute(ID_EDIT_FIND);
    EXPECT_EQ(grids[1].IsFindDialogOpen(), 1);
    EXPECT_EQ(grids[2].IsFindDialogOpen(), 0);
}

TEST_F(ViewFixture, CopyIsEnabledByAClickReleaseAndDisabledByCopy)
{
    ShowData();
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    QWidget* pArea = Area(2);
    Press(pArea, CellPoint(2, 1, 2));
    EXPECT_FALSE(Enabled(ID_EDIT_COPY)); // the button is still down
    Release(pArea, CellPoint(2, 1, 2));
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));

    // Switching to a grid never clicked disables Copy; the flag stays.
    router.Execute(ID_DATA_JOB);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    router.Execute(ID_DATA_STATUS);
    ASSERT_TRUE(Enabled(ID_EDIT_COPY));

    QApplication::clipboard()->clear();
    EXPECT_TRUE(router.Execute(ID_EDIT_COPY));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), Text(2, 1, 2));
    EXPECT_FALSE(grids[2].m_bCellClicked);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(router.Execute(ID_EDIT_COPY));

    // A release below the last row still counts as a click in the cell area.
    Press(pArea, QPoint(5, pArea->height() - 2));
    Release(pArea, QPoint(5, pArea->height() - 2));
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    // File > New's state: nothing shown, Copy off whatever the flag says.
    view->SetCurrent(0, -1);
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
}

TEST_F(ViewFixture, ResizingTheMainWindowResizesAllThreeGrids)
{
    ShowData();
    for (QSize size : {QSize(800, 600), QSize(420, 300)}) {
        frame->resize(size);
        QApplication::processEvents();
        const QRect rc = view->rect();
        ASSERT_GT(rc.width(), 150);
        for (int g = 0; g < 3; ++g) {
            SCOPED_TRACE(g);
            EXPECT_EQ(view->GridWnd(g)->geometry(), rc);
            // Hidden grids have laid themselves out for the new size too.
            EXPECT_EQ(grids[g].ClientWidth(), view->GridWnd(g)->contentsRect().width());
            EXPECT_EQ(grids[g].ClientHeight(), view->GridWnd(g)->contentsRect().height());
        }
    }
}

TEST_F(ViewFixture, ColumnWidthsAndRowHeightsCannotBeDragged)
{
    ShowData();
    CGridWnd* pWnd = view->GridWnd(2);
    int nWidth = 0;
    grids[2].GetColumnWidth(0, &nWidth);
    int nHeight = 0;
    grids[2].GetRowHeight(0, &nHeight);

    QWidget* pTop = pWnd->TopHeading();
    SendMouse(pTop, QEvent::MouseMove, QPoint(nWidth, 5), Qt::NoButton);
    EXPECT_EQ(pTop->cursor().shape(), Qt::ArrowCursor);
    Drag(pTop, QPoint(nWidth, 5), QPoint(nWidth + 60, 5));
    QWidget* pSide = pWnd->SideHeading();
    Drag(pSide, QPoint(5, nHeight), QPoint(5, nHeight + 30));
    // The headings' own edges neither.
    const int nTopHeight = grids[2].GetGridLayout().m_nTopHeadingHeight;
    const int nSideWidth = grids[2].GetGridLayout().m_nSideHeadingWidth;
    Drag(pWnd->Corner(), QPoint(nSideWidth - 1, nTopHeight - 1),
         QPoint(nSideWidth + 40, nTopHeight + 40));

    int nAfter = 0;
    grids[2].GetColumnWidth(0, &nAfter);
    EXPECT_EQ(nAfter, nWidth);
    grids[2].GetRowHeight(0, &nAfter);
    EXPECT_EQ(nAfter, nHeight);
    EXPECT_EQ(grids[2].GetGridLayout().m_nTopHeadingHeight, nTopHeight);
    EXPECT_EQ(grids[2].GetGridLayout().m_nSideHeadingWidth, nSideWidth);
}

TEST_F(ViewFixture, BackgroundIsWhiteWhileNoGridIsShown)
{
    QApplication::processEvents();
    const QImage image = view->grab().toImage();
    ASSERT_FALSE(image.isNull());
    for (QPoint pt :
         {QPoint(1, 1), image.rect().center(), QPoint(image.width() - 2, image.height() - 2)})
        EXPECT_EQ(image.pixelColor(pt), QColor(Qt::white)) << pt.x() << "," << pt.y();
}

TEST(VexAccView, WorkingFilesGoWithTheView)
{
    test::CTempDir base;
    CWorkingDir workDir;
    ASSERT_TRUE(workDir.Create(base.Path()));
    for (const char* pszName : {"STA.tmp", "DIC.tmp", "PAP.tmp", "JOB.tmp"})
        std::ofstream(workDir.File(pszName)) << "x";
    const std::filesystem::path dir = workDir.Path();

    std::array<CAccGrid, 3> grids;
    int nKind = 0;
    int nGrid = -1;
    auto* pView = new CVexAccView(CViewGrids{&grids, &nKind, &nGrid, &workDir});
    EXPECT_TRUE(std::filesystem::exists(dir / "JOB.tmp"));
    delete pView;
    EXPECT_FALSE(std::filesystem::exists(dir / "JOB.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "STA.tmp"));
    // The grids outlive their windows and keep their data.
    EXPECT_EQ(grids[0].GetGridWnd(), nullptr);
    EXPECT_EQ(grids[0].GetHost(), nullptr);
}

} // namespace hpa
