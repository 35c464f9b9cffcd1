// Faults of the printer, injected by hpa-printer-sim, against the download
// session that hpactl fetch and the desktop run: each ends in the right
// message (or in success) well inside its short time-outs, without a crash
// or a leak (ASan build), and a failure leaves the grids, field names and
// counters that were on show as they were. (Host, date, time and the status
// values are the download's to change even when it fails.)
#include "test_printer_sim_harness.h"

#include "support/AccFixture.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace hpa::test::sim {
namespace {

using namespace std::chrono_literals;

const std::string kSample = SourceDir() + "/samples/printer";
constexpr int kTimeoutMs = 1500;
// Everything here ends after at most a few time-outs; this bound only
// catches a session that waits for ever or for the default 30 seconds.
constexpr auto kBound = 20s;

const char* const kConnectFailed = "Connection to host failed.";
const char* const kStatusFailed = "Download of Status Accounting File failed.";
const char* const kDictionaryFailed = "Download of Dictionary File failed.";
const char* const kPaperFailed = "Download of Paper Accounting File failed.";
const char* const kJobFailed = "Download of Job Accounting File failed.";

class CRecordingProgress : public CTransferProgress {
public:
    void SetMessage(const std::string&) override {}
    void SetPos(int nPercent) override { m_positions.push_back(nPercent); }
    void Pump() override {}
    bool IsCancelled() override { return m_bCancel; }
    bool CheckCancel() override { return std::exchange(m_bCancel, false); }
    void ShowBytes(std::int64_t nFileBytes, std::int64_t) override
    {
        if (m_nCancelAtBytes >= 0 && nFileBytes >= m_nCancelAtBytes)
            m_bCancel = true;
    }
    std::vector<int> m_positions;
    std::int64_t m_nCancelAtBytes = -1;
    bool m_bCancel = false;
};

// What a failed download must leave alone.
struct CShown {
    std::vector<std::string> m_rows[kDataKindCount];
    std::array<std::string, kFieldCount> m_names;
    std::vector<std::int32_t> m_counters;

    explicit CShown(CAccFixture& fx)
    {
        for (int nKind = 0; nKind < kDataKindCount; ++nKind)
            m_rows[nKind] = fx.Rows(nKind);
        const CAcc& a = fx.m_acc;
        m_names = a.m_strFieldName;
        m_counters = {a.m_nJobs,         a.m_nJobFileConsumption, a.m_nPrintingTime, a.m_nUsers,
                      a.m_nDuplexSheets, a.m_nSimplexSheets,      a.m_nJams};
    }
    bool operator==(const CShown& o) const
    {
        return std::equal(std::begin(m_rows), std::end(m_rows), std::begin(o.m_rows)) &&
               m_names == o.m_names && m_counters == o.m_counters;
    }
};

class DownloadFault : public ::testing::Test {
protected:
    DownloadFault()
    {
        for (int nKind = 0; nKind < kDataKindCount; ++nKind) {
            m_fx.Grid(nKind).SetColumnCount(1);
            m_fx.Grid(nKind).SetRowCount(1);
            m_fx.Grid(nKind).SetCellText(0, 0, "on show before");
        }
        m_fx.m_acc.m_strFieldName[0] = "Old Name";
        m_fx.m_acc.m_nJobs = 77;
    }

    void StartSim(const std::vector<std::string>& faults, std::vector<std::string> args = {},
                  const std::string& strRoot = kSample)
    {
        args.insert(args.begin(), {"--root", strRoot, "--idle-timeout", "20"});
        for (const std::string& strFault : faults)
            args.insert(args.end(), {"--fault", strFault});
        ASSERT_TRUE(m_sim.Start(std::move(args))) << m_sim.StderrText();
    }

