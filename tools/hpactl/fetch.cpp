// hpactl fetch HOST[:PORT]: the desktop's Connect to Printer without a
// window. Runs the same download session (same files, same checks, same
// messages), decodes into grids of its own and writes what the output
// options ask for, like hpactl decode.
#include "accounts.h"
#include "commands.h"
#include "outputs.h"

#include "accounting/Acc.h"
#include "grid/UGCtrl.h"
#include "platform/Messages.h"
#include "platform/PrivateDir.h"
#include "transfer/AccDecoder.h"
#include "transfer/DownloadSession.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace hpactl {
namespace {

constexpr int kExitCancelled = 130; // as a shell reports an interrupted command
constexpr std::size_t kMaxPasswordFile = 4096;

volatile std::sig_atomic_t g_bInterrupted = 0;

void OnInterrupt(int)
{
    g_bInterrupted = 1;
}

// Ctrl+C cancels like the dialog's Cancel button; a second one ends the
// program at once (SA_RESETHAND restores the default action).
void CatchInterrupt()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

// One line on stderr, redrawn in place, when stderr is a terminal.
class CTerminalProgress : public hpa::CTransferProgress {
public:
    explicit CTerminalProgress(bool bShow) : m_bShow(bShow) {}
    ~CTerminalProgress() override { EndLine(); }

    void SetMessage(const std::string& strText) override { m_strMessage = strText; }
    void SetPos(int nPercent) override { m_nPercent = nPercent; }
    void Pump() override {}
    bool IsCancelled() override { return g_bInterrupted != 0; }
    bool CheckCancel() override
    {
        const bool bCancelled = g_bInterrupted != 0;
        g_bInterrupted = 0;
        return bCancelled;
    }
    void BeginFile(const std::string& strRemoteName, const std::string&) override
    {
        m_strRemote = strRemoteName;
        m_nPercent = -1;
        Draw(0);
    }
    void ShowBytes(std::int64_t nFileBytes, std::int64_t) override { Draw(nFileBytes); }
    void EndLine()
    {
        if (m_bShow && m_bDrawn)
            std::fputc('\n', stderr);
        m_bDrawn = false;
    }

private:
    void Draw(std::int64_t nBytes)
    {
        if (!m_bShow)
            return;
        std::string strPercent =
            m_nPercent >= 0 ? ", " + std::to_string(m_nPercent) + "%" : std::string();
        std::fprintf(stderr, "\r\033[K%s %s: %lld bytes%s", m_strMessage.c_str(),
                     m_strRemote.c_str(), static_cast<long long>(nBytes), strPercent.c_str());
        std::fflush(stderr);
        m_bDrawn = true;
    }

