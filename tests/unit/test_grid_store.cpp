// The built-in cell store: return codes, row and column node semantics,
// search, and its invariants after every change.
#include "grid/GridStore.h"

#include <gtest/gtest.h>

using namespace hpa;

namespace {

class GridStore : public ::testing::Test {
protected:
    void Put(int nCol, int nRow, const char* pszText)
    {
        CUGCell cell;
        cell.SetText(pszText);
        ASSERT_EQ(m_store.PutCellProps(nCol, nRow, &cell), 0);
        Check();
    }
    std::string Text(int nCol, int nRow)
    {
        const CUGCell* pCell = m_store.PeekCell(nCol, nRow);
        return pCell ? pCell->GetText() : "<none>";
    }
    void Check()
    {
        std::string strWhy;
        ASSERT_TRUE(m_store.CheckConsistency(&strWhy)) << strWhy;
    }

    CGridMemStore m_store;
};

} // namespace

TEST_F(GridStore, GetCellPropsMergesAndReportsMissingCells)
{
    CUGCell cell;
    cell.SetText("x");
    cell.SetBackColor(MakeRGB(1, 1, 1));
    ASSERT_EQ(m_store.PutCellProps(2, 3, &cell), 0);

    CUGCell out;
    out.SetTextColor(MakeRGB(5, 5, 5));
    EXPECT_EQ(m_store.GetCellProps(2, 3, &out), 0);
    EXPECT_EQ(out.GetText(), "x");
    EXPECT_EQ(out.GetTextColor(), MakeRGB(5, 5, 5));

    // Intermediate nodes hold no cells; the given cell is left alone.
    CUGCell untouched;
    untouched.SetText("mine");
    EXPECT_EQ(m_store.GetCellProps(1, 3, &untouched), 1);
    EXPECT_EQ(m_store.GetCellProps(2, 2, &untouched), 1);
    EXPECT_EQ(m_store.GetCellProps(2, 4, &untouched), 1);
    EXPECT_EQ(untouched.GetText(), "mine");
    EXPECT_EQ(m_store.StoredRowCount(), 4);
    EXPECT_EQ(m_store.CellCount(), 1u);
    Check();
}

TEST_F(GridStore, PutCellPropsIsAFullCopy)
{
    CUGCell first;
    first.SetText("a");
    first.SetBackColor(MakeRGB(1, 1, 1));
    m_store.PutCellProps(0, 0, &first);
    CUGCell second;
    second.SetText("b");
    m_store.PutCellProps(0, 0, &second);
    EXPECT_EQ(m_store.PeekCell(0, 0)->GetBackColor(), kColorUnset);
    EXPECT_EQ(m_store.CellCount(), 1u);
    EXPECT_EQ(m_store.PutCellProps(-2, 0, &second), 1);
    EXPECT_EQ(m_store.PutCellProps(0, -1, &second), 1);
    Check();
}

TEST_F(GridStore, RowInsertAndDelete)
{
    for (int r = 0; r < 3; ++r)
        Put(0, r, std::to_string(r).c_str());
    Put(-1, 1, "h1");

    EXPECT_EQ(m_store.InsertRowBefore(1), 0);
    Check();
    EXPECT_EQ(Text(0, 0), "0");
    EXPECT_EQ(Text(0, 1), "<none>");
    EXPECT_EQ(Text(0, 2), "1");
    EXPECT_EQ(Text(-1, 2), "h1");
    EXPECT_EQ(Text(0, 3), "2");

    // A row that does not exist: 0 and nothing inserted.
    EXPECT_EQ(m_store.InsertRowBefore(10), 0);
    EXPECT_EQ(m_store.StoredRowCount(), 4);

    EXPECT_EQ(m_store.DeleteRow(2), 0);
    Check();
    EXPECT_EQ(Text(0, 2), "2");
    EXPECT_EQ(Text(-1, 2), "<none>");
    EXPECT_EQ(m_store.DeleteRow(9), 1);
    EXPECT_EQ(m_store.CellCount(), 2u);
}

