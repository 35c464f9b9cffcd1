// The simulated printer's plain conversation: login, commands, retrieval of
// every remote name over active-mode data connections, refusals, and the
// process life cycle (--sessions, SIGTERM).
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

namespace hpa::test::sim {
namespace {

const std::string kSingle = SourceDir() + "/samples/printer";
const std::string kMulti = SourceDir() + "/samples/printer-multi";

class PrinterSim : public ::testing::Test {
protected:
    void StartSim(std::vector<std::string> args)
    {
        ASSERT_TRUE(m_sim.Start(std::move(args))) << m_sim.StderrText();
        ASSERT_TRUE(m_client.Connect(m_sim.Port()));
    }
    // The simulator must end cleanly on SIGTERM whatever the test did to it
    // (a sanitizer report or a crash shows up here as a bad exit status).
    void TearDown() override
    {
        m_client.Close();
        EXPECT_EQ(m_sim.Stop(), 0) << m_sim.StderrText();
    }
    CSimProcess m_sim;
    CFtpTestClient m_client;
};

TEST_F(PrinterSim, LoginPathsAndSessionCommands)
{
    StartSim({"--root", kSingle, "--user", "acct", "--password", "s3cret"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    // Nothing but the session commands before login.
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.sta").m_nCode, 530);
    EXPECT_EQ(m_client.Command("PASS s3cret").m_nCode, 503);
    EXPECT_EQ(m_client.Command("SYST").m_nCode, 215);
    EXPECT_EQ(m_client.Command("noop").m_nCode, 200);
    // A wrong password, a wrong user, then the right pair.
    EXPECT_EQ(m_client.Command("USER acct").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS wrong").m_nCode, 530);
    EXPECT_EQ(m_client.Command("USER someone").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS s3cret").m_nCode, 530);
    EXPECT_EQ(m_client.Command("user acct").m_nCode, 331);
    EXPECT_EQ(m_client.Command("Pass s3cret").m_nCode, 230);
    // ACCT is not needed here.
    EXPECT_EQ(m_client.Command("ACCT ").m_nCode, 202);
    EXPECT_EQ(m_client.Command("TYPE I").m_nCode, 200);
    EXPECT_EQ(m_client.Command("TYPE A").m_nCode, 200);
    EXPECT_EQ(m_client.Command("TYPE X").m_nCode, 504);
    SReply pwd = m_client.Command("PWD");
    EXPECT_EQ(pwd.m_nCode, 257);
    EXPECT_EQ(pwd.Last(), "257 \"/\" is the current directory.");
    EXPECT_EQ(m_client.Command("STOR x").m_nCode, 502);
    EXPECT_EQ(m_client.Command("PASV").m_nCode, 502);
    EXPECT_EQ(m_client.Command("XYZZY").m_nCode, 500);
    // The client's own spelling of QUIT.
    EXPECT_EQ(m_client.Command("Quit").m_nCode, 221);
    EXPECT_TRUE(m_client.ClosedByPeer());
}

TEST_F(PrinterSim, AccountIsCheckedWhenConfigured)
{
    StartSim({"--root", kSingle, "--account", "cost-42"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS admin").m_nCode, 332);
    EXPECT_EQ(m_client.Command("ACCT wrong").m_nCode, 530);
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.sta").m_nCode, 530);
    EXPECT_EQ(m_client.Command("ACCT cost-42").m_nCode, 230);
    EXPECT_EQ(m_client.Command("NOOP").m_nCode, 200);
}

TEST_F(PrinterSim, EveryRemoteNameIsServedOverAnActiveDataConnection)
{
    StartSim({"--root", kMulti, "--block-size", "2048"});
    ASSERT_TRUE(m_client.Login());
    EXPECT_EQ(m_client.Command("TYPE I").m_nCode, 200);
    const char* kNames[] = {"acc.sta", "acc.dic", "acc.pap", "acc1.job", "acc2.job", "acc3.job"};
    bool bEprt = false;
    for (const char* pszName : kNames) {
        SCOPED_TRACE(pszName);
        SRetrieval r = Retrieve(m_client, std::string("SYS:/admin/") + pszName, bEprt);
        EXPECT_EQ(r.m_nPortCode, 200);
        EXPECT_EQ(r.m_n150Code, 150);
        std::string strExpected = ReadFile(kMulti + "/" + pszName);
        EXPECT_NE(r.m_str150.find("(" + std::to_string(strExpected.size()) + " bytes)"),
                  std::string::npos);
        EXPECT_TRUE(r.m_bConnected);
        EXPECT_EQ(r.m_end, CDataListener::eof);
        EXPECT_EQ(r.m_strData, strExpected);
        EXPECT_EQ(r.m_nFinalCode, 226);
        bEprt = !bEprt;
    }
    EXPECT_EQ(m_client.Command("SIZE SYS:/admin/acc2.job").Last(),
              "213 " + std::to_string(ReadFile(kMulti + "/acc2.job").size()));
}

TEST_F(PrinterSim, DirectoriesCanBeEnteredStepByStep)
{
    StartSim({"--root", kSingle});
    ASSERT_TRUE(m_client.Login());
    EXPECT_EQ(m_client.Command("CWD SYS:").m_nCode, 250);
    EXPECT_EQ(m_client.Command("CWD admin").m_nCode, 250);
    EXPECT_EQ(m_client.Command("PWD").Last(), "257 \"SYS:/admin\" is the current directory.");
    SRetrieval r = Retrieve(m_client, "acc.pap");
    EXPECT_EQ(r.m_strData, ReadFile(kSingle + "/acc.pap"));
    EXPECT_EQ(r.m_nFinalCode, 226);
    EXPECT_EQ(m_client.Command("CWD nowhere").m_nCode, 550);
    EXPECT_EQ(m_client.Command("CDUP").m_nCode, 250);
    EXPECT_EQ(m_client.Command("PWD").Last(), "257 \"SYS:/\" is the current directory.");
    // A full name works from anywhere, also with a leading slash.
    EXPECT_EQ(Retrieve(m_client, "/SYS:/admin/acc.sta").m_strData, ReadFile(kSingle + "/acc.sta"));
}

TEST_F(PrinterSim, UnknownNamesAreRefusedWithoutDataConnection)
{
    StartSim({"--root", kSingle});
    ASSERT_TRUE(m_client.Login());
    const char* kNames[] = {"SYS:/admin/acc2.job",  "SYS:/admin/acc0.job",   "SYS:/admin/acc01.job",
                            "SYS:/admin/README.md", "SYS:/admin/../admin/x", "acc.sta",
                            "SYS:/acc.sta",         "../../etc/passwd"};
    for (const char* pszName : kNames) {
        SCOPED_TRACE(pszName);
        CDataListener data;
        EXPECT_EQ(m_client.Command(data.PortCommand()).m_nCode, 200);
        EXPECT_EQ(m_client.Command(std::string("RETR ") + pszName).m_nCode, 550);
        EXPECT_FALSE(data.Accept(200));
    }
    EXPECT_EQ(m_client.Command("SIZE SYS:/admin/acc9.job").m_nCode, 550);
    // The session goes on normally afterwards.
    EXPECT_EQ(Retrieve(m_client, "SYS:/admin/acc.sta").m_nFinalCode, 226);
}

TEST_F(PrinterSim, BadDataAddressesAndCommandLinesAreRefused)
{
    StartSim({"--root", kSingle});
    ASSERT_TRUE(m_client.Login());
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.sta").m_nCode, 425); // no PORT yet
    EXPECT_EQ(m_client.Command("PORT 127,0,0,1,300,1").m_nCode, 501);
    EXPECT_EQ(m_client.Command("PORT 127,0,0,1,20").m_nCode, 501);
    EXPECT_EQ(m_client.Command("PORT 10,1,2,3,20,1").m_nCode, 504); // not the client
    EXPECT_EQ(m_client.Command("EPRT |2|::1|5000|").m_nCode, 522);
    EXPECT_EQ(m_client.Command("EPRT |1|127.0.0.1|99999|").m_nCode, 501);
    // A command line far beyond the limit is refused, and the session lives.
    EXPECT_EQ(m_client.Command("NOOP " + std::string(100000, 'x')).m_nCode, 500);
    EXPECT_EQ(m_client.Command(std::string("USER a\0b", 8)).m_nCode, 501);
    EXPECT_EQ(m_client.Command("NOOP").m_nCode, 200);
}

TEST(PrinterSimProcess, ExitsAfterTheSessionsAskedFor)
{
    CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", kSingle, "--sessions", "2"}));
    for (int i = 0; i < 2; ++i) {
        CFtpTestClient client;
        ASSERT_TRUE(client.Connect(sim.Port()));
        ASSERT_TRUE(client.Login());
        EXPECT_EQ(Retrieve(client, "SYS:/admin/acc.dic").m_nFinalCode, 226);
        EXPECT_EQ(client.Command("QUIT").m_nCode, 221);
    }
    EXPECT_EQ(sim.WaitExit(kWaitMs), 0);
}

TEST(PrinterSimProcess, SessionsRunSideBySideUpToTheLimit)
{
    CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", kSingle, "--max-clients", "2"}));
    CFtpTestClient first, second, third;
    ASSERT_TRUE(first.Connect(sim.Port()));
    ASSERT_TRUE(first.Login());
    ASSERT_TRUE(second.Connect(sim.Port()));
    ASSERT_TRUE(second.Login());
    ASSERT_TRUE(third.Connect(sim.Port()));
    EXPECT_EQ(third.ReadReply().m_nCode, 421);
    EXPECT_TRUE(third.ClosedByPeer());
    // The idle first session does not hold up the second one.
    EXPECT_EQ(Retrieve(second, "SYS:/admin/acc.sta").m_strData, ReadFile(kSingle + "/acc.sta"));
    EXPECT_EQ(Retrieve(first, "SYS:/admin/acc.pap").m_strData, ReadFile(kSingle + "/acc.pap"));
    EXPECT_EQ(sim.Stop(), 0);
}

TEST(PrinterSimProcess, StopsCleanlyOnSigtermEvenWithASessionOpen)
{
    CSimProcess sim;
    ASSERT_TRUE(sim.Start({"--root", kSingle}));
    CFtpTestClient client;
    ASSERT_TRUE(client.Connect(sim.Port()));
    ASSERT_TRUE(client.Login());
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_TRUE(client.ClosedByPeer());
}

TEST(PrinterSimProcess, VerboseLogsTheTranscriptWithoutThePassword)
{
    CSimProcess sim;
    ASSERT_TRUE(
        sim.Start({"--root", kSingle, "--verbose", "--password", "hidden-pw", "--sessions", "1"}));
    {
        CFtpTestClient client;
        ASSERT_TRUE(client.Connect(sim.Port()));
        ASSERT_TRUE(client.Login("admin", "hidden-pw"));
        EXPECT_EQ(client.Command("QUIT").m_nCode, 221);
    }
    ASSERT_EQ(sim.WaitExit(kWaitMs), 0);
    std::string strLog = sim.StderrText();
    EXPECT_NE(strLog.find("[1] C USER admin"), std::string::npos) << strLog;
    EXPECT_NE(strLog.find("[1] C PASS ****"), std::string::npos) << strLog;
    EXPECT_NE(strLog.find("[1] S 221 Goodbye."), std::string::npos) << strLog;
    EXPECT_EQ(strLog.find("hidden-pw"), std::string::npos) << strLog;
}

TEST(PrinterSimProcess, UsageErrorsExitWithStatus2)
{
    EXPECT_EQ(RunSim({"--fault", "no-such-fault"}), 2);
    EXPECT_EQ(RunSim({"--fault", "stall=abc"}), 2);
    EXPECT_EQ(RunSim({"--fault", "bare-lf=3"}), 2);
    EXPECT_EQ(RunSim({"--fault", "user-230@USER"}), 2);
    EXPECT_EQ(RunSim({"--block-size", "100"}), 2);
    EXPECT_EQ(RunSim({"--listen", "localhost:21"}), 2);
    EXPECT_EQ(RunSim({"--generate", "/tmp/x"}), 2); // no --jobs
    EXPECT_EQ(RunSim({"--advance", "0"}), 2);
    EXPECT_EQ(RunSim({"--advance", "5:"}), 2);
    EXPECT_EQ(RunSim({"--advance", "5:0"}), 2);
    std::string strHelp;
    EXPECT_EQ(RunSim({"--help"}, &strHelp), 0);
    EXPECT_NE(strHelp.find("no-data-connection"), std::string::npos);
}

} // namespace
} // namespace hpa::test::sim
