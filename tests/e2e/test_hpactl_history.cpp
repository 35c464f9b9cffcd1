// hpactl collect, printers and report against simulated printers whose job
// logs advance between downloads: a fleet collected twice, lost Job IDs
// named, a fleet file error, and a printer hanging up mid-file.
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
using test::RunResult;
using test::sim::CSimProcess;

class HpactlHistory : public ::testing::Test {
protected:
    RunResult Run(const std::string& strArgs)
    {
        return test::RunHpactl(m_work.Path(), m_config.Path(), strArgs + " --db " + Quoted(Db()));
    }
    std::string Db() const { return (m_work.Path() / "history.sqlite").string(); }

    void StartPrinter(CSimProcess& sim, const CTempDir& root, int nJobs,
                      const std::string& strAdvance, std::vector<std::string> extra = {})
    {
        ASSERT_TRUE(
            test::sim::StartAdvancingPrinter(sim, root.Path(), nJobs, strAdvance, std::move(extra)))
            << sim.StderrText();
    }

    void WriteFleet(const std::string& strText)
    {
        m_work.Write("secret", "admin\n");
        m_work.Write("fleet.conf", strText);
    }
    static std::string Section(const std::string& strName, int nPort)
    {
        return "[printer " + strName + "]\nhost = 127.0.0.1:" + std::to_string(nPort) +
               "\nuser = admin\npassword-file = secret\n";
    }

    CTempDir m_work;
    CTempDir m_config;
};

TEST_F(HpactlHistory, FleetCollectedTwiceThenListedAndReported)
{
    CTempDir rootA, rootB;
    CSimProcess simA, simB;
    StartPrinter(simA, rootA, 10, "5");
    StartPrinter(simB, rootB, 4, "2");
    WriteFleet(Section("front desk", simA.Port()) + "\n# the lab\n" + Section("lab", simB.Port()));

    RunResult r = Run("collect --fleet fleet.conf --parallel 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("front desk: 10 jobs, 10 new"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("lab: 4 jobs, 4 new"), std::string::npos) << r.out;
    r = Run("collect --fleet fleet.conf");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("front desk: 15 jobs, 5 new"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("lab: 6 jobs, 2 new"), std::string::npos) << r.out;

    r = Run("printers --format csv");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("\r\n")),
              "Printer,Last Collection (UTC),Jobs Held,Job File Consumption (%),Job File Full,"
              "Days Until Full,Gaps");
    EXPECT_NE(r.out.find("\r\nfront desk,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(",15,"), std::string::npos) << r.out;

    r = Run("report --by printer --format json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"Printer\": \"front desk\", \"Jobs\": 15,"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"Printer\": \"Total\", \"Jobs\": 21,"), std::string::npos) << r.out;

    r = Run("report --by user --format pdf --output " + Quoted((m_work.Path() / "r.pdf").string()));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(CTempDir::Read(m_work.Path() / "r.pdf").substr(0, 5), "%PDF-");
}

TEST_F(HpactlHistory, JobsLostBetweenCollectionsAreNamedWithStatusThree)
{
    CTempDir root;
    CSimProcess sim;
    // 30 new jobs per download in a log that holds 20: the next download
    // starts ten Job IDs after the last one collected.
    StartPrinter(sim, root, 10, "30:20");
    m_work.Write("secret", "admin\n");
    const std::string strArgs = "collect 127.0.0.1:" + std::to_string(sim.Port()) +
                                " --name lab --user admin --password-file secret";
    RunResult r = Run(strArgs);
    ASSERT_EQ(r.status, 0) << r.err;
    r = Run(strArgs);
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("lab: Job IDs"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("lost"), std::string::npos) << r.err;
    r = Run("report --by user");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Note: known gap on printer lab"), std::string::npos) << r.out;
}

TEST_F(HpactlHistory, BadFleetFileIsAUsageError)
{
    WriteFleet(Section("lab", 2121) + Section("lab", 2122));
    const RunResult r = Run("collect --fleet fleet.conf");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("fleet.conf:5:"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Db()));
}

TEST_F(HpactlHistory, PrinterHangingUpMidFileFailsAloneAndStoresNothing)
{
    CTempDir rootGood, rootBad;
    CSimProcess good, bad;
    StartPrinter(good, rootGood, 5, "1");
    StartPrinter(bad, rootBad, 50, "1", {"--fault", "drop=3000@acc1.job"});
    WriteFleet(Section("good", good.Port()) + Section("bad", bad.Port()));
    RunResult r = Run("collect --fleet fleet.conf");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("hpactl collect: bad: "), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("good: 5 jobs, 5 new"), std::string::npos) << r.out;
    r = Run("report --by printer --format tsv");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("bad\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Total\t5\t"), std::string::npos) << r.out;
}

// A printer reachable only over IPv6 is collected by its bracketed host text.
TEST_F(HpactlHistory, Ipv6PrinterIsCollected)
{
    CTempDir root;
    ASSERT_EQ(test::sim::RunSim({"--generate", root.Path().string(), "--jobs", "6"}), 0);
    CSimProcess sim;
    if (!sim.CChildProcess::Start(
            {test::sim::SimBinary(), "--listen", "[::1]:0", "--root", root.Path().string()}))
        GTEST_SKIP() << "no IPv6 loopback address on this host: " << sim.StderrText();
    m_work.Write("secret", "admin\n");
    const RunResult r = Run("collect " + sim.HostText() + " --user admin --password-file secret");
    ASSERT_EQ(r.status, 0) << r.err;
    const RunResult printers = Run("printers --format csv");
    ASSERT_EQ(printers.status, 0) << printers.err;
    EXPECT_NE(printers.out.find(sim.HostText()), std::string::npos) << printers.out;
}

} // namespace
} // namespace hpa
