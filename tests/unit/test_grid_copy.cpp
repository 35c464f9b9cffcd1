// Copying the selection: resolved texts in selection order, a tab within a
// row, one line feed between rows, nothing after the last cell; afterwards
// the selection is cleared.
#include "test_grid_input_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;

namespace {

class CKeepClipboard : public CGridClipboard {
public:
    int PutText(std::string_view bytes) override
    {
        m_texts.emplace_back(bytes);
        return m_nAnswer;
    }
    std::vector<std::string> m_texts;
    int m_nAnswer = 0;
};

class GridCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        hpa::test::MakeInputGrid(m_grid, 4, 6);
        for (int r = 0; r < 5; ++r) // row 5 is left to the tests
            for (int c = 0; c < 4; ++c)
                m_grid.SetCellText(c, r,
                                   std::string(1, static_cast<char>('a' + c)) + std::to_string(r));
        m_grid.SetClipboard(&m_clip);
    }
    void SelectBlock(int c0, int r0, int c1, int r1)
    {
        m_grid.AllowRangeSelection(1);
        EXPECT_EQ(m_grid.MoveCurrentCell(c0, r0), kGridDone);
        CGridInput input(m_grid);
        int nKey = 0;
        for (int r = r0; r < r1; ++r)
            input.OnKeyDown(&(nKey = kGridKeyDown), kGridModShift);
        for (int c = c0; c < c1; ++c)
            input.OnKeyDown(&(nKey = kGridKeyRight), kGridModShift);
    }

    CUGCtrl m_grid;
    CKeepClipboard m_clip;
};

} // namespace

TEST_F(GridCopy, BlockCopiesRowByRowWithoutTrailingLineFeed)
{
    SelectBlock(0, 1, 2, 2);
    EXPECT_EQ(m_grid.CopySelectionToClipboard(), 0);
    ASSERT_EQ(m_clip.m_texts.size(), 1u);
    EXPECT_EQ(m_clip.m_texts[0], "a1\tb1\tc1\na2\tb2\tc2");
    EXPECT_TRUE(m_grid.GetSelection().IsEmpty());
    EXPECT_TRUE(m_grid.GetRedrawHints().IsFullRedraw());
}

TEST_F(GridCopy, WithoutSelectionOnlyTheCurrentCellIsCopied)
{
    EXPECT_EQ(m_grid.MoveCurrentCell(3, 4), kGridDone);
    m_grid.CopySelectionToClipboard();
    EXPECT_EQ(m_clip.m_texts.at(0), "d4");

    // Enabled but emptied by the previous copy: the current cell again.
    SelectBlock(0, 0, 1, 1);
    m_grid.CopySelectionToClipboard();
    m_grid.CopySelectionToClipboard();
    EXPECT_EQ(m_clip.m_texts.at(2), "b1");
}

TEST_F(GridCopy, TextsAreResolvedAndGapsKeepTheirSeparators)
{
    // A cell with no text of its own shows its column's default text, and
    // an empty cell still gets its separator.
    CUGCell def;
    m_grid.GetColumnDefaults(1, &def);
    def.SetText("dflt");
    m_grid.SetColumnDefaults(1, &def);
    m_grid.SetCellText(0, 5, "a5");
    m_grid.SetCellText(2, 5, "");
    m_grid.SetCellText(3, 5, "d5");
    SelectBlock(0, 5, 3, 5);
    m_grid.CopySelectionToClipboard();
    EXPECT_EQ(m_clip.m_texts.at(0), "a5\tdflt\t\td5");
}

TEST_F(GridCopy, SelectionIsClearedEvenWhenTheClipboardRefuses)
{
    m_clip.m_nAnswer = 1;
    SelectBlock(0, 0, 1, 0);
    EXPECT_EQ(m_grid.CopySelectionToClipboard(), 0);
    EXPECT_TRUE(m_grid.GetSelection().IsEmpty());
    m_grid.SetClipboard(nullptr);
    SelectBlock(0, 0, 1, 0);
    EXPECT_EQ(m_grid.CopySelectionToClipboard(), 0);
    EXPECT_TRUE(m_grid.GetSelection().IsEmpty());
}

TEST_F(GridCopy, RowSelectionCopiesColumnZeroOfEachRow)
{
    m_grid.SetMultiSelectMode(1);
    SelectBlock(1, 3, 1, 4);
    m_grid.CopySelectionToClipboard();
    EXPECT_EQ(m_clip.m_texts.at(0), "a3\na4");
}
