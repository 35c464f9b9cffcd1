// The grid control's window on the offscreen platform: creation in a parent
// and in a dialog, child geometry, scroll bar ranges and messages, the
// scroll tip, what the windows pass to the input engine, and the rendered
// picture (including that an incremental scroll leaves the same pixels as a
// fresh paint).
#include "grid/UGCtrl.h"
#include "grid/qt/GridChildren.h"
#include "grid/qt/GridWnd.h"
#include "grid/render/QtGridFont.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPalette>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace hpa;

namespace {

// Every data cell shows its coordinates without being stored.
class WidgetGrid : public CUGCtrl {
public:
    int m_nSetups = 0;
    int m_nHeadingClicks = 0;
    bool m_bVetoScroll = false;
    void OnGridSetup() override
    {
        ++m_nSetups;
        UseOneRowHeight(1);
        SetDefaultRowHeight(20);
    }
    void OnResolveCell(int nCol, int nRow, CUGCell* pCell) override
    {
        if (nCol >= 0 && nRow >= 0)
            pCell->SetText(std::to_string(nCol) + "," + std::to_string(nRow));
    }
    int CanScrollView(int, int, int, int) override { return m_bVetoScroll ? 0 : 1; }
    void OnColumnHeadingClick(int /*nCol*/, int bDown) override { m_nHeadingClicks += bDown; }
    int OnVScrollTip(int nRow, int /*nPercent*/, std::string* pstrTip) override
    {
        *pstrTip = "row " + std::to_string(nRow);
        return 1;
    }
};

QRect Geometry(const CGridRect& rc)
{
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

class GridWidget : public ::testing::Test {
protected:
    // A 500 x 300 control in a parent window, nCols columns of 100 and
    // nRows rows of 20.
    void Make(int nCols, int nRows)
    {
        m_pParent = std::make_unique<QWidget>();
        m_pParent->resize(600, 400);
        m_pWnd = new CGridWnd(m_grid);
        ASSERT_NE(m_pWnd->CreateInParent(m_pParent.get(), QRect(10, 10, 500, 300), 77), 0);
        m_grid.SetColumnCount(nCols);
        m_grid.SetRowCount(nRows);
        m_pParent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pParent.get()));
    }
    const GridLayout& Layout() const { return m_grid.GetGridLayout(); }
    QImage Picture() { return m_pWnd->grab().toImage(); }

    WidgetGrid m_grid; // outlives its window
    std::unique_ptr<QWidget> m_pParent;
    CGridWnd* m_pWnd = nullptr;
};

} // namespace

TEST_F(GridWidget, CreationTakesTheParentFontAndRunsTheSetupOnce)
{
    QWidget parent;
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(15);
    parent.setFont(font);
    WidgetGrid grid;
    auto* pWnd = new CGridWnd(grid);
    EXPECT_EQ(pWnd->CreateInParent(nullptr, QRect(0, 0, 10, 10), 1), 0);
    ASSERT_NE(pWnd->CreateInParent(&parent, QRect(5, 6, 200, 100), 42, false), 0);
    EXPECT_EQ(grid.m_nSetups, 1);
    EXPECT_EQ(grid.GetGridFont().strFace, "Liberation Serif");
    EXPECT_EQ(grid.GetGridFont().nHeight, -15);
    EXPECT_EQ(pWnd->parentWidget(), &parent);
    EXPECT_EQ(pWnd->geometry(), QRect(5, 6, 200, 100));
    EXPECT_EQ(pWnd->property(kGridControlIdProperty).toInt(), 42);
    EXPECT_TRUE(pWnd->isHidden());
    EXPECT_EQ(grid.GetHost(), pWnd);
    delete pWnd;
    EXPECT_EQ(grid.GetHost(), nullptr);
}

