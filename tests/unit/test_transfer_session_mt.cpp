// The download session against the scripted peer. Each case is a printer
// (its files), what the readers make of them, where the user cancels, and
// what must come of it: the files fetched, the result, the messages and the
// decoding steps, in order.
#include "support/FixedClock.h"
#include "support/RecordingMessages.h"
#include "support/ScriptedFtpServer.h"
#include "support/TempDir.h"
#include "transfer/DownloadSession.h"
#include "transfer/FtpText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace hpa {
namespace {

using test::CFixedClock;
using test::CRecordingMessages;
using test::CScriptedFtpServer;
using test::CTempDir;
using test::DataStyle;
using test::FileMode;
using Lines = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// Reads the status pairs of STA.tmp's first line much as the status reader
// does, and records which decoding steps ran.
class CFakeDecoder : public CAccountingDecoder {
public:
    explicit CFakeDecoder(std::filesystem::path dir) : m_dir(std::move(dir)) {}

    void SetDownloadInfo(const std::string& strHost, const std::string& strDate,
                         const std::string& strTime) override
    {
        m_calls.push_back("info");
        m_strInfo = strHost + " " + strDate + " " + strTime;
    }
    bool ReadStatusFile() override
    {
        m_calls.push_back("status");
        if (m_strFailing == "status")
            return false;
        std::ifstream in(m_dir / "STA.tmp");
        std::string strLine;
        std::getline(in, strLine);
        for (std::size_t nPos = 0; nPos < strLine.size();) {
            std::size_t nEnd = strLine.find(',', nPos);
            if (nEnd == std::string::npos)
                nEnd = strLine.size();
            const std::string strPair = strLine.substr(nPos, nEnd - nPos);
            const std::size_t nColon = strPair.find(':');
            if (nColon != std::string::npos) {
                std::string strValue = strPair.substr(nColon + 1);
                strValue.erase(0, strValue.find_first_not_of(' '));
                m_values[LeadingInt(strPair)] = strValue;
            }
            nPos = nEnd + 1;
        }
        return true;
    }
    std::string StatusValue(int nField) const override
    {
        auto it = m_values.find(nField);
        return it == m_values.end() ? std::string() : it->second;
    }
    bool ReadDictionaryFile() override { return Step("dictionary"); }
    void FillStatusGrid() override { m_calls.push_back("statusgrid"); }
    bool ReadPaperFile() override { return Step("paper"); }
    bool ReadJobFile() override { return Step("job"); }

    std::filesystem::path m_dir;
    std::string m_strFailing; // the reader that fails
    Lines m_calls;
    std::string m_strInfo;
    std::map<int, std::string> m_values;

private:
    bool Step(const char* pszName)
    {
        m_calls.push_back(pszName);
        return m_strFailing != pszName;
    }
};

class CRecordingProgress : public CTransferProgress {
public:
    void Begin() override { m_bBegun = true; }
    void SetMessage(const std::string& strText) override { m_messageLines.push_back(strText); }
    void SetPos(int nPercent) override { m_positions.push_back(nPercent); }
    void Pump() override
    {
        ++m_nPumps;
        if (m_nCancelAtFileBytes >= 0 && m_nLastFileBytes == m_nCancelAtFileBytes)
            m_bCancel = true;
    }
    bool IsCancelled() override { return m_bCancel; }
    bool CheckCancel() override
    {
        const bool bCancel = m_bCancel;
        m_bCancel = false;
        return bCancel;
    }
    void BeginFile(const std::string& strRemoteName, const std::string&) override
    {
        if (strRemoteName == m_strCancelAt)
            m_bCancel = true; // pressed as soon as the file starts
    }
    void ShowBytes(std::int64_t nFileBytes, std::int64_t) override
    {
        m_nLastFileBytes = nFileBytes;
    }

