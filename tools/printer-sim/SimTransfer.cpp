// Active-mode data commands: PORT, EPRT, RETR, SIZE and MDTM.
#include "SimSession.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <ctime>
#include <vector>

namespace hpa::sim {

namespace {

constexpr int kConnectTimeoutMs = 10000;

// A decimal number of 1 to nMaxDigits digits, no sign, no blanks.
bool ParseUnsigned(std::string_view str, std::size_t nMaxDigits, unsigned& nOut)
{
    if (str.empty() || str.size() > nMaxDigits)
        return false;
    auto [pEnd, ec] = std::from_chars(str.data(), str.data() + str.size(), nOut);
    return ec == std::errc() && pEnd == str.data() + str.size();
}

std::vector<std::string_view> Split(std::string_view str, char chSep)
{
    std::vector<std::string_view> parts;
    std::size_t nPos = 0;
    for (;;) {
        std::size_t nSep = str.find(chSep, nPos);
        parts.push_back(str.substr(nPos, nSep == std::string_view::npos ? nSep : nSep - nPos));
        if (nSep == std::string_view::npos || parts.size() > 8)
            return parts;
        nPos = nSep + 1;
    }
}

} // namespace

CSimSession::EHandled CSimSession::OnPort(const std::string& strArg)
{
    std::vector<std::string_view> parts = Split(strArg, ',');
    unsigned n[6];
    bool bValid = parts.size() == 6;
    for (std::size_t i = 0; bValid && i < 6; ++i)
        bValid = ParseUnsigned(parts[i], 3, n[i]) && n[i] <= 255;
    if (!bValid)
        return Reply(501, "Syntax error in PORT arguments.") ? keepGoing : endSession;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl((n[0] << 24) | (n[1] << 16) | (n[2] << 8) | n[3]);
    addr.sin_port = htons(static_cast<std::uint16_t>((n[4] << 8) | n[5]));
    return SetDataAddress(addr);
}

CSimSession::EHandled CSimSession::OnEprt(const std::string& strArg)
{
    // |proto|address|port| with any delimiter character in place of "|".
    if (strArg.size() < 2)
        return Reply(501, "Syntax error in EPRT arguments.") ? keepGoing : endSession;
    std::vector<std::string_view> parts = Split(strArg, strArg[0]);
    if (parts.size() != 5 || !parts[0].empty() || !parts[4].empty())
        return Reply(501, "Syntax error in EPRT arguments.") ? keepGoing : endSession;
    if (parts[1] != "1")
        return Reply(522, "Network protocol not supported, use (1).") ? keepGoing : endSession;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    unsigned nPort = 0;
    std::string strHost(parts[2]);
    if (inet_pton(AF_INET, strHost.c_str(), &addr.sin_addr) != 1 ||
        !ParseUnsigned(parts[3], 5, nPort) || nPort > 65535)
        return Reply(501, "Syntax error in EPRT arguments.") ? keepGoing : endSession;
    addr.sin_port = htons(static_cast<std::uint16_t>(nPort));
    return SetDataAddress(addr);
}

CSimSession::EHandled CSimSession::SetDataAddress(const sockaddr_in& addr)
{
    CloseFd(m_nDataFd);
    m_bHaveDataAddr = false;
    // No connections for the client to third parties: only back to the
    // client's own address (any loopback address from a loopback client).
    bool bAllowed = m_opts.m_bAnyDataAddress || addr.sin_addr.s_addr == m_peer.sin_addr.s_addr ||
                    (IsLoopback(addr.sin_addr) && IsLoopback(m_peer.sin_addr));
    if (addr.sin_port == 0 || !bAllowed)
        return Reply(504, "Data address refused.") ? keepGoing : endSession;
    m_dataAddr = addr;
    m_bHaveDataAddr = true;
    if (m_opts.m_faults.Find("port-connect")) {
        m_nDataFd = ConnectTo(addr, &m_local, kConnectTimeoutMs, m_stop);
        m_log.Line(m_nId, "*",
                   (m_nDataFd >= 0 ? "data connection open to " : "cannot connect to ") +
                       FormatAddr(addr));
        if (m_nDataFd < 0) {
            m_bHaveDataAddr = false;
            return Reply(425, "Can't open data connection.") ? keepGoing : endSession;
        }
    }
    return Reply(200, m_strReplyTarget + " command successful.") ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnRetr(const std::string& strArg)
{
    std::string strRemote, strLocal;
    if (strArg.empty())
        return Reply(501, "RETR needs a file name.") ? keepGoing : endSession;
    if (!m_tree.ResolveFile(m_strCwd, strArg, strRemote, strLocal))
        return Reply(550, strArg + ": No such file or directory.") ? keepGoing : endSession;
    const CSimFaults& faults = m_opts.m_faults;
    if (const SFault* pRefuse = faults.FindForFile("refuse-file", strRemote, strLocal)) {
        // Refused before any data connection; one opened early stays open.
        bool bOk = Reply(static_cast<int>(pRefuse->m_nArg), strArg + ": Permission denied.");
        return bOk && pRefuse->m_nArg != 421 ? keepGoing : endSession;
    }
    if (!m_bHaveDataAddr)
        return Reply(425, "Use PORT or EPRT first.") ? keepGoing : endSession;
    if (m_pJobLog != nullptr && strLocal == "acc.sta" && !m_jobLogHold.owns_lock()) {
        // A download starts with the status file: the log moves on now and
        // then holds still until this session ends.
        std::string strEvent;
        m_jobLogHold = m_pJobLog->BeginDownload(strEvent);
        if (!strEvent.empty())
            m_log.Line(m_nId, "*", strEvent);
    }
    int nFileFd = open(m_tree.LocalPath(strLocal).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (nFileFd < 0 || fstat(nFileFd, &st) != 0) {
        CloseFd(nFileFd);
        return Reply(550, strArg + ": Cannot open file.") ? keepGoing : endSession;
    }
    long long nAnnounced = st.st_size;
    if (const SFault* pLie = faults.FindForFile("size-lie", strRemote, strLocal))
        nAnnounced = pLie->m_nArg;
    std::string str150 = "Opening BINARY mode data connection for " + strArg + " (" +
                         std::to_string(nAnnounced) + " bytes).";
    m_bHaveDataAddr = false; // one transfer per PORT

    if (faults.FindForFile("no-data-connection", strRemote, strLocal)) {
        close(nFileFd);
        CloseFd(m_nDataFd);
        m_log.Line(m_nId, "*", "no data connection (fault)");
        if (!Reply(150, str150) || !HoldOpen(-1))
            return endSession;
        return Reply(425, "Can't open data connection.") ? keepGoing : endSession;
    }
    int nDataFd = m_nDataFd;
    m_nDataFd = -1;
    if (nDataFd < 0)
        nDataFd = ConnectTo(m_dataAddr, &m_local, kConnectTimeoutMs, m_stop);
    if (nDataFd < 0) {
        close(nFileFd);
        m_log.Line(m_nId, "*", "cannot connect to " + FormatAddr(m_dataAddr));
        return Reply(425, "Can't open data connection.") ? keepGoing : endSession;
    }
    m_log.Line(m_nId, "*", "data connection open to " + FormatAddr(m_dataAddr));
    if (!Reply(150, str150)) {
        close(nFileFd);
        close(nDataFd);
        return endSession;
    }
    std::string strText;
    int nCode = SendFile(nFileFd, nDataFd, strRemote, strLocal, strText);
    close(nFileFd);
    CloseFd(nDataFd);
    if (nCode == 0)
        return endSession;
    return Reply(nCode, strText) ? keepGoing : endSession;
}

int CSimSession::SendFile(int nFileFd, int& nDataFd, const std::string& strRemote,
                          const std::string& strLocal, std::string& strReplyText)
{
    const CSimFaults& faults = m_opts.m_faults;
    const SFault* pStall = faults.FindForFile("stall", strRemote, strLocal);
    const SFault* pDrop = pStall ? nullptr : faults.FindForFile("drop", strRemote, strLocal);
    long long nLimit = pStall ? pStall->m_nArg : pDrop ? pDrop->m_nArg : -1;
    std::vector<char> buf(static_cast<std::size_t>(m_opts.m_nBlockSize));
    long long nSent = 0;
    while (nLimit < 0 || nSent < nLimit) {
        std::size_t nWant = buf.size();
        if (nLimit >= 0 && static_cast<long long>(nWant) > nLimit - nSent)
            nWant = static_cast<std::size_t>(nLimit - nSent);
        ssize_t nRead = read(nFileFd, buf.data(), nWant);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0)
            break;
        if (!SendAll(nDataFd, buf.data(), static_cast<std::size_t>(nRead), m_opts.m_nIdleTimeoutMs,
                     m_stop)) {
            m_log.Line(m_nId, "*",
                       "data connection lost after " + std::to_string(nSent) + " bytes");
            if (m_stop.IsRaised())
                return 0;
            strReplyText = "Connection closed; transfer aborted.";
            return 426;
        }
        nSent += nRead;
    }
    m_log.Line(m_nId, "*", "sent " + std::to_string(nSent) + " bytes of " + strLocal);
    if (pStall) {
        m_log.Line(m_nId, "*", "transfer stalls (fault)");
        if (!HoldOpen(nDataFd))
            return 0;
        strReplyText = "Transfer stalled; aborted.";
        return 426;
    }
    if (pDrop) {
        m_log.Line(m_nId, "*", "data connection reset (fault)");
        CloseWithReset(nDataFd);
        nDataFd = -1;
        strReplyText = "Connection reset; transfer aborted.";
        return 426;
    }
    shutdown(nDataFd, SHUT_WR);
    strReplyText = "Transfer complete.";
    return 226;
}

bool CSimSession::HoldOpen(int nDataFd)
{
    if (m_reader.HasBuffered())
        return true;
    for (;;) {
        pollfd pfds[3] = {{m_stop.Fd(), POLLIN, 0}, {m_nCtrlFd, POLLIN, 0}, {nDataFd, POLLIN, 0}};
        int nReady = poll(pfds, nDataFd >= 0 ? 3 : 2, m_opts.m_nIdleTimeoutMs);
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady > 0 && pfds[0].revents)
            return false;
        if (nReady <= 0 || pfds[1].revents)
            return true; // time-out, or the client speaks or hangs up
        char buf[4096];
        if (recv(nDataFd, buf, sizeof buf, MSG_DONTWAIT) <= 0)
            return true; // the client closed the data connection
    }
}

CSimSession::EHandled CSimSession::OnSize(const std::string& strArg)
{
    std::string strRemote, strLocal;
    std::error_code ec;
    std::uintmax_t nSize = 0;
    if (!m_tree.ResolveFile(m_strCwd, strArg, strRemote, strLocal) ||
        (nSize = std::filesystem::file_size(m_tree.LocalPath(strLocal), ec), ec))
        return Reply(550, strArg + ": No such file or directory.") ? keepGoing : endSession;
    if (const SFault* pLie = m_opts.m_faults.FindForFile("size-lie", strRemote, strLocal))
        nSize = static_cast<std::uintmax_t>(pLie->m_nArg);
    return Reply(213, std::to_string(nSize)) ? keepGoing : endSession;
}

CSimSession::EHandled CSimSession::OnMdtm(const std::string& strArg)
{
    std::string strRemote, strLocal;
    struct stat st {};
    if (!m_tree.ResolveFile(m_strCwd, strArg, strRemote, strLocal) ||
        stat(m_tree.LocalPath(strLocal).c_str(), &st) != 0)
        return Reply(550, strArg + ": No such file or directory.") ? keepGoing : endSession;
    std::tm tmUtc{};
    gmtime_r(&st.st_mtime, &tmUtc);
    char szTime[32];
    std::strftime(szTime, sizeof szTime, "%Y%m%d%H%M%S", &tmUtc);
    return Reply(213, szTime) ? keepGoing : endSession;
}

} // namespace hpa::sim
