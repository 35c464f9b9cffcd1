// The control's own cells and its cell access: what is read, written and
// resolved where, and the control's archive form.
#include "grid/UGCtrl.h"
#include "platform/Archive.h"
#include "test_grid_recorder.h"

#include <gtest/gtest.h>

using namespace hpa;
using hpa::test::CRecordingGrid;

namespace {

class GridCells : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_grid.SetColumnCount(6);
        m_grid.SetRowCount(1001);
    }
    void TearDown() override
    {
        std::string strWhy;
        EXPECT_TRUE(m_grid.GetMemStore()->CheckConsistency(&strWhy)) << strWhy;
    }
    CRecordingGrid m_grid;
};

} // namespace

TEST_F(GridCells, DefaultsAreAsConstructed)
{
    CUGCell def;
    m_grid.GetGridDefaults(&def);
    EXPECT_EQ(def.GetDataKind(), 0);
    EXPECT_EQ(def.GetAlignment(), 1);
    EXPECT_EQ(def.GetBorderStyle(), 12);
    EXPECT_EQ(def.GetReadOnly(), 0);
    EXPECT_EQ(def.GetTextColor(), GetGridSysColor(GridSysColor::windowText));
    EXPECT_EQ(def.GetHighlightBackColor(), GetGridSysColor(GridSysColor::highlight));

    CUGCell heading;
    EXPECT_EQ(m_grid.ResolveCell(2, -1, &heading), 0);
    EXPECT_EQ(heading.GetAlignment(), kAlignCenter | kAlignVCenter);
    EXPECT_EQ(heading.GetBorderStyle(), 0x2000);
    EXPECT_EQ(heading.GetBackColor(), GetGridSysColor(GridSysColor::buttonFace));
}

// New system colours reach the defaults that came from them; a column
// default the program coloured keeps its colour.
TEST_F(GridCells, SystemColourChangeReachesTheDefaultsThatCameFromTheSystem)
{
    const GridSysColors before = GetGridSysColors();
    struct CRestore {
        GridSysColors colors;
        ~CRestore()
        {
            for (std::size_t i = 0; i < colors.size(); ++i)
                SetGridSysColor(static_cast<GridSysColor>(i), colors[i]);
        }
    } restore{before};
    CUGCell cell;
    m_grid.GetColumnDefaults(2, &cell);
    cell.SetBackColor(MakeRGB(255, 255, 0));
    m_grid.SetColumnDefaults(2, &cell);

    SetGridSysColor(GridSysColor::window, MakeRGB(30, 30, 30));
    SetGridSysColor(GridSysColor::windowText, MakeRGB(230, 230, 230));
    SetGridSysColor(GridSysColor::buttonFace, MakeRGB(60, 60, 60));
    SetGridSysColor(GridSysColor::buttonText, MakeRGB(220, 220, 220));
    m_grid.OnSysColorChange();

    CUGCell resolved;
    m_grid.ResolveCell(0, 5, &resolved);
    EXPECT_EQ(resolved.GetBackColor(), MakeRGB(30, 30, 30));
    EXPECT_EQ(resolved.GetTextColor(), MakeRGB(230, 230, 230));
    m_grid.ResolveCell(2, 5, &resolved);
    EXPECT_EQ(resolved.GetBackColor(), MakeRGB(255, 255, 0));
    EXPECT_EQ(resolved.GetTextColor(), MakeRGB(230, 230, 230));
    m_grid.ResolveCell(1, -1, &resolved);
    EXPECT_EQ(resolved.GetBackColor(), MakeRGB(60, 60, 60));
    EXPECT_EQ(resolved.GetTextColor(), MakeRGB(220, 220, 220));
    m_grid.SetColumnCount(7); // a new column starts from the grid default
    m_grid.ResolveCell(6, 0, &resolved);
    EXPECT_EQ(resolved.GetBackColor(), MakeRGB(30, 30, 30));
}