    std::string m_strCancelAt;
    std::int64_t m_nCancelAtFileBytes = -1;
    bool m_bBegun = false;
    bool m_bCancel = false;
    int m_nPumps = 0;
    std::int64_t m_nLastFileBytes = -1;
    Lines m_messageLines;
    std::vector<int> m_positions;
};

const std::string kSta = "SYS:/admin/acc.sta";
const std::string kDic = "SYS:/admin/acc.dic";
const std::string kPap = "SYS:/admin/acc.pap";
const std::string kJob1 = "SYS:/admin/acc1.job";
const std::string kJob2 = "SYS:/admin/acc2.job";
const std::string kJob3 = "SYS:/admin/acc3.job";

// A printer with three job files and the given status line.
Files Printer(const std::string& strStatus)
{
    return {{kSta, strStatus + "\n"}, {kDic, "id acc_job_id\n"}, {kPap, "22:210\n"},
            {kJob1, "0:1\n"},         {kJob2, "0:2\n"},          {kJob3, "0:3\n"}};
}
Files Without(Files files, const std::string& strRemote)
{
    files.erase(strRemote);
    return files;
}
Files Emptied(Files files, const std::string& strRemote)
{
    files[strRemote] = "";
    return files;
}

const std::string kMulti3 = "28:2,29:3,30:1000,34:3,37:2";
const Lines kAllDecoding = {"info", "status", "dictionary", "statusgrid", "paper", "job"};

struct SessionCase {
    const char* pszName;
    Files files;
    std::string strFailingReader;
    std::string strCancelAt;
    bool bLoginRefused;
    Lines retrieved;
    DownloadResult result;
    Lines messages;
    Lines decoding;
};

const SessionCase kSessionCases[] = {
    {"MultifileFetchesAcc1ToAccN",
     Printer(kMulti3),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1, kJob2, kJob3},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"MultifileWithMax1",
     Printer("28:2,29:3,30:1000,34:1,37:2"),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"MultifileWithMax0",
     Printer("28:2,29:3,30:1000,34:0,37:2"),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"MultifileWithEmptyMax",
     Printer("28:2,29:3,30:1000,34:,37:2"),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"SingleFileModeIgnoresMax",
     Printer("28:2,29:3,30:1000,34:3,37:1"),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"LoginRefused",
     Printer(kMulti3),
     "",
     "",
     true,
     {},
     DownloadResult::LoginFailed,
     {"Connection to host failed."},
     {}},
    {"StatusRefused",
     Without(Printer(kMulti3), kSta),
     "",
     "",
     false,
     {kSta},
     DownloadResult::DownloadFailed,
     {"Download of Status Accounting File failed."},
     {"info"}},
    {"StatusEmpty",
     Emptied(Printer(kMulti3), kSta),
     "",
     "",
     false,
     {kSta},
     DownloadResult::DownloadFailed,
     {"Download of Status Accounting File failed."},
     {"info"}},
    {"StatusUnreadable",
     Printer(kMulti3),
     "status",
     "",
     false,
     {kSta},
     DownloadResult::StatusUnreadable,
     {},
     {"info", "status"}},
    {"VersionZero",
     Printer("28:0,29:3,30:1000,34:3,37:2"),
     "",
     "",
     false,
     {kSta},
     DownloadResult::InvalidInitialization,
     {"The Status Accounting File indicates an invalid initialization."},
     {"info", "status"}},
    {"PaperTypesZero",
     Printer("28:2,29:0,30:1000,34:3,37:1"),
     "",
     "",
     false,
     {kSta},
     DownloadResult::InvalidInitialization,
     {"The Status Accounting File indicates an invalid initialization."},
     {"info", "status"}},
    {"VersionZeroAndBlankIsNotZero",
     Printer("28:0 ,29:3,30:1000,34:1,37:1"),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Decoded,
     {},
     kAllDecoding},
    {"DictionaryEmpty",
     Emptied(Printer(kMulti3), kDic),
     "",
     "",
     false,
     {kSta, kDic},
     DownloadResult::DownloadFailed,
     {"Download of Dictionary File failed."},
     {"info", "status"}},
    {"PaperEmpty",
     Emptied(Printer(kMulti3), kPap),
     "",
     "",
     false,
     {kSta, kDic, kPap},
     DownloadResult::DownloadFailed,
     {"Download of Paper Accounting File failed."},
     {"info", "status"}},
    {"FirstJobFileRefused",
     Without(Printer(kMulti3), kJob1),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::DownloadFailed,
     {"Download of Job Accounting File failed."},
     {"info", "status"}},
    {"LastJobFileEmpty",
     Emptied(Printer(kMulti3), kJob3),
     "",
     "",
     false,
     {kSta, kDic, kPap, kJob1, kJob2, kJob3},
     DownloadResult::DownloadFailed,
     {"Download of Job Accounting File failed."},
     {"info", "status"}},
    {"DictionaryUnreadable",
     Printer(kMulti3),
     "dictionary",
     "",
     false,
     {kSta, kDic, kPap, kJob1, kJob2, kJob3},
     DownloadResult::DictionaryUnreadable,
     {},
     {"info", "status", "dictionary"}},
    {"PaperReaderFails",
     Printer(kMulti3),
     "paper",
     "",
     false,
     {kSta, kDic, kPap, kJob1, kJob2, kJob3},
     DownloadResult::DecodedWithErrors,
     {},
     kAllDecoding},
    {"CancelDuringStatus",
     Printer(kMulti3),
     "",
     kSta,
     false,
     {kSta},
     DownloadResult::Cancelled,
     {},
     {"info"}},
    {"CancelDuringDictionary",
     Printer(kMulti3),
     "",
     kDic,
     false,
     {kSta, kDic},
     DownloadResult::Cancelled,
     {},
     {"info", "status"}},
    {"CancelDuringPaper",
     Printer(kMulti3),
     "",
     kPap,
     false,
     {kSta, kDic, kPap},
     DownloadResult::Cancelled,
     {},
     {"info", "status"}},
    {"CancelDuringFirstJobFile",
     Printer(kMulti3),
     "",
     kJob1,
     false,
     {kSta, kDic, kPap, kJob1},
     DownloadResult::Cancelled,
     {},
     {"info", "status"}},
    {"CancelDuringSecondJobFile",
     Printer(kMulti3),
     "",
     kJob2,
     false,
     {kSta, kDic, kPap, kJob1, kJob2},
     DownloadResult::Cancelled,
     {},
     {"info", "status"}},
};