    bool m_bShow;
    bool m_bDrawn = false;
    std::string m_strMessage;
    std::string m_strRemote;
    int m_nPercent = -1;
};

struct CFetchArgs {
    std::string m_strHost;
    std::string m_strUser;
    std::optional<std::string> m_strPassword;
    std::string m_strPasswordFile;
    std::string m_strWorkDir;
    bool m_bQuiet = false;
    bool m_bHaveUser = false;
};

// The password is the file's first line, without its line end.
bool ReadPasswordFile(const std::string& strPath, std::string& strPassword)
{
    std::ifstream in(strPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "hpactl fetch: cannot read password file %s\n", strPath.c_str());
        return false;
    }
    std::string strBytes(kMaxPasswordFile, '\0');
    in.read(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    strBytes.resize(static_cast<std::size_t>(in.gcount()));
    strPassword = strBytes.substr(0, strBytes.find_first_of("\r\n"));
    return true;
}

// Own options and the host; output options go to TakeOutputOption.
int ParseArgs(int argc, char** argv, CFetchArgs& args, COutputOptions& options)
{
    for (int n = 0; n < argc;) {
        switch (TakeOutputOption(argc, argv, &n, options)) {
        case OptionResult::Taken:
            continue;
        case OptionResult::Error:
            return kExitUsage;
        case OptionResult::NotMine:
            break;
        }
        const std::string_view strArg = argv[n];
        std::string* pValue = nullptr;
        if (strArg == "--user") {
            pValue = &args.m_strUser;
            args.m_bHaveUser = true;
        } else if (strArg == "--password-file") {
            pValue = &args.m_strPasswordFile;
        } else if (strArg == "--workdir") {
            pValue = &args.m_strWorkDir;
        } else if (strArg == "--password") {
            pValue = &args.m_strPassword.emplace();
        }
        if (pValue) {
            if (n + 1 >= argc) {
                std::fprintf(stderr, "hpactl fetch: %s needs a value\n", argv[n]);
                return kExitUsage;
            }
            *pValue = argv[n + 1];
            n += 2;
            continue;
        }
        if (strArg == "--quiet") {
            args.m_bQuiet = true;
        } else if (strArg.size() > 1 && strArg[0] == '-') {
            std::fprintf(stderr, "hpactl fetch: unknown option '%s'\n", argv[n]);
            return kExitUsage;
        } else if (!args.m_strHost.empty()) {
            std::fprintf(stderr, "hpactl fetch: only one host, please ('%s')\n", argv[n]);
            return kExitUsage;
        } else {
            args.m_strHost = strArg;
        }
        ++n;
    }
    if (args.m_strHost.empty() || !args.m_bHaveUser ||
        args.m_strPassword.has_value() == !args.m_strPasswordFile.empty()) {
        std::fprintf(stderr, "hpactl fetch: usage: hpactl fetch HOST[:PORT] --user NAME "
                             "(--password PW | --password-file FILE) [OPTIONS]\n");
        return kExitUsage;
    }
    return kExitOk;
}

int Fetch(const CFetchArgs& args, const std::string& strPassword, const COutputOptions& options,
          const std::filesystem::path& workDir)
{
    CDecodeTarget target(workDir, options);
    hpa::CAccDecoder decoder(target.Acc());

    hpa::DownloadSettings settings;
    settings.m_strHost = args.m_strHost;
    settings.m_strUser = args.m_strUser;
    settings.m_strPassword = strPassword;
    settings.m_workDir = workDir;
    CTerminalProgress progress(!args.m_bQuiet && ::isatty(STDERR_FILENO) == 1);
    hpa::CDownloadSession session(settings, decoder, target.Messages(), progress);

    CatchInterrupt();
    const hpa::DownloadResult result = session.Run();
    std::signal(SIGINT, SIG_DFL);
    progress.EndLine();
    if (result == hpa::DownloadResult::Cancelled) {
        std::fprintf(stderr, "hpactl fetch: cancelled\n");
        return kExitCancelled;
    }
    if (!hpa::HasDecodedData(result))
        return kExitFailed; // the session or a reader has said why
    // Paper or job reader failures have been reported; what was decoded is
    // still written, as the desktop still shows it.
    const bool bWritten = WriteOutputs(options, target.Acc(), target.Grids());
    return bWritten && result == hpa::DownloadResult::Decoded ? kExitOk : kExitFailed;
}

} // namespace

int RunFetch(int argc, char** argv)
{
    CFetchArgs args;
    COutputOptions options;
    if (int nExit = ParseArgs(argc, argv, args, options); nExit != kExitOk)
        return nExit;
    std::string strPassword = args.m_strPassword.value_or("");
    if (!args.m_strPasswordFile.empty() && !ReadPasswordFile(args.m_strPasswordFile, strPassword))
        return kExitUsage;
    if (!ResolveMasks(options, hpa::g_masks))
        return kExitUsage;

    if (!args.m_strWorkDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(args.m_strWorkDir, ec);
        if (!std::filesystem::is_directory(args.m_strWorkDir, ec)) {
            std::fprintf(stderr, "hpactl fetch: cannot use %s as working directory\n",
                         args.m_strWorkDir.c_str());
            return kExitUsage;
        }
        return Fetch(args, strPassword, options, args.m_strWorkDir);
    }
    hpa::CPrivateDir dir("hpactl-fetch");
    if (dir.Path().empty()) {
        std::fprintf(stderr, "hpactl fetch: cannot create a temporary directory\n");
        return kExitFailed;
    }
    return Fetch(args, strPassword, options, dir.Path());
}

} // namespace hpactl
