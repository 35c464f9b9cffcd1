// The simulated printer's quirks and faults, each as a short script: the
// fault switched on, what the client sends, what it must see.
#include "test_printer_sim_harness.h"

#include <gtest/gtest.h>

namespace hpa::test::sim {
namespace {

const std::string kSingle = SourceDir() + "/samples/printer";

class PrinterSimFault : public ::testing::Test {
protected:
    void StartSim(const std::vector<std::string>& faults, std::vector<std::string> args = {})
    {
        args.insert(args.begin(), {"--root", kSingle, "--idle-timeout", "20"});
        for (const std::string& f : faults)
            args.insert(args.end(), {"--fault", f});
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

TEST_F(PrinterSimFault, MultilineGreeting)
{
    StartSim({"multiline-greeting=4"});
    SReply greeting = m_client.ReadReply();
    EXPECT_EQ(greeting.m_nCode, 220);
    ASSERT_EQ(greeting.m_lines.size(), 4u);
    EXPECT_EQ(greeting.m_lines[0].substr(0, 4), "220-");
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 331);
}

TEST_F(PrinterSimFault, MultilineTrapHoldsAForeignCodeInsideTheGreeting)
{
    StartSim({"multiline-trap"});
    SReply greeting = m_client.ReadReply();
    EXPECT_EQ(greeting.m_nCode, 220);
    ASSERT_EQ(greeting.m_lines.size(), 3u);
    EXPECT_EQ(greeting.m_lines[1].substr(0, 4), "230 ");
}

TEST_F(PrinterSimFault, GreetingWithAnotherCode)
{
    StartSim({"greeting-code=421"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 421);
    EXPECT_TRUE(m_client.ClosedByPeer());
}

TEST_F(PrinterSimFault, NoGreetingAtAll)
{
    StartSim({"no-greeting"});
    EXPECT_EQ(m_client.ReadReply(300).m_nCode, 0);
    EXPECT_TRUE(m_client.Send("USER admin"));
    EXPECT_EQ(m_client.ReadReply(300).m_nCode, 0);
    EXPECT_TRUE(m_client.Buffered().empty());
}

TEST_F(PrinterSimFault, GreetingSentByteByByte)
{
    StartSim({"bytewise=20"});
    // The first receive cannot hold the whole greeting line.
    ASSERT_TRUE(m_client.Fill(kWaitMs));
    EXPECT_LT(m_client.Buffered().size(), 10u);
    SReply greeting = m_client.ReadReply();
    EXPECT_EQ(greeting.m_nCode, 220);
    EXPECT_EQ(greeting.Last(), "220 Printer FTP server ready.");
}

TEST_F(PrinterSimFault, NulBytesAndAHugeLineInReplies)
{
    StartSim({"nul-reply", "long-line=100000@USER", "bare-lf"});
    SReply greeting = m_client.ReadReply();
    EXPECT_EQ(greeting.m_nCode, 220);
    EXPECT_NE(greeting.Last().find('\0'), std::string::npos);
    SReply user = m_client.Command("USER admin");
    EXPECT_EQ(user.m_nCode, 331);
    ASSERT_EQ(user.m_lines.size(), 2u);
    EXPECT_EQ(user.m_lines[0].size(), 100000u);
    EXPECT_EQ(user.m_lines[0].substr(0, 4), "331-");
    EXPECT_EQ(m_client.Command("PASS admin").m_nCode, 230);
}

TEST_F(PrinterSimFault, EmptyReplyLine)
{
    StartSim({"empty-reply@USER"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_TRUE(m_client.Send("USER admin"));
    std::string strLine = "x";
    ASSERT_TRUE(m_client.ReadLine(strLine));
    EXPECT_EQ(strLine, "");
}

TEST_F(PrinterSimFault, User230LogsInWithoutPassword)
{
    StartSim({"user-230"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_EQ(m_client.Command("USER nobody").m_nCode, 331); // only the right name
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 230);
    EXPECT_EQ(Retrieve(m_client, "SYS:/admin/acc.sta").m_nFinalCode, 226);
}

TEST_F(PrinterSimFault, Pass300AsksForAnEmptyAccount)
{
    StartSim({"pass-300"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS admin").m_nCode, 300);
    EXPECT_EQ(m_client.Command("ACCT ").m_nCode, 230);
    EXPECT_EQ(Retrieve(m_client, "SYS:/admin/acc.sta").m_nFinalCode, 226);
}

TEST_F(PrinterSimFault, PassRefusedWith421ClosesTheSession)
{
    StartSim({"refuse-pass=421"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS admin").m_nCode, 421);
    EXPECT_TRUE(m_client.ClosedByPeer());
}

TEST_F(PrinterSimFault, AcctAndTypeRefusals)
{
    StartSim({"pass-300", "refuse-acct", "refuse-type=500"});
    EXPECT_EQ(m_client.ReadReply().m_nCode, 220);
    EXPECT_EQ(m_client.Command("TYPE I").m_nCode, 500);
    EXPECT_EQ(m_client.Command("USER admin").m_nCode, 331);
    EXPECT_EQ(m_client.Command("PASS admin").m_nCode, 300);
    EXPECT_EQ(m_client.Command("ACCT x").m_nCode, 530);
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.sta").m_nCode, 530);
}

TEST_F(PrinterSimFault, Close421InTheMiddleOfTheSession)
{
    StartSim({"close-421=3"});
    ASSERT_TRUE(m_client.Login()); // USER, PASS
    EXPECT_EQ(m_client.Command("NOOP").m_nCode, 200);
    EXPECT_EQ(m_client.Command("NOOP").m_nCode, 421);
    EXPECT_TRUE(m_client.ClosedByPeer());
}

TEST_F(PrinterSimFault, RefusedFileOpensNoDataConnection)
{
    StartSim({"refuse-file@acc.pap"});
    ASSERT_TRUE(m_client.Login());
    CDataListener data;
    EXPECT_EQ(m_client.Command(data.PortCommand()).m_nCode, 200);
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.pap").m_nCode, 550);
    EXPECT_FALSE(data.Accept(300));
    // Other files are served.
    SRetrieval r = Retrieve(m_client, "SYS:/admin/acc1.job");
    EXPECT_EQ(r.m_strData, ReadFile(kSingle + "/acc1.job"));
}

TEST_F(PrinterSimFault, PortConnectOpensTheDataConnectionBeforeRetr)
{
    StartSim({"port-connect", "refuse-file@SYS:/admin/acc.dic"});
    ASSERT_TRUE(m_client.Login());
    {
        CDataListener data;
        EXPECT_EQ(m_client.Command(data.PortCommand()).m_nCode, 200);
        ASSERT_TRUE(data.Accept(kWaitMs)); // before any RETR
        EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.dic").m_nCode, 550);
        // Still open after the refusal: nothing arrives, no end of stream.
        std::string strData;
        EXPECT_EQ(data.ReadAll(strData, 300), CDataListener::timeout);
    }
    SRetrieval r = Retrieve(m_client, "SYS:/admin/acc.sta");
    EXPECT_EQ(r.m_strData, ReadFile(kSingle + "/acc.sta"));
    EXPECT_EQ(r.m_nFinalCode, 226);
}

TEST_F(PrinterSimFault, NoDataConnectionAfter150)
{
    StartSim({"no-data-connection@acc.sta"});
    ASSERT_TRUE(m_client.Login());
    CDataListener data;
    EXPECT_EQ(m_client.Command(data.PortCommand()).m_nCode, 200);
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc.sta").m_nCode, 150);
    EXPECT_FALSE(data.Accept(300));
    // The client gives up and speaks again: the transfer ends with 425.
    EXPECT_TRUE(m_client.Send("NOOP"));
    EXPECT_EQ(m_client.ReadReply().m_nCode, 425);
    EXPECT_EQ(m_client.ReadReply().m_nCode, 200);
}

TEST_F(PrinterSimFault, StalledTransferKeepsTheConnectionOpen)
{
    StartSim({"stall=100@acc1.job"});
    ASSERT_TRUE(m_client.Login());
    CDataListener data;
    EXPECT_EQ(m_client.Command(data.PortCommand()).m_nCode, 200);
    EXPECT_EQ(m_client.Command("RETR SYS:/admin/acc1.job").m_nCode, 150);
    ASSERT_TRUE(data.Accept());
    std::string strData;
    EXPECT_EQ(data.ReadAll(strData, 500), CDataListener::timeout);
    EXPECT_EQ(strData, ReadFile(kSingle + "/acc1.job").substr(0, 100));
    // Closing the data connection ends the transfer as aborted.
    data.CloseData();
    EXPECT_EQ(m_client.ReadReply().m_nCode, 426);
    EXPECT_EQ(m_client.Command("NOOP").m_nCode, 200);
}

TEST_F(PrinterSimFault, DroppedTransferEndsWithAReset)
{
    StartSim({"drop=1000"}, {"--block-size", "2048"});
    ASSERT_TRUE(m_client.Login());
    SRetrieval r = Retrieve(m_client, "SYS:/admin/acc1.job");
    EXPECT_TRUE(r.m_bConnected);
    EXPECT_NE(r.m_end, CDataListener::timeout);
    EXPECT_LE(r.m_strData.size(), 1000u);
    EXPECT_EQ(r.m_strData, ReadFile(kSingle + "/acc1.job").substr(0, r.m_strData.size()));
    EXPECT_EQ(r.m_nFinalCode, 426);
}

TEST_F(PrinterSimFault, AnnouncedSizeLies)
{
    StartSim({"size-lie=999@acc.sta"});
    ASSERT_TRUE(m_client.Login());
    EXPECT_EQ(m_client.Command("SIZE SYS:/admin/acc.sta").Last(), "213 999");
    SRetrieval r = Retrieve(m_client, "SYS:/admin/acc.sta", true);
    EXPECT_NE(r.m_str150.find("(999 bytes)"), std::string::npos) << r.m_str150;
    EXPECT_EQ(r.m_strData, ReadFile(kSingle + "/acc.sta"));
    EXPECT_EQ(r.m_nFinalCode, 226);
}

TEST_F(PrinterSimFault, SlowReplyOnlyWhereTargeted)
{
    StartSim({"slow-reply=400@NOOP"});
    ASSERT_TRUE(m_client.Login());
    EXPECT_TRUE(m_client.Send("NOOP"));
    // Not there yet shortly after, but within the bounded wait.
    EXPECT_EQ(m_client.ReadReply(50).m_nCode, 0);
    std::string strLine;
    ASSERT_TRUE(m_client.ReadLine(strLine));
    EXPECT_EQ(strLine, "200 NOOP ok.");
}

} // namespace
} // namespace hpa::test::sim
