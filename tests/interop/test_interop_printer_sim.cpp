// The download session and hpactl fetch against hpa-printer-sim, a
// generated multifile accounting set and the simulator's quirks and faults.
#include "InteropPeers.h"

#include "accounting/Acc.h"
#include "accounting/FieldMasks.h"
#include "grid/UGCtrl.h"
#include "support/QuietProgress.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

namespace hpa {
namespace {

using namespace test::interop;
using test::CQuietProgress;
using test::CRecordingMessages;
using test::CTempDir;

struct SimCase {
    const char* pszName;
    const char* pszFault; // "" for none
    DownloadResult result;
    const char* pszMessage; // "" for none
};

const SimCase kSimCases[] = {
    {"Plain", "", DownloadResult::Decoded, ""},
    {"MultiLineTrap", "multiline-trap", DownloadResult::Decoded, ""},
    {"NulInGreeting", "nul-reply", DownloadResult::Decoded, ""},
    {"LongGreetingLine", "long-line", DownloadResult::Decoded, ""},
    {"BytewiseGreeting", "bytewise", DownloadResult::Decoded, ""},
    {"UserAlone", "user-230", DownloadResult::Decoded, ""},
    {"PassThenAcct", "pass-300", DownloadResult::Decoded, ""},
    {"ConnectAtPort", "port-connect", DownloadResult::Decoded, ""},
    {"TypeRefused", "refuse-type", DownloadResult::Decoded, ""},
    {"PassRefused", "refuse-pass", DownloadResult::LoginFailed, "Connection to host failed."},
    {"Greeting120", "greeting-code=120", DownloadResult::LoginFailed, "Connection to host failed."},
    {"PaperRefused", "refuse-file@acc.pap", DownloadResult::DownloadFailed,
     "Download of Paper Accounting File failed."},
    {"SecondJobFileNeverConnects", "no-data-connection@acc2.job", DownloadResult::DownloadFailed,
     "Download of Job Accounting File failed."},
    {"DictionaryDropped", "drop=0@acc.dic", DownloadResult::DownloadFailed,
     "Download of Dictionary File failed."},
};

class PrinterSim : public testing::TestWithParam<SimCase> {
protected:
    void SetUp() override
    {
        m_strSim = (BinDir() / "hpa-printer-sim").string();
        if (!fs::exists(m_strSim))
            GTEST_SKIP() << "hpa-printer-sim is not built";
        ASSERT_EQ(std::system(("'" + m_strSim + "' --generate '" + m_data.Path().string() +
                               "' --jobs 40 --job-files 3 >/dev/null")
                                  .c_str()),
                  0);
    }
    void Serve(const std::string& strFault)
    {
        std::vector<std::string> args = {
            m_strSim, "--listen", "127.0.0.1:0", "--root", m_data.Path().string(),
            "--user", "admin",    "--password",  "admin"};
        if (!strFault.empty()) {
            args.push_back("--fault");
            args.push_back(strFault);
        }
        ASSERT_TRUE(m_server.Start(args));
    }

