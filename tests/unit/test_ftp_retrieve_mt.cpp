// Active-mode retrieval against the scripted peer, in both of the ways real
// servers open the data connection.
#include "support/FixedClock.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "transfer/FtpClient.h"
#include "transfer/FtpText.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace hpa {
namespace {

using test::CFixedClock;
using test::CScriptedFtpServer;
using test::CTempDir;
using test::DataStyle;
using test::FileMode;
using Lines = std::vector<std::string>;

constexpr const char* kRemote = "SYS:/admin/acc.sta";

std::string PortLine(int nPort)
{
    std::string s = FormatPortCommand("127.0.0.1", nPort);
    return s.substr(0, s.size() - 2);
}

// Binds a port on every local address, as another program would.
class CPortBlocker {
public:
    explicit CPortBlocker(int nPort)
    {
        // Listening, so that even a bind with SO_REUSEADDR (which steps over
        // a lingering TIME_WAIT) cannot take the port.
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
        m_bBound = ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                   ::listen(m_fd, 1) == 0;
    }
    ~CPortBlocker() { ::close(m_fd); }
    bool m_bBound = false;

private:
    int m_fd;
};

class Retrieve : public testing::TestWithParam<DataStyle> {
protected:
    void SetUp() override
    {
        m_server.SetDataStyle(GetParam());
        m_client.SetTimeouts(300, 300);
        ASSERT_EQ(m_client.Login(m_server.HostText(), "ops", "pw"),
                  CFtpClient::LoginResult::loggedIn);
    }
    std::int64_t Fetch(const std::string& strRemote, const std::string& strLocal, int bCreate)
    {
        return m_client.RetrieveFile(strRemote, (m_dir.Path() / strLocal).string(), bCreate,
                                     &m_counter);
    }

