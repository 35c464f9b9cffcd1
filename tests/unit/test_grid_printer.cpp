// Grid printing: cutting a range into column and row blocks, page numbers
// across then down, the page list kept across preparations, the pages as
// drawn (offsets, scaled sizes, headings, outline, 3D frames as lines,
// scaled fonts) and the order pages go to the printer.
#include "grid/GridPrinter.h"
#include "grid/UGCtrl.h"
#include "support/RecordingGridDC.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace hpa;
using hpa::test::CDCCall;
using hpa::test::CRecordingGridDC;

namespace {

// 150 x 150 printable millimetres at 10 pixels per millimetre: with 25 mm
// margins 100 mm are left each way, which are 293 screen pixels across and
// 299 down.
constexpr CPrinterMetrics kPrinter{1500, 1500, 150, 150};
constexpr int kAvailX = 293;
constexpr int kAvailY = 299;

void SetWidths(CUGCtrl& grid, std::initializer_list<int> widths)
{
    grid.SetColumnCount(static_cast<int>(widths.size()));
    int nCol = 0;
    for (int w : widths)
        grid.SetColumnWidth(nCol++, w);
}

// A grid of nRows rows of 16 pixels and the given column widths.
struct Sheet {
    Sheet(std::initializer_list<int> widths, int nRows)
    {
        grid.SetDefaultRowHeight(16);
        SetWidths(grid, widths);
        grid.SetRowCount(nRows);
    }
    int Prepare(int nFlags = 0)
    {
        return printer.PrintPrepare(kPrinter, nFlags, 0, 0, grid.ColumnCount() - 1,
                                    grid.RowCount() - 1);
    }
    CPrintPageEntry Page(int n) const
    {
        const CPrintPageEntry* p = printer.FindPage(n);
        return p ? *p : CPrintPageEntry{};
    }
    CUGCtrl grid;
    CGridPrinter printer{grid};
};

} // namespace

// ---- blocks and pages ----------------------------------------------------------------

TEST(GridPrinterLayout, AvailableSpaceAndScalesFromTheMetrics)
{
    Sheet sheet({100}, 1);
    ASSERT_EQ(sheet.Prepare(), 1);
    EXPECT_EQ(sheet.printer.AvailableWidth(), kAvailX);
    EXPECT_EQ(sheet.printer.AvailableHeight(), kAvailY);
    EXPECT_FLOAT_EQ(sheet.printer.HorizontalScale(), 10.0f * 100 / kAvailX);
    EXPECT_FLOAT_EQ(sheet.printer.VerticalScale(), 10.0f * 100 / kAvailY);
    EXPECT_EQ(sheet.printer.LeftOffset(), 250);
    EXPECT_EQ(sheet.printer.TopOffset(), 250);
    EXPECT_EQ(sheet.printer.RightLimit(), 1250);
    EXPECT_EQ(sheet.printer.BottomLimit(), 1250);

    // Headings printed on every page take their size off the space.
    sheet.grid.SetSideHeadingWidth(50);
    sheet.grid.SetTopHeadingHeight(20);
    sheet.Prepare(kPrintSideHeading);
    EXPECT_EQ(sheet.printer.AvailableWidth(), kAvailX - 50);
    EXPECT_EQ(sheet.printer.AvailableHeight(), kAvailY);
    sheet.Prepare(kPrintBothHeadings);
    EXPECT_EQ(sheet.printer.AvailableHeight(), kAvailY - 20);
}

TEST(GridPrinterLayout, ColumnThatOverflowsStartsTheNextBlock)
{
    Sheet sheet({100, 100, 100}, 5);
    EXPECT_EQ(sheet.Prepare(), 2);
    EXPECT_EQ(sheet.printer.ColumnBlockCount(), 2);
    EXPECT_EQ(sheet.Page(1), (CPrintPageEntry{1, 0, 1, 0, 4}));
    EXPECT_EQ(sheet.Page(2), (CPrintPageEntry{2, 2, 2, 0, 4}));
}

TEST(GridPrinterLayout, ColumnWiderThanThePageEndsItsBlock)
{
    // The wide column goes with the columns before it; the next one starts
    // a block of its own.
    Sheet sheet({50, 400, 50, 60}, 1);
    EXPECT_EQ(sheet.Prepare(), 2);
    EXPECT_EQ(sheet.Page(1), (CPrintPageEntry{1, 0, 1, 0, 0}));
    EXPECT_EQ(sheet.Page(2), (CPrintPageEntry{2, 2, 3, 0, 0}));

    // Alone, or first in its block, it is a block by itself.
    Sheet first({400, 50}, 1);
    EXPECT_EQ(first.Prepare(), 2);
    EXPECT_EQ(first.Page(1), (CPrintPageEntry{1, 0, 0, 0, 0}));
    EXPECT_EQ(first.Page(2), (CPrintPageEntry{2, 1, 1, 0, 0}));
}

