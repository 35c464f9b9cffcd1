#include "support/ScriptedFtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace hpa::test {

namespace {

constexpr std::size_t kMaxCommandLine = 4096;

std::string DefaultReply(const std::string& strVerb)
{
    if (strVerb == "USER")
        return "331 Password required.\r\n";
    if (strVerb == "PASS")
        return "230 Logged in.\r\n";
    if (strVerb == "ACCT")
        return "230 Account accepted.\r\n";
    if (strVerb == "TYPE")
        return "200 Type set.\r\n";
    if (strVerb == "PORT")
        return "200 PORT command successful.\r\n";
    return "502 Command not implemented.\r\n";
}

bool SendAll(int fd, const std::string& strBytes)
{
    std::size_t nSent = 0;
    while (nSent < strBytes.size()) {
        ssize_t n = ::send(fd, strBytes.data() + nSent, strBytes.size() - nSent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nSent += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

CScriptedFtpServer::CScriptedFtpServer()
{
    m_nListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (m_nListen < 0 || ::bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        ::listen(m_nListen, 4) != 0 ||
        ::getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("scripted FTP server: cannot listen on 127.0.0.1");
    m_nPort = ntohs(addr.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CScriptedFtpServer::~CScriptedFtpServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStopping = true;
        for (int fd : m_openFds)
            ::shutdown(fd, SHUT_RDWR);
    }
    ::shutdown(m_nListen, SHUT_RDWR);
    m_thread.join();
    ::close(m_nListen);
}

std::string CScriptedFtpServer::HostText() const
{
    return "127.0.0.1:" + std::to_string(m_nPort);
}

void CScriptedFtpServer::SetGreeting(Reply greeting)
{
    std::lock_guard lock(m_mutex);
    m_greeting = std::move(greeting);
}

void CScriptedFtpServer::AddReply(const std::string& strVerb, Reply reply)
{
    std::lock_guard lock(m_mutex);
    m_replies[strVerb].push_back(std::move(reply));
}

void CScriptedFtpServer::AddReply(const std::string& strVerb, const std::string& strBytes)
{
    AddReply(strVerb, Reply{Say(strBytes)});
}

void CScriptedFtpServer::SetDataStyle(DataStyle style)
{
    std::lock_guard lock(m_mutex);
    m_dataStyle = style;
}

void CScriptedFtpServer::AddFile(const std::string& strName, std::string strBytes, FileMode mode)
{
    std::lock_guard lock(m_mutex);
    m_files[strName] = File{std::move(strBytes), mode};
}

void CScriptedFtpServer::SetIntruder(std::string strBytes)
{
    std::lock_guard lock(m_mutex);
    m_strIntruder = std::move(strBytes);
}

std::vector<std::string> CScriptedFtpServer::Transcript()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return m_bHungUp; });
    return m_transcript;
}

bool CScriptedFtpServer::HungUp() const
{
    std::lock_guard lock(m_mutex);
    return m_bHungUp;
}

std::vector<std::string> CScriptedFtpServer::TranscriptSoFar() const
{
    std::lock_guard lock(m_mutex);
    return m_transcript;
}

int CScriptedFtpServer::DataConnections() const
{
    std::lock_guard lock(m_mutex);
    return m_nDataConnections;
}

bool CScriptedFtpServer::WaitForCommand(const std::string& strPrefix,
                                        std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] {
        return std::any_of(m_transcript.begin(), m_transcript.end(),
                           [&](const std::string& s) { return s.rfind(strPrefix, 0) == 0; });
    });
}

void CScriptedFtpServer::Track(int fd)
{
    std::lock_guard lock(m_mutex);
    m_openFds.push_back(fd);
    if (m_bStopping)
        ::shutdown(fd, SHUT_RDWR);
}

void CScriptedFtpServer::Untrack(int fd)
{
    std::lock_guard lock(m_mutex);
    m_openFds.erase(std::remove(m_openFds.begin(), m_openFds.end(), fd), m_openFds.end());
}

void CScriptedFtpServer::Serve()
{
    for (;;) {
        int fd = ::accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // shut down by the destructor
        }
        Track(fd);
        Converse(fd);
        CloseData();
        Untrack(fd);
        ::close(fd);
        std::lock_guard lock(m_mutex);
        m_bHungUp = true;
        m_changed.notify_all();
    }
}

bool CScriptedFtpServer::Send(int fd, const Reply& reply)
{
    for (const ReplyPart& part : reply) {
        if (part.m_nDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(part.m_nDelayMs));
        if (!part.m_strBytes.empty() && !SendAll(fd, part.m_strBytes))
            return false;
        if (part.m_bHangUp)
            return false;
    }
    return true;
}

