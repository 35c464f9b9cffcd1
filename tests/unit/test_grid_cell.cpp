// Cell properties, the two copy operations and the cell's archive form.
#include "grid/GridDC.h"
#include "grid/UGCell.h"
#include "platform/Archive.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace hpa;

TEST(GridCell, FreshAndClearedCellsHaveEveryPropertyUnset)
{
    CUGCell cell;
    EXPECT_TRUE(cell.IsEmpty());
    EXPECT_EQ(cell.GetDataKind(), -1);
    EXPECT_EQ(cell.GetDecimalPlaces(), 2);
    EXPECT_EQ(cell.GetTextColor(), kColorUnset);
    EXPECT_EQ(cell.GetAlignment(), -1);
    EXPECT_EQ(cell.GetCellType(), -1);
    EXPECT_EQ(cell.GetStoreColumn(), -1);
    EXPECT_EQ(cell.IsJoined(), 0);

    const char bytes[] = {1, 2, 3};
    cell.SetText("x");
    cell.SetBackColor(MakeRGB(1, 2, 3));
    cell.SetDecimalPlaces(5);
    cell.SetExtraData(bytes, sizeof bytes);
    cell.SetJoinInfo(1, 3, 4);
    ASSERT_FALSE(cell.IsEmpty());
    cell.ClearCell();
    EXPECT_TRUE(cell.IsEmpty());
    EXPECT_EQ(cell.GetDecimalPlaces(), 2);
    EXPECT_EQ(cell.GetExtraData(), nullptr);
}

TEST(GridCell, SetNumberFormatsWithTheDecimalPlaces)
{
    struct Case {
        short nPlaces;
        double dValue;
        const char* pszText;
    };
    const Case cases[] = {
        {2, 3.14159, "3.14"}, {0, 3.14159, "3"}, {3, -2.5, "-2.500"},
        {2, 0.005, "0.01"},   {-4, 7.75, "8"},   {1, 1e20, "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        CUGCell cell;
        cell.SetDecimalPlaces(c.nPlaces);
        cell.SetNumber(c.dValue);
        EXPECT_EQ(cell.GetText(), c.pszText) << c.dValue << " with " << c.nPlaces;
        EXPECT_EQ(cell.GetDataKind(), kDataKindNumber);
        EXPECT_DOUBLE_EQ(cell.GetNumberValue(), c.dValue);
    }
}

TEST(GridCell, GetNumberParsesTheLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"42", 42.0}, {"  -3.5kg", -3.5}, {"abc", 0.0}, {"", 0.0}, {"1e3x", 1000.0}};
    for (const auto& [pszText, dExpected] : cases) {
        CUGCell cell;
        cell.SetText(pszText);
        EXPECT_DOUBLE_EQ(cell.GetNumber(), dExpected) << pszText;
    }
}

TEST(GridCell, MergeCopiesOnlySetProperties)
{
    CUGCell target;
    target.SetText("keep");
    target.SetTextColor(MakeRGB(10, 20, 30));
    target.SetAlignment(kAlignRight);

    CUGCell src;
    src.SetBackColor(MakeRGB(255, 0, 0));
    src.SetAlignment(-7); // negative: counts as unset
    target.MergeCellFrom(src);

    EXPECT_EQ(target.GetText(), "keep");
    EXPECT_EQ(target.GetTextColor(), MakeRGB(10, 20, 30));
    EXPECT_EQ(target.GetBackColor(), MakeRGB(255, 0, 0));
    EXPECT_EQ(target.GetAlignment(), kAlignRight);

    // A merge into an empty cell must not pick up the unset -7 either.
    CUGCell empty;
    empty.MergeCellFrom(src);
    EXPECT_EQ(empty.GetAlignment(), -1);
    EXPECT_EQ(empty.GetBackColor(), MakeRGB(255, 0, 0));
}

