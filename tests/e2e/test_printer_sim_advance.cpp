// The simulator's advancing job log: later downloads overlap the earlier
// ones and continue their Job IDs, a bounded log drops its oldest jobs and
// says it is full, the status values follow the files, and the root served
// is never changed.
#include "support/TempDir.h"
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace hpa::test::sim {
namespace {

struct SDownload {
    std::map<int, std::string> m_status; // the status line's values by field
    std::string m_strJobs;               // every job file, in file order
    std::vector<long> m_jobIds;          // field 0 of each record line
};

// One session as a collector runs it: the status file, then every job file.
SDownload Download(int nPort, int nJobFiles)
{
    SDownload d;
    CFtpTestClient client;
    EXPECT_TRUE(client.Connect(nPort));
    EXPECT_TRUE(client.Login());
    SRetrieval sta = Retrieve(client, "SYS:/admin/acc.sta");
    EXPECT_EQ(sta.m_nFinalCode, 226);
    const std::string strLine = sta.m_strData.substr(0, sta.m_strData.find_first_of("\r\n"));
    for (std::size_t nPos = 0; nPos < strLine.size();) {
        std::size_t nEnd = std::min(strLine.find(", ", nPos), strLine.size());
        const std::string strPair = strLine.substr(nPos, nEnd - nPos);
        const std::size_t nColon = strPair.find(':');
        d.m_status[std::atoi(strPair.c_str())] = strPair.substr(nColon + 1);
        nPos = nEnd + 2;
    }
    for (int f = 1; f <= nJobFiles; ++f) {
        SRetrieval job = Retrieve(client, "SYS:/admin/acc" + std::to_string(f) + ".job");
        EXPECT_EQ(job.m_nFinalCode, 226);
        d.m_strJobs += job.m_strData;
    }
    EXPECT_EQ(client.Command("QUIT").m_nCode, 221);
    for (std::size_t nPos = 0; nPos < d.m_strJobs.size();) {
        if (d.m_strJobs.compare(nPos, 2, "0:") == 0)
            d.m_jobIds.push_back(std::atol(d.m_strJobs.c_str() + nPos + 2));
        nPos = d.m_strJobs.find('\n', nPos);
        nPos = nPos == std::string::npos ? d.m_strJobs.size() : nPos + 1;
    }
    return d;
}

long Status(const SDownload& d, int nField)
{
    auto it = d.m_status.find(nField);
    return it == d.m_status.end() ? -1 : std::atol(it->second.c_str());
}

// The status values a collector relies on agree with the job files served.
void ExpectStatusMatchesJobs(const SDownload& d)
{
    EXPECT_EQ(Status(d, 36), static_cast<long>(d.m_jobIds.size()));
    EXPECT_EQ(Status(d, 32), static_cast<long>(d.m_strJobs.size()));
    EXPECT_GE(Status(d, 30), Status(d, 32));
}

class PrinterSimAdvance : public ::testing::Test {
protected:
    void Generate(const std::vector<std::string>& extra)
    {
        std::vector<std::string> args{"--generate", m_root.Path().string(), "--seed", "5"};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_EQ(RunSim(args), 0);
    }
    void Start(CSimProcess& sim, const std::string& strAdvance)
    {
        ASSERT_TRUE(
            sim.Start({"--root", m_root.Path().string(), "--advance", strAdvance, "--seed", "11"}))
            << sim.StderrText();
    }
    CTempDir m_root;
};

TEST_F(PrinterSimAdvance, NextDownloadOverlapsAndContinuesTheJobIds)
{
    Generate({"--jobs", "30"});
    const std::string strRootJobs = ReadFile(m_root.Path() / "acc1.job");
    CSimProcess sim;
    Start(sim, "5");
    const SDownload first = Download(sim.Port(), 1);
    const SDownload second = Download(sim.Port(), 1);
    EXPECT_EQ(sim.Stop(), 0) << sim.StderrText();

    // The first download is the root as given; the next one holds all of it
    // and five more jobs numbered on from the last.
    EXPECT_EQ(first.m_strJobs, strRootJobs);
    ASSERT_EQ(first.m_jobIds.size(), 30u);
    ASSERT_EQ(second.m_jobIds.size(), 35u);
    EXPECT_EQ(second.m_strJobs.substr(0, first.m_strJobs.size()), first.m_strJobs);
    for (std::size_t i = 30; i < 35; ++i)
        EXPECT_EQ(second.m_jobIds[i], first.m_jobIds.back() + static_cast<long>(i) - 29);
    ExpectStatusMatchesJobs(second);
    EXPECT_EQ(Status(second, 39), 0);
    // The served root stays as it was.
    EXPECT_EQ(ReadFile(m_root.Path() / "acc1.job"), strRootJobs);
}

TEST_F(PrinterSimAdvance, FullLogDropsTheOldestAcrossJobFiles)
{
    Generate({"--jobs", "10", "--job-files", "2", "--crlf"});
    CSimProcess sim;
    Start(sim, "4:12");
    const SDownload first = Download(sim.Port(), 2);
    const SDownload second = Download(sim.Port(), 2);
    const SDownload third = Download(sim.Port(), 2);
    EXPECT_EQ(sim.Stop(), 0) << sim.StderrText();

    ASSERT_EQ(first.m_jobIds.size(), 10u);
    EXPECT_EQ(Status(first, 39), 0);
    // 14 jobs made, the two oldest gone; then 16, four more gone.
    for (const SDownload* pDownload : {&second, &third}) {
        ASSERT_EQ(pDownload->m_jobIds.size(), 12u);
        for (std::size_t i = 1; i < 12; ++i)
            EXPECT_EQ(pDownload->m_jobIds[i], pDownload->m_jobIds[i - 1] + 1);
        ExpectStatusMatchesJobs(*pDownload);
        EXPECT_EQ(Status(*pDownload, 39), 1);
        EXPECT_EQ(Status(*pDownload, 37), 2);
        const std::string& strJobs = pDownload->m_strJobs;
        EXPECT_EQ(std::count(strJobs.begin(), strJobs.end(), '\n'),
                  std::count(strJobs.begin(), strJobs.end(), '\r'));
    }
    EXPECT_EQ(second.m_jobIds.front(), first.m_jobIds[2]);
    EXPECT_EQ(third.m_jobIds.front(), first.m_jobIds[0] + 6);
    EXPECT_EQ(third.m_jobIds.back(), first.m_jobIds.back() + 8);
}

TEST_F(PrinterSimAdvance, SameSeedSameLog)
{
    Generate({"--jobs", "3"});
    CSimProcess a, b;
    Start(a, "7");
    Start(b, "7");
    Download(a.Port(), 1);
    Download(b.Port(), 1);
    EXPECT_EQ(Download(a.Port(), 1).m_strJobs, Download(b.Port(), 1).m_strJobs);
}

} // namespace
} // namespace hpa::test::sim