TEST_F(GridWidget, ChildrenSitWhereTheLayoutPutsThem)
{
    Make(10, 100);
    const GridLayout& gl = Layout();
    const int vw = gl.m_nVScrollWidth, hh = gl.m_nHScrollHeight;
    ASSERT_GT(vw, 0);
    EXPECT_EQ(m_pWnd->CellArea()->geometry(), QRect(50, 20, 500 - vw - 50, 300 - hh - 20));
    EXPECT_EQ(m_pWnd->TopHeading()->geometry(), QRect(50, 0, 500 - vw - 50, 20));
    EXPECT_EQ(m_pWnd->SideHeading()->geometry(), QRect(0, 20, 50, 300 - hh - 20));
    EXPECT_EQ(m_pWnd->Corner()->geometry(), QRect(0, 0, 50, 20));
    EXPECT_EQ(m_pWnd->VScrollBar()->geometry(), QRect(500 - vw, 0, vw, 300 - hh));
    EXPECT_EQ(m_pWnd->HScrollBar()->geometry(), QRect(0, 300 - hh, 500 - vw, hh));
    EXPECT_TRUE(m_pWnd->VScrollBar()->isVisible());
    EXPECT_TRUE(m_pWnd->HScrollBar()->isVisible());
    EXPECT_FALSE(m_pWnd->ScrollTip()->isVisible());
    const auto& rects = m_grid.GetChildRects();
    EXPECT_EQ(m_pWnd->CellArea()->geometry(), Geometry(rects.rcCellArea));

    // Children in creation order carry the ids 1..7.
    int nId = 1;
    for (QWidget* pChild :
         {static_cast<QWidget*>(m_pWnd->CellArea()), static_cast<QWidget*>(m_pWnd->TopHeading()),
          static_cast<QWidget*>(m_pWnd->SideHeading()), static_cast<QWidget*>(m_pWnd->Corner()),
          static_cast<QWidget*>(m_pWnd->VScrollBar()), static_cast<QWidget*>(m_pWnd->HScrollBar()),
          static_cast<QWidget*>(m_pWnd->ScrollTip())})
        EXPECT_EQ(pChild->property(kGridControlIdProperty).toInt(), nId++);

    // Fewer columns and rows than the area holds: no bars, the cells take
    // their room.
    m_grid.SetColumnCount(2);
    m_grid.SetRowCount(3);
    EXPECT_FALSE(m_pWnd->VScrollBar()->isVisible());
    EXPECT_FALSE(m_pWnd->HScrollBar()->isVisible());
    EXPECT_EQ(m_pWnd->CellArea()->geometry(), QRect(50, 20, 450, 280));

    // Resizing the window lays the children out again.
    m_pWnd->resize(300, 200);
    EXPECT_EQ(m_grid.ClientWidth(), 300);
    EXPECT_EQ(m_pWnd->CellArea()->geometry(), QRect(50, 20, 250, 180));
}

TEST_F(GridWidget, ScrollBarRangesFollowTheMaximumTopRowAndLeftColumn)
{
    Make(10, 100);
    const GridLayout& gl = Layout();
    QScrollBar* pV = m_pWnd->VScrollBar();
    QScrollBar* pH = m_pWnd->HScrollBar();
    const int nPage = gl.m_nCellAreaHeight / 20;
    EXPECT_EQ(pV->minimum(), 0);
    EXPECT_EQ(pV->maximum(), m_grid.GetMaxTopRow());
    EXPECT_EQ(pV->pageStep(), nPage);
    EXPECT_EQ(pH->maximum(), m_grid.GetMaxLeftColumn());
    EXPECT_EQ(m_grid.GetMaxLeftColumn(), 10 - gl.m_nCellAreaWidth / 100);

    // 5000 possible top rows: a 0..1000 bar whose positions are scaled.
    m_grid.SetRowCount(5000 + nPage);
    ASSERT_EQ(m_grid.GetMaxTopRow(), 5000);
    EXPECT_EQ(pV->minimum(), 0);
    EXPECT_EQ(pV->maximum(), 1000);
    EXPECT_EQ(pV->pageStep(), 1);
    EXPECT_EQ(m_grid.SetTopRow(2500), kGridDone);
    EXPECT_EQ(pV->value(), 500);

    // The three-position bar.
    m_grid.SetVScrollMode(2);
    EXPECT_EQ(pV->maximum(), 2);
    EXPECT_EQ(pV->value(), 1);
}

TEST_F(GridWidget, ScrollBarActionsScrollTheGridAndShowTheControlsPosition)
{
    Make(10, 100);
    QScrollBar* pV = m_pWnd->VScrollBar();
    pV->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_grid.GetTopRow(), 1);
    EXPECT_EQ(pV->value(), 1);
    pV->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int nPage = Layout().m_nCellAreaHeight / 20;
    EXPECT_EQ(m_grid.GetTopRow(), 1 + nPage);
    pV->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(m_grid.GetTopRow(), m_grid.GetMaxTopRow());
    EXPECT_EQ(pV->value(), m_grid.GetMaxTopRow());

    // A vetoed scroll leaves the bar where the grid is.
    m_grid.m_bVetoScroll = true;
    pV->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(m_grid.GetTopRow(), m_grid.GetMaxTopRow());
    EXPECT_EQ(pV->value(), m_grid.GetMaxTopRow());
    m_grid.m_bVetoScroll = false;

    m_pWnd->HScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_grid.GetLeftColumn(), 1);
    EXPECT_EQ(m_pWnd->HScrollBar()->value(), 1);
    // The current cell does not follow the view.
    EXPECT_EQ(m_grid.GetCurrentRow(), 0);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 0);
}

