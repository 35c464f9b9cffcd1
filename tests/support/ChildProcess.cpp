#include "support/ChildProcess.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace hpa::test {

namespace {

// True when fd has something to read (or its end) within nTimeoutMs.
bool PollIn(int nFd, int nTimeoutMs)
{
    pollfd pfd{nFd, POLLIN, 0};
    int n;
    do {
        n = ::poll(&pfd, 1, nTimeoutMs);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

std::string NextStderrPath()
{
    static std::atomic<int> s_nCount{0};
    return std::filesystem::temp_directory_path() /
           ("hpa-child-stderr-" + std::to_string(::getpid()) + "-" + std::to_string(++s_nCount) +
            ".txt");
}

} // namespace

CChildProcess::~CChildProcess()
{
    Stop();
    std::error_code ec;
    if (!m_strStderr.empty())
        std::filesystem::remove(m_strStderr, ec);
}

bool CChildProcess::Spawn(const std::vector<std::string>& args)
{
    if (args.empty())
        return false;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    m_strStderr = NextStderrPath();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_strStderr.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words = args;
    std::vector<char*> argv;
    for (std::string& s : words)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const int nErr = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    m_nOutFd = fds[0];
    if (nErr != 0) {
        m_pid = -1;
        return false;
    }
    return true;
}

bool CChildProcess::Start(const std::vector<std::string>& args)
{
    if (!Spawn(args))
        return false;
    const std::string strLine = ReadStdoutLine(kWaitMs);
    const std::string strPrefix = "listening on ";
    const std::size_t nColon = strLine.rfind(':');
    if (strLine.rfind(strPrefix, 0) != 0 || nColon == std::string::npos ||
        nColon < strPrefix.size())
        return false;
    m_strAddress = strLine.substr(strPrefix.size(), nColon - strPrefix.size());
    m_nPort = std::atoi(strLine.c_str() + nColon + 1);
    return m_nPort > 0;
}

std::string CChildProcess::ReadStdoutLine(int nTimeoutMs)
{
    std::string strLine;
    char ch;
    while (m_nOutFd >= 0 && PollIn(m_nOutFd, nTimeoutMs) && ::read(m_nOutFd, &ch, 1) == 1) {
        if (ch == '\n')
            return strLine;
        strLine += ch;
    }
    return strLine;
}

std::string CChildProcess::ReadStdoutToEnd(int nTimeoutMs)
{
    std::string strOut;
    char buf[4096];
    ssize_t n;
    while (m_nOutFd >= 0 && PollIn(m_nOutFd, nTimeoutMs) &&
           (n = ::read(m_nOutFd, buf, sizeof buf)) > 0)
        strOut.append(buf, static_cast<std::size_t>(n));
    return strOut;
}

int CChildProcess::WaitExit(int nTimeoutMs)
{
    if (m_pid < 0)
        return m_nExit;
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;) {
        int nStatus = 0;
        const pid_t r = ::waitpid(m_pid, &nStatus, WNOHANG);
        if (r == m_pid) {
            m_pid = -1;
            m_nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -2;
            return m_nExit;
        }
        if (std::chrono::steady_clock::now() >= tEnd)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int CChildProcess::Stop()
{
    int nExit = m_nExit;
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        nExit = WaitExit(kWaitMs);
        if (nExit == -1) {
            ::kill(m_pid, SIGKILL);
            WaitExit(kWaitMs);
        }
    }
    if (m_nOutFd >= 0)
        ::close(m_nOutFd);
    m_nOutFd = -1;
    return nExit;
}

std::string CChildProcess::StderrText() const
{
    return m_strStderr.empty() ? std::string() : CTempDir::Read(m_strStderr);
}

} // namespace hpa::test
