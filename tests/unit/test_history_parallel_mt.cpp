// Several collectors write one history at once (threads, each with its own
// connection): every collection is stored, nothing lost, nothing twice.
#include "history/HistoryReport.h"
#include "support/HistoryFixture.h"

#include <gtest/gtest.h>

#include <thread>

namespace hpa::test {
namespace {

class HistoryParallel : public CHistoryTest {};

TEST_P(HistoryParallel, FourCollectorsLoseAndDuplicateNothing)
{
    const std::string strLocation = NewLocation();
    ASSERT_TRUE(Open(strLocation)); // created before the collectors start
    constexpr int kCollectors = 4;
    constexpr int kRounds = 3;
    std::vector<std::string> errors(kCollectors);
    std::vector<std::thread> threads;
    for (int c = 0; c < kCollectors; ++c) {
        threads.emplace_back([&, c] {
            std::string strError;
            auto pStore = OpenHistoryStore(strLocation, strError);
            if (!pStore) {
                errors[static_cast<std::size_t>(c)] = strError;
                return;
            }
            // Printer c's downloads overlap by half; printers 0 and 1 share
            // a name so that two collectors of one printer meet as well.
            const std::string strPrinter = "p" + std::to_string(c / 2 * 2);
            for (int r = 0; r < kRounds; ++r) {
                const int nFirst = 1 + c % 2 * 1000 + r * 300;
                CVectorJobList list(JobRange(nFirst, nFirst + 599));
                CCollectionInput input;
                input.m_strPrinter = strPrinter;
                input.m_nTimeUtc = 1000 + r;
                input.m_pJobs = &list;
                CIngestResult result;
                if (!pStore->Ingest(input, result, strError)) {
                    errors[static_cast<std::size_t>(c)] = strError;
                    return;
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const std::string& strError : errors)
        EXPECT_EQ(strError, "");

    auto pStore = Open(strLocation);
    ASSERT_TRUE(pStore);
    // Collectors 0 and 1 (printer p0) hold IDs 1-1200 and 1001-2200; 2 and
    // 3 (printer p2) the same: 2200 distinct jobs each.
    for (const char* pszPrinter : {"p0", "p2"}) {
        std::vector<CStoredJob> jobs;
        std::string strError;
        ASSERT_TRUE(pStore->ReadJobs(pszPrinter, jobs, strError)) << strError;
        EXPECT_EQ(jobs.size(), 2200u) << pszPrinter;
    }
    std::vector<CPrinterHistory> printers;
    std::string strError;
    ASSERT_TRUE(pStore->ReadPrinters(printers, strError)) << strError;
    ASSERT_EQ(printers.size(), 2u);
    for (const CPrinterHistory& printer : printers) {
        EXPECT_EQ(printer.m_collections.size(), 2u * kRounds);
        EXPECT_EQ(printer.m_nJobsHeld, 2200);
    }
    CReportQuery query;
    query.m_key = ReportKey::Printer;
    CReport report;
    ASSERT_TRUE(RunHistoryReport(*pStore, query, report, strError)) << strError;
    EXPECT_EQ(report.m_total.m_nJobs, 4400);
}

INSTANTIATE_TEST_SUITE_P(Backends, HistoryParallel, ::testing::Values("sqlite", "postgres"),
                         BackendName);

} // namespace
} // namespace hpa::test
