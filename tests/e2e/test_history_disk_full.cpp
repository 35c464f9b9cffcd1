// A disk that fills while hpactl collects: the history's file may not grow
// past a limit (RLIMIT_FSIZE, SIGXFSZ ignored, as a full file system fails a
// write), the collection ends with exit status 1 and a message naming the
// database, and the history holds exactly what it held before.
#include "history/HistoryReport.h"
#include "history/HistoryStore.h"
#include "support/ShellRun.h"
#include "support/TempDir.h"
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace hpa {
namespace {

namespace fs = std::filesystem;
using test::CTempDir;
using test::Quoted;

// A printer's files whose job file is small but whose jobs are many: each
// record after the first names only its Job ID and carries every other
// value, so the download stays far below the limit while the history must
// grow far beyond it.
void WritePrinterRoot(const CTempDir& root, int nJobs)
{
    fs::copy_file(fs::path(test::sim::SourceDir()) / "testdata/decode/office/DIC.tmp",
                  root.Path() / "acc.dic");
    fs::copy_file(fs::path(test::sim::SourceDir()) / "testdata/decode/office/PAP.tmp",
                  root.Path() / "acc.pap");
    root.Write("acc.sta", "28:2,29:1,30:100000000,31:0,32:5000,33:0,34:1,35:1,36:" +
                              std::to_string(nJobs) + ",37:1,38:1,39:0,40:0\n");
    std::string strJobs = "0:1,1:5,2:{09:00:00}, 3:{ 3/ 7/2026}, 4:0,5:{ann}, 6:{ws-ann}, "
                          "45:{tcp}, 7:{report.pdf}, 8:{dept}, 9:120,10:1500,11:1,12:0,13:4,"
                          "14:2,15:1,16:0,17:1,18:0,19:0,46:10,47:12,48:9,49:40\n";
    for (int n = 2; n <= nJobs; ++n)
        strJobs += "0:" + std::to_string(n) + "\n";
    root.Write("acc1.job", strJobs);
}

struct CSnapshot {
    std::vector<CPrinterHistory> m_printers;
    std::vector<CStoredJob> m_jobs;
    std::string m_strReport;
};

CSnapshot Snapshot(const std::string& strDb)
{
    CSnapshot snap;
    std::string strError;
    auto pStore = OpenSqliteHistory(strDb, strError, false);
    EXPECT_TRUE(pStore) << strError;
    if (!pStore)
        return snap;
    EXPECT_TRUE(pStore->ReadPrinters(snap.m_printers, strError)) << strError;
    for (const auto& printer : snap.m_printers) {
        std::vector<CStoredJob> jobs;
        EXPECT_TRUE(pStore->ReadJobs(printer.m_strName, jobs, strError)) << strError;
        snap.m_jobs.insert(snap.m_jobs.end(), jobs.begin(), jobs.end());
    }
    CReport report;
    EXPECT_TRUE(RunHistoryReport(*pStore, CReportQuery(), report, strError)) << strError;
    snap.m_strReport = FormatReport(report, ReportFormat::Csv);
    return snap;
}

TEST(HistoryDiskFull, CollectionFailsWithTheDatabaseNamedAndTheHistoryAsBefore)
{
    CTempDir root, work, config;
    WritePrinterRoot(root, 40000);
    test::sim::CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", root.Path().string()})) << sim.StderrText();
    work.Write("secret", "admin\n");
    const std::string strDb = (work.Path() / "history.sqlite").string();
    const std::string strArgs = "collect 127.0.0.1:" + std::to_string(sim.Port()) +
                                " --user admin --password-file secret --db " + Quoted(strDb);

    const test::RunResult first =
        test::RunHpactl(work.Path(), config.Path(), strArgs + " --name first");
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string strBytesBefore = CTempDir::Read(strDb);
    const CSnapshot before = Snapshot(strDb);
    ASSERT_EQ(before.m_jobs.size(), 40000u);

    // 1 MiB a file: the download (under 300 kB) fits, the history's 40,000
    // new jobs do not.
    const test::RunResult full =
        test::RunHeadless(work.Path(), config.Path(),
                          "sh -c " + Quoted("ulimit -f 1024; trap '' XFSZ; exec " +
                                            Quoted((test::BinDir() / "hpactl").string()) + " " +
                                            strArgs + " --name second"));
    EXPECT_EQ(full.status, 1) << full.out << full.err;
    EXPECT_NE(full.err.find("second"), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("history database " + strDb), std::string::npos) << full.err;
    EXPECT_NE(full.err.find("disk full"), std::string::npos) << full.err;

    EXPECT_EQ(CTempDir::Read(strDb), strBytesBefore);
    const CSnapshot after = Snapshot(strDb);
    ASSERT_EQ(after.m_printers.size(), before.m_printers.size());
    EXPECT_EQ(after.m_printers[0].m_strName, "first");
    EXPECT_EQ(after.m_printers[0].m_collections.size(), 1u);
    ASSERT_EQ(after.m_jobs.size(), before.m_jobs.size());
    for (std::size_t n = 0; n < after.m_jobs.size(); ++n) {
        ASSERT_EQ(after.m_jobs[n].m_field, before.m_jobs[n].m_field) << n;
        ASSERT_EQ(after.m_jobs[n].m_strIndex, before.m_jobs[n].m_strIndex) << n;
    }
    EXPECT_EQ(after.m_strReport, before.m_strReport);
}

} // namespace
} // namespace hpa
