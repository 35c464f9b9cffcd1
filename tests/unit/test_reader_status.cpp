// The status file (one line of pairs for fields 28 to 44), the invalid
// initialization test and the status grid.
#include "support/AccFixture.h"

#include <gtest/gtest.h>

#include <map>

namespace hpa {
namespace {

using test::CAccFixture;
using Rows = std::vector<std::string>;

TEST(ReadStatusFile, Pairs)
{
    struct Case {
        const char* name;
        std::string file;
        std::map<int, std::string> values; // all other fields stay "old"
    } cases[] = {
        {"fields in any order, leading blanks dropped, trailing kept",
         "29: 3,28:2 ,36:12\n",
         {{28, "2 "}, {29, "3"}, {36, "12"}}},
        {"a value may contain ':'", "41:ann:x,42:h\n", {{41, "ann:x"}, {42, "h"}}},
        {"repeated field keeps the last value", "28:1,28:2\n", {{28, "2"}}},
        {"fields outside 28 to 44 are ignored", "27:a,45:b,-1:c,x:d,44:e\n", {{44, "e"}}},
        {"only the first line", "28:1\n29:2\n", {{28, "1"}}},
        {"CR LF", "28:1,29:2\r\n", {{28, "1"}, {29, "2"}}},
        {"an empty value takes the next pair as value", "28:,29:5\n", {{28, "29:5"}}},
        {"a pair without a value ends the line", "28:1,29\n", {{28, "1"}}},
        {"empty file", "", {}},
        {"line cut at 255 characters",
         "28:1,30:" + std::string(250, '7') + ",31:x\n",
         {{28, "1"}, {30, std::string(247, '7')}}},
    };
    for (const Case& c : cases) {
        CAccFixture fx;
        fx.m_acc.m_strFieldValue.fill("old");
        fx.Write("STA.tmp", c.file);
        EXPECT_EQ(fx.m_acc.ReadStatusFile(), 1) << c.name;
        for (int n = 0; n < kFieldCount; ++n) {
            auto it = c.values.find(n);
            EXPECT_EQ(fx.m_acc.m_strFieldValue[static_cast<std::size_t>(n)],
                      it == c.values.end() ? std::string("old") : it->second)
                << c.name << ": field " << n;
        }
    }
}

TEST(ReadStatusFile, MissingFile)
{
    CAccFixture fx;
    fx.m_acc.m_strFieldValue[28] = "7";
    EXPECT_EQ(fx.m_acc.ReadStatusFile(), 0);
    EXPECT_EQ(fx.m_messages.Exclamations(),
              std::vector<std::string>{"Error reading Status Accounting File."});
    EXPECT_EQ(fx.m_acc.m_strFieldValue[28], "7");
}

TEST(ReadStatusFile, InvalidInitializationIsAnExactZero)
{
    struct Case {
        const char* version;
        const char* paperTypes;
        bool invalid;
    } cases[] = {
        {"0", "3", true},   {"2", "0", true},   {"2", "3", false},
        {"0 ", "3", false}, {"00", "3", false}, {"2", "", false},
    };
    for (const Case& c : cases) {
        CAcc acc;
        acc.m_strFieldValue[28] = c.version;
        acc.m_strFieldValue[29] = c.paperTypes;
        EXPECT_EQ(acc.IndicatesInvalidInitialization(), c.invalid)
            << "'" << c.version << "' '" << c.paperTypes << "'";
    }
}

class FillStatusGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 28; n <= 44; ++n) {
            fx.m_acc.m_strFieldName[static_cast<std::size_t>(n)] = "N" + std::to_string(n);
            fx.m_acc.m_strFieldValue[static_cast<std::size_t>(n)] = "v" + std::to_string(n);
        }
    }
    CAccFixture fx;
};

TEST_F(FillStatusGridTest, DefaultMaskListsFiveFields)
{
    fx.m_acc.FillStatusGrid();
    EXPECT_EQ(fx.Rows(kKindStatus),
              (Rows{"|A|B", "1|N28|v28", "2|N30|v30", "3|N32|v32", "4|N36|v36", "5|N38|v38"}));
    CUGCtrl& grid = fx.Grid(kKindStatus);
    EXPECT_EQ(grid.GetCurrentColumn(), 0);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    EXPECT_EQ(grid.GetTopRow(), 0);
    EXPECT_EQ(grid.GetLeftColumn(), 0);
}

TEST_F(FillStatusGridTest, MaskChangesRefillFromScratch)
{
    fx.SetMasks(kDefaultJobMask, kDefaultPaperMask, "11111111111111111");
    fx.m_acc.FillStatusGrid();
    EXPECT_EQ(fx.Grid(kKindStatus).RowCount(), 17);
    fx.SetMasks(kDefaultJobMask, kDefaultPaperMask, "00000000000000001");
    fx.m_acc.FillStatusGrid();
    EXPECT_EQ(fx.Rows(kKindStatus), (Rows{"|A|B", "1|N44|v44"}));
    // Nothing of the longer fill is left in the store either.
    CUGCell cell;
    fx.Grid(kKindStatus).ReadCell(1, 5, &cell);
    EXPECT_EQ(cell.GetText(), "");
}

TEST_F(FillStatusGridTest, AllZeroMaskLeavesNoRowsAndNoColumns)
{
    fx.m_acc.FillStatusGrid();
    fx.SetMasks(kDefaultJobMask, kDefaultPaperMask, "00000000000000000");
    fx.m_acc.FillStatusGrid();
    EXPECT_EQ(fx.Grid(kKindStatus).RowCount(), 0);
    EXPECT_EQ(fx.Grid(kKindStatus).ColumnCount(), 0);
}

} // namespace
} // namespace hpa
