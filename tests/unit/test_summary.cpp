// The eleven summary figures and the colour of the consumption row.
#include "view/SummaryRows.h"

#include "accounting/Acc.h"

#include <gtest/gtest.h>

#include <climits>

namespace hpa {
namespace {

TEST(Summary, RowsInOrderWithTheirFormats)
{
    CAcc acc;
    acc.m_strHost = "printer1";
    acc.m_strDownloadDate = "12/08/2026";
    acc.m_strDownloadTime = "04:05:09";
    acc.m_nJobFileConsumption = 85;
    acc.m_nJobs = 120;
    acc.m_nSimplexSheets = 300;
    acc.m_nDuplexSheets = 45;
    acc.m_nJams = 2;
    acc.m_nPrintingTime = 3661;
    acc.m_nUsers = 7;
    const auto rows = SummaryRows(acc);
    const std::pair<const char*, const char*> expected[] = {
        {"Host", "printer1"},
        {"Download Date", "12/08/2026"},
        {"Download Time", "04:05:09"},
        {"Job File Consumption", "85%"},
        {"Jobs", "120"},
        {"Simplex Sheets", "300"},
        {"Duplex Sheets", "45"},
        {"Total Sheets", "345"},
        {"Jams", "2"},
        {"Printing Time", "1:01:01"},
        {"Users", "7"},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t n = 0; n < rows.size(); ++n) {
        EXPECT_STREQ(rows[n].m_pszLabel, expected[n].first);
        EXPECT_EQ(rows[n].m_strValue, expected[n].second) << expected[n].first;
    }
    EXPECT_STREQ(rows[kSummaryConsumptionRow].m_pszLabel, "Job File Consumption");
}

TEST(Summary, TotalSheetsIsThePlainSumEvenAtTheLimits)
{
    CAcc acc;
    acc.m_nSimplexSheets = INT_MAX;
    acc.m_nDuplexSheets = INT_MAX;
    EXPECT_EQ(SummaryRows(acc)[7].m_strValue, "4294967294");
    acc.m_nSimplexSheets = -5;
    acc.m_nDuplexSheets = 3;
    EXPECT_EQ(SummaryRows(acc)[7].m_strValue, "-2");
}

TEST(Summary, PrintingTimeHasUnlimitedHours)
{
    EXPECT_EQ(FormatPrintingTime(0), "0:00:00");
    EXPECT_EQ(FormatPrintingTime(59), "0:00:59");
    EXPECT_EQ(FormatPrintingTime(3661), "1:01:01");
    EXPECT_EQ(FormatPrintingTime(360309), "100:05:09");
    // The seconds are taken as unsigned.
    EXPECT_EQ(FormatPrintingTime(-1), "1193046:28:15");
}

TEST(Summary, ConsumptionColourBands)
{
    const COLORREF white = 0xFFFFFF, yellow = 0x00FFFF, red = 0x0000FF;
    EXPECT_EQ(ConsumptionBackColor(-3), white);
    EXPECT_EQ(ConsumptionBackColor(0), white);
    EXPECT_EQ(ConsumptionBackColor(79), white);
    EXPECT_EQ(ConsumptionBackColor(80), yellow);
    EXPECT_EQ(ConsumptionBackColor(89), yellow);
    EXPECT_EQ(ConsumptionBackColor(90), red);
    EXPECT_EQ(ConsumptionBackColor(250), red);
}

} // namespace
} // namespace hpa