TEST_F(GridStore, ColumnNodesCloseUpLikeALinkedRow)
{
    Put(-1, 0, "h");
    Put(0, 0, "a");
    Put(1, 0, "b");
    Put(2, 0, "c");
    Put(0, 1, "only");

    EXPECT_EQ(m_store.DeleteCell(1, 0), 0);
    Check();
    EXPECT_EQ(Text(1, 0), "c");
    EXPECT_EQ(Text(2, 0), "<none>");
    EXPECT_EQ(m_store.DeleteCell(5, 0), 1);
    EXPECT_EQ(m_store.DeleteCell(0, 7), 1);

    // The side heading goes without moving the row's columns.
    EXPECT_EQ(m_store.DeleteCell(-1, 0), 0);
    EXPECT_EQ(Text(-1, 0), "<none>");
    EXPECT_EQ(Text(0, 0), "a");

    EXPECT_EQ(m_store.InsertColumnBefore(0), 0);
    Check();
    EXPECT_EQ(Text(1, 0), "a");
    EXPECT_EQ(Text(2, 0), "c");
    EXPECT_EQ(Text(1, 1), "only");

    EXPECT_EQ(m_store.DeleteColumn(0), 0);
    Check();
    EXPECT_EQ(Text(0, 0), "a");
    EXPECT_EQ(Text(0, 1), "only");
}

TEST_F(GridStore, ClearAllCellsEmptiesTheStore)
{
    EXPECT_EQ(m_store.InsertColumnBefore(0), 1); // empty store
    Put(3, 5, "x");
    Put(-1, 5, "5");
    EXPECT_EQ(m_store.ClearAllCells(), 0);
    Check();
    EXPECT_EQ(m_store.StoredRowCount(), 0);
    EXPECT_EQ(m_store.CellCount(), 0u);
    EXPECT_EQ(Text(3, 5), "<none>");
}

TEST_F(GridStore, TextOnlyCellsStayWithinBudget)
{
    // 1000 rows x (27 columns + the side heading), written row by row the way
    // the job reader does: each cell, nodes included, stays far below 96 bytes.
    CUGCell cell;
    cell.SetText("short text");
    for (int r = 0; r < 1000; ++r) {
        for (int c = -1; c < 27; ++c)
            ASSERT_EQ(m_store.PutCellProps(c, r, &cell), 0);
    }
    Check();
    ASSERT_EQ(m_store.CellCount(), 28000u);
    const double dPerCell = static_cast<double>(m_store.MemoryUsage()) / 28000.0;
    EXPECT_LE(dPerCell, 96.0);
}

TEST_F(GridStore, FindSearchesOneColumnWithoutWrapping)
{
    Put(0, 0, "alpha");
    Put(0, 1, "xABCx");
    Put(0, 2, "x ABC y");
    Put(1, 3, "abc"); // other column
    Put(0, 4, "abc");

    struct Case {
        int bCase, bWhole, bForward, nStart;
        const char* pszFind;
        int nResult, nRow;
    };
    const Case cases[] = {
        {0, 0, 1, 0, "abc", 0, 1}, // case-insensitive substring
        {0, 1, 1, 0, "abc", 0, 2}, // whole word skips xABCx
        {1, 0, 1, 0, "abc", 0, 4}, // case-sensitive
        {0, 0, 1, 1, "abc", 0, 2}, // the start row itself is never tested
        {0, 0, 1, 4, "abc", 1, 4}, // from the last row: not found
        {0, 0, 0, 4, "abc", 0, 2}, // backwards
        {0, 0, 0, 0, "abc", 1, 0}, // backwards from the first row
        {0, 0, 1, 9, "abc", 1, 9}, // start row does not exist
        {0, 0, 1, 0, "zzz", 1, 0},
    };
    for (const Case& c : cases) {
        m_store.m_bFindCaseSensitive = c.bCase;
        m_store.m_bFindWholeWord = c.bWhole;
        m_store.m_bFindForward = c.bForward;
        int nRow = c.nStart;
        EXPECT_EQ(m_store.FindNext(0, c.pszFind, &nRow), c.nResult)
            << c.pszFind << " from " << c.nStart;
        EXPECT_EQ(nRow, c.nRow) << c.pszFind << " from " << c.nStart;
    }
}

TEST_F(GridStore, WholeWordFindsAStandaloneLaterOccurrence)
{
    // The first occurrence is inside a word; a later one stands alone at an
    // offset that is not a multiple of the search text's length.
    Put(0, 0, "");
    Put(0, 1, "abcd x abc");
    m_store.m_bFindWholeWord = 1;
    int nRow = 0;
    EXPECT_EQ(m_store.FindFirst(0, "abc", &nRow), 0);
    EXPECT_EQ(nRow, 1);
}

TEST_F(GridStore, SortKeepsRowsWithoutCellsLast)
{
    Put(0, 0, "b");
    Put(0, 2, "a");
    Put(1, 1, "no key");
    Put(0, 3, "c");
    EXPECT_EQ(m_store.SortByColumn(0), 0);
    Check();
    EXPECT_EQ(Text(0, 0), "a");
    EXPECT_EQ(Text(0, 1), "b");
    EXPECT_EQ(Text(0, 2), "c");
    EXPECT_EQ(Text(1, 3), "no key");
}
