// The inputs that once crashed or hung a fuzz target, each pinned down with
// what must come of it (their bytes also sit in the corpora, which the
// replay test runs).
#include "support/AccFixture.h"

#include <gtest/gtest.h>

namespace hpa {
namespace {

// A status file announcing two billion paper types used to make the paper
// reader measure every one of those (empty) rows to fit the columns: the
// desktop froze for minutes. The rows stay announced; only the stored ones
// and one empty row are measured, which gives the same widths.
TEST(FuzzRegression, AHugePaperTypeCountIsNotWalkedRowByRow)
{
    const std::string strPaper = "22:210,23:297\n22:216,23:279\n";
    test::CAccFixture huge;
    huge.Write("PAP.tmp", strPaper);
    huge.m_acc.m_strFieldName[22] = "Paper Width";
    huge.m_acc.m_strFieldValue[kFieldPaperTypes] = "2000000000";
    ASSERT_EQ(huge.m_acc.ReadPaperFile(), 1);
    EXPECT_EQ(huge.Grid(kKindPaper).RowCount(), 2000000000);

    test::CAccFixture small;
    small.Write("PAP.tmp", strPaper);
    small.m_acc.m_strFieldName[22] = "Paper Width";
    small.m_acc.m_strFieldValue[kFieldPaperTypes] = "5";
    ASSERT_EQ(small.m_acc.ReadPaperFile(), 1);
    for (int nCol = 0; nCol < 2; ++nCol) {
        int nHuge = -1;
        int nSmall = -2;
        huge.Grid(kKindPaper).GetColumnWidth(nCol, &nHuge);
        small.Grid(kKindPaper).GetColumnWidth(nCol, &nSmall);
        EXPECT_EQ(nHuge, nSmall) << "column " << nCol;
    }
    CUGCell cell;
    huge.Grid(kKindPaper).ReadCell(1, 1, &cell);
    EXPECT_EQ(cell.GetText(), "279");
}

} // namespace
} // namespace hpa