TEST(GridPrinterLayout, ColumnAsWideAsThePageGetsAPageOfItsOwn)
{
    Sheet sheet({50, kAvailX, 50}, 1);
    EXPECT_EQ(sheet.Prepare(), 3);
    EXPECT_EQ(sheet.Page(1), (CPrintPageEntry{1, 0, 0, 0, 0}));
    EXPECT_EQ(sheet.Page(2), (CPrintPageEntry{2, 1, 1, 0, 0}));
    EXPECT_EQ(sheet.Page(3), (CPrintPageEntry{3, 2, 2, 0, 0}));
}

TEST(GridPrinterLayout, ExactFitIsOneBlockAndOnePixelMoreIsTwo)
{
    Sheet exact({93, 100, 100}, 1);
    EXPECT_EQ(exact.Prepare(), 1);
    EXPECT_EQ(exact.Page(1), (CPrintPageEntry{1, 0, 2, 0, 0}));

    Sheet over({94, 100, 100}, 1);
    EXPECT_EQ(over.Prepare(), 2);
    EXPECT_EQ(over.Page(1), (CPrintPageEntry{1, 0, 1, 0, 0}));
    EXPECT_EQ(over.Page(2), (CPrintPageEntry{2, 2, 2, 0, 0}));

    // Rows the same way: 299 pixels hold 13 rows of 23 exactly.
    Sheet rows({100}, 0);
    rows.grid.SetDefaultRowHeight(23);
    rows.grid.SetRowCount(13);
    EXPECT_EQ(rows.Prepare(), 1);
    rows.grid.SetRowHeight(12, 24);
    EXPECT_EQ(rows.Prepare(), 2);
    EXPECT_EQ(rows.Page(2), (CPrintPageEntry{2, 0, 0, 12, 12}));
}

TEST(GridPrinterLayout, NoColumnsOrNoRowsGiveNoPages)
{
    Sheet noColumns({}, 10);
    EXPECT_EQ(noColumns.Prepare(), 0);
    Sheet noRows({100, 100}, 0);
    EXPECT_EQ(noRows.Prepare(), 0);
    Sheet zeroWidths({0, 0}, 3);
    EXPECT_EQ(zeroWidths.Prepare(), 0);
}

TEST(GridPrinterLayout, PagesRunAcrossThenDown)
{
    // 18 rows of 16 fit 299 pixels: rows 0-17, 18-35, 36-39.
    Sheet sheet({150, 140, 200}, 40);
    ASSERT_EQ(sheet.Prepare(), 6);
    EXPECT_EQ(sheet.printer.ColumnBlockCount(), 2);
    EXPECT_EQ(sheet.printer.RowBlockCount(), 3);
    EXPECT_EQ(sheet.Page(1), (CPrintPageEntry{1, 0, 1, 0, 17}));
    EXPECT_EQ(sheet.Page(2), (CPrintPageEntry{2, 2, 2, 0, 17}));
    EXPECT_EQ(sheet.Page(3), (CPrintPageEntry{3, 0, 1, 18, 35}));
    EXPECT_EQ(sheet.Page(4), (CPrintPageEntry{4, 2, 2, 18, 35}));
    EXPECT_EQ(sheet.Page(5), (CPrintPageEntry{5, 0, 1, 36, 39}));
    EXPECT_EQ(sheet.Page(6), (CPrintPageEntry{6, 2, 2, 36, 39}));
    EXPECT_EQ(sheet.printer.FindPage(7), nullptr);
    EXPECT_EQ(sheet.printer.FindPage(0), nullptr);
}

TEST(GridPrinterLayout, ShorterPreparationKeepsTheOldEntriesBehindItsCount)
{
    Sheet sheet({150, 140, 200}, 40);
    ASSERT_EQ(sheet.Prepare(), 6);
    sheet.grid.SetRowCount(10);
    EXPECT_EQ(sheet.Prepare(), 2);
    EXPECT_EQ(sheet.Page(1), (CPrintPageEntry{1, 0, 1, 0, 9}));
    // Page 5 is still the one of the longer preparation, and prints.
    EXPECT_EQ(sheet.Page(5), (CPrintPageEntry{5, 0, 1, 36, 39}));
    CRecordingGridDC dc;
    EXPECT_EQ(sheet.printer.PrintPage(dc, 5, 0), 1);
    EXPECT_EQ(sheet.printer.PrintPage(dc, 7, 0), 0);
}

