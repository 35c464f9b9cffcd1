#pragma once
// Test harness for hpa-printer-sim: starts the simulator as a child process
// on a free loopback port, and talks raw FTP to it over POSIX sockets. Every
// wait is bounded, so a misbehaving server fails a test instead of hanging.
#include "support/ChildProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace hpa::test::sim {

constexpr int kWaitMs = CChildProcess::kWaitMs;

inline std::string SimBinary()
{
    const char* pszDir = std::getenv("HPA_BIN_DIR");
    return std::string(pszDir ? pszDir : HPA_BIN_DIR) + "/hpa-printer-sim";
}

inline std::string SourceDir()
{
    const char* pszDir = std::getenv("HPA_SOURCE_DIR");
    return pszDir ? pszDir : HPA_SOURCE_DIR;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Reads from fd until it would wait longer than nTimeoutMs, or EOF.
inline bool PollIn(int nFd, int nTimeoutMs)
{
    pollfd pfd{nFd, POLLIN, 0};
    int n;
    do {
        n = poll(&pfd, 1, nTimeoutMs);
    } while (n < 0 && errno == EINTR);
    return n > 0;
}

// The simulator as a child process.
class CSimProcess : public CChildProcess {
public:
    // Runs hpa-printer-sim with the arguments.
    bool Spawn(const std::vector<std::string>& args)
    {
        std::vector<std::string> words{SimBinary()};
        words.insert(words.end(), args.begin(), args.end());
        return CChildProcess::Spawn(words);
    }
    // Starts a server on a free loopback port and reads the port it names.
    bool Start(const std::vector<std::string>& args)
    {
        std::vector<std::string> words{SimBinary(), "--listen", "127.0.0.1:0"};
        words.insert(words.end(), args.begin(), args.end());
        return CChildProcess::Start(words);
    }
};

// Runs the simulator to its end (generator, usage errors); its exit status
// and stdout.
inline int RunSim(const std::vector<std::string>& args, std::string* pStdout = nullptr)
{
    CSimProcess proc;
    if (!proc.Spawn(args))
        return -3;
    std::string strOut = proc.ReadStdoutToEnd(60000);
    if (pStdout)
        *pStdout = strOut;
    return proc.WaitExit(60000);
}

// Serves a generated log of nJobs jobs (seed 3) that grows by strAdvance
// jobs (seed 4) per download, as --advance reads it. False when the set
// could not be made or the simulator did not start.
inline bool StartAdvancingPrinter(CSimProcess& sim, const std::filesystem::path& root, int nJobs,
                                  const std::string& strAdvance,
                                  std::vector<std::string> extra = {})
{
    if (RunSim({"--generate", root.string(), "--jobs", std::to_string(nJobs), "--seed", "3"}) != 0)
        return false;
    std::vector<std::string> args = {"--root",   root.string(), "--advance",
                                     strAdvance, "--seed",      "4"};
    args.insert(args.end(), extra.begin(), extra.end());
    return sim.Start(args);
}

struct SReply {
    int m_nCode = 0; // 0: no complete reply in time
    std::vector<std::string> m_lines;
    std::string Last() const { return m_lines.empty() ? "" : m_lines.back(); }
};

// A bare FTP client for driving the simulator step by step.
class CFtpTestClient {
public:
    ~CFtpTestClient() { Close(); }

    bool Connect(int nPort)
    {
        m_nFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval tv{10, 0};
        setsockopt(m_nFd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        return connect(m_nFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }

    void Close()
    {
        if (m_nFd >= 0)
            close(m_nFd);
        m_nFd = -1;
    }

    bool Send(const std::string& strLine)
    {
        std::string str = strLine + "\r\n";
        return send(m_nFd, str.data(), str.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(str.size());
    }

    // One line without its CR LF; false on time-out or end of stream.
    bool ReadLine(std::string& strLine, int nTimeoutMs = kWaitMs)
    {
        strLine.clear();
        for (;;) {
            std::size_t nLf = m_strBuf.find('\n');
            if (nLf != std::string::npos) {
                strLine = m_strBuf.substr(0, nLf);
                m_strBuf.erase(0, nLf + 1);
                if (!strLine.empty() && strLine.back() == '\r')
                    strLine.pop_back();
                return true;
            }
            if (m_strBuf.size() > (4u << 20) || !Fill(nTimeoutMs))
                return false;
        }
    }

    // Receives once into the buffer; false on time-out or end of stream.
    bool Fill(int nTimeoutMs)
    {
        if (!PollIn(m_nFd, nTimeoutMs))
            return false;
        char buf[65536];
        ssize_t n = recv(m_nFd, buf, sizeof buf, 0);
        if (n <= 0) {
            m_bEof = true;
            return false;
        }
        m_strBuf.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    SReply ReadReply(int nTimeoutMs = kWaitMs)
    {
        SReply reply;
        std::string strLine;
        if (!ReadLine(strLine, nTimeoutMs))
            return reply;
        reply.m_lines.push_back(strLine);
        if (strLine.size() < 4 || strLine[3] != '-') {
            reply.m_nCode = std::atoi(strLine.substr(0, 3).c_str());
            return reply;
        }
        const std::string strEnd = strLine.substr(0, 3) + " ";
        while (ReadLine(strLine, nTimeoutMs)) {
            reply.m_lines.push_back(strLine);
            if (strLine.rfind(strEnd, 0) == 0) {
                reply.m_nCode = std::atoi(strLine.substr(0, 3).c_str());
                return reply;
            }
        }
        return reply;
    }

    SReply Command(const std::string& strLine)
    {
        if (!Send(strLine))
            return {};
        return ReadReply();
    }

    // Greeting, USER and PASS; true when logged in.
    bool Login(const std::string& strUser = "admin", const std::string& strPassword = "admin")
    {
        return ReadReply().m_nCode == 220 && Command("USER " + strUser).m_nCode == 331 &&
               Command("PASS " + strPassword).m_nCode == 230;
    }

    // True when the server closed the control connection.
    bool ClosedByPeer(int nTimeoutMs = kWaitMs)
    {
        while (!m_bEof && Fill(nTimeoutMs)) {
        }
        return m_bEof;
    }

    const std::string& Buffered() const { return m_strBuf; }
    int Fd() const { return m_nFd; }

private:
    int m_nFd = -1;
    std::string m_strBuf;
    bool m_bEof = false;
};

// A listening socket on 127.0.0.1 for one active-mode data connection.
class CDataListener {
public:
    CDataListener()
    {
        m_nListenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_nListenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_nListenFd, 1);
        socklen_t nLen = sizeof addr;
        getsockname(m_nListenFd, reinterpret_cast<sockaddr*>(&addr), &nLen);
        m_nPort = ntohs(addr.sin_port);
    }
    ~CDataListener()
    {
        CloseData();
        if (m_nListenFd >= 0)
            close(m_nListenFd);
    }
    CDataListener(const CDataListener&) = delete;
    CDataListener& operator=(const CDataListener&) = delete;

    std::string PortCommand() const
    {
        return "PORT 127,0,0,1," + std::to_string(m_nPort / 256) + "," +
               std::to_string(m_nPort % 256);
    }
    std::string EprtCommand() const { return "EPRT |1|127.0.0.1|" + std::to_string(m_nPort) + "|"; }

    // Accepts the server's connection; false on time-out.
    bool Accept(int nTimeoutMs = kWaitMs)
    {
        if (!PollIn(m_nListenFd, nTimeoutMs))
            return false;
        m_nDataFd = accept4(m_nListenFd, nullptr, nullptr, SOCK_CLOEXEC);
        return m_nDataFd >= 0;
    }

    enum EEnd { eof, reset, timeout };
    // Reads the data connection until it ends or stays silent too long.
    EEnd ReadAll(std::string& strData, int nTimeoutMs = kWaitMs)
    {
        char buf[65536];
        for (;;) {
            if (!PollIn(m_nDataFd, nTimeoutMs))
                return timeout;
            ssize_t n = recv(m_nDataFd, buf, sizeof buf, 0);
            if (n == 0)
                return eof;
            if (n < 0)
                return reset;
            strData.append(buf, static_cast<std::size_t>(n));
        }
    }

    void CloseData()
    {
        if (m_nDataFd >= 0)
            close(m_nDataFd);
        m_nDataFd = -1;
    }

private:
    int m_nListenFd = -1;
    int m_nDataFd = -1;
    int m_nPort = 0;
};

// PORT, RETR and the data: the bytes received and the final reply code.
struct SRetrieval {
    int m_nPortCode = 0;
    int m_n150Code = 0;
    std::string m_str150;
    bool m_bConnected = false;
    std::string m_strData;
    CDataListener::EEnd m_end = CDataListener::timeout;
    int m_nFinalCode = 0;
};

inline SRetrieval Retrieve(CFtpTestClient& client, const std::string& strName, bool bEprt = false)
{
    SRetrieval r;
    CDataListener data;
    r.m_nPortCode = client.Command(bEprt ? data.EprtCommand() : data.PortCommand()).m_nCode;
    SReply reply = client.Command("RETR " + strName);
    r.m_n150Code = reply.m_nCode;
    r.m_str150 = reply.Last();
    if (reply.m_nCode != 150)
        return r;
    r.m_bConnected = data.Accept();
    if (r.m_bConnected)
        r.m_end = data.ReadAll(r.m_strData);
    data.CloseData();
    r.m_nFinalCode = client.ReadReply().m_nCode;
    return r;
}

} // namespace hpa::test::sim
