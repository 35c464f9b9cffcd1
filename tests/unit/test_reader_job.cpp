// The job file: record lines with plain and braced values, index lines,
// version "1" columns, stale values, and the summary counters.
#include "support/AccFixture.h"

#include <gtest/gtest.h>

#include <climits>

namespace hpa {
namespace {

using test::CAccFixture;
using Rows = std::vector<std::string>;

// Positions: 0 Job ID, 5 User, 25/26 index.
constexpr const char* kMaskIdUser = "100001000000000000000000000";
constexpr const char* kMaskIdUserIndex = "100001000000000000000000011";
constexpr const char* kMaskIdTimeDateUser = "101101000000000000000000000";

class ReadJobFileTest : public ::testing::Test {
protected:
    void Prepare(const char* pszMask, const char* pszJobs, const char* pszVersion = "2")
    {
        for (int n = 0; n < kFieldCount; ++n)
            fx.m_acc.m_strFieldName[static_cast<std::size_t>(n)] = "N" + std::to_string(n);
        fx.m_acc.m_strFieldValue[kFieldVersion] = pszVersion;
        fx.m_acc.m_strFieldValue[kFieldNumberOfJobs] = pszJobs;
        fx.m_acc.m_strFieldValue[kFieldJobFileSize] = "1000";
        fx.m_acc.m_strFieldValue[kFieldJobFileUsage] = "250";
        fx.SetMasks(pszMask, kDefaultPaperMask, kDefaultStatusMask);
    }
    Rows Read(const std::string& strFile)
    {
        fx.Write("JOB.tmp", strFile);
        EXPECT_EQ(fx.m_acc.ReadJobFile(), 1);
        return fx.Rows(kKindJob);
    }
    CAccFixture fx;
};

struct JobCase {
    const char* name;
    const char* mask;
    const char* jobs; // status field 36
    std::string file;
    Rows rows;
};

TEST_F(ReadJobFileTest, Records)
{
    const JobCase cases[] = {
        {"plain values, leading blanks dropped",
         kMaskIdUser,
         "2",
         "0:1,5:{ann}, 4:ok\n0: 2,5:{bob}\n",
         {"|N0|N5", "1|1|ann", "2|2|bob"}},
        {"braced value followed by \", \" then the next pair",
         kMaskIdTimeDateUser,
         "1",
         "0:7,2:{10:20:30}, 3:{ 4/ 5/2026}, 5:{ann}\n",
         {"|N0|N2|N3|N5", "1|7|10:20:30|4/ 5/2026|ann"}},
        {"braced value followed directly by \",\": the next pair is skipped up to a blank",
         kMaskIdTimeDateUser,
         "1",
         "2:{t},3:{d}, 5:{u},0:9 0:8\n",
         {"|N0|N2|N3|N5", "1|8|t||u"}},
        {"braced value holding \",\" and \":\"",
         kMaskIdTimeDateUser,
         "1",
         "2:{a, b:c}\n",
         {"|N0|N2|N3|N5", "1||a, b:c||"}},
        {"braced value without closing brace runs to the line end",
         kMaskIdTimeDateUser,
         "1",
         "5:{ann, 0:3\n",
         {"|N0|N2|N3|N5", "1||||ann, 0:3"}},
        {"a missing field keeps the previous record's value",
         kMaskIdUser,
         "3",
         "0:1,5:{ann}\n0:2\n5:{cy}\n",
         {"|N0|N5", "1|1|ann", "2|2|ann", "3|2|cy"}},
        {"a field number outside the ranges leaves its value to be read as a number",
         kMaskIdUser,
         "1",
         "0:1,30:abc,1:2,0:5\n",
         // "abc,1" reads as field 0, whose value is "2".
         {"|N0|N5", "1|5|"}},
        {"field numbers 22 to 44 and above 49 are ignored",
         "110000000000000000000000000",
         "1",
         "0:1,1:2,50:y,44:x\n",
         // "y,44" then reads as field 0 with the value "x".
         {"|N0|N1", "1|x|2"}},
        {"CR LF line ends",
         kMaskIdUserIndex,
         "2",
         "0:1,5:{ann}, 19:1\r\nA:x,B:y\r\n0:2,19:0\r\n",
         {"|N0|N5|N20|N21", "1|1|ann|x|y", "2|2|ann||"}},
        {"fewer records than announced: empty rows without headings",
         kMaskIdUser,
         "3",
         "0:1\n",
         {"|N0|N5", "1|1|", "||", "||"}},
        {"more records than announced: the rest is not read",
         kMaskIdUser,
         "1",
         "0:1\n0:2\n",
         {"|N0|N5", "1|1|"}},
        {"no jobs announced: headings only", kMaskIdUser, "0", "0:1\n", {"|N0|N5"}},
        {"a negative number of jobs: headings only", kMaskIdUser, "-3", "0:1\n", {"|N0|N5"}},
        {"a line over 398 characters: the remainder is the next record",
         kMaskIdUser,
         "2",
         "0:1,5:{" + std::string(400, 'u') + "}\n",
         // The remainder "uuuuuuuuu}" reads as field 0 without a value.
         {"|N0|N5", "1|1|" + std::string(391, 'u'), "2|1|" + std::string(391, 'u')}},
    };
    for (const JobCase& c : cases) {
        fx.m_acc.m_strFieldValue.fill("");
        Prepare(c.mask, c.jobs);
        EXPECT_EQ(Read(c.file), c.rows) << c.name;
        EXPECT_TRUE(fx.m_messages.m_messages.empty()) << c.name;
    }
}

TEST_F(ReadJobFileTest, IndexLines)
{
    const JobCase cases[] = {
        {"three index lines take three rows; the next record starts on the fourth",
         kMaskIdUserIndex,
         "2",
         "0:1,19:3,5:{ann}\nc:1,i:A4\nc:2,i:A3\nc:3,i: Letter\n0:2,19:1\nc:1,i:A4\n",
         {"|N0|N5|N20|N21", "1|1|ann|1|A4", "2|||2|A3", "3|||3|Letter", "4|2|ann|1|A4"}},
        {"index columns not shown: index lines consumed, one row per job",
         kMaskIdUser,
         "2",
         "0:1,19:2\nc:1,i:A4\nc:2,i:A3\n0:2,19:0\n",
         {"|N0|N5", "1|1|", "2|2|"}},
        {"a record without field 19 uses the previous count",
         kMaskIdUserIndex,
         "2",
         "0:1,19:1\nc:1,i:A\n0:2\nc:9,i:B\n",
         {"|N0|N5|N20|N21", "1|1||1|A", "2|2||9|B"}},
        {"index values: first up to \",\", second up to \",\" or the line end",
         kMaskIdUserIndex,
         "1",
         "0:1,19:2\ntag: a:b ,tag: c:d,rest\nnocolon\n",
         {"|N0|N5|N20|N21", "1|1||a:b |c:d", "2||||"}},
        {"more than 30 index lines are all kept", kMaskIdUserIndex, "2",
         [] {
             std::string s = "0:1,19:35\n";
             for (int n = 1; n <= 35; ++n)
                 s += "c:" + std::to_string(n) + ",i:x\n";
             return s + "0:2,19:0\n";
         }(),
         [] {
             Rows r{"|N0|N5|N20|N21", "1|1||1|x"};
             for (int n = 2; n <= 35; ++n)
                 r.push_back(std::to_string(n) + "|||" + std::to_string(n) + "|x");
             r.push_back("36|2|||");
             return r;
         }()},
        {"index lines missing at the end of the file: empty pairs, reading ends",
         kMaskIdUserIndex,
         "2",
         "0:1,19:3\nc:1,i:A\n",
         {"|N0|N5|N20|N21", "1|1||1|A", "2||||", "3||||", "||||"}},
    };
    for (const JobCase& c : cases) {
        fx.m_acc.m_strFieldValue.fill("");
        Prepare(c.mask, c.jobs);
        EXPECT_EQ(Read(c.file), c.rows) << c.name;
    }
}

TEST_F(ReadJobFileTest, IndexCountStartsAtZeroWhateverWasStoredBefore)
{
    Prepare(kMaskIdUserIndex, "2");
    fx.m_acc.m_strFieldValue[kFieldIndexCount] = "4"; // left over from an earlier read
    EXPECT_EQ(Read("0:1\n0:2\n"), (Rows{"|N0|N5|N20|N21", "1|1|||", "2|2|||"}));
}

TEST_F(ReadJobFileTest, SecondIndexValueLosesItsLineEnd)
{
    Prepare(kMaskIdUserIndex, "1");
    Read("0:1,19:2\nc:1,i:A4\r\nc:2,i:B5 \n");
    CUGCell cell;
    fx.Grid(kKindJob).ReadCell(3, 0, &cell);
    EXPECT_EQ(cell.GetText(), "A4");
    fx.Grid(kKindJob).ReadCell(3, 1, &cell);
    EXPECT_EQ(cell.GetText(), "B5 ");
}

TEST_F(ReadJobFileTest, DefaultMaskColumns)
{
    Prepare(kDefaultJobMask, "1");
    EXPECT_EQ(Read("0:1,4:ok,5:{ann}, 45:{usb}, 7:{a.ps}, 9:3,10:1500\n"),
              (Rows{"|N0|N4|N5|N45|N7|N9|N10", "1|1|ok|ann|usb|a.ps|3|1500"}));
}

TEST_F(ReadJobFileTest, VersionOneHasNoInkColumns)
{
    const char* pszMask = "100000000000000000000111111"; // Job ID, Black ink, Color ink, index
    const std::string file = "0:1,49:b,46:c,47:m,48:y,19:1\nc:1,i:A4\n";
    Prepare(pszMask, "1", "2");
    EXPECT_EQ(Read(file), (Rows{"|N0|N49|N46|N47|N48|N20|N21", "1|1|b|c|m|y|1|A4"}));
    Prepare(pszMask, "1", "1");
    EXPECT_EQ(Read(file), (Rows{"|N0|N20|N21", "1|1|1|A4"}));
    EXPECT_EQ(fx.Grid(kKindJob).ColumnCount(), fx.m_masks.m_nJobColumns - 4);
    // Only exactly "1" is version 1.
    Prepare(pszMask, "1", "1 ");
    EXPECT_EQ(Read(file).front(), "|N0|N49|N46|N47|N48|N20|N21");
}

TEST_F(ReadJobFileTest, GridIsLeftAtTheTopLeftWithOffscreenPaintAndDragMode)
{
    Prepare(kMaskIdUser, "3");
    Read("0:1\n0:2\n0:3\n");
    CUGCtrl& grid = fx.Grid(kKindJob);
    EXPECT_EQ(grid.GetCurrentColumn(), 0);
    EXPECT_EQ(grid.GetCurrentRow(), 0);
    EXPECT_EQ(grid.GetTopRow(), 0);
    EXPECT_EQ(grid.GetLeftColumn(), 0);
    EXPECT_EQ(grid.GetGridLayout().m_bOffscreenPaint, 1);
    EXPECT_EQ(grid.GetGridLayout().m_nDragMode, 1);
}

TEST_F(ReadJobFileTest, Counters)
{
    Prepare(kMaskIdUser, "4");
    fx.m_acc.m_strFieldValue[kFieldJobFileSize] = "40000000";
    fx.m_acc.m_strFieldValue[kFieldJobFileUsage] = "30000000"; // × 100 needs 64 bits
    fx.m_acc.m_strFieldValue[kFieldUser] = "earlier";
    Read("10:1500,14:2,15:1,18:1,5:{ann}\n"
         "10:1500,14:x,15:3,5:{Ann}\n"
         "10:999\n"
         "10:-2500,18:2,5:{bob}\n");
    const CAcc& acc = fx.m_acc;
    EXPECT_EQ(acc.m_nJobs, 4);
    EXPECT_EQ(acc.m_nJobFileConsumption, 75);
    EXPECT_EQ(acc.m_nUsers, 3);                     // ann, Ann, bob: the third record repeats Ann
    EXPECT_EQ(acc.m_nPrintingTime, 1 + 1 + 0 - 2);  // per-record truncation
    EXPECT_EQ(acc.m_nSimplexSheets, 2 + 0 + 0 + 0); // stale "x" counts 0
    EXPECT_EQ(acc.m_nDuplexSheets, 1 + 3 + 3 + 3);  // stale values count again
    EXPECT_EQ(acc.m_nJams, 1 + 1 + 1 + 2);
}

TEST_F(ReadJobFileTest, ConsumptionWithoutAUsableFileSizeIsZero)
{
    for (const char* pszSize : {"0", "abc", ""}) {
        Prepare(kMaskIdUser, "1");
        fx.m_acc.m_strFieldValue[kFieldJobFileSize] = pszSize;
        Read("0:1\n");
        EXPECT_EQ(fx.m_acc.m_nJobFileConsumption, 0) << pszSize;
    }
}

TEST_F(ReadJobFileTest, CountersSaturateInsteadOfOverflowing)
{
    Prepare(kMaskIdUser, "3");
    fx.m_acc.m_strFieldValue[kFieldJobFileSize] = "1";
    fx.m_acc.m_strFieldValue[kFieldJobFileUsage] = "2000000000";
    Read("18:2000000000,15:-2000000000\n0:2\n0:3\n");
    EXPECT_EQ(fx.m_acc.m_nJams, INT_MAX);
    EXPECT_EQ(fx.m_acc.m_nDuplexSheets, INT_MIN);
    EXPECT_EQ(fx.m_acc.m_nJobFileConsumption, INT_MAX);
}

TEST_F(ReadJobFileTest, AllZeroMaskLeavesGridEmptyAndCountersAlone)
{
    Prepare(kMaskIdUser, "1");
    Read("0:1,18:5\n");
    ASSERT_EQ(fx.m_acc.m_nJams, 5);
    Prepare("000000000000000000000000000", "1");
    EXPECT_EQ(Read("0:1,18:7\n"), (Rows{""}));
    EXPECT_EQ(fx.Grid(kKindJob).ColumnCount(), 0);
    EXPECT_EQ(fx.Grid(kKindJob).RowCount(), 0);
    EXPECT_EQ(fx.m_acc.m_nJams, 5);
}

TEST_F(ReadJobFileTest, MissingFileChangesNothing)
{
    Prepare(kMaskIdUser, "1");
    Read("0:1,18:5\n");
    std::filesystem::remove(fx.m_dir.Path() / "JOB.tmp");
    fx.m_acc.m_strFieldValue[kFieldNumberOfJobs] = "9";
    EXPECT_EQ(fx.m_acc.ReadJobFile(), 0);
    EXPECT_EQ(fx.m_messages.Exclamations(),
              std::vector<std::string>{"Error reading Job Accounting File."});
    EXPECT_EQ(fx.Rows(kKindJob), (Rows{"|N0|N5", "1|1|"}));
    EXPECT_EQ(fx.m_acc.m_nJobs, 1);
    EXPECT_EQ(fx.m_acc.m_nJams, 5);
}

} // namespace
} // namespace hpa
