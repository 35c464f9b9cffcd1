// The history store on both back-ends: a job is kept once across
// overlapping downloads, lost Job IDs are found, printer bytes come back
// unchanged, the report's sums are right, a newer schema is refused, an
// older one is brought up to date and a collector killed mid-transaction
// leaves the history as it was.
#include "history/HistoryReport.h"
#include "history/HistoryValues.h"
#include "support/HistoryFixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>

namespace hpa::test {
namespace {

class HistoryStore : public CHistoryTest {};

std::size_t JobCount(CHistoryStore& store, const std::string& strPrinter)
{
    std::vector<CStoredJob> jobs;
    std::string strError;
    EXPECT_TRUE(store.ReadJobs(strPrinter, jobs, strError)) << strError;
    return jobs.size();
}

TEST_P(HistoryStore, OverlappingDownloadsKeepEachJobOnce)
{
    auto pStore = Open(NewLocation());
    ASSERT_TRUE(pStore);
    CCollectOutcome first = Collect(*pStore, "lab", JobRange(1, 5), 1000);
    EXPECT_EQ(first.m_ingest.m_nJobsNew, 5);
    CCollectOutcome second = Collect(*pStore, "lab", JobRange(3, 8), 2000);
    EXPECT_EQ(second.m_ingest.m_nJobsSeen, 6);
    EXPECT_EQ(second.m_ingest.m_nJobsNew, 3);
    EXPECT_FALSE(second.m_ingest.m_gap);
    CCollectOutcome again = Collect(*pStore, "lab", JobRange(3, 8), 3000);
    EXPECT_EQ(again.m_ingest.m_nJobsNew, 0);
    // Same Job ID on another date is another job (the printer was reset).
    std::vector<CTestJob> reset = JobRange(8, 8);
    reset[0].m_strDate = " 3/ 9/2026";
    EXPECT_EQ(Collect(*pStore, "lab", reset, 4000).m_ingest.m_nJobsNew, 1);
    // Another printer's Job 1 is not lab's Job 1.
    EXPECT_EQ(Collect(*pStore, "office", JobRange(1, 2), 4000).m_ingest.m_nJobsNew, 2);
    EXPECT_EQ(JobCount(*pStore, "lab"), 9u);

    std::vector<CStoredJob> jobs;
    std::string strError;
    ASSERT_TRUE(pStore->ReadJobs("lab", jobs, strError));
    for (const CStoredJob& job : jobs) {
        // Each job remembers the collection it first came in.
        const int nId = std::stoi(*job.m_field[kHistJobId]);
        const std::int64_t nExpected = job.m_field[kHistDate] == "3/ 9/2026" ? 4000
                                       : nId <= 5                            ? 1000
                                                                             : 2000;
        EXPECT_EQ(job.m_nCollectionTimeUtc, nExpected) << nId;
    }
}

TEST_P(HistoryStore, DownloadSharingNoJobRecordsTheLostRange)
{
    auto pStore = Open(NewLocation());
    ASSERT_TRUE(pStore);
    Collect(*pStore, "lab", JobRange(1, 5), 1000);
    // Continues right after the previous collection: nothing lost.
    EXPECT_FALSE(Collect(*pStore, "lab", JobRange(6, 7), 2000).m_ingest.m_gap);
    // The job file wrapped: 8 to 10 were dropped before they were collected.
    const CCollectOutcome wrapped = Collect(*pStore, "lab", JobRange(11, 14), 3000);
    ASSERT_TRUE(wrapped.m_ingest.m_gap);
    EXPECT_EQ(wrapped.m_ingest.m_gap->m_nFirstMissing, 8);
    EXPECT_EQ(wrapped.m_ingest.m_gap->m_nLastMissing, 10);
    EXPECT_EQ(wrapped.m_ingest.m_nJobsNew, 4);

    std::vector<CHistoryGap> gaps;
    std::string strError;
    ASSERT_TRUE(pStore->ReadGaps({}, gaps, strError)) << strError;
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].m_strPrinter, "lab");
    EXPECT_EQ(gaps[0].m_nTimeUtc, 3000);
    EXPECT_EQ(gaps[0].m_nAfterTimeUtc, 2000);
    EXPECT_EQ(DescribeGap(gaps[0]), "Job IDs 8 to 10 lost");
}

