#pragma once
// Real FTP servers for the interop tests, started as child processes on a
// free loopback port and stopped (by pid) when the test ends, and the
// printer's remote tree laid out on disk for them to serve.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace hpa::test::interop {

namespace fs = std::filesystem;

inline std::string BinDir()
{
    const char* pszDir = std::getenv("HPA_BIN_DIR");
    return pszDir ? pszDir : HPA_BIN_DIR;
}

inline std::string SourceDir()
{
    const char* pszDir = std::getenv("HPA_SOURCE_DIR");
    return pszDir ? pszDir : HPA_SOURCE_DIR;
}

inline std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteText(const fs::path& path, const std::string& strBytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << strBytes;
}

// A server process that prints "listening on ADDR:PORT" when ready (ADDR
// 127.0.0.1, or an IPv6 address in brackets).
class CServerProcess {
public:
    CServerProcess() = default;
    ~CServerProcess() { Stop(); }
    CServerProcess(const CServerProcess&) = delete;
    CServerProcess& operator=(const CServerProcess&) = delete;

    // Starts argv[0] with the arguments and waits up to 10 s for the line.
    bool Start(const std::vector<std::string>& args)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (const std::string& s : args)
            argv.push_back(const_cast<char*>(s.c_str()));
        argv.push_back(nullptr);
        const int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        if (rc != 0) {
            m_pid = -1;
            ::close(fds[0]);
            return false;
        }
        m_nPort = ReadPort(fds[0], m_strAddress);
        ::close(fds[0]);
        return m_nPort > 0;
    }

    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    int Port() const { return m_nPort; }
    // The host text a client is given: "127.0.0.1:PORT" or "[::1]:PORT".
    std::string HostText() const { return m_strAddress + ":" + std::to_string(m_nPort); }

private:
    static int ReadPort(int fd, std::string& strAddress)
    {
        std::string strOut;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (strOut.find('\n') == std::string::npos && strOut.size() < 1000) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd pfd{fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0)
                return 0;
            char buffer[256];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return 0;
            strOut.append(buffer, static_cast<std::size_t>(n));
        }
        const std::string strPrefix = "listening on ";
        const std::size_t nAt = strOut.find(strPrefix);
        const std::size_t nEnd = strOut.find('\n', nAt);
        if (nAt == std::string::npos || nEnd == std::string::npos)
            return 0;
        const std::string strLine =
            strOut.substr(nAt + strPrefix.size(), nEnd - nAt - strPrefix.size());
        const std::size_t nColon = strLine.rfind(':');
        if (nColon == std::string::npos)
            return 0;
        strAddress = strLine.substr(0, nColon);
        return std::atoi(strLine.c_str() + nColon + 1);
    }

    pid_t m_pid = -1;
    int m_nPort = 0;
    std::string m_strAddress;
};

// True when a socket can be bound to ::1 (containers may run without IPv6).
inline bool LoopbackIpv6Available()
{
    const int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in6 addr{};
    addr.sin6_family = AF_INET6;
    addr.sin6_addr = in6addr_loopback;
    const bool bBound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return bBound;
}

// The sample accounting set as the printer serves it: a directory "SYS:"
// holding "admin/acc.sta" and the rest. With bMultifile the four jobs are
// split over acc1.job and acc2.job and the status file says so.
inline void LayOutPrinter(const fs::path& root, bool bMultifile)
{
    const fs::path sample = fs::path(SourceDir()) / "testdata" / "decode" / "office";
    const fs::path admin = root / "SYS:" / "admin";
    std::string strStatus = ReadText(sample / "STA.tmp");
    const std::string strJobs = ReadText(sample / "JOB.tmp");
    if (bMultifile) {
        const auto Replace = [&](const std::string& a, const std::string& b) {
            strStatus.replace(strStatus.find(a), a.size(), b);
        };
        Replace("34:1", "34:2");
        Replace("37:1", "37:2");
        std::size_t nSplit = 0; // after the second job's record line
        for (int i = 0; i < 4; ++i)
            nSplit = strJobs.find('\n', nSplit) + 1;
        WriteText(admin / "acc1.job", strJobs.substr(0, nSplit));
        WriteText(admin / "acc2.job", strJobs.substr(nSplit));
    } else {
        WriteText(admin / "acc1.job", strJobs);
    }
    WriteText(admin / "acc.sta", strStatus);
    WriteText(admin / "acc.dic", ReadText(sample / "DIC.tmp"));
    WriteText(admin / "acc.pap", ReadText(sample / "PAP.tmp"));
}

struct RunResult {
    int m_nStatus = -1;
    std::string m_strOut;
    std::string m_strErr;
};

// Runs hpactl in dir with no display and a settings directory of its own.
inline RunResult RunHpactl(const fs::path& dir, const std::string& strArgs)
{
    const auto Quoted = [](const std::string& s) { return "'" + s + "'"; };
    const fs::path out = dir / "hpactl.out";
    const fs::path err = dir / "hpactl.err";
    fs::create_directories(dir / "config");
    const std::string cmd = "cd " + Quoted(dir.string()) +
                            " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
                            " XDG_CONFIG_HOME=" +
                            Quoted((dir / "config").string()) + " " + Quoted(BinDir() + "/hpactl") +
                            " " + strArgs + " >" + Quoted(out.string()) + " 2>" +
                            Quoted(err.string()) + " </dev/null";
    RunResult result;
    const int nRaw = std::system(cmd.c_str());
    result.m_nStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
    result.m_strOut = ReadText(out);
    result.m_strErr = ReadText(err);
    return result;
}

} // namespace hpa::test::interop