TEST_F(GridWidget, DraggingTheThumbShowsTheTipAndScrollsOnRelease)
{
    Make(3, 20000);
    m_grid.UseVScrollTips(1);
    QScrollBar* pV = m_pWnd->VScrollBar();
    ASSERT_EQ(pV->maximum(), 1000);
    pV->setSliderDown(true);
    pV->setSliderPosition(500);
    const int nRow = m_grid.VScrollPosToRow(500);
    EXPECT_EQ(m_grid.GetTopRow(), 0); // thumb mode 0: nothing moves yet
    EXPECT_TRUE(m_pWnd->ScrollTip()->isVisible());
    EXPECT_EQ(m_pWnd->ScrollTip()->Text(), QString::fromStdString("row " + std::to_string(nRow)));
    EXPECT_TRUE(m_pWnd->rect().contains(m_pWnd->ScrollTip()->geometry()));
    pV->setSliderDown(false);
    EXPECT_EQ(m_grid.GetTopRow(), nRow);
    EXPECT_FALSE(m_pWnd->ScrollTip()->isVisible());
    EXPECT_EQ(pV->value(), m_grid.GetVScrollInfo().nPos);

    // Thumb mode 1: the view follows the thumb while it is dragged.
    m_grid.SetVScrollMode(1);
    pV->setSliderDown(true);
    pV->setSliderPosition(250);
    EXPECT_EQ(m_grid.GetTopRow(), m_grid.VScrollPosToRow(250));
    pV->setSliderDown(false);
    EXPECT_EQ(m_grid.GetTopRow(), m_grid.VScrollPosToRow(250));
}

TEST_F(GridWidget, KeysClicksAndHeadingEventsReachTheInputEngine)
{
    Make(5, 100);
    m_pParent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pParent.get()));
    QWidget* pArea = m_pWnd->CellArea();
    pArea->setFocus();
    EXPECT_TRUE(m_pWnd->FocusFrameShown());

    QTest::keyClick(pArea, Qt::Key_Down);
    QTest::keyClick(pArea, Qt::Key_Right);
    EXPECT_EQ(m_grid.GetCurrentRow(), 1);
    EXPECT_EQ(m_grid.GetCurrentColumn(), 1);
    QTest::keyClick(pArea, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_grid.GetCurrentRow(), 99);

    // Back at the top, cell (2, 3) is at (200, 60) in the cell area.
    EXPECT_EQ(m_grid.MoveCurrentCell(0, 0), kGridDone);
    QTest::mouseClick(pArea, Qt::LeftButton, {}, QPoint(250, 70));
    EXPECT_EQ(m_grid.GetCurrentColumn(), 2);
    EXPECT_EQ(m_grid.GetCurrentRow(), 3);

    QTest::mouseClick(m_pWnd->TopHeading(), Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(m_grid.m_nHeadingClicks, 1);
    // A column edge gives the sizing pointer.
    QTest::mouseMove(m_pWnd->TopHeading(), QPoint(199, 10));
    EXPECT_EQ(m_pWnd->TopHeading()->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(m_pWnd->TopHeading(), QPoint(150, 10));
    EXPECT_EQ(m_pWnd->TopHeading()->cursor().shape(), Qt::ArrowCursor);

    // Enter is left to the dialog the grid sits in.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    enter.setAccepted(true);
    QCoreApplication::sendEvent(pArea, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(GridWidget, RenderedPictureShowsHeadingsLinesTextAndFocus)
{
    Make(3, 50);
    m_pParent->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pParent.get()));
    m_pWnd->CellArea()->setFocus();
    const QImage image = Picture();
    ASSERT_EQ(image.size(), QSize(500, 300));
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    // Cell (1, 1) occupies (150..250, 40..60) of the control: its grid lines
    // at x = 249 and y = 59, white inside.
    EXPECT_EQ(image.pixel(249, 45), black);
    EXPECT_EQ(image.pixel(200, 59), black);
    EXPECT_EQ(image.pixel(245, 55), white);
    // Its text "1,1" starts 3 pixels in: some dark pixels right there.
    int nDark = 0;
    for (int x = 153; x < 175; ++x)
        for (int y = 41; y < 58; ++y)
            nDark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(nDark, 5);
    // Headings: raised (white top-left edge) on the button face, a black
    // line along the top heading's bottom and the side heading's right.
    EXPECT_EQ(image.pixel(150, 0), white);
    EXPECT_EQ(image.pixel(120, 19), black);
    EXPECT_EQ(image.pixel(49, 100), black);
    EXPECT_EQ(image.pixel(49, 0), black); // the corner's closing line
    const COLORREF crFace = Layout().m_headingDefault.GetBackColor();
    EXPECT_EQ(image.pixel(60, 10), qRgb(GetRValue(crFace), GetGValue(crFace), GetBValue(crFace)));
    // The current cell (0, 0) has its dotted frame: pixels of the inner
    // rectangle's top edge alternate.
    EXPECT_NE(image.pixel(52, 20), image.pixel(53, 20));
    // Right of the three columns and below the rows: the grid's background.
    EXPECT_EQ(image.pixel(400, 100), white);
}

TEST_F(GridWidget, IncrementalScrollLeavesTheSamePixelsAsAFreshPaint)
{
    Make(6, 200);
    EXPECT_EQ(m_grid.MoveCurrentCell(1, 2), kGridDone);
    QCoreApplication::processEvents();
    (void)Picture(); // the retained pixels are painted
    EXPECT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveRight), kGridDone);
    EXPECT_EQ(m_grid.MoveRow(kMoveDown), kGridDone);
    ASSERT_FALSE(m_pWnd->CellArea()->IsInvalid()); // drawn incrementally
    const QImage incremental = m_pWnd->CellArea()->grab().toImage();

    m_pWnd->InvalidateAll();
    const QImage fresh = m_pWnd->CellArea()->grab().toImage();
    EXPECT_TRUE(incremental == fresh);
}