TEST_F(GridCells, BackgroundOnlyCellKeepsColumnDefaultTextColourAndAlignment)
{
    CUGCell colDef;
    m_grid.GetColumnDefaults(1, &colDef);
    colDef.SetTextColor(MakeRGB(0, 0, 200));
    colDef.SetAlignment(kAlignRight);
    m_grid.SetColumnDefaults(1, &colDef);

    EXPECT_EQ(m_grid.SetCellBackColor(1, 4, MakeRGB(255, 255, 0)), 0);
    CUGCell cell;
    EXPECT_EQ(m_grid.ResolveCell(1, 4, &cell), 0);
    EXPECT_EQ(cell.GetBackColor(), MakeRGB(255, 255, 0));
    EXPECT_EQ(cell.GetTextColor(), MakeRGB(0, 0, 200));
    EXPECT_EQ(cell.GetAlignment(), kAlignRight);
}

TEST_F(GridCells, FarWriteLeavesNeighboursEmpty)
{
    ASSERT_EQ(m_grid.SetCellText(5, 1000, "far"), 0);
    CUGCell cell;
    cell.SetText("stale");
    EXPECT_EQ(m_grid.ReadCell(4, 999, &cell), 1);
    EXPECT_TRUE(cell.IsEmpty()); // ReadCell clears first
    EXPECT_EQ(m_grid.ResolveCell(4, 999, &cell), 1);
    CUGCell colDef;
    m_grid.GetColumnDefaults(4, &colDef);
    EXPECT_EQ(cell.GetText(), "");
    EXPECT_EQ(cell.GetBackColor(), colDef.GetBackColor());
    EXPECT_EQ(m_grid.ReadCell(5, 1000, &cell), 0);
    EXPECT_EQ(cell.GetText(), "far");
}

TEST_F(GridCells, AnyNegativeRowIsTheOneHeadingRow)
{
    ASSERT_EQ(m_grid.SetCellText(2, -1, "Heading"), 0);
    CUGCell cell;
    EXPECT_EQ(m_grid.ReadCell(2, -5, &cell), 0);
    EXPECT_EQ(cell.GetText(), "Heading");
    ASSERT_EQ(m_grid.SetCellText(-1, -3, "corner"), 0);
    EXPECT_EQ(m_grid.ReadCell(-1, -1, &cell), 0);
    EXPECT_EQ(cell.GetText(), "corner");
    // Side headings live in the store.
    ASSERT_EQ(m_grid.SetCellText(-1, 7, "8"), 0);
    EXPECT_EQ(m_grid.GetMemStore()->PeekCell(-1, 7)->GetText(), "8");
}

TEST_F(GridCells, OutOfRangeAccessIsRefusedAndStoresNothing)
{
    struct Case {
        int nCol, nRow;
    };
    const Case cases[] = {{6, 0}, {0, 1001}, {-2, 0}, {100, -1}};
    for (const Case& c : cases) {
        CUGCell cell;
        cell.SetText("x");
        EXPECT_EQ(m_grid.WriteCell(c.nCol, c.nRow, &cell), 1) << c.nCol << "," << c.nRow;
        EXPECT_EQ(m_grid.SetCellText(c.nCol, c.nRow, "x"), 1) << c.nCol << "," << c.nRow;
        EXPECT_EQ(m_grid.ReadCell(c.nCol, c.nRow, &cell), 1);
        EXPECT_EQ(m_grid.ResolveCell(c.nCol, c.nRow, &cell), 1);
    }
    EXPECT_EQ(m_grid.GetMemStore()->CellCount(), 0u);
    EXPECT_TRUE(m_grid.m_log.empty()); // no OnWriteCell for a refused write
}

TEST_F(GridCells, WriteCellNotifiesFirst)
{
    m_grid.SetCellText(3, 2, "a");
    EXPECT_EQ(m_grid.Take(), std::vector<std::string>{"OnWriteCell(3,2)"});
}

TEST_F(GridCells, ClearAllCellsKeepsColumnHeadings)
{
    m_grid.SetCellText(0, -1, "Name");
    m_grid.SetCellText(-1, 0, "1");
    m_grid.SetCellText(0, 0, "value");
    ASSERT_EQ(m_grid.GetStore(1)->ClearAllCells(), 0);
    CUGCell cell;
    EXPECT_EQ(m_grid.ReadCell(0, 0, &cell), 1);
    EXPECT_EQ(m_grid.ReadCell(-1, 0, &cell), 1);
    EXPECT_EQ(m_grid.ReadCell(0, -1, &cell), 0);
    EXPECT_EQ(cell.GetText(), "Name");

    // Removing the column drops its heading; a new column starts blank.
    m_grid.SetColumnCount(0);
    m_grid.SetColumnCount(1);
    m_grid.ReadCell(0, -1, &cell);
    EXPECT_EQ(cell.GetText(), "");
}

