// What the history derives from job values: the day a job counts under,
// the index lines' encoding, a printer's job file forecast, the report
// table's alignment, and the job list's memory bound.
#include "history/HistoryReport.h"
#include "history/HistoryValues.h"
#include "history/JobFileList.h"
#include "history/PrinterStatus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hpa {
namespace {

// Each table line's second column starts at the same terminal column, one
// column per code point, for names in UTF-8 and in Windows-1252.
TEST(HistoryReportTable, PadsNamesByCharactersNotBytes)
{
    const std::string strTable =
        FormatCells({"Printer", "Jobs"},
                    {{"caf\xc3\xa9 \xe2\x82\xac", "1"}, {"caf\xe9 \x80", "22"}, {"cafe eu", "333"}},
                    {false, true}, ReportFormat::Table);
    std::vector<std::size_t> ends;
    std::size_t nStart = 0;
    for (std::size_t nLf; (nLf = strTable.find('\n', nStart)) != std::string::npos;
         nStart = nLf + 1) {
        const std::string strLine = strTable.substr(nStart, nLf - nStart);
        ends.push_back(
            static_cast<std::size_t>(std::count_if(strLine.begin(), strLine.end(), [](char ch) {
                return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
            })));
    }
    EXPECT_EQ(ends, std::vector<std::size_t>(4, ends.front())) << strTable;
}

// Records that name nothing carry every value: they cost the list slots but
// no text, so a file of empty lines must stop at the memory budget instead
// of growing the list without bound.
TEST(HistoryJobFileList, NearlyEmptyRecordsStopAtTheMemoryBudget)
{
    test::CTempDir dir;
    std::array<std::string, kFieldCount> values;
    values[kFieldUser] = "ann";
    CJobFileList jobs;
    std::string strError;
    const auto job = dir.Write("JOB.tmp", std::string(100000, '\n'));
    EXPECT_FALSE(jobs.Read(job, values, 100000, true, strError, 1 << 20));
    EXPECT_NE(strError.find("too large"), std::string::npos) << strError;
    EXPECT_EQ(jobs.Count(), 0u);

    ASSERT_TRUE(jobs.Read(job, values, 1000, true, strError, 1 << 20)) << strError;
    ASSERT_EQ(jobs.Count(), 1000u);
    CHistoryJob last;
    jobs.Get(999, last);
    EXPECT_EQ(last.m_field[kHistUser], "ann");
}

TEST(HistoryDayKey, MonthDayYearWithOrWithoutPadding)
{
    const std::pair<const char*, const char*> cases[] = {
        {" 3/ 7/2026", "2026-03-07"}, {"03/07/2026", "2026-03-07"},    {"3/7/2026", "2026-03-07"},
        {"12/31/1999", "1999-12-31"}, {"2/29/2024", "2024-02-29"},     {"2/29/2026", "unknown"},
        {"13/01/2026", "unknown"},    {"0/10/2026", "unknown"},        {"3/7/26", "unknown"},
        {"2026-03-07", "unknown"},    {"3/7/2026x", "unknown"},        {"", "unknown"},
        {"3//2026", "unknown"},       {" 3 / 7 / 2026 ", "2026-03-07"}};
    for (const auto& [pszDate, pszKey] : cases)
        EXPECT_EQ(DayKey(pszDate), pszKey) << '"' << pszDate << '"';
}

TEST(HistoryIndexPairs, RoundTripAndMalformedInput)
{
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"1", "A4"}, {"", "12:3,x"}, {std::string("\0\xff", 2), ""}};
    std::vector<std::pair<std::string, std::string>> back;
    ASSERT_TRUE(DecodeIndexPairs(EncodeIndexPairs(pairs), back));
    EXPECT_EQ(back, pairs);
    EXPECT_FALSE(DecodeIndexPairs("5:ab", back));
    EXPECT_FALSE(DecodeIndexPairs("1:a", back)); // a first value without its second
    EXPECT_FALSE(DecodeIndexPairs("x:a1:b", back));
}

TEST(HistoryIntegers, OnlyExactIntegerTextIsStoredAsANumber)
{
    std::int64_t n = 0;
    EXPECT_TRUE(IsCanonicalInteger("0", n));
    EXPECT_TRUE(IsCanonicalInteger("-7", n));
    EXPECT_EQ(n, -7);
    for (const char* pszText :
         {"", "007", " 7", "7 ", "-0", "+7", "1e3", "-", "1234567890123456789"})
        EXPECT_FALSE(IsCanonicalInteger(pszText, n)) << pszText;
}

CCollectionRecord Collection(std::int64_t nDay, int nUsage, int nSize = 1000,
                             const char* pszFull = "0")
{
    CCollectionRecord record;
    record.m_nTimeUtc = nDay * 86400;
    record.m_strStatus[30 - 28] = std::to_string(nSize);
    record.m_strStatus[32 - 28] = std::to_string(nUsage);
    record.m_strStatus[39 - 28] = pszFull;
    return record;
}

TEST(HistoryPrinterStatus, ForecastFromUsageGrowthSinceTheLastReset)
{
    CPrinterHistory printer;
    printer.m_strName = "lab";
    printer.m_collections = {Collection(1, 100)};
    EXPECT_FALSE(SummarizePrinter(printer).m_nDaysUntilFull); // one collection tells nothing
    // Two collections a minute apart tell nothing either.
    CCollectionRecord soon = Collection(1, 200);
    soon.m_nTimeUtc += 60;
    printer.m_collections = {Collection(1, 100), soon};
    EXPECT_FALSE(SummarizePrinter(printer).m_nDaysUntilFull);
    // 900 used before a reset, then 100 a day from 200.
    printer.m_collections = {Collection(1, 900), Collection(2, 200), Collection(3, 300),
                             Collection(4, 400)};
    const CPrinterStatus status = SummarizePrinter(printer);
    ASSERT_TRUE(status.m_nDaysUntilFull);
    EXPECT_NEAR(*status.m_nDaysUntilFull, 6.0, 1e-9);
    EXPECT_EQ(status.m_nConsumptionPercent, 40);
    EXPECT_FALSE(status.m_bFull);
    EXPECT_EQ(status.m_nLastCollectionUtc, 4 * 86400);
    // No growth: no forecast; a size of 0: no percentage.
    printer.m_collections = {Collection(1, 400, 0), Collection(2, 400, 0, "1")};
    const CPrinterStatus flat = SummarizePrinter(printer);
    EXPECT_FALSE(flat.m_nDaysUntilFull);
    EXPECT_FALSE(flat.m_nConsumptionPercent);
    EXPECT_TRUE(flat.m_bFull);
}

} // namespace
} // namespace hpa