TEST(GridCell, MergeTakesGroupsOnlyWhenTheirGuardIsSet)
{
    CUGCell target;
    target.SetDecimalPlaces(4);
    target.SetDataKind(0);

    CUGCell src;
    src.SetDecimalPlaces(0); // data kind still -1: the group is not set
    src.SetJoinInfo(1, 5, 6);
    target.MergeCellFrom(src);
    EXPECT_EQ(target.GetDecimalPlaces(), 4);
    EXPECT_EQ(target.GetDataKind(), 0);
    int bOrigin = 0, nCol = 0, nRow = 0;
    ASSERT_EQ(target.GetJoinInfo(&bOrigin, &nCol, &nRow), 0);
    EXPECT_EQ(bOrigin, 1);
    EXPECT_EQ(nCol, 5);
    EXPECT_EQ(nRow, 6);

    CUGCell limits;
    limits.SetLimits(1.0, 9.0);
    target.MergeCellFrom(limits);
    double dMin = 0, dMax = 0;
    ASSERT_EQ(target.GetLimits(&dMin, &dMax), 0);
    EXPECT_EQ(dMax, 9.0);
}

TEST(GridCell, FullCopyReplacesEverythingButUnguardedGroups)
{
    CUGCell target;
    target.SetText("old");
    target.SetTextColor(MakeRGB(1, 1, 1));
    target.SetDecimalPlaces(0);

    CUGCell src; // text empty, colours unset, data kind unset
    src.SetAlignment(kAlignCenter);
    target.CopyCellFrom(src);
    EXPECT_EQ(target.GetText(), "");
    EXPECT_EQ(target.GetTextColor(), kColorUnset);
    EXPECT_EQ(target.GetAlignment(), kAlignCenter);
    // The number group travels only with a set data kind.
    EXPECT_EQ(target.GetDecimalPlaces(), 0);

    src.SetDecimalPlaces(3);
    src.SetDataKind(0);
    target.CopyCellFrom(src);
    EXPECT_EQ(target.GetDecimalPlaces(), 3);
}

TEST(GridCell, CopiesAreIndependent)
{
    CUGCell a;
    a.SetText("a");
    a.SetBackColor(MakeRGB(1, 2, 3));
    const char bytes[] = "payload";
    a.SetExtraData(bytes, sizeof bytes);

    CUGCell b(a);
    CUGCell c;
    c.CopyCellFrom(a);
    CUGCell d;
    d.MergeCellFrom(a);
    b.SetBackColor(MakeRGB(9, 9, 9));
    c.SetExtraData("zz", 2);
    d.SetText("d");

    EXPECT_EQ(a.GetBackColor(), MakeRGB(1, 2, 3));
    EXPECT_EQ(a.GetText(), "a");
    ASSERT_EQ(a.GetExtraDataSize(), sizeof bytes);
    EXPECT_EQ(std::memcmp(a.GetExtraData(), bytes, sizeof bytes), 0);
    EXPECT_EQ(b.GetBackColor(), MakeRGB(9, 9, 9));
    EXPECT_EQ(c.GetExtraDataSize(), 2u);
    EXPECT_EQ(d.GetBackColor(), MakeRGB(1, 2, 3));

    // Full copy from a cell without extra data frees the target's.
    CUGCell plain;
    c.CopyCellFrom(plain);
    EXPECT_EQ(c.GetExtraData(), nullptr);
}

TEST(GridCell, SerializeWritesOnlyTheTextAndLoadKeepsOtherProperties)
{
    CUGCell cell;
    cell.SetText("hello");
    cell.SetBackColor(MakeRGB(1, 2, 3));
    std::string strBytes;
    {
        CArchive ar(strBytes);
        cell.Serialize(ar);
    }
    EXPECT_EQ(strBytes, std::string("\x05hello"));

    CUGCell loaded;
    loaded.SetText("before");
    loaded.SetTextColor(MakeRGB(7, 8, 9));
    CArchive in(strBytes.data(), strBytes.size());
    loaded.Serialize(in);
    EXPECT_EQ(loaded.GetText(), "hello");
    EXPECT_EQ(loaded.GetTextColor(), MakeRGB(7, 8, 9));
    EXPECT_EQ(loaded.GetBackColor(), kColorUnset);
}

TEST(GridCell, TextOnlyCellIsSmall)
{
    // The inline string plus one pointer: what lets a million-row grid fit.
    EXPECT_LE(sizeof(CUGCell), 48u);
}

TEST(GridDC, FixedMeasurerIsDeterministic)
{
    CFixedMeasureDC dc;
    EXPECT_EQ(dc.GetTextExtent("abcd"),
              (CGridSize{4 * CFixedMeasureDC::kDefaultAdvance, CFixedMeasureDC::kDefaultHeight}));
    CGridFont font{"Arial", -12, 400, false, false};
    dc.SelectFont(&font);
    EXPECT_EQ(dc.GetTextExtent("abc"), (CGridSize{18, 12}));
}
