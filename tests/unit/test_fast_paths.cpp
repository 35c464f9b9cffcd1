// The shortcuts the big-set paths take must give what the general code
// gives: the inline number form against the full parse, column fitting on
// cells measured in place (remapped columns, unwritten rows, cells with
// properties), and the store's growth by one row or slot against far
// writes.
#include "accounting/AccText.h"
#include "grid/UGCtrl.h"

#include <gtest/gtest.h>

#include <string>

namespace hpa {
namespace {

TEST(FastPaths, InlineNumbersAgreeWithTheFullParse)
{
    const char* inputs[] = {"",      " ",     "0",     "7",          " 7",   "  7",  "9999",
                            " 9999", "10000", " 1234", "12345",      "0042", "1a",   " 1a",
                            "a1",    "-1",    " -1",   "+12",        "\t3",  "3 ",   "1:2",
                            "\n5",   " 0",    "00000", "4294967296", "\xB9", " \xB9"};
    for (const char* psz : inputs)
        EXPECT_EQ(LeadingInteger(psz), LeadingIntegerFull(psz)) << "input '" << psz << "'";
    EXPECT_EQ(LeadingInteger(" 9999"), 9999);
    EXPECT_EQ(LeadingInteger("12345"), 12345);
    EXPECT_EQ(LeadingInteger(" 1a"), 1);
    // A byte that is a digit only after sign confusion is not one.
    EXPECT_EQ(LeadingInteger("\xB9"), 0);
}

int WidthOf(CUGCtrl& grid, int nCol)
{
    int nWidth = 0;
    grid.GetColumnWidth(nCol, &nWidth);
    return nWidth;
}

TEST(FastPaths, FittingMeasuresWhatReadCellWouldRead)
{
    // No font set: the grid font, 11 pixels high, measures 5 pixels a
    // character.
    CUGCtrl grid;
    grid.SetColumnCount(5);
    grid.SetRowCount(6);
    // Column 2 shows store column 4; what lies in store column 2 itself
    // must not count.
    CUGCell heading;
    grid.ReadCell(2, -1, &heading);
    heading.SetStoreColumn(4);
    grid.WriteCell(2, -1, &heading);
    grid.SetCellText(2, 0, "abcdefgh"); // lands in store column 4
    CUGCell stray;
    stray.SetText("much longer than anything shown");
    grid.GetMemStore()->PutCellProps(2, 1, &stray);
    // Column 1: row 3 never written, row 4 a text with a font of its own.
    grid.SetCellText(1, 0, "ab");
    grid.SetCellText(1, 5, "abc");
    CGridFont big{"Arial", -20, 400, false, false}; // 10 pixels a character
    CUGCell cell;
    cell.SetText("abcd");
    cell.SetFont(&big);
    grid.WriteCell(1, 4, &cell);

    ASSERT_EQ(grid.FitColumnWidths(0, 4, 6), 0);
    EXPECT_EQ(WidthOf(grid, 1), 4 * 10 + 6);
    CUGCell read;
    ASSERT_EQ(grid.ReadCell(2, 0, &read), 0);
    ASSERT_EQ(read.GetText(), "abcdefgh");
    EXPECT_EQ(WidthOf(grid, 2), 8 * 5 + 6);
    EXPECT_EQ(WidthOf(grid, 4), 8 * 5 + 6);
    EXPECT_EQ(WidthOf(grid, 0), 6); // nothing anywhere: every cell measures 0
}

TEST(FastPaths, StoreGrowsRowByRowAndByFarWritesAlike)
{
    CGridMemStore store;
    CUGCell cell;
    cell.SetText("x");
    // Row after row, left to right, as a reader writes.
    for (int r = 0; r < 3; ++r)
        for (int c = -1; c < 3; ++c)
            ASSERT_EQ(store.PutCellProps(c, r, &cell), 0);
    // A far write creates the rows and slots in between without cells.
    ASSERT_EQ(store.PutCellProps(5, 7, &cell), 0);
    ASSERT_EQ(store.PutCellProps(0, 5, &cell), 0);
    EXPECT_EQ(store.StoredRowCount(), 8);
    EXPECT_EQ(store.CellCount(), 3u * 4u + 2u);
    EXPECT_EQ(store.PeekCell(4, 7), nullptr);
    EXPECT_NE(store.PeekCell(5, 7), nullptr);
    EXPECT_EQ(store.PeekCell(0, 6), nullptr);
    std::string strWhy;
    EXPECT_TRUE(store.CheckConsistency(&strWhy)) << strWhy;
    // A slot passed over by the far write exists (its deletion closes up the
    // row); a position beyond the row's end does not.
    EXPECT_EQ(store.DeleteCell(2, 7), 0);
    EXPECT_NE(store.PeekCell(4, 7), nullptr); // the cell of column 5 moved left
    EXPECT_EQ(store.DeleteCell(9, 7), 1);
    EXPECT_TRUE(store.CheckConsistency(&strWhy)) << strWhy;
}

TEST(FastPaths, CopyingBetweenCellsThatShareABlockKeepsBoth)
{
    CUGCell a;
    a.SetText("a");
    a.SetBackColor(MakeRGB(1, 2, 3));
    CUGCell b(a); // shares a's block
    b.SetText("b");
    b.CopyCellFrom(a);
    EXPECT_EQ(b.GetText(), "a");
    EXPECT_EQ(b.GetBackColor(), MakeRGB(1, 2, 3));
    b.SetBackColor(MakeRGB(9, 9, 9)); // copy on write
    EXPECT_EQ(a.GetBackColor(), MakeRGB(1, 2, 3));
    CUGCell plain;
    plain.SetText("p");
    b.CopyCellFrom(plain);
    EXPECT_FALSE(b.HasProperties());
    EXPECT_EQ(b.GetText(), "p");
}

} // namespace
} // namespace hpa