    CScriptedFtpServer m_server;
    CFtpClient m_client{CFixedClock(0)};
    CTempDir m_dir;
    std::atomic<std::int64_t> m_counter{-1};
};

TEST_P(Retrieve, FetchesTheFileByteForByte)
{
    std::string strBytes;
    for (int i = 0; i < 100000; ++i)
        strBytes.push_back(static_cast<char>(i * 7 % 256)); // NUL, CR, LF and all
    m_server.AddFile(kRemote, strBytes);
    EXPECT_EQ(Fetch(kRemote, "STA.tmp", 1), 100000);
    EXPECT_EQ(m_counter.load(), 100000);
    EXPECT_EQ(CTempDir::Read(m_dir.Path() / "STA.tmp"), strBytes);
    // (Closing with the unread replies may reset the connection before the
    // server reads a "Quit", so transcripts here stop at the last RETR.)
    EXPECT_EQ(m_server.TranscriptSoFar(),
              (Lines{"USER ops", "PASS pw", "TYPE I", PortLine(m_client.DataPort()),
                     "RETR SYS:/admin/acc.sta"}));
}

TEST_P(Retrieve, AppendModeAddsBehindTheOldContent)
{
    m_server.AddFile("SYS:/admin/acc2.job", "second\n");
    m_dir.Write("JOB.tmp", "first\n");
    EXPECT_EQ(Fetch("SYS:/admin/acc2.job", "JOB.tmp", 0), 7);
    EXPECT_EQ(CTempDir::Read(m_dir.Path() / "JOB.tmp"), "first\nsecond\n");
    // Appending to a file that does not exist reads nothing.
    EXPECT_EQ(Fetch("SYS:/admin/acc2.job", "missing.tmp", 0), 0);
    EXPECT_FALSE(std::filesystem::exists(m_dir.Path() / "missing.tmp"));
}

TEST_P(Retrieve, ZeroByteFileGivesZeroAndAnEmptyFile)
{
    m_server.AddFile(kRemote, "");
    m_dir.Write("STA.tmp", "old download");
    EXPECT_EQ(Fetch(kRemote, "STA.tmp", 1), 0);
    EXPECT_EQ(m_counter.load(), 0);
    EXPECT_EQ(CTempDir::Read(m_dir.Path() / "STA.tmp"), "");
}

TEST_P(Retrieve, RefusedFileEndsAfterTheTimeOutWithAnEmptiedFile)
{
    // vsftpd-like: no connection comes; pyftpdlib-like: one comes and stays silent.
    m_dir.Write("STA.tmp", "old download");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(kRemote, "STA.tmp", 1), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(CTempDir::Read(m_dir.Path() / "STA.tmp"), "");
    // The conversation goes on: the stale replies are drained by the next read.
    m_server.AddFile("SYS:/admin/acc.dic", "id acc_x\n");
    EXPECT_EQ(Fetch("SYS:/admin/acc.dic", "DIC.tmp", 1), 9);
}

TEST_P(Retrieve, OnlyTheServerMayDeliverTheFile)
{
    m_server.SetIntruder("forged accounting data");
    m_server.AddFile(kRemote, "28:2,29:3\n");
    EXPECT_EQ(Fetch(kRemote, "STA.tmp", 1), 10);
    EXPECT_EQ(CTempDir::Read(m_dir.Path() / "STA.tmp"), "28:2,29:3\n");
}

TEST_P(Retrieve, RemoteNamesWithLineBreaksAreRefusedBeforeAnythingIsSent)
{
    EXPECT_EQ(Fetch("acc.sta\r\nDELE acc.job", "STA.tmp", 1), 0);
    EXPECT_EQ(Fetch(std::string("acc\0.sta", 8), "STA.tmp", 1), 0);
    EXPECT_EQ(m_server.TranscriptSoFar(), (Lines{"USER ops", "PASS pw"}));
}

TEST_P(Retrieve, QuitFromAnotherThreadReleasesABlockedRetrieval)
{
    m_client.SetTimeouts(30000, 30000);
    m_server.AddFile("SYS:/admin/acc.pap", "partial", FileMode::Stall);
    std::int32_t nStalled = -1;
    std::int32_t nRefused = -1;
    std::thread worker([&] {
        nStalled = Fetch("SYS:/admin/acc.pap", "PAP.tmp", 1); // blocked in receive
    });
    ASSERT_TRUE(m_server.WaitForCommand("RETR SYS:/admin/acc.pap"));
    while (m_counter.load() != 7)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = std::chrono::steady_clock::now();
    m_client.Quit();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(nStalled, 7);

    // Blocked in accept (or, pyftpdlib-like, in receive) on a refused file.
    ASSERT_EQ(m_client.Login(m_server.HostText(), "ops", "pw"), CFtpClient::LoginResult::loggedIn);
    std::thread refused([&] { nRefused = Fetch("SYS:/admin/none", "X.tmp", 1); });
    ASSERT_TRUE(m_server.WaitForCommand("RETR SYS:/admin/none"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    m_client.Quit();
    refused.join();
    EXPECT_EQ(nRefused, 0);
}

INSTANTIATE_TEST_SUITE_P(Peers, Retrieve,
                         testing::Values(DataStyle::ConnectOnRetr, DataStyle::ConnectOnPort),
                         [](const auto& tpi) {
                             return tpi.param == DataStyle::ConnectOnRetr ? std::string("AfterRetr")
                                                                          : std::string("AtPort");
                         });

TEST(RetrievePorts, BusyPortsAreSkippedAndTheWorkingOneIsKept)
{
    CScriptedFtpServer server;
    server.AddFile(kRemote, "abc");
    // Far from 5578..5643, where other tests running at the same time search.
    CFtpClient client;
    client.SetDataPort(20100);
    const int nFirst = client.DataPort();
    ASSERT_EQ(client.Login(server.HostText(), "ops", "pw"), CFtpClient::LoginResult::loggedIn);
    CTempDir dir;
    std::atomic<std::int64_t> counter{0};
    {
        CPortBlocker a(nFirst), b(nFirst + 1), c(nFirst + 2);
        ASSERT_TRUE(a.m_bBound && b.m_bBound && c.m_bBound);
        EXPECT_EQ(client.RetrieveFile(kRemote, (dir.Path() / "a").string(), 1, &counter), 3);
        EXPECT_EQ(client.DataPort(), nFirst + 3);
    }
    // The ports are free again, but the search starts where it succeeded.
    EXPECT_EQ(client.RetrieveFile(kRemote, (dir.Path() / "b").string(), 1, &counter), 3);
    EXPECT_EQ(client.DataPort(), nFirst + 3);
    const Lines transcript = server.TranscriptSoFar();
    ASSERT_EQ(transcript.size(), 8u);
    EXPECT_EQ(transcript[3], PortLine(nFirst + 3));
    EXPECT_EQ(transcript[6], PortLine(nFirst + 3));
}

TEST(RetrievePorts, LastPortOfTheRangeGivesBytes22And11)
{
    CScriptedFtpServer server;
    server.AddFile(kRemote, "abc");
    CFtpClient client{CFixedClock(65535)};
    ASSERT_EQ(client.DataPort(), 5643);
    ASSERT_EQ(client.Login(server.HostText(), "ops", "pw"), CFtpClient::LoginResult::loggedIn);
    CTempDir dir;
    std::atomic<std::int64_t> counter{0};
    EXPECT_EQ(client.RetrieveFile(kRemote, (dir.Path() / "a").string(), 1, &counter), 3);
    if (client.DataPort() == 5643) { // another program may hold it
        EXPECT_EQ(server.TranscriptSoFar().at(3), "PORT 127,0,0,1,22,11");
    }
}

TEST(RetrievePorts, NoFreePortInFiftySendsNothing)
{
    CScriptedFtpServer server;
    CFtpClient client;
    client.SetDataPort(20200);
    const int nFirst = client.DataPort();
    std::vector<std::unique_ptr<CPortBlocker>> blockers;
    for (int i = 0; i < CFtpClient::kPortAttempts; ++i) {
        blockers.push_back(std::make_unique<CPortBlocker>(nFirst + i));
        ASSERT_TRUE(blockers.back()->m_bBound) << nFirst + i;
    }
    ASSERT_EQ(client.Login(server.HostText(), "ops", "pw"), CFtpClient::LoginResult::loggedIn);
    std::atomic<std::int64_t> counter{0};
    EXPECT_EQ(client.RetrieveFile(kRemote, "/nonexistent/x", 1, &counter), 0);
    EXPECT_EQ(client.DataPort(), nFirst + CFtpClient::kPortAttempts);
    client.Quit();
    EXPECT_EQ(server.Transcript(), (Lines{"USER ops", "PASS pw", "Quit"}));
}

} // namespace
} // namespace hpa
