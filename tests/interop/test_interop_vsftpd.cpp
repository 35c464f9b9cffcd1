// The download session against vsftpd, which connects the data connection
// only after RETR and opens nothing for a refused file. Anonymous login,
// started as its own user on a free loopback port.
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

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace hpa {
namespace {

using namespace test::interop;
using test::CQuietProgress;
using test::CRecordingMessages;
using test::CTempDir;

constexpr const char* kVsftpd = "/usr/sbin/vsftpd";

int FreeLoopbackPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

bool Connectable(int nPort)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
    const bool bOk = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return bOk;
}

class Vsftpd : public testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kVsftpd))
            GTEST_SKIP() << "vsftpd is not installed";
        fs::create_directories(m_conf.Path() / "empty");
    }

    void Serve(bool bMultifile)
    {
        LayOutPrinter(m_root.Path(), bMultifile);
        m_nPort = FreeLoopbackPort();
        const fs::path conf = m_conf.Write(
            "vsftpd.conf",
            "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" +
                std::to_string(m_nPort) +
                "\nbackground=NO\nrun_as_launching_user=YES\nanonymous_enable=YES\n"
                "anon_root=" +
                m_root.Path().string() +
                "\nno_anon_password=YES\nanon_world_readable_only=NO\nlocal_enable=NO\n"
                "write_enable=NO\nconnect_from_port_20=NO\nport_enable=YES\npasv_enable=NO\n"
                "seccomp_sandbox=NO\nsecure_chroot_dir=" +
                (m_conf.Path() / "empty").string() +
                "\nxferlog_enable=NO\nvsftpd_log_file=" + (m_conf.Path() / "log").string() + "\n");
        ASSERT_TRUE(m_server.Spawn({kVsftpd, conf.string()}));
        for (int i = 0; i < 250 && !Connectable(m_nPort); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(Connectable(m_nPort)) << "vsftpd did not start";
    }

    void TearDown() override { m_server.Stop(); }

    DownloadResult Download(int nTimeoutMs)
    {
        CAccBinding binding;
        binding.m_pathWorkDir = m_work.Path();
        binding.m_pGrids = {&m_grids[0], &m_grids[1], &m_grids[2]};
        binding.m_pMasks = &m_masks;
        binding.m_pMessages = &m_messages;
        m_acc.Bind(binding);
        CAccDecoder decoder(m_acc);
        DownloadSettings settings;
        settings.m_strHost = "127.0.0.1:" + std::to_string(m_nPort);
        settings.m_strUser = "anonymous";
        settings.m_strPassword = "auditor@";
        settings.m_workDir = m_work.Path();
        settings.m_nReceiveTimeoutMs = nTimeoutMs;
        CQuietProgress progress;
        return CDownloadSession(settings, decoder, m_messages, progress).Run();
    }

    CTempDir m_root;
    CTempDir m_conf;
    CTempDir m_work;
    CChildProcess m_server;
    int m_nPort = 0;
    CAcc m_acc;
    CFieldMasks m_masks;
    CUGCtrl m_grids[3];
    CRecordingMessages m_messages;
};

TEST_F(Vsftpd, MultifileDownloadDecodesWithTheRealReaders)
{
    Serve(true);
    ASSERT_EQ(Download(30000), DownloadResult::Decoded)
        << testing::PrintToString(m_messages.Exclamations());
    const fs::path sample = fs::path(SourceDir()) / "testdata" / "decode" / "office";
    EXPECT_EQ(ReadText(m_work.Path() / "JOB.tmp"), ReadText(sample / "JOB.tmp"));
    EXPECT_EQ(m_acc.m_nJobs, 4);
    EXPECT_EQ(m_grids[kKindPaper].RowCount(), 3);
}

TEST_F(Vsftpd, RefusedDictionaryEndsInThatStepsMessage)
{
    Serve(false);
    fs::remove(m_root.Path() / "SYS:" / "admin" / "acc.dic");
    // No data connection comes at all: the wait for it is bounded.
    EXPECT_EQ(Download(1000), DownloadResult::DownloadFailed);
    EXPECT_EQ(m_messages.Exclamations(),
              std::vector<std::string>{"Download of Dictionary File failed."});
}

} // namespace
} // namespace hpa