TEST(GridPrinterLayout, NoRoomForCellsGivesNoPages)
{
    Sheet sheet({100}, 3);
    sheet.printer.SetMargins(80, 25, 80, 25); // 150 mm of margins on 150 mm
    EXPECT_EQ(sheet.Prepare(), 0);
    sheet.printer.SetMargins(25, 25, 25, 25);
    sheet.grid.SetSideHeadingWidth(400);
    EXPECT_EQ(sheet.Prepare(kPrintSideHeading), 0);
    EXPECT_EQ(sheet.printer.PrintPrepare({0, 0, 0, 0}, 0, 0, 0, 0, 2), 0);
}

// ---- drawing a page -------------------------------------------------------------------

namespace {

// Rectangles of the cells a page printed, as the clip rectangles of their
// texts (every cell here has a text).
std::vector<CGridRect> TextRects(const CRecordingGridDC& dc)
{
    std::vector<CGridRect> rects;
    for (const CDCCall& c : dc.Texts())
        rects.push_back(c.rc);
    return rects;
}

} // namespace

TEST(GridPrinterPage, CellsScaledFromTheOffsetsWithHeadingsFirst)
{
    Sheet sheet({100, 60}, 2);
    sheet.grid.SetSideHeadingWidth(40);
    sheet.grid.SetTopHeadingHeight(20);
    sheet.grid.SetCellText(-1, -1, "#");
    sheet.grid.SetCellText(0, -1, "A");
    sheet.grid.SetCellText(1, -1, "B");
    for (int nRow = 0; nRow < 2; ++nRow) {
        sheet.grid.SetCellText(-1, nRow, std::to_string(nRow + 1));
        sheet.grid.SetCellText(0, nRow, "a" + std::to_string(nRow));
        sheet.grid.SetCellText(1, nRow, "b" + std::to_string(nRow));
    }
    ASSERT_EQ(sheet.Prepare(kPrintBothHeadings), 1);
    const float hs = sheet.printer.HorizontalScale();
    const float vs = sheet.printer.VerticalScale();
    const int wHead = static_cast<int>(40 * hs), w0 = static_cast<int>(100 * hs),
              w1 = static_cast<int>(60 * hs);
    const int hHead = static_cast<int>(20 * vs), hRow = static_cast<int>(16 * vs);

    CRecordingGridDC dc;
    ASSERT_EQ(sheet.printer.PrintPage(dc, 1, kPrintBothHeadings), 1);
    EXPECT_EQ(dc.TextStrings(),
              (std::vector<std::string>{"#", "A", "B", "1", "a0", "b0", "2", "a1", "b1"}));
    // The clip of a text is its cell's inner rectangle: the cell less its
    // lines (four for headings, right and bottom for data cells).
    const std::vector<CGridRect> rects = TextRects(dc);
    const int x0 = 250, y0 = 250;
    EXPECT_EQ(rects[0], (CGridRect{x0 + 1, y0 + 1, x0 + wHead - 1, y0 + hHead - 1}));
    EXPECT_EQ(rects[2],
              (CGridRect{x0 + wHead + w0 + 1, y0 + 1, x0 + wHead + w0 + w1 - 1, y0 + hHead - 1}));
    EXPECT_EQ(rects[4],
              (CGridRect{x0 + wHead, y0 + hHead, x0 + wHead + w0 - 1, y0 + hHead + hRow - 1}));
    EXPECT_EQ(rects[8], (CGridRect{x0 + wHead + w0, y0 + hHead + hRow, x0 + wHead + w0 + w1 - 1,
                                   y0 + hHead + 2 * hRow - 1}));
}

TEST(GridPrinterPage, EveryPageRepeatsTheHeadingsBesideItsOwnBlock)
{
    Sheet sheet({200, 200}, 40);
    sheet.grid.SetCellText(-1, -1, "corner");
    sheet.grid.SetCellText(1, -1, "second");
    sheet.grid.SetCellText(-1, 20, "row21");
    sheet.grid.SetCellText(1, 20, "cell");
    const int nPages = sheet.Prepare(kPrintBothHeadings);
    // 243 pixels across hold one column; 279 down hold 17 rows.
    ASSERT_EQ(nPages, 6);
    EXPECT_EQ(sheet.Page(4), (CPrintPageEntry{4, 1, 1, 17, 33}));
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 4, kPrintBothHeadings);
    EXPECT_EQ(dc.TextStrings(), (std::vector<std::string>{"corner", "second", "row21", "cell"}));
}