class Session : public testing::TestWithParam<std::tuple<SessionCase, DataStyle>> {};

Lines Retrieved(const Lines& transcript)
{
    Lines names;
    for (const std::string& strLine : transcript) {
        if (strLine.rfind("RETR ", 0) == 0)
            names.push_back(strLine.substr(5));
    }
    return names;
}

TEST_P(Session, FetchesDecidesAndDecodesAsScripted)
{
    const auto& [c, style] = GetParam();
    CScriptedFtpServer server;
    server.SetDataStyle(style);
    for (const auto& [strName, strBytes] : c.files)
        server.AddFile(strName, strBytes);
    if (c.bLoginRefused)
        server.AddReply("PASS", "530 Login incorrect.\r\n");

    CTempDir dir;
    CFakeDecoder decoder(dir.Path());
    decoder.m_strFailing = c.strFailingReader;
    CRecordingMessages messages;
    CRecordingProgress progress;
    progress.m_strCancelAt = c.strCancelAt;
    CFixedClock clock;
    DownloadSettings settings;
    settings.m_strHost = server.HostText();
    settings.m_strUser = "ops";
    settings.m_strPassword = "pw";
    settings.m_workDir = dir.Path();
    settings.m_pollInterval = std::chrono::milliseconds(20);
    settings.m_nSendTimeoutMs = settings.m_nReceiveTimeoutMs = 300;

    CDownloadSession session(settings, decoder, messages, progress, clock);
    EXPECT_EQ(session.Run(), c.result);
    EXPECT_EQ(messages.Exclamations(), c.messages);
    EXPECT_EQ(decoder.m_calls, c.decoding);
    EXPECT_EQ(progress.m_bBegun, !c.bLoginRefused);
    const Lines transcript = server.Transcript();
    Lines retrieved = Retrieved(transcript);
    if (!c.strCancelAt.empty() && retrieved.size() + 1 == c.retrieved.size()) {
        // The cancel may close the connection before the thread sent RETR
        // for the file it was pressed on.
        retrieved.push_back(c.strCancelAt);
    }
    EXPECT_EQ(retrieved, c.retrieved);
    // Every path closes the connection. (Its "Quit" may be lost to the reset
    // that closing with unread replies causes, so the hang-up is what counts.)
    EXPECT_TRUE(server.HungUp());
    EXPECT_EQ(session.Message(), c.messages.empty() ? "" : c.messages.front());
    if (c.result == DownloadResult::Decoded) {
        std::string strJobs;
        for (const std::string& strName : c.retrieved) {
            if (strName.find(".job") != std::string::npos)
                strJobs += c.files.at(strName);
        }
        EXPECT_EQ(CTempDir::Read(dir.Path() / "JOB.tmp"), strJobs);
        EXPECT_EQ(decoder.m_strInfo, server.HostText() + " 12/08/2026 04:05:09");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Printers, Session,
    testing::Combine(testing::ValuesIn(kSessionCases),
                     testing::Values(DataStyle::ConnectOnRetr, DataStyle::ConnectOnPort)),
    [](const auto& tpi) {
        return std::string(std::get<0>(tpi.param).pszName) +
               (std::get<1>(tpi.param) == DataStyle::ConnectOnRetr ? "_AfterRetr" : "_AtPort");
    });

struct SessionRig {
    explicit SessionRig(const Files& files)
    {
        for (const auto& [strName, strBytes] : files)
            server.AddFile(strName, strBytes);
        settings.m_strHost = server.HostText();
        settings.m_workDir = dir.Path();
        settings.m_pollInterval = std::chrono::milliseconds(20);
    }
    CScriptedFtpServer server;
    CTempDir dir;
    CFakeDecoder decoder{dir.Path()};
    CRecordingMessages messages;
    CRecordingProgress progress;
    DownloadSettings settings;
};

// A download whose status file announces a 200000-byte job file (3000 status
// and 5000 dictionary bytes: 310400 expected), cancelled once nPaperBytes of
// the paper file have arrived.
struct StalledPaperDownload {
    explicit StalledPaperDownload(int nPaperBytes)
        : files(MakeFiles(nPaperBytes)), rig(files),
          session(rig.settings, rig.decoder, rig.messages, rig.progress)
    {
        rig.server.AddFile(kPap, files[kPap], FileMode::Stall);
        rig.progress.m_nCancelAtFileBytes = nPaperBytes;
    }
    static Files MakeFiles(int nPaperBytes)
    {
        std::string strStatus = "28:2,29:3,30:200000,34:1,37:1\n";
        strStatus.resize(3000, 'x');
        Files files = Printer("");
        files[kSta] = strStatus;
        files[kDic] = std::string(5000, 'd');
        files[kPap] = std::string(static_cast<std::size_t>(nPaperBytes), 'p');
        return files;
    }
    Files files;
    SessionRig rig;
    CDownloadSession session;
};

TEST(SessionProgress, ExpectedTotalAndPercentageFollowTheRule)
{
    // 155200 bytes in all (147200 of the paper file) are 50 percent.
    StalledPaperDownload download(147200);
    EXPECT_EQ(download.session.Run(), DownloadResult::Cancelled);
    EXPECT_EQ(download.session.ExpectedTotal(), 310400);
    EXPECT_EQ(download.session.RunningTotal(), 8000);
    ASSERT_FALSE(download.rig.progress.m_positions.empty());
    EXPECT_EQ(download.rig.progress.m_positions.back(), 50);
    EXPECT_TRUE(download.rig.messages.m_messages.empty());
    EXPECT_EQ(Retrieved(download.rig.server.Transcript()), (Lines{kSta, kDic, kPap}));
}

// Sessions side by side (a fleet collection) count their bytes apart: one
// given a counter of its own neither feeds nor reads the shared one.
TEST(SessionProgress, ACounterOfItsOwnLeavesTheSharedOneAlone)
{
    const Files files = StalledPaperDownload::MakeFiles(147200);
    SessionRig rig(files);
    rig.server.AddFile(kPap, files.at(kPap), FileMode::Stall);
    rig.progress.m_nCancelAtFileBytes = 147200;
    std::atomic<std::int64_t> nOwn{0};
    rig.settings.m_pnByteCounter = &nOwn;
    g_nBytesReceived = -1;
    CDownloadSession session(rig.settings, rig.decoder, rig.messages, rig.progress);
    EXPECT_EQ(session.Run(), DownloadResult::Cancelled);
    EXPECT_EQ(nOwn.load(), 147200);
    EXPECT_EQ(g_nBytesReceived.load(), -1);
    ASSERT_FALSE(rig.progress.m_positions.empty());
    EXPECT_EQ(rig.progress.m_positions.back(), 50);
}

TEST(SessionProgress, PercentageIsRoundedToTheNearestWholeNumber)
{
    // 157994 of 310400 bytes are 50.9 percent: the bar shows 51, not 50.
    StalledPaperDownload download(149994);
    EXPECT_EQ(download.session.Run(), DownloadResult::Cancelled);
    ASSERT_EQ(download.session.ExpectedTotal(), 310400);
    ASSERT_FALSE(download.rig.progress.m_positions.empty());
    EXPECT_EQ(download.rig.progress.m_positions.back(), 51);
}

TEST(SessionProgress, MessageLinesNameEachStepAndTheTotalAddsTheSlack)
{
    SessionRig rig(Printer(kMulti3));
    CDownloadSession session(rig.settings, rig.decoder, rig.messages, rig.progress);
    EXPECT_EQ(session.Run(), DownloadResult::Decoded);
    EXPECT_EQ(rig.progress.m_messageLines,
              (Lines{"Receiving Status Accounting File.", "Receiving Dictionary File.",
                     "Receiving Paper Accounting File.", "Receiving Job Accounting File(s).",
                     "Receiving Job Accounting File(s).", "Receiving Job Accounting File(s)."}));
    const Files files = Printer(kMulti3);
    EXPECT_EQ(session.ExpectedTotal(),
              1000 + static_cast<std::int64_t>(files.at(kSta).size() + files.at(kDic).size()) +
                  102400);
}

TEST(SessionProgress, CancelWhileTheTransferThreadIsBlockedReleasesIt)
{
    // The paper file never ends; the cancel closes the sockets under the
    // blocked thread, which is joined before the session lets go of it.
    SessionRig rig(Printer(kMulti3));
    rig.server.AddFile(kPap, "partial", FileMode::Stall);
    rig.progress.m_nCancelAtFileBytes = 7;
    const auto start = std::chrono::steady_clock::now();
    CDownloadSession session(rig.settings, rig.decoder, rig.messages, rig.progress);
    EXPECT_EQ(session.Run(), DownloadResult::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_GT(rig.progress.m_nPumps, 0);
    EXPECT_EQ(rig.decoder.m_calls, (Lines{"info", "status"}));
}

} // namespace
} // namespace hpa