// Fewer rows and columns pull the top row and left column back; the next
// scroll shifts the kept pixels from where they were then painted.
TEST_F(GridWidget, ScrollAfterAPullBackLeavesTheSamePixelsAsAFreshPaint)
{
    Make(12, 200);
    ASSERT_EQ(m_grid.SetTopRow(150), 0);
    ASSERT_EQ(m_grid.SetLeftColumn(6), 0);
    QCoreApplication::processEvents();
    (void)Picture();
    m_grid.SetRowCount(140);
    m_grid.SetColumnCount(9);
    ASSERT_LT(Layout().m_nTopRow, 150);
    ASSERT_LT(Layout().m_nLeftColumn, 6);
    (void)Picture();
    EXPECT_EQ(m_grid.ScrollRows(kMoveUp), kGridDone);
    EXPECT_EQ(m_grid.ScrollColumns(kMoveLeft), kGridDone);
    ASSERT_FALSE(m_pWnd->CellArea()->IsInvalid()); // drawn incrementally
    const QImage incremental = m_pWnd->CellArea()->grab().toImage();

    m_pWnd->InvalidateAll();
    EXPECT_TRUE(incremental == m_pWnd->CellArea()->grab().toImage());
}

// A dark desktop: the grid takes the palette's colours when it is made and
// again when the palette changes.
TEST_F(GridWidget, CellsTakeTheDesktopPaletteAtStartAndOnChange)
{
    struct CRestore {
        QPalette saved = QApplication::palette();
        ~CRestore() { QApplication::setPalette(saved); }
    } restore;
    const auto scheme = [](QColor base, QColor text, QColor button) {
        QPalette palette;
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::Button, button);
        palette.setColor(QPalette::ButtonText, text);
        palette.setColor(QPalette::Highlight, QColor(90, 60, 160));
        palette.setColor(QPalette::HighlightedText, text);
        return palette;
    };
    const auto expectScheme = [this](QColor base, QColor button) {
        const QImage image = Picture();
        EXPECT_EQ(image.pixel(245, 55), base.rgb());  // inside cell (1, 1)
        EXPECT_EQ(image.pixel(400, 100), base.rgb()); // right of the columns
        EXPECT_EQ(image.pixel(60, 10), button.rgb()); // a column heading
        int nLight = 0; // the text "1,1" in the palette's light text colour
        for (int x = 153; x < 175; ++x)
            for (int y = 41; y < 58; ++y)
                nLight += qGray(image.pixel(x, y)) > 150 ? 1 : 0;
        EXPECT_GT(nLight, 5);
    };
    QApplication::setPalette(scheme(QColor(30, 30, 30), QColor(230, 230, 230), QColor(60, 60, 60)));
    Make(3, 50);
    expectScheme(QColor(30, 30, 30), QColor(60, 60, 60));

    QApplication::setPalette(scheme(QColor(20, 30, 60), QColor(240, 240, 200), QColor(50, 40, 40)));
    QCoreApplication::processEvents();
    expectScheme(QColor(20, 30, 60), QColor(50, 40, 40));
}