TEST(GridPrinterPage, ThreeDFramesPrintAsPlainLinesInTheCellPen)
{
    Sheet sheet({100}, 1);
    sheet.grid.SetTopHeadingHeight(20);
    ASSERT_EQ(sheet.Prepare(kPrintTopHeading), 1);
    sheet.printer.SetPageOutline(false);
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 1, kPrintTopHeading);
    const int w = static_cast<int>(100 * sheet.printer.HorizontalScale());
    const int h = static_cast<int>(20 * sheet.printer.VerticalScale());
    const CGridRect rc{250, 250, 250 + w, 250 + h};
    // The heading's raised frame: four black lines, drawn before and after
    // the content; no white or shadow edges.
    std::vector<CDCCall> lines = dc.Lines();
    ASSERT_GE(lines.size(), 8u);
    const auto sameLine = [](const CDCCall& c, int x1, int y1, int x2, int y2) {
        return c.x == x1 && c.y == y1 && c.x2 == x2 && c.y2 == y2 && c.crPen == 0;
    };
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t n = static_cast<std::size_t>(pass) * 4;
        EXPECT_TRUE(sameLine(lines[n], rc.left, rc.top, rc.left, rc.bottom));
        EXPECT_TRUE(sameLine(lines[n + 1], rc.left, rc.top, rc.right, rc.top));
        EXPECT_TRUE(sameLine(lines[n + 2], rc.right - 1, rc.top, rc.right - 1, rc.bottom));
        EXPECT_TRUE(sameLine(lines[n + 3], rc.left, rc.bottom - 1, rc.right, rc.bottom - 1));
    }
    for (const CDCCall& c : lines)
        EXPECT_EQ(c.crPen, MakeRGB(0, 0, 0));
}

TEST(GridPrinterPage, FontGrowsWithThePrintedRowHeight)
{
    Sheet sheet({100}, 1);
    sheet.grid.SetGridFont({"Arial", 9, 400, false, false});
    sheet.grid.SetCellText(0, 0, "x");
    ASSERT_EQ(sheet.Prepare(), 1);
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 1, 0);
    const std::vector<CDCCall> texts = dc.Texts();
    ASSERT_EQ(texts.size(), 1u);
    // The data cell's bottom grid line leaves an inner height one less.
    const int nInner = static_cast<int>(16 * sheet.printer.VerticalScale()) - 1;
    EXPECT_EQ(texts[0].font.strFace, "Arial");
    EXPECT_EQ(texts[0].font.nHeight, 9 * nInner / 16);
}

TEST(GridPrinterPage, OutlineAlongTheEdgesOfTheBlock)
{
    Sheet sheet({100, 100}, 3);
    for (int nRow = 0; nRow < 3; ++nRow)
        for (int nCol = 0; nCol < 2; ++nCol) {
            CUGCell cell;
            cell.SetBorderStyle(0); // only the outline draws lines
            sheet.grid.WriteCell(nCol, nRow, &cell);
        }
    ASSERT_EQ(sheet.Prepare(), 1);
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 1, 0);
    const int w = static_cast<int>(100 * sheet.printer.HorizontalScale());
    const int h = static_cast<int>(16 * sheet.printer.VerticalScale());
    const int x0 = 250, y0 = 250;
    std::vector<std::array<int, 4>> lines;
    for (const CDCCall& c : dc.Lines())
        lines.push_back({c.x, c.y, c.x2, c.y2});
    const std::vector<std::array<int, 4>> expected = {
        // row 0: the top edge of each cell, the left and right block edges
        {x0, y0, x0 + w + 1, y0},
        {x0, y0, x0, y0 + h + 1},
        {x0 + w, y0, x0 + 2 * w + 1, y0},
        {x0 + 2 * w, y0, x0 + 2 * w, y0 + h + 1},
        // row 1: only the sides
        {x0, y0 + h, x0, y0 + 2 * h + 1},
        {x0 + 2 * w, y0 + h, x0 + 2 * w, y0 + 2 * h + 1},
        // row 2: the bottom edge and the sides
        {x0, y0 + 3 * h, x0 + w + 1, y0 + 3 * h},
        {x0, y0 + 2 * h, x0, y0 + 3 * h + 1},
        {x0 + w, y0 + 3 * h, x0 + 2 * w + 1, y0 + 3 * h},
        {x0 + 2 * w, y0 + 2 * h, x0 + 2 * w, y0 + 3 * h + 1},
    };
    EXPECT_EQ(lines, expected);
}

