#pragma once
// Shared by the history tests: job files written from a compact description,
// a fresh history on either back-end (a SQLite file in a temporary folder,
// or a database on a throwaway PostgreSQL server), and a collection of a
// folder of working files into it. Header-only: only the history's tests
// link the history library.
#include "history/Collector.h"
#include "history/HistoryStore.h"
#include "support/PgServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace hpa::test {

struct CTestJob {
    std::string m_strId;
    std::string m_strDate = " 3/ 7/2026";
    std::string m_strTime = "09:15:02";
    std::string m_strUser = "ann";
    std::string m_strHost = "ws-ann";
    std::string m_strFile = "report.pdf";
    int m_nPrintMs = 1500;
    int m_nSimplex = 2;
    int m_nDuplex = 1;
    int m_nJams = 0;
    std::vector<std::pair<std::string, std::string>> m_index;
};

// One record line (and its index lines) as the printer writes them.
inline std::string JobLines(const CTestJob& job)
{
    std::ostringstream out;
    out << "0:" << job.m_strId << ",1:5,2:{" << job.m_strTime << "}, 3:{" << job.m_strDate
        << "}, 4:0,5:{" << job.m_strUser << "}, 6:{" << job.m_strHost << "}, 45:{tcp}, 7:{"
        << job.m_strFile << "}, 8:{dept-a}, 9:120,10:" << job.m_nPrintMs
        << ",11:1,12:0,13:4,14:" << job.m_nSimplex << ",15:" << job.m_nDuplex
        << ",16:0,17:1,18:" << job.m_nJams << ",19:" << job.m_index.size()
        << ",46:10,47:12,48:9,49:40\n";
    for (const auto& [first, second] : job.m_index)
        out << "count:" << first << ",index:" << second << "\n";
    return out.str();
}

// Jobs with the Job IDs nFirst to nLast, each on its own day and time.
inline std::vector<CTestJob> JobRange(int nFirst, int nLast)
{
    std::vector<CTestJob> jobs;
    for (int n = nFirst; n <= nLast; ++n) {
        CTestJob job;
        job.m_strId = std::to_string(n);
        job.m_strTime = "10:00:" + std::string(n % 60 < 10 ? "0" : "") + std::to_string(n % 60);
        jobs.push_back(job);
    }
    return jobs;
}

// The four working files of a download in a folder.
inline void WriteWorkFiles(const std::filesystem::path& dir, const std::vector<CTestJob>& jobs,
                           int nUsage = 5000, int nSize = 100000, int nFull = 0)
{
    auto fnWrite = [&](const char* pszName, const std::string& strBytes) {
        std::ofstream out(dir / pszName, std::ios::binary | std::ios::trunc);
        out << strBytes;
    };
    fnWrite("STA.tmp", "28:2,29:1,30:" + std::to_string(nSize) +
                           ",31:0,32:" + std::to_string(nUsage) +
                           ",33:0,34:1,35:1,36:" + std::to_string(jobs.size()) +
                           ",37:1,38:1,39:" + std::to_string(nFull) + ",40:0\n");
    std::ifstream dic(std::string(HPA_SOURCE_DIR) + "/testdata/decode/office/DIC.tmp",
                      std::ios::binary);
    std::stringstream dicBytes;
    dicBytes << dic.rdbuf();
    fnWrite("DIC.tmp", dicBytes.str());
    fnWrite("PAP.tmp", "");
    std::string strJobs;
    for (const CTestJob& job : jobs)
        strJobs += JobLines(job);
    fnWrite("JOB.tmp", strJobs);
}

// Jobs handed to a store directly, without files: every field filled.
class CVectorJobList : public CHistoryJobList {
public:
    explicit CVectorJobList(const std::vector<CTestJob>& jobs)
    {
        for (const CTestJob& job : jobs) {
            std::array<std::string, kHistoryFieldCount> fields;
            for (int n = 0; n < kHistoryFieldCount; ++n)
                fields[static_cast<std::size_t>(n)] = std::to_string(n);
            fields[kHistJobId] = job.m_strId;
            fields[kHistDate] = job.m_strDate;
            fields[kHistTime] = job.m_strTime;
            fields[kHistUser] = job.m_strUser;
            fields[kHistHost] = job.m_strHost;
            fields[kHistPrintTime] = std::to_string(job.m_nPrintMs);
            fields[kHistSimplex] = std::to_string(job.m_nSimplex);
            fields[kHistDuplex] = std::to_string(job.m_nDuplex);
            fields[kHistJams] = std::to_string(job.m_nJams);
            m_jobs.push_back(std::move(fields));
        }
    }
    std::size_t Count() const override { return m_jobs.size(); }
    void Get(std::size_t nIndex, CHistoryJob& job) const override
    {
        for (int n = 0; n < kHistoryFieldCount; ++n)
            job.m_field[static_cast<std::size_t>(n)] = m_jobs[nIndex][static_cast<std::size_t>(n)];
        job.m_bHasInk = true;
        job.m_strIndex.clear();
    }

private:
    std::vector<std::array<std::string, kHistoryFieldCount>> m_jobs;
};

// A fresh, empty history per call, on the back-end named by the test
// parameter ("sqlite" or "postgres"). The PostgreSQL server is started once
// for the whole test program.
class CHistoryTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam() == "postgres") {
            CPgServer& server = Server();
            if (!server.Installed())
                GTEST_SKIP() << server.Why();
            ASSERT_TRUE(server.Running()) << server.Why();
        }
    }

    static CPgServer& Server()
    {
        static CPgServer s_server;
        return s_server;
    }

    // A location for a new history.
    std::string NewLocation()
    {
        static std::atomic<int> s_nNext{0};
        const int n = s_nNext++;
        if (GetParam() == "postgres") {
            const std::string strName =
                "history_" + std::to_string(::getpid()) + "_" + std::to_string(n);
            EXPECT_TRUE(Server().CreateDatabase(strName));
            return Server().Uri(strName);
        }
        return (m_dir.Path() / ("history" + std::to_string(n) + ".sqlite")).string();
    }

    std::unique_ptr<CHistoryStore> Open(const std::string& strLocation)
    {
        std::string strError;
        auto pStore = OpenHistoryStore(strLocation, strError);
        EXPECT_TRUE(pStore) << strError;
        return pStore;
    }

    // Collects a download of these jobs into the store.
    CCollectOutcome Collect(CHistoryStore& store, const std::string& strPrinter,
                            const std::vector<CTestJob>& jobs, std::int64_t nTimeUtc,
                            int nUsage = 5000)
    {
        CTempDir work;
        WriteWorkFiles(work.Path(), jobs, nUsage);
        CCollectOutcome outcome;
        EXPECT_TRUE(IngestWorkFiles(work.Path(), strPrinter, "printhost", nTimeUtc, store, outcome))
            << outcome.m_strError;
        return outcome;
    }

    // The database name of a PostgreSQL location (for Server().Sql).
    static std::string DatabaseOf(const std::string& strUri)
    {
        const std::size_t nStart = strUri.find(":///") + 4;
        return strUri.substr(nStart, strUri.find('?') - nStart);
    }

    CTempDir m_dir;
};

inline std::string BackendName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

} // namespace hpa::test