TEST_F(GridCells, GridDefaultsReachOnlyColumnsCreatedLater)
{
    CUGCell def;
    m_grid.GetGridDefaults(&def);
    def.SetAlignment(kAlignVCenter);
    m_grid.SetGridDefaults(&def);

    CUGCell cell;
    m_grid.ResolveCell(0, 0, &cell);
    EXPECT_EQ(cell.GetAlignment(), 1);
    m_grid.SetColumnCount(8);
    m_grid.ResolveCell(7, 0, &cell);
    EXPECT_EQ(cell.GetAlignment(), kAlignVCenter);
    m_grid.ResolveCell(5, 0, &cell);
    EXPECT_EQ(cell.GetAlignment(), 1);
}

TEST_F(GridCells, NewColumnHeadingsCopyTheCorner)
{
    CUGCell corner;
    corner.SetTextColor(MakeRGB(9, 9, 9));
    m_grid.WriteCell(-1, -1, &corner);
    m_grid.SetColumnCount(7);
    CUGCell cell;
    m_grid.ReadCell(6, -1, &cell);
    EXPECT_EQ(cell.GetTextColor(), MakeRGB(9, 9, 9));
    m_grid.ReadCell(5, -1, &cell);
    EXPECT_EQ(cell.GetTextColor(), kColorUnset);
}

TEST_F(GridCells, ResolveCellLetsTheSubclassHaveTheLastWord)
{
    struct CStriped : CUGCtrl {
        void OnResolveCell(int, int nRow, CUGCell* pCell) override
        {
            if (nRow % 2)
                pCell->SetBackColor(MakeRGB(200, 200, 200));
        }
    } grid;
    grid.SetColumnCount(1);
    grid.SetRowCount(2);
    grid.SetCellBackColor(0, 1, MakeRGB(1, 1, 1));
    CUGCell cell;
    grid.ResolveCell(0, 1, &cell);
    EXPECT_EQ(cell.GetBackColor(), MakeRGB(200, 200, 200));
}

TEST_F(GridCells, SerializeWritesOneAlignmentPerColumn)
{
    CUGCtrl grid;
    grid.SetColumnCount(3);
    CUGCell def;
    grid.GetColumnDefaults(1, &def);
    def.SetAlignment(kAlignRight);
    grid.SetColumnDefaults(1, &def);
    def.SetAlignment(-1);
    grid.SetColumnDefaults(2, &def);

    std::string strBytes;
    {
        CArchive ar(strBytes);
        grid.Serialize(ar);
    }
    ASSERT_EQ(strBytes.size(), 12u);
    EXPECT_EQ(strBytes, std::string("\x01\0\0\0\x02\0\0\0\xff\xff\xff\xff", 12));

    CUGCtrl loaded;
    loaded.SetColumnCount(3);
    CArchive in(strBytes.data(), strBytes.size());
    loaded.Serialize(in);
    CUGCell cell;
    loaded.GetColumnDefaults(1, &cell);
    EXPECT_EQ(cell.GetAlignment(), kAlignRight);
    loaded.GetColumnDefaults(2, &cell);
    EXPECT_EQ(cell.GetAlignment(), -1);

    // Fewer bytes than columns: the archive says so before anything changes.
    CUGCtrl wide;
    wide.SetColumnCount(4);
    CArchive shortIn(strBytes.data(), strBytes.size());
    EXPECT_THROW(wide.Serialize(shortIn), CArchiveException);
}

TEST_F(GridCells, GetStoreAnswersSlotsOneToFour)
{
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(m_grid.GetStore(i), m_grid.GetMemStore());
    EXPECT_EQ(m_grid.GetStore(0), nullptr);
    EXPECT_EQ(m_grid.GetStore(5), nullptr);
}

TEST_F(GridCells, ColumnDefaultsOutsideTheColumnsAreRefused)
{
    CUGCell cell;
    EXPECT_EQ(m_grid.GetColumnDefaults(6, &cell), 1);
    EXPECT_EQ(m_grid.SetColumnDefaults(-1, &cell), 1);
}
