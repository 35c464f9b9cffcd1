#pragma once
// Real FTP servers for the interop tests, started as child processes on a
// free loopback port and stopped (by pid) when the test ends, and the
// printer's remote tree laid out on disk for them to serve.
#include "support/ChildProcess.h"
#include "support/ShellRun.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace hpa::test::interop {

namespace fs = std::filesystem;
using test::BinDir;
using test::CChildProcess;
using test::RunResult;

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
using CServerProcess = CChildProcess;

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

// Runs hpactl in dir with no display and a settings directory of its own.
inline RunResult RunHpactl(const fs::path& dir, const std::string& strArgs)
{
    fs::create_directories(dir / "config");
    return test::RunHpactl(dir, dir / "config", strArgs);
}

} // namespace hpa::test::interop