TEST_P(HistoryStore, PrinterTextsComeBackByteForByte)
{
    const std::vector<std::string> texts = {"O'Brien \"the printer\"",
                                            "a;b; DROP TABLE job; --",
                                            "x, y, z",
                                            "SELECT * FROM printer",
                                            "caf\xe9 \xff\x80 \xc3\xa9t\xc3\xa9",
                                            "back\\slash\rcarriage",
                                            ""};
    std::vector<CTestJob> jobs;
    for (std::size_t n = 0; n < texts.size(); ++n) {
        CTestJob job;
        job.m_strId = std::to_string(n + 1);
        job.m_strUser = texts[n];
        job.m_strFile = texts[(n + 1) % texts.size()];
        job.m_strHost = "h" + texts[n];
        // Index values end at "," and ":" by the file's own syntax.
        job.m_index = {{"1", "O'Brien \"A4\"; DROP \xe9"}, {"2", "x"}};
        jobs.push_back(job);
    }
    const std::string strPrinter = "lab \xe9'; --";
    auto pStore = Open(NewLocation());
    ASSERT_TRUE(pStore);
    Collect(*pStore, strPrinter, jobs, 1000);

    std::vector<CStoredJob> stored;
    std::string strError;
    ASSERT_TRUE(pStore->ReadJobs(strPrinter, stored, strError)) << strError;
    ASSERT_EQ(stored.size(), texts.size());
    std::map<std::string, const CStoredJob*> byId;
    for (const CStoredJob& job : stored)
        byId[*job.m_field[kHistJobId]] = &job;
    for (std::size_t n = 0; n < texts.size(); ++n) {
        const CStoredJob& job = *byId[std::to_string(n + 1)];
        EXPECT_EQ(*job.m_field[kHistUser], texts[n]);
        EXPECT_EQ(*job.m_field[kHistHost], "h" + texts[n]);
        EXPECT_EQ(*job.m_field[8], texts[(n + 1) % texts.size()]); // File
        std::vector<std::pair<std::string, std::string>> pairs;
        ASSERT_TRUE(DecodeIndexPairs(job.m_strIndex, pairs));
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"1", "O'Brien \"A4\"; DROP \xe9"}, {"2", "x"}};
        EXPECT_EQ(pairs, expected);
    }

    CReportQuery query;
    query.m_key = ReportKey::User;
    CReport report;
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    std::vector<std::string> keys;
    for (const CReportRow& row : report.m_rows)
        keys.push_back(row.m_strKey);
    std::vector<std::string> sorted = texts;
    std::sort(sorted.begin(), sorted.end()); // std::string orders as unsigned bytes
    EXPECT_EQ(keys, sorted);
    // csv quotes what needs it and keeps every other byte.
    const std::string strCsv = FormatReport(report, ReportFormat::Csv);
    EXPECT_NE(strCsv.find("\"O'Brien \"\"the printer\"\"\",1,"), std::string::npos);
    EXPECT_NE(strCsv.find("\r\ncaf\xe9 \xff\x80 \xc3\xa9t\xc3\xa9,1,"), std::string::npos);
    EXPECT_NE(strCsv.find("\"x, y, z\",1,"), std::string::npos);
}