    DownloadResult Run()
    {
        const CShown before(m_fx);
        CAccDecoder decoder(m_fx.m_acc);
        DownloadSettings settings;
        settings.m_strHost = "127.0.0.1:" + std::to_string(m_sim.Port());
        settings.m_strUser = "admin";
        settings.m_strPassword = "admin";
        settings.m_workDir = m_fx.m_dir.Path();
        settings.m_pollInterval = 10ms;
        settings.m_nSendTimeoutMs = settings.m_nReceiveTimeoutMs = kTimeoutMs;
        CDownloadSession session(settings, decoder, m_fx.m_messages, m_progress);
        const auto tStart = std::chrono::steady_clock::now();
        const DownloadResult result = session.Run();
        m_elapsed = std::chrono::steady_clock::now() - tStart;
        m_nRunningTotal = session.RunningTotal();
        m_nExpectedTotal = session.ExpectedTotal();
        m_bShownKept = CShown(m_fx) == before;
        return result;
    }

    // The one message shown, or "" when none.
    std::string Message() const
    {
        const auto texts = m_fx.m_messages.Exclamations();
        EXPECT_LE(texts.size(), 1u);
        return texts.empty() ? "" : texts.front();
    }

    void ExpectFailure(DownloadResult result, DownloadResult expected, const char* pszMessage)
    {
        EXPECT_EQ(result, expected);
        EXPECT_EQ(Message(), pszMessage);
        EXPECT_TRUE(m_bShownKept);
        EXPECT_LT(m_elapsed, kBound);
    }

    void ExpectDecoded(DownloadResult result)
    {
        EXPECT_EQ(result, DownloadResult::Decoded);
        EXPECT_EQ(Message(), "");
        EXPECT_LT(m_elapsed, kBound);
        // The sample's status grid: the five default status rows.
        EXPECT_EQ(m_fx.Grid(kKindStatus).RowCount(), 5);
    }

    std::string WorkFile(const char* pszName) const
    {
        return ReadFile(m_fx.m_dir.Path() / pszName);
    }
    static std::string SampleFile(const char* pszName) { return ReadFile(kSample + "/" + pszName); }

    // The simulator must survive every fault and end cleanly (a sanitizer
    // report or a crash shows as a bad exit status).
    void TearDown() override { EXPECT_EQ(m_sim.Stop(), 0) << m_sim.StderrText(); }

    CSimProcess m_sim;
    CAccFixture m_fx;
    CRecordingProgress m_progress;
    std::chrono::steady_clock::duration m_elapsed{};
    std::int64_t m_nRunningTotal = 0;
    std::int64_t m_nExpectedTotal = 0;
    bool m_bShownKept = false;
};

// ---- the control connection -------------------------------------------------

TEST_F(DownloadFault, GreetingNeverSent)
{
    StartSim({"no-greeting"});
    ExpectFailure(Run(), DownloadResult::LoginFailed, kConnectFailed);
    EXPECT_GE(m_elapsed, std::chrono::milliseconds(kTimeoutMs)); // it did wait for it
}

TEST_F(DownloadFault, GreetingByteByByte)
{
    StartSim({"bytewise=2@greeting"});
    ExpectDecoded(Run());
}

TEST_F(DownloadFault, EmptyGreetingLineIsNoGreeting)
{
    StartSim({"empty-reply@greeting"});
    ExpectFailure(Run(), DownloadResult::LoginFailed, kConnectFailed);
}

TEST_F(DownloadFault, NulBytesInEveryReply)
{
    StartSim({"nul-reply@*"});
    ExpectDecoded(Run());
}

TEST_F(DownloadFault, HundredThousandCharacterLineInTheGreeting)
{
    StartSim({"long-line=100000@greeting"});
    ExpectDecoded(Run());
}

TEST_F(DownloadFault, HundredThousandCharacterLineInEveryReply)
{
    StartSim({"long-line=100000@*", "nul-reply@*"});
    ExpectDecoded(Run());
}

struct SLoginCase {
    const char* m_pszName;
    std::vector<std::string> m_faults;
    std::vector<std::string> m_args;
    bool m_bLogsIn;
};

class LoginFault : public DownloadFault, public ::testing::WithParamInterface<SLoginCase> {};

TEST_P(LoginFault, EndsInTheLoginMessageOrLogsIn)
{
    StartSim(GetParam().m_faults, GetParam().m_args);
    const DownloadResult result = Run();
    if (GetParam().m_bLogsIn)
        ExpectDecoded(result);
    else
        ExpectFailure(result, DownloadResult::LoginFailed, kConnectFailed);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LoginFault,
    ::testing::Values(SLoginCase{"UserRefused", {"refuse-user"}, {}, false},
                      SLoginCase{"UserClosesWith421", {"refuse-user=421"}, {}, false},
                      SLoginCase{"PassRefused", {"refuse-pass"}, {}, false},
                      SLoginCase{"AcctRefused", {"pass-300", "refuse-acct"}, {}, false},
                      SLoginCase{
                          "AcctWithTheWrongAccount", {"pass-300"}, {"--account", "x"}, false},
                      SLoginCase{"AcctAcceptsTheEmptyAccount", {"pass-300"}, {}, true},
                      SLoginCase{"LoggedInStraightAfterUser", {"user-230"}, {}, true},
                      SLoginCase{"GreetingCode120", {"greeting-code=120"}, {}, false},
                      SLoginCase{"GreetingCode421", {"greeting-code=421"}, {}, false}),
    [](const ::testing::TestParamInfo<SLoginCase>& param) { return param.param.m_pszName; });

// close-421=N answers the (N+1)th command with 421 and hangs up. The
// commands run USER PASS, then TYPE PORT RETR per file.
struct S421Case {
    int m_nCommands;
    const char* m_pszMessage;
};

class Close421 : public DownloadFault, public ::testing::WithParamInterface<S421Case> {};

TEST_P(Close421, MidSessionEndsInTheMessageOfTheFileUnderWay)
{
    StartSim({"close-421=" + std::to_string(GetParam().m_nCommands)});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, GetParam().m_pszMessage);
}