TEST_F(GridWidget, PaintingDisabledKeepsThePicture)
{
    Make(3, 50);
    const QImage before = m_pWnd->CellArea()->grab().toImage();
    m_grid.EnableGridPaint(0);
    m_grid.SetColumnWidth(0, 40);
    EXPECT_EQ(m_grid.ScrollRows(kMoveDown), kGridDone);
    EXPECT_TRUE(m_pWnd->CellArea()->grab().toImage() == before);
    m_grid.EnableGridPaint(1);
    EXPECT_FALSE(m_pWnd->CellArea()->grab().toImage() == before);
    EXPECT_EQ(m_grid.UseOffscreenPaint(1), 0);
}

TEST_F(GridWidget, AttachingToADialogPlaceholderTakesItsPlaceAndFont)
{
    QDialog dialog;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    dialog.setFont(font);
    auto* pLayout = new QVBoxLayout(&dialog);
    auto* pAbove = new QWidget;
    auto* pPlaceholder = new QWidget;
    pPlaceholder->setProperty(kGridControlIdProperty, 1001);
    pPlaceholder->setMinimumSize(300, 150);
    pLayout->addWidget(pAbove);
    pLayout->addWidget(pPlaceholder);

    WidgetGrid grid;
    auto* pWnd = new CGridWnd(grid);
    EXPECT_EQ(pWnd->AttachToDialogItem(&dialog, 999), 1);
    ASSERT_EQ(pWnd->AttachToDialogItem(&dialog, 1001), 0);
    EXPECT_EQ(pLayout->indexOf(pWnd), 1);
    EXPECT_EQ(pLayout->indexOf(pPlaceholder), -1);
    EXPECT_TRUE(pPlaceholder->isHidden());
    EXPECT_EQ(grid.m_nSetups, 1);
    EXPECT_EQ(grid.GetGridFont().nHeight, -13);
    dialog.resize(400, 300);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // A one-pixel border: the children start inside it.
    EXPECT_EQ(pWnd->Corner()->pos(), QPoint(1, 1));
    EXPECT_EQ(grid.ClientWidth(), pWnd->width() - 2);
}

TEST(GridWidgetFonts, FacesAndHeightsMapToTheDesktop)
{
    const QFont arial = CQtFontCache::ToQFont({"Arial", -12, 400});
    EXPECT_EQ(QFontInfo(arial).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(arial.pixelSize(), 12);
    EXPECT_FALSE(arial.kerning());
    const QFont dialog = CQtFontCache::ToQFont({"MS Sans Serif", -11, 700});
    EXPECT_EQ(dialog.family(), QApplication::font().family());
    EXPECT_EQ(dialog.pixelSize(), 11);
    EXPECT_EQ(dialog.weight(), QFont::Bold);
    // A positive height is the cell height: ascent plus descent.
    const QFont cell = CQtFontCache::ToQFont({"Arial", 30, 400});
    const QFontMetrics metrics(cell);
    EXPECT_NEAR(metrics.ascent() + metrics.descent(), 30, 1);
    const CGridFont back = CQtFontCache::FromQFont(arial);
    EXPECT_EQ(back.nHeight, -12);
    EXPECT_EQ(back.nWeight, 400);
}

TEST(GridWidgetLifetime, AControlDestroyedBeforeItsWindowLeavesAnEmptyWindow)
{
    QWidget parent;
    auto pGrid = std::make_unique<WidgetGrid>();
    auto* pWnd = new CGridWnd(*pGrid);
    ASSERT_NE(pWnd->CreateInParent(&parent, QRect(0, 0, 300, 200), 1), 0);
    pGrid->SetColumnCount(3);
    pGrid->SetRowCount(10);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    pGrid.reset();
    EXPECT_TRUE(pWnd->IsDetached());
    EXPECT_EQ(pWnd->CellArea(), nullptr);
    pWnd->resize(200, 100); // nothing reaches the control any more
    (void)parent.grab();
    delete pWnd;
}