TEST_P(HistoryStore, ReportSumsMatchSumsComputedApart)
{
    // Deterministic pseudo-random jobs over three users, several days and
    // dates that cannot be read.
    const char* const users[] = {"bob", "ann", "Ann"};
    const char* const dates[] = {" 3/ 7/2026", "03/08/2026", "3/31/2026", "4/1/2026",
                                 "13/01/2026", "2/30/2026",  "yesterday"};
    std::uint32_t nSeed = 12345;
    auto fnNext = [&nSeed](std::uint32_t nRange) {
        nSeed = nSeed * 1103515245u + 12345u;
        return (nSeed >> 16) % nRange;
    };
    std::vector<CTestJob> jobs;
    struct CSums {
        long nJobs = 0, nSimplex = 0, nDuplex = 0, nJams = 0, nSeconds = 0;
    };
    std::map<std::string, CSums> byUser;
    std::map<std::string, CSums> byMonthInPeriod;
    for (int n = 1; n <= 400; ++n) {
        CTestJob job;
        job.m_strId = std::to_string(n);
        job.m_strUser = users[fnNext(3)];
        const std::size_t nDate = fnNext(7);
        job.m_strDate = dates[nDate];
        job.m_nPrintMs = static_cast<int>(fnNext(5000));
        job.m_nSimplex = static_cast<int>(fnNext(30));
        job.m_nDuplex = static_cast<int>(fnNext(30));
        job.m_nJams = static_cast<int>(fnNext(2));
        jobs.push_back(job);
        CSums& user = byUser[job.m_strUser];
        for (CSums* pSums : {&user}) {
            ++pSums->nJobs;
            pSums->nSimplex += job.m_nSimplex;
            pSums->nDuplex += job.m_nDuplex;
            pSums->nJams += job.m_nJams;
            pSums->nSeconds += job.m_nPrintMs / 1000;
        }
        // Period 2026-03-08 to 2026-04-01: dates 1 to 3.
        if (nDate >= 1 && nDate <= 3) {
            CSums& month = byMonthInPeriod[nDate == 3 ? "2026-04" : "2026-03"];
            ++month.nJobs;
            month.nSimplex += job.m_nSimplex;
            month.nDuplex += job.m_nDuplex;
            month.nJams += job.m_nJams;
            month.nSeconds += job.m_nPrintMs / 1000;
        }
    }
    auto pStore = Open(NewLocation());
    ASSERT_TRUE(pStore);
    // Two overlapping downloads: the overlap must not count twice.
    Collect(*pStore, "lab", std::vector<CTestJob>(jobs.begin(), jobs.begin() + 250), 1000);
    Collect(*pStore, "lab", std::vector<CTestJob>(jobs.begin() + 200, jobs.end()), 2000);

    auto fnCheck = [](const CReport& report, const std::map<std::string, CSums>& expected) {
        ASSERT_EQ(report.m_rows.size(), expected.size());
        CSums total;
        std::size_t n = 0;
        for (const auto& [key, sums] : expected) {
            const CReportRow& row = report.m_rows[n++];
            EXPECT_EQ(row.m_strKey, key);
            EXPECT_EQ(row.m_nJobs, sums.nJobs) << key;
            EXPECT_EQ(row.m_nSimplex, sums.nSimplex) << key;
            EXPECT_EQ(row.m_nDuplex, sums.nDuplex) << key;
            EXPECT_EQ(row.TotalSheets(), sums.nSimplex + sums.nDuplex) << key;
            EXPECT_EQ(row.m_nJams, sums.nJams) << key;
            EXPECT_EQ(row.m_nPrintSeconds, sums.nSeconds) << key;
            total.nJobs += sums.nJobs;
            total.nSeconds += sums.nSeconds;
        }
        EXPECT_EQ(report.m_total.m_strKey, "Total");
        EXPECT_EQ(report.m_total.m_nJobs, total.nJobs);
        EXPECT_EQ(report.m_total.m_nPrintSeconds, total.nSeconds);
    };
    CReportQuery query;
    CReport report;
    std::string strError;
    query.m_key = ReportKey::User;
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    fnCheck(report, byUser);
    query.m_key = ReportKey::Month;
    query.m_strSince = "2026-03-08";
    query.m_strUntil = "2026-04-01";
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    fnCheck(report, byMonthInPeriod);
    // Without a period the unreadable dates count under "unknown".
    query = CReportQuery();
    query.m_key = ReportKey::Day;
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    ASSERT_FALSE(report.m_rows.empty());
    EXPECT_EQ(report.m_rows.back().m_strKey, "unknown");
    EXPECT_EQ(report.m_rows.front().m_strKey, "2026-03-07");
    query.m_key = ReportKey::Month;
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    ASSERT_EQ(report.m_rows.size(), 3u); // 2026-03, 2026-04, unknown
    EXPECT_EQ(report.m_rows.back().m_strKey, "unknown");
    EXPECT_EQ(report.m_total.m_nJobs, 400);

    // A second printer, and a report of that one alone.
    Collect(*pStore, "desk", std::vector<CTestJob>(jobs.begin(), jobs.begin() + 100), 3000);
    std::map<std::string, CSums> desk;
    for (std::size_t n = 0; n < 100; ++n) {
        CSums& sums = desk["desk"];
        ++sums.nJobs;
        sums.nSimplex += jobs[n].m_nSimplex;
        sums.nDuplex += jobs[n].m_nDuplex;
        sums.nJams += jobs[n].m_nJams;
        sums.nSeconds += jobs[n].m_nPrintMs / 1000;
    }
    query = CReportQuery();
    query.m_key = ReportKey::Printer;
    query.m_printers = {"desk"};
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    fnCheck(report, desk);
}