INSTANTIATE_TEST_SUITE_P(Steps, Close421,
                         ::testing::Values(S421Case{3, kStatusFailed},
                                           S421Case{6, kDictionaryFailed},
                                           S421Case{9, kPaperFailed}, S421Case{12, kJobFailed}),
                         [](const ::testing::TestParamInfo<S421Case>& param) {
                             return "After" + std::to_string(param.param.m_nCommands) + "Commands";
                         });

// ---- the data connection ----------------------------------------------------

TEST_F(DownloadFault, RetrRefusedWith550AndNoDataConnection)
{
    StartSim({"refuse-file=550@acc.pap"});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kPaperFailed);
}

TEST_F(DownloadFault, RetrRefusedAfterTheServerConnectedAtPort)
{
    StartSim({"port-connect", "refuse-file=550@acc.dic"});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kDictionaryFailed);
}

TEST_F(DownloadFault, Reply150ThenNoConnection)
{
    StartSim({"no-data-connection@acc.dic"});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kDictionaryFailed);
    EXPECT_EQ(WorkFile("DIC.tmp"), ""); // emptied, as create mode does
}

TEST_F(DownloadFault, StallPastTheTimeOutKeepsAndCountsTheBytesSoFar)
{
    StartSim({"stall=40@acc1.job"});
    ExpectDecoded(Run());
    EXPECT_EQ(WorkFile("JOB.tmp"), SampleFile("acc1.job").substr(0, 40));
    const std::int64_t nOthers = static_cast<std::int64_t>(
        SampleFile("acc.sta").size() + SampleFile("acc.dic").size() + SampleFile("acc.pap").size());
    EXPECT_EQ(m_nRunningTotal, nOthers + 40);
}

TEST_F(DownloadFault, StallBeforeTheFirstByteIsAFailedDownload)
{
    StartSim({"stall=0@acc.sta"});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kStatusFailed);
}

TEST_F(DownloadFault, ResetMidTransferKeepsTheBytesSoFar)
{
    StartSim({"drop=100@acc1.job"}, {"--block-size", "2048"});
    ExpectDecoded(Run());
    EXPECT_EQ(WorkFile("JOB.tmp"), SampleFile("acc1.job").substr(0, 100));
}

TEST_F(DownloadFault, ResetBeforeTheFirstByteIsAFailedDownload)
{
    StartSim({"drop=0@acc.pap"});
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kPaperFailed);
}