    std::string m_strSim;
    CTempDir m_data;
    CServerProcess m_server;
};

TEST_P(PrinterSim, DownloadEndsAsTheFaultDecides)
{
    const SimCase& c = GetParam();
    Serve(c.pszFault);
    CTempDir work;
    CAcc acc;
    CFieldMasks masks;
    CUGCtrl grids[3];
    CRecordingMessages messages;
    CAccBinding binding;
    binding.m_pathWorkDir = work.Path();
    binding.m_pGrids = {&grids[0], &grids[1], &grids[2]};
    binding.m_pMasks = &masks;
    binding.m_pMessages = &messages;
    acc.Bind(binding);
    CAccDecoder decoder(acc);
    DownloadSettings settings;
    settings.m_strHost = m_server.HostText();
    settings.m_strUser = "admin";
    settings.m_strPassword = "admin";
    settings.m_workDir = work.Path();
    settings.m_nReceiveTimeoutMs = 1000;
    CQuietProgress progress;
    EXPECT_EQ(CDownloadSession(settings, decoder, messages, progress).Run(), c.result);
    const std::string strMessage = c.pszMessage;
    EXPECT_EQ(messages.Exclamations(),
              strMessage.empty() ? std::vector<std::string>{} : std::vector{strMessage});
    if (c.result == DownloadResult::Decoded) {
        const fs::path data = m_data.Path();
        EXPECT_EQ(ReadText(work.Path() / "JOB.tmp"), ReadText(data / "acc1.job") +
                                                         ReadText(data / "acc2.job") +
                                                         ReadText(data / "acc3.job"));
        EXPECT_EQ(acc.m_nJobs, 40);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, PrinterSim, testing::ValuesIn(kSimCases),
                         [](const auto& tpi) { return std::string(tpi.param.pszName); });

// hpactl fetch from the simulator listening on strListen ("127.0.0.1:0",
// "[::1]:0"), with the host text it announces.
void FetchFromSimulator(const std::string& strListen)
{
    const std::string strSim = (BinDir() / "hpa-printer-sim").string();
    if (!fs::exists(strSim) || !fs::exists((BinDir() / "hpactl").string()))
        GTEST_SKIP() << "hpa-printer-sim or hpactl is not built";
    CTempDir data;
    ASSERT_EQ(std::system(("'" + strSim + "' --generate '" + data.Path().string() +
                           "' --jobs 25 --job-files 2 >/dev/null")
                              .c_str()),
              0);
    CServerProcess server;
    ASSERT_TRUE(server.Start({strSim, "--listen", strListen, "--root", data.Path().string(),
                              "--user", "admin", "--password", "admin"}));
    CTempDir run;
    const RunResult fetch = RunHpactl(
        run.Path(), "fetch '" + server.HostText() +
                        "' --user admin --password admin --summary --export-job jobs.csv");
    ASSERT_EQ(fetch.status, 0) << fetch.err;
    EXPECT_NE(fetch.out.find("Jobs\t25\n"), std::string::npos) << fetch.out;
    const std::string strJobs = ReadText(run.Path() / "jobs.csv");
    EXPECT_GE(std::count(strJobs.begin(), strJobs.end(), '\n'), 26); // heading + 25 jobs
}

TEST(PrinterSimHpactl, FetchDownloadsDecodesAndExports)
{
    FetchFromSimulator("127.0.0.1:0");
}

// Over IPv6 the client announces its data port with EPRT and the simulator
// connects back to [::1].
TEST(PrinterSimHpactl, FetchFromAnIpv6Printer)
{
    if (!LoopbackIpv6Available())
        GTEST_SKIP() << "no IPv6 loopback address on this host";
    FetchFromSimulator("[::1]:0");
}

// A job file beyond 2 GiB: the result, the shared counter and the progress
// all count past the 32-bit limit. The served file is sparse (only its tail
// holds data); the received copy is real and needs the room.
class CRecordingProgress : public CQuietProgress {
public:
    void SetPos(int nPercent) override { m_positions.push_back(nPercent); }
    void ShowBytes(std::int64_t nFileBytes, std::int64_t) override
    {
        m_fileBytes.push_back(nFileBytes);
    }
    std::vector<int> m_positions;
    std::vector<std::int64_t> m_fileBytes;
};

TEST(PrinterSimLargeFile, FileBeyondTwoGibIsCountedInFull)
{
    const std::string strSim = (BinDir() / "hpa-printer-sim").string();
    if (!fs::exists(strSim))
        GTEST_SKIP() << "hpa-printer-sim is not built";
    constexpr std::int64_t kSize = (std::int64_t{1} << 31) + (std::int64_t{96} << 20);
    const std::string kTail = "end of the large job file\r\n";
    CTempDir data;
    CTempDir work;
    const std::uintmax_t nFree = fs::space(work.Path()).available;
    if (nFree < static_cast<std::uintmax_t>(kSize) + (std::uintmax_t{512} << 20))
        GTEST_SKIP() << "needs about " << ((kSize >> 20) + 512) << " MiB free below " << work.Path()
                     << " for the received copy; " << (nFree >> 20) << " MiB available";
    const fs::path served = data.Path() / "acc1.job";
    {
        std::ofstream out(served, std::ios::binary);
        out.seekp(kSize - static_cast<std::int64_t>(kTail.size()));
        out << kTail;
    }
    ASSERT_EQ(static_cast<std::int64_t>(fs::file_size(served)), kSize);

    CServerProcess server;
    ASSERT_TRUE(server.Start({strSim, "--listen", "127.0.0.1:0", "--root", data.Path().string(),
                              "--user", "admin", "--password", "admin"}));
    CFtpClient client(SystemClock());
    ASSERT_EQ(client.Login(server.HostText(), "admin", "admin"), CFtpClient::LoginResult::loggedIn);
    const fs::path local = work.Path() / "JOB.tmp";
    TransferRequest request;
    request.m_strRemoteName = "SYS:/admin/acc1.job";
    request.m_strLocalName = local.string();
    request.m_pClient = &client;
    CRecordingProgress progress;
    {
        CTransferThread thread(request);
        WaitForTransfer(thread, progress, kSize, 0, std::chrono::milliseconds(20),
                        *request.m_pnCounter);
    }
    EXPECT_EQ(request.m_nBytesReceived, kSize);
    EXPECT_EQ(request.m_pnCounter->load(), kSize);
    ASSERT_EQ(static_cast<std::int64_t>(fs::file_size(local)), kSize);
    {
        std::ifstream in(local, std::ios::binary);
        in.seekg(kSize - static_cast<std::int64_t>(kTail.size()));
        std::string strTail(kTail.size(), '\0');
        in.read(strTail.data(), static_cast<std::streamsize>(strTail.size()));
        EXPECT_EQ(strTail, kTail);
    }
    fs::remove(local); // the room is given back before the other checks report
    EXPECT_TRUE(std::is_sorted(progress.m_fileBytes.begin(), progress.m_fileBytes.end()));
    EXPECT_TRUE(std::is_sorted(progress.m_positions.begin(), progress.m_positions.end()));
    for (const int nPercent : progress.m_positions)
        EXPECT_TRUE(nPercent >= 0 && nPercent <= 100) << nPercent;
}

} // namespace
} // namespace hpa