TEST_P(HistoryStore, NewerSchemaIsRefusedAndLeftAlone)
{
    const std::string strLocation = NewLocation();
    {
        auto pStore = Open(strLocation);
        ASSERT_TRUE(pStore);
        Collect(*pStore, "lab", JobRange(1, 3), 1000);
    }
    const std::string strNewer = std::to_string(kHistorySchemaVersion + 1);
    if (GetParam() == "postgres") {
        ASSERT_TRUE(Server().Sql(DatabaseOf(strLocation), "UPDATE hpa_meta SET value='" + strNewer +
                                                              "' WHERE key='schema_version'"));
    } else {
        // The version lives in the file header (user_version, offset 60).
        std::fstream file(strLocation, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(60);
        const char version[4] = {0, 0, 0, static_cast<char>(kHistorySchemaVersion + 1)};
        file.write(version, 4);
    }
    std::string strError;
    EXPECT_FALSE(OpenHistoryStore(strLocation, strError));
    EXPECT_NE(strError.find("schema version " + strNewer + " is newer"), std::string::npos)
        << strError;
}

// A history of version 1 (no day totals) gains them when opened: its
// reports by day, month and printer over a period stay what they were, and
// later collections keep adding to them.
TEST_P(HistoryStore, VersionOneHistoryGainsDayTotals)
{
    const std::string strLocation = NewLocation();
    std::vector<CTestJob> jobs = JobRange(1, 60);
    const char* const dates[] = {"3/7/2026", "3/8/2026", "4/1/2026", "junk"};
    for (std::size_t n = 0; n < jobs.size(); ++n) {
        jobs[n].m_strDate = dates[n % 4];
        jobs[n].m_strUser = n % 3 ? "ann" : "bob";
    }
    std::vector<CReportQuery> queries(3);
    queries[0].m_key = ReportKey::Day;
    queries[1].m_key = ReportKey::Month;
    queries[2].m_key = ReportKey::Printer;
    queries[2].m_strSince = "2026-03-08";
    auto fnReports = [&queries](CHistoryStore& store) {
        std::string strText;
        for (const CReportQuery& query : queries) {
            CReport report;
            std::string strError;
            EXPECT_TRUE(RunHistoryReport(store, query, report, strError)) << strError;
            strText += FormatReport(report, ReportFormat::Csv);
        }
        return strText;
    };
    std::string strBefore;
    {
        auto pStore = Open(strLocation);
        ASSERT_TRUE(pStore);
        Collect(*pStore, "lab", std::vector<CTestJob>(jobs.begin(), jobs.begin() + 40), 1000);
        Collect(*pStore, "desk", std::vector<CTestJob>(jobs.begin() + 20, jobs.end()), 2000);
        strBefore = fnReports(*pStore);
    }
    EXPECT_NE(strBefore.find("2026-03-08,"), std::string::npos) << strBefore;
    const char* const pszDowngrade = GetParam() == "postgres"
                                         ? "DROP TABLE day_total; UPDATE hpa_meta SET value='1' "
                                           "WHERE key='schema_version'"
                                         : "DROP TABLE day_total; PRAGMA user_version=1";
    if (GetParam() == "postgres") {
        ASSERT_TRUE(Server().Sql(DatabaseOf(strLocation), pszDowngrade));
    } else {
        sqlite3* pDb = nullptr;
        ASSERT_EQ(sqlite3_open(strLocation.c_str(), &pDb), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(pDb, pszDowngrade, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(pDb);
    }
    auto pStore = Open(strLocation);
    ASSERT_TRUE(pStore);
    EXPECT_EQ(fnReports(*pStore), strBefore);
    // The day totals go on from there: a later download of the same jobs
    // plus more counts only the new ones.
    jobs.push_back(JobRange(61, 61)[0]);
    jobs.back().m_strDate = "3/7/2026";
    Collect(*pStore, "desk", std::vector<CTestJob>(jobs.begin() + 20, jobs.end()), 3000);
    CReport report;
    std::string strError;
    ASSERT_TRUE(RunHistoryReport(*pStore, queries[0], report, strError)) << strError;
    ASSERT_FALSE(report.m_rows.empty());
    EXPECT_EQ(report.m_rows.front().m_strKey, "2026-03-07");
    EXPECT_EQ(report.m_total.m_nJobs, 40 + 41);
}

// Ingests, but the process dies (SIGKILL) while storing job nKillAt.
class CKillingList : public CVectorJobList {
public:
    CKillingList(const std::vector<CTestJob>& jobs, std::size_t nKillAt)
        : CVectorJobList(jobs), m_nKillAt(nKillAt)
    {
    }
    void Get(std::size_t nIndex, CHistoryJob& job) const override
    {
        if (nIndex == m_nKillAt)
            ::raise(SIGKILL);
        CVectorJobList::Get(nIndex, job);
    }

private:
    std::size_t m_nKillAt;
};

TEST_P(HistoryStore, CollectorKilledMidDownloadLeavesHistoryAsBefore)
{
    const std::string strLocation = NewLocation();
    auto pStore = Open(strLocation);
    ASSERT_TRUE(pStore);
    Collect(*pStore, "lab", JobRange(1, 5), 1000);

    const std::vector<CTestJob> jobs = JobRange(3, 3000);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::string strError;
        auto pChild = OpenHistoryStore(strLocation, strError);
        if (!pChild)
            ::_exit(2);
        CKillingList list(jobs, 2500);
        CCollectionInput input;
        input.m_strPrinter = "lab";
        input.m_nTimeUtc = 2000;
        input.m_pJobs = &list;
        CIngestResult result;
        pChild->Ingest(input, result, strError);
        ::_exit(3); // not reached
    }
    int nStatus = 0;
    ASSERT_EQ(::waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == SIGKILL) << nStatus;

    auto pAfter = Open(strLocation);
    ASSERT_TRUE(pAfter);
    EXPECT_EQ(JobCount(*pAfter, "lab"), 5u);
    std::vector<CPrinterHistory> printers;
    std::string strError;
    ASSERT_TRUE(pAfter->ReadPrinters(printers, strError)) << strError;
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_EQ(printers[0].m_collections.size(), 1u);
    EXPECT_EQ(printers[0].m_nJobsHeld, 5);
    // Running it again completes the history: nothing lost, nothing twice.
    CVectorJobList list(jobs);
    CCollectionInput input;
    input.m_strPrinter = "lab";
    input.m_nTimeUtc = 3000;
    input.m_pJobs = &list;
    CIngestResult result;
    ASSERT_TRUE(pAfter->Ingest(input, result, strError)) << strError;
    EXPECT_EQ(result.m_nJobsNew, 3000 - 5);
    EXPECT_EQ(JobCount(*pAfter, "lab"), 3000u);
}

TEST_P(HistoryStore, JobFileCutShortIsNotStored)
{
    auto pStore = Open(NewLocation());
    ASSERT_TRUE(pStore);
    Collect(*pStore, "lab", JobRange(1, 3), 1000);
    CTempDir work;
    WriteWorkFiles(work.Path(), JobRange(1, 6));
    const std::string strJobs = CTempDir::Read(work.Path() / "JOB.tmp");
    for (const std::size_t nCut : {strJobs.size() - 20, strJobs.find("0:5,")}) {
        work.Write("JOB.tmp", strJobs.substr(0, nCut));
        CCollectOutcome outcome;
        EXPECT_FALSE(IngestWorkFiles(work.Path(), "lab", "printhost", 2000, *pStore, outcome));
        EXPECT_NE(outcome.m_strError.find("incomplete"), std::string::npos) << outcome.m_strError;
    }
    std::vector<CPrinterHistory> printers;
    std::string strError;
    ASSERT_TRUE(pStore->ReadPrinters(printers, strError)) << strError;
    ASSERT_EQ(printers.size(), 1u);
    EXPECT_EQ(printers[0].m_collections.size(), 1u);
    EXPECT_EQ(JobCount(*pStore, "lab"), 3u);
}

INSTANTIATE_TEST_SUITE_P(Backends, HistoryStore, ::testing::Values("sqlite", "postgres"),
                         BackendName);

} // namespace
} // namespace hpa::test
