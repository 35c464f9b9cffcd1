#include "SimNet.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hpa::sim {

CStopSignal::CStopSignal()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_nReadFd = fds[0];
        m_nWriteFd = fds[1];
    }
}

CStopSignal::~CStopSignal()
{
    if (m_nReadFd >= 0)
        close(m_nReadFd);
    if (m_nWriteFd >= 0)
        close(m_nWriteFd);
}

void CStopSignal::Raise() const
{
    // The byte is never read back, so the pipe stays readable from now on.
    const char ch = 1;
    [[maybe_unused]] ssize_t n = write(m_nWriteFd, &ch, 1);
}

bool CStopSignal::IsRaised() const
{
    pollfd pfd{m_nReadFd, POLLIN, 0};
    return poll(&pfd, 1, 0) > 0;
}

EWait WaitFor(int nFd, short nEvents, int nTimeoutMs, const CStopSignal& stop)
{
    using Clock = std::chrono::steady_clock;
    const auto tEnd = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;) {
        pollfd pfds[2] = {{stop.Fd(), POLLIN, 0}, {nFd, nEvents, 0}};
        auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(tEnd - Clock::now());
        if (nLeft.count() < 0)
            nLeft = std::chrono::milliseconds(0);
        int nReady = poll(pfds, nFd >= 0 ? 2 : 1, static_cast<int>(nLeft.count()));
        if (nReady < 0) {
            if (errno == EINTR)
                continue;
            return EWait::error;
        }
        if (pfds[0].revents)
            return EWait::stopped;
        if (nReady > 0 && nFd >= 0 && pfds[1].revents)
            return EWait::ready;
        if (Clock::now() >= tEnd)
            return EWait::timeout;
    }
}

bool SleepMs(int nMs, const CStopSignal& stop)
{
    return WaitFor(-1, 0, nMs, stop) == EWait::timeout;
}

bool SendAll(int nFd, const char* pData, std::size_t nSize, int nTimeoutMs, const CStopSignal& stop)
{
    while (nSize > 0) {
        ssize_t nSent = send(nFd, pData, nSize, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (nSent > 0) {
            pData += nSent;
            nSize -= static_cast<std::size_t>(nSent);
            continue;
        }
        if (nSent < 0 && errno == EINTR)
            continue;
        if (nSent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (WaitFor(nFd, POLLOUT, nTimeoutMs, stop) != EWait::ready)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

int ConnectTo(const SSocketAddress& addr, const SSocketAddress* pLocal, int nTimeoutMs,
              const CStopSignal& stop)
{
    int nFd = socket(addr.Family(), SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (nFd < 0)
        return -1;
    // The local end of another family (an IPv4 client on a dual-stack
    // listener reads as v4-mapped) cannot be bound: the kernel picks then.
    if (pLocal && pLocal->Family() == addr.Family()) {
        SSocketAddress local = *pLocal;
        local.SetPort(0);
        if (bind(nFd, local.Get(), local.m_nLength) != 0) {
            close(nFd);
            return -1;
        }
    }
    if (connect(nFd, addr.Get(), addr.m_nLength) == 0)
        return nFd;
    if (errno != EINPROGRESS || WaitFor(nFd, POLLOUT, nTimeoutMs, stop) != EWait::ready) {
        close(nFd);
        return -1;
    }
    int nErr = 0;
    socklen_t nLen = sizeof nErr;
    if (getsockopt(nFd, SOL_SOCKET, SO_ERROR, &nErr, &nLen) != 0 || nErr != 0) {
        close(nFd);
        return -1;
    }
    return nFd;
}

void CloseWithReset(int nFd)
{
    linger lin{1, 0};
    setsockopt(nFd, SOL_SOCKET, SO_LINGER, &lin, sizeof lin);
    close(nFd);
}

void CloseFd(int& nFd)
{
    if (nFd >= 0)
        close(nFd);
    nFd = -1;
}

std::string FormatAddr(const SSocketAddress& addr)
{
    std::string strHost = addr.HostText();
    if (strHost.empty())
        strHost = "?";
    else if (addr.Family() == AF_INET6)
        strHost = "[" + strHost + "]";
    return strHost + ":" + std::to_string(addr.Port());
}

bool IsLoopback(const SSocketAddress& addr)
{
    if (addr.Family() == AF_INET) {
        const auto* p4 = reinterpret_cast<const sockaddr_in*>(&addr.m_storage);
        return (ntohl(p4->sin_addr.s_addr) >> 24) == 127;
    }
    if (addr.Family() == AF_INET6) {
        const in6_addr& a = reinterpret_cast<const sockaddr_in6*>(&addr.m_storage)->sin6_addr;
        return IN6_IS_ADDR_LOOPBACK(&a) || (IN6_IS_ADDR_V4MAPPED(&a) && a.s6_addr[12] == 127);
    }
    return false;
}

CLineReader::EResult CLineReader::ReadLine(std::string& strLine, int nTimeoutMs,
                                           const CStopSignal& stop)
{
    for (;;) {
        if (auto* pLf = static_cast<char*>(std::memchr(m_buf, '\n', m_nLen))) {
            std::size_t nLine = static_cast<std::size_t>(pLf - m_buf);
            bool bTooLong = m_bDiscarding || nLine > m_nMaxLine;
            if (!bTooLong) {
                strLine.assign(m_buf, nLine);
                if (!strLine.empty() && strLine.back() == '\r')
                    strLine.pop_back();
            }
            m_nLen -= nLine + 1;
            std::memmove(m_buf, pLf + 1, m_nLen);
            m_bDiscarding = false;
            return bTooLong ? tooLong : line;
        }
        // No line end yet: past the limit, keep only the discarding state.
        if (m_nLen > m_nMaxLine || m_nLen == kBufSize) {
            m_bDiscarding = true;
            m_nLen = 0;
        }
        EWait wait = WaitFor(m_nFd, POLLIN, nTimeoutMs, stop);
        if (wait == EWait::stopped)
            return stopped;
        if (wait != EWait::ready)
            return wait == EWait::timeout ? timeout : closed;
        ssize_t nRead = recv(m_nFd, m_buf + m_nLen, kBufSize - m_nLen, MSG_DONTWAIT);
        if (nRead < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (nRead <= 0)
            return closed;
        m_nLen += static_cast<std::size_t>(nRead);
    }
}

} // namespace hpa::sim