TEST_F(DownloadFault, CancelDuringAStalledTransfer)
{
    StartSim({"stall=1000@acc1.job"});
    m_progress.m_nCancelAtBytes = 1000;
    EXPECT_EQ(Run(), DownloadResult::Cancelled);
    EXPECT_EQ(Message(), "");
    EXPECT_TRUE(m_bShownKept);
    EXPECT_LT(m_elapsed, std::chrono::milliseconds(kTimeoutMs)); // not the time-out
}

// A peer at another local address finds the data port while the client
// waits for the server: it is turned away and the wait goes on.
TEST_F(DownloadFault, DataConnectionFromAnotherLocalAddressIsRefused)
{
    // The PORT replies come late, so the intruder is first at the port.
    StartSim({"slow-reply=400@PORT"}, {"--verbose"});
    std::atomic<bool> bDone{false};
    std::atomic<int> nIntrusions{0};
    std::thread intruder([&] {
        // The port the client offered, from the simulator's transcript.
        while (!bDone) {
            const std::string strLog = m_sim.StderrText();
            const std::size_t nAt = strLog.find("PORT 127,0,0,1,");
            if (nAt == std::string::npos) {
                std::this_thread::sleep_for(5ms);
                continue;
            }
            int a = 0, b = 0;
            if (std::sscanf(strLog.c_str() + nAt, "PORT 127,0,0,1,%d,%d", &a, &b) != 2)
                break;
            const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in from{};
            from.sin_family = AF_INET;
            inet_pton(AF_INET, "127.0.0.2", &from.sin_addr);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(static_cast<std::uint16_t>(a * 256 + b));
            inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
            if (bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) == 0 &&
                connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) {
                const std::string strJunk = "28:0,29:0\n";
                send(fd, strJunk.data(), strJunk.size(), MSG_NOSIGNAL);
                ++nIntrusions;
            }
            close(fd);
            break;
        }
    });
    const DownloadResult result = Run();
    bDone = true;
    intruder.join();
    EXPECT_EQ(nIntrusions.load(), 1);
    ExpectDecoded(result);
    EXPECT_EQ(WorkFile("STA.tmp"), SampleFile("acc.sta"));
}

// ---- what the files hold ----------------------------------------------------

class FaultyTree : public DownloadFault {
protected:
    // A copy of the sample printer with one file replaced.
    std::string Tree(const char* pszName, const std::string& strBytes)
    {
        std::filesystem::copy(kSample, m_root.Path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        std::ofstream(m_root.Path() / pszName, std::ios::binary | std::ios::trunc) << strBytes;
        return m_root.Path().string();
    }
    CTempDir m_root;
};

TEST_F(FaultyTree, ZeroByteDictionary)
{
    StartSim({}, {}, Tree("acc.dic", ""));
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kDictionaryFailed);
}

TEST_F(FaultyTree, ZeroByteJobFile)
{
    StartSim({}, {}, Tree("acc1.job", ""));
    ExpectFailure(Run(), DownloadResult::DownloadFailed, kJobFailed);
}

// A job file of 2 GB announced (by the status file and the 150 reply) whose
// transfer is cut after a few kilobytes: the bytes that came are decoded,
// and the progress never leaves 0 to 100.
TEST_F(FaultyTree, TwoGigabyteJobFileAnnouncedButCut)
{
    std::string strStatus = SampleFile("acc.sta");
    strStatus.replace(strStatus.find("30:65536"), 8, "30:2147483647");
    StartSim({"size-lie=2147483647@acc1.job", "drop=5000@acc1.job"}, {"--block-size", "2048"},
             Tree("acc.sta", strStatus));
    ExpectDecoded(Run());
    EXPECT_EQ(WorkFile("JOB.tmp"), SampleFile("acc1.job").substr(0, 5000));
    EXPECT_GT(m_nExpectedTotal, 2147483647);
    for (int nPercent : m_progress.m_positions) {
        EXPECT_GE(nPercent, 0);
        EXPECT_LE(nPercent, 100);
    }
}

} // namespace
} // namespace hpa::test::sim