TEST(GridPrinterPage, RowsAndColumnsOfNoHeightOrWidthAreSkipped)
{
    Sheet sheet({100, 0, 100}, 3);
    sheet.grid.SetRowHeight(1, 0);
    for (int nRow = 0; nRow < 3; ++nRow)
        for (int nCol = 0; nCol < 3; ++nCol)
            sheet.grid.SetCellText(nCol, nRow, std::to_string(nCol) + std::to_string(nRow));
    ASSERT_EQ(sheet.Prepare(), 1);
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 1, 0);
    EXPECT_EQ(dc.TextStrings(), (std::vector<std::string>{"00", "20", "02", "22"}));
    // Row 2 starts where row 0 ended.
    const int h = static_cast<int>(16 * sheet.printer.VerticalScale());
    EXPECT_EQ(dc.Texts()[2].rc.top, 250 + h);
}

// ---- the order pages are printed ------------------------------------------------------------

// The screen in a dark scheme prints as the light one; a colour the
// program chose for a cell prints as it is.
TEST(GridPrinterPage, ScreenColoursPrintInTheLightScheme)
{
    const GridSysColors light = GetGridSysColors();
    struct CRestore {
        GridSysColors colors;
        ~CRestore()
        {
            for (std::size_t i = 0; i < colors.size(); ++i)
                SetGridSysColor(static_cast<GridSysColor>(i), colors[i]);
        }
    } restore{light};
    SetGridSysColor(GridSysColor::window, MakeRGB(30, 30, 30));
    SetGridSysColor(GridSysColor::windowText, MakeRGB(230, 230, 230));
    SetGridSysColor(GridSysColor::buttonFace, MakeRGB(60, 60, 60));
    SetGridSysColor(GridSysColor::buttonText, MakeRGB(230, 230, 230));
    Sheet sheet({100, 100}, 1);
    sheet.grid.OnSysColorChange();
    sheet.grid.SetCellText(0, -1, "A");
    sheet.grid.SetCellText(0, 0, "plain");
    sheet.grid.SetCellText(1, 0, "marked");
    sheet.grid.SetCellBackColor(1, 0, MakeRGB(255, 255, 0));
    ASSERT_EQ(sheet.Prepare(kPrintTopHeading), 1);
    CRecordingGridDC dc;
    sheet.printer.PrintPage(dc, 1, kPrintTopHeading);
    const auto text = [&dc](const std::string& str) {
        for (const CDCCall& call : dc.Texts())
            if (call.str == str)
                return call;
        ADD_FAILURE() << "no text " << str;
        return CDCCall{};
    };
    const auto index = [](GridSysColor which) { return static_cast<std::size_t>(which); };
    EXPECT_EQ(text("A").crBack, light[index(GridSysColor::buttonFace)]);
    EXPECT_EQ(text("A").crText, light[index(GridSysColor::buttonText)]);
    EXPECT_EQ(text("plain").crBack, light[index(GridSysColor::window)]);
    EXPECT_EQ(text("plain").crText, light[index(GridSysColor::windowText)]);
    EXPECT_EQ(text("marked").crBack, MakeRGB(255, 255, 0));
    EXPECT_EQ(text("marked").crText, light[index(GridSysColor::windowText)]);
}

TEST(GridPrinterJob, CopiesCollatedOrPagewise)
{
    EXPECT_EQ(PrintPageOrder(1, 3, 2, true), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(PrintPageOrder(1, 3, 2, false), (std::vector<int>{1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(PrintPageOrder(2, 3, 1, false), (std::vector<int>{2, 3}));
    EXPECT_TRUE(PrintPageOrder(1, 0, 2, true).empty());
    EXPECT_TRUE(PrintPageOrder(1, 3, 0, true).empty());
}

TEST(GridPrinterJob, PageRangeCutToThePageCount)
{
    const auto range = [](int n, bool b, int from, int to) {
        const CPrintPageRange r = ResolvePageRange(n, b, from, to);
        return std::pair(r.nFrom, r.nTo);
    };
    EXPECT_EQ(range(5, false, 2, 3), std::pair(1, 5));
    EXPECT_EQ(range(5, true, 2, 3), std::pair(2, 3));
    EXPECT_EQ(range(5, true, 2, 9), std::pair(2, 5));
    EXPECT_EQ(range(5, true, 7, 9), std::pair(7, 5)); // nothing to print
    EXPECT_EQ(range(0, false, 0, 0), std::pair(1, 0));
}
