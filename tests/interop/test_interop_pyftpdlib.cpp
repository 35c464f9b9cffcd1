// The transfer client and hpactl fetch against pyftpdlib, an FTP server
// nobody here wrote. pyftpdlib connects the data connection while answering
// PORT and, after a 550, keeps it open without sending.
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

namespace hpa {
namespace {

using namespace test::interop;
using test::CQuietProgress;
using test::CRecordingMessages;
using test::CTempDir;

constexpr const char* kUser = "auditor";
constexpr const char* kPassword = "s3cret";

class Pyftpdlib : public testing::Test {
protected:
    void Serve(bool bMultifile, const std::string& strAddress = "127.0.0.1")
    {
        LayOutPrinter(m_root.Path(), bMultifile);
        ASSERT_TRUE(
            m_server.Start({"/usr/bin/python3", SourceDir() + "/tests/interop/ftpd_pyftpdlib.py",
                            m_root.Path().string(), kUser, kPassword, "300", strAddress}))
            << "python3-pyftpdlib must be installed (scripts/setup.sh)";
    }

    // One download into m_work with the real readers.
    DownloadResult Download(const std::string& strPassword, int nTimeoutMs = 30000)
    {
        CAccBinding binding;
        binding.m_pathWorkDir = m_work.Path();
        binding.m_pGrids = {&m_grids[0], &m_grids[1], &m_grids[2]};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
        CAccDecoder decoder(m_acc);
        DownloadSettings settings;
        settings.m_strHost = m_server.HostText();
        settings.m_strUser = kUser;
        settings.m_strPassword = strPassword;
        settings.m_workDir = m_work.Path();
        settings.m_nReceiveTimeoutMs = nTimeoutMs;
        CQuietProgress progress;
        return CDownloadSession(settings, decoder, m_messages, progress).Run();
    }

    CTempDir m_root;
    CTempDir m_work;
    CServerProcess m_server;
    CAcc m_acc;
    CFieldMasks m_masks;
    CUGCtrl m_grids[3];
    CRecordingMessages m_messages;
};

TEST_F(Pyftpdlib, MultifileDownloadDecodesWithTheRealReaders)
{
    Serve(true);
    ASSERT_EQ(Download(kPassword), DownloadResult::Decoded);
    EXPECT_TRUE(m_messages.m_messages.empty());
    const fs::path sample = fs::path(SourceDir()) / "testdata" / "decode" / "office";
    EXPECT_EQ(ReadText(m_work.Path() / "JOB.tmp"), ReadText(sample / "JOB.tmp"));
    EXPECT_EQ(ReadText(m_work.Path() / "PAP.tmp"), ReadText(sample / "PAP.tmp"));
    EXPECT_EQ(m_acc.m_strHost, m_server.HostText());
    EXPECT_EQ(m_acc.m_nJobs, 4);
    EXPECT_EQ(m_acc.m_nUsers, 3);
    EXPECT_EQ(m_grids[kKindStatus].RowCount(), 5);
    EXPECT_EQ(m_grids[kKindPaper].RowCount(), 3);
    EXPECT_EQ(m_grids[kKindJob].ColumnCount(), 7);
}

TEST_F(Pyftpdlib, WrongPasswordFailsTheLogin)
{
    Serve(false);
    EXPECT_EQ(Download("guess"), DownloadResult::LoginFailed);
    EXPECT_EQ(m_messages.Exclamations(), std::vector<std::string>{"Connection to host failed."});
}

TEST_F(Pyftpdlib, RefusedPaperFileEndsInThatStepsMessage)
{
    Serve(false);
    fs::remove(m_root.Path() / "SYS:" / "admin" / "acc.pap");
    // The data connection stays open and silent: the receive time-out ends it.
    EXPECT_EQ(Download(kPassword, 1000), DownloadResult::DownloadFailed);
    EXPECT_EQ(m_messages.Exclamations(),
              std::vector<std::string>{"Download of Paper Accounting File failed."});
    EXPECT_FALSE(fs::exists(m_work.Path() / "JOB.tmp"));
}

class PyftpdlibHpactl : public Pyftpdlib {
protected:
    void SetUp() override
    {
        if (!fs::exists((BinDir() / "hpactl").string()))
            GTEST_SKIP() << "hpactl is not built";
    }
};

TEST_F(PyftpdlibHpactl, FetchWritesWhatDecodeWritesForTheSameFiles)
{
    Serve(true);
    CTempDir run;
    WriteText(run.Path() / "pw", std::string(kPassword) + "\n");
    const std::string strExports =
        " --export-job job.csv --export-paper paper.txt --export-status status.csv";
    const RunResult fetch =
        RunHpactl(run.Path(), "fetch " + m_server.HostText() + " --user " + kUser +
                                  " --password-file pw --workdir files --summary" + strExports);
    ASSERT_EQ(fetch.status, 0) << fetch.err;
    EXPECT_NE(fetch.out.find("Jobs\t4\n"), std::string::npos) << fetch.out;
    EXPECT_NE(fetch.out.find("Host\t" + m_server.HostText()), std::string::npos);
    EXPECT_EQ(fetch.err, ""); // stderr is no terminal: no progress line

    CTempDir again;
    fs::copy(run.Path() / "files", again.Path() / "files");
    const RunResult decode = RunHpactl(again.Path(), "decode files" + strExports);
    ASSERT_EQ(decode.status, 0) << decode.err;
    for (const char* pszFile : {"job.csv", "paper.txt", "status.csv"}) {
        EXPECT_FALSE(ReadText(run.Path() / pszFile).empty()) << pszFile;
        EXPECT_EQ(ReadText(run.Path() / pszFile), ReadText(again.Path() / pszFile)) << pszFile;
    }
}

// Over IPv6 the data port goes out as EPRT; pyftpdlib connects back to [::1].
TEST_F(PyftpdlibHpactl, FetchFromAnIpv6Server)
{
    if (!LoopbackIpv6Available())
        GTEST_SKIP() << "no IPv6 loopback address on this host";
    Serve(true, "::1");
    ASSERT_EQ(m_server.HostText().rfind("[::1]:", 0), 0u) << m_server.HostText();
    CTempDir run;
    const RunResult fetch =
        RunHpactl(run.Path(), "fetch \"" + m_server.HostText() + "\" --user " + kUser +
                                  " --password " + kPassword + " --summary");
    ASSERT_EQ(fetch.status, 0) << fetch.err;
    EXPECT_NE(fetch.out.find("Jobs\t4\n"), std::string::npos) << fetch.out;
}

TEST_F(PyftpdlibHpactl, FailuresGiveTheMessageAndStatus1)
{
    Serve(false);
    CTempDir run;
    const RunResult wrong = RunHpactl(run.Path(), "fetch " + m_server.HostText() + " --user " +
                                                      kUser + " --password guess --quiet");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "Connection to host failed.\n");

    // Without --workdir nothing stays behind in the current directory.
    const RunResult right = RunHpactl(run.Path(), "fetch " + m_server.HostText() + " --user " +
                                                      kUser + " --password " + kPassword);
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_FALSE(fs::exists(run.Path() / "STA.tmp"));

    const RunResult usage = RunHpactl(run.Path(), "fetch " + m_server.HostText() + " --user x");
    EXPECT_EQ(usage.status, 2);
}

} // namespace
} // namespace hpa