bool CScriptedFtpServer::ReadCommand(int fd, std::string& strLine)
{
    strLine.clear();
    for (;;) {
        char ch;
        ssize_t n = ::recv(fd, &ch, 1, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        if (ch == '\n')
            break;
        if (strLine.size() < kMaxCommandLine)
            strLine.push_back(ch);
    }
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    return true;
}

void CScriptedFtpServer::Converse(int fdControl)
{
    Reply greeting;
    {
        std::lock_guard lock(m_mutex);
        greeting =
            m_greeting.empty() ? Reply{Say("220 Scripted FTP server ready.\r\n")} : m_greeting;
    }
    if (!Send(fdControl, greeting))
        return;
    std::string strLine;
    while (ReadCommand(fdControl, strLine)) {
        std::string strVerb = strLine.substr(0, strLine.find(' '));
        std::transform(strVerb.begin(), strVerb.end(), strVerb.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const std::string strArgument =
            strLine.size() > strVerb.size() ? strLine.substr(strVerb.size() + 1) : "";
        Reply reply;
        {
            std::lock_guard lock(m_mutex);
            m_transcript.push_back(strLine);
            m_changed.notify_all();
            auto it = m_replies.find(strVerb);
            if (it != m_replies.end() && !it->second.empty()) {
                reply = std::move(it->second.front());
                it->second.erase(it->second.begin());
            } else {
                reply = Reply{Say(DefaultReply(strVerb))};
            }
        }
        if (strVerb == "QUIT") {
            SendAll(fdControl, "221 Goodbye.\r\n");
            return;
        }
        if (strVerb == "RETR") {
            if (!HandleRetr(fdControl, strArgument))
                return;
            continue;
        }
        if (strVerb == "PORT")
            HandlePort(strArgument);
        if (!Send(fdControl, reply))
            return;
    }
}

void CScriptedFtpServer::HandlePort(const std::string& strArgument)
{
    CloseData();
    int n[6] = {};
    if (std::sscanf(strArgument.c_str(), "%d,%d,%d,%d,%d,%d", &n[0], &n[1], &n[2], &n[3], &n[4],
                    &n[5]) != 6)
        return;
    m_strPortAddress = std::to_string(n[0]) + "." + std::to_string(n[1]) + "." +
                       std::to_string(n[2]) + "." + std::to_string(n[3]);
    m_nPortNumber = n[4] * 256 + n[5];
    DataStyle style;
    {
        std::lock_guard lock(m_mutex);
        style = m_dataStyle;
    }
    if (style == DataStyle::ConnectOnPort)
        m_fdData = ConnectData("127.0.0.1");
}

bool CScriptedFtpServer::HandleRetr(int fdControl, const std::string& strName)
{
    File file;
    bool bFound;
    DataStyle style;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_files.find(strName);
        bFound = it != m_files.end();
        if (bFound)
            file = it->second;
        style = m_dataStyle;
    }
    if (!bFound) {
        // A pyftpdlib-like peer keeps its idle data connection; a vsftpd-like
        // peer never opened one.
        return SendAll(fdControl, "550 No such file or directory.\r\n");
    }
    if (m_fdData < 0 && style == DataStyle::ConnectOnRetr)
        m_fdData = ConnectData("127.0.0.1");
    if (m_fdData < 0)
        return SendAll(fdControl, "425 Can't open data connection.\r\n");
    if (!SendAll(fdControl, "150 Opening BINARY mode data connection.\r\n"))
        return false;
    SendAll(m_fdData, file.m_strBytes);
    if (file.m_mode == FileMode::Stall) {
        // Hold the connection until the client (or the destructor) ends it.
        char buffer[256];
        while (::recv(m_fdData, buffer, sizeof buffer, 0) > 0) {
        }
    }
    CloseData();
    return SendAll(fdControl, "226 Transfer complete.\r\n");
}

int CScriptedFtpServer::ConnectData(const char* pszFrom)
{
    std::string strIntruder;
    {
        std::lock_guard lock(m_mutex);
        strIntruder = m_strIntruder;
    }
    // Only loopback addresses are ever connected to.
    if (m_strPortAddress.rfind("127.", 0) != 0 || m_nPortNumber <= 0)
        return -1;
    if (!strIntruder.empty() && std::string(pszFrom) != "127.0.0.2") {
        int fdIntruder = ConnectData("127.0.0.2");
        if (fdIntruder >= 0) {
            SendAll(fdIntruder, strIntruder);
            Untrack(fdIntruder);
            ::close(fdIntruder);
        }
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, pszFrom, &local.sin_addr);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(m_nPortNumber));
    ::inet_pton(AF_INET, m_strPortAddress.c_str(), &remote.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        ::close(fd);
        return -1;
    }
    Track(fd);
    if (std::string(pszFrom) == "127.0.0.1") {
        std::lock_guard lock(m_mutex);
        ++m_nDataConnections;
    }
    return fd;
}

void CScriptedFtpServer::CloseData()
{
    if (m_fdData < 0)
        return;
    Untrack(m_fdData);
    ::close(m_fdData);
    m_fdData = -1;
}

} // namespace hpa::test
