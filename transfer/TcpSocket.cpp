#include "transfer/TcpSocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace hpa {

namespace {

// Everything DrainInput throws away at most in one call, so that a peer that
// never stops sending cannot keep the client in it for ever.
constexpr int kMaxDrainBytes = 1 << 20;

timeval ToTimeval(int nMs)
{
    timeval tv{};
    tv.tv_sec = nMs / 1000;
    tv.tv_usec = (nMs % 1000) * 1000;
    return tv;
}

} // namespace

CTcpSocket::CTcpSocket() = default;

CTcpSocket::~CTcpSocket()
{
    Close();
}

void CTcpSocket::SetTimeouts(int nSendMs, int nReceiveMs)
{
    m_nSendTimeout = nSendMs;
    m_nReceiveTimeout = nReceiveMs;
}

void CTcpSocket::ApplyTimeouts(int fd) const
{
    timeval send = ToTimeval(m_nSendTimeout);
    timeval receive = ToTimeval(m_nReceiveTimeout);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof receive);
}

ConnectResult CTcpSocket::Connect(int nPort, const char* pszAddress)
{
    return ConnectWithin(nPort, pszAddress, m_nSendTimeout);
}

ConnectResult CTcpSocket::ConnectAny(int nPort, const std::vector<std::string>& addresses,
                                     std::string* pstrConnected)
{
    // All attempts together take at most the one connect time-out.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_nSendTimeout);
    ConnectResult result = ConnectResult::failed;
    for (const std::string& strAddress : addresses) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        result = ConnectWithin(nPort, strAddress.c_str(), static_cast<int>(left.count()));
        if (result == ConnectResult::done) {
            if (pstrConnected)
                *pstrConnected = strAddress;
            return result;
        }
    }
    return result;
}

ConnectResult CTcpSocket::ConnectWithin(int nPort, const char* pszAddress, int nTimeoutMs)
{
    SSocketAddress addr;
    if (!SSocketAddress::Parse(pszAddress, nPort, addr))
        return ConnectResult::failed;
    int fd = ::socket(addr.Family(), SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return ConnectResult::noSocket;
    // The send time-out also bounds connect(), so an unreachable printer
    // fails after the time-out instead of the kernel's minutes of retries.
    ApplyTimeouts(fd);
    if (nTimeoutMs != m_nSendTimeout) {
        timeval connect = ToTimeval(nTimeoutMs);
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &connect, sizeof connect);
    }
    int rc;
    do {
        rc = ::connect(fd, addr.Get(), addr.m_nLength);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return ConnectResult::failed;
    }
    if (nTimeoutMs != m_nSendTimeout)
        ApplyTimeouts(fd);
    m_peerAddress = addr;
    m_socket.Adopt(fd);
    return ConnectResult::done;
}

ListenResult CTcpSocket::Listen(int nPort, const char* pszLocalAddress)
{
    m_listenSocket.Close();
    // Never let port 0 ask the kernel for a port PORT could not name.
    if (nPort < 1 || nPort > 65535)
        return ListenResult::bindFailed;
    SSocketAddress addr;
    if (pszLocalAddress) {
        if (!SSocketAddress::Parse(pszLocalAddress, nPort, addr))
            return ListenResult::bindFailed;
    } else {
        SSocketAddress::Parse("0.0.0.0", nPort, addr);
    }
    int fd = ::socket(addr.Family(), SOCK_STREAM | SOCK_CLOEXEC, m_nProtocol);
    if (fd < 0)
        return ListenResult::noSocket;
    // Lets the port that worked last time be bound again while an earlier
    // data connection on it lingers in TIME_WAIT; a port another socket is
    // listening on still fails to bind.
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, addr.Get(), addr.m_nLength) != 0) {
        ::close(fd);
        return ListenResult::bindFailed;
    }
    if (::listen(fd, 5) != 0) {
        ::close(fd);
        return ListenResult::listenFailed;
    }
    m_localAddress = addr;
    m_listenSocket.Adopt(fd);
    return ListenResult::done;
}

AcceptResult CTcpSocket::Accept(const char* pszFromAddress)
{
    SSocketAddress from;
    if (pszFromAddress && !SSocketAddress::Parse(pszFromAddress, 0, from))
        return AcceptResult::failed;
    const unsigned nEpoch = m_socket.Epoch();
    CSocketHandle::Ref listener = m_listenSocket.Borrow();
    if (!listener)
        return AcceptResult::failed;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_nReceiveTimeout);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return AcceptResult::failed;
        pollfd pfd{listener->m_fd, POLLIN, 0};
        int rc = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0 || !(pfd.revents & POLLIN))
            return AcceptResult::failed; // timed out, or the listening socket was shut down
        sockaddr_storage peerStorage{};
        socklen_t len = sizeof peerStorage;
        int fd = ::accept4(listener->m_fd, reinterpret_cast<sockaddr*>(&peerStorage), &len,
                           SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN)
                continue;
            return AcceptResult::failed;
        }
        const SSocketAddress peer =
            SSocketAddress::From(reinterpret_cast<const sockaddr*>(&peerStorage), len);
        if (pszFromAddress && !peer.SameHost(from)) {
            ::close(fd); // not the server: someone else found the port
            continue;
        }
        ApplyTimeouts(fd);
        // A Close() from another thread since the wait began wins.
        if (!m_socket.AdoptIfEpoch(fd, nEpoch))
            return AcceptResult::failed;
        m_peerAddress = peer;
        return AcceptResult::done;
    }
}

CloseResult CTcpSocket::Close()
{
    const bool bConnectedDown = m_socket.Close() == 0;
    // The listening socket is closed even when the connected one failed, so
    // that a thread waiting in Accept() is released.
    const bool bListenDown = m_listenSocket.Close() == 0;
    if (!bConnectedDown)
        return CloseResult::shutdownFailed;
    return bListenDown ? CloseResult::done : CloseResult::listenShutdownFailed;
}

int CTcpSocket::Send(const char* pszText, int nCount)
{
    if (nCount <= 0)
        nCount = static_cast<int>(std::strlen(pszText));
    CSocketHandle::Ref ref = m_socket.Borrow();
    if (!ref)
        return -1;
    ssize_t n;
    do {
        n = ::send(ref->m_fd, pszText, static_cast<std::size_t>(nCount), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

int CTcpSocket::Receive(char* pBuffer, int nSize)
{
    CSocketHandle::Ref ref = m_socket.Borrow();
    if (!ref || nSize <= 0)
        return -1;
    ssize_t n;
    do {
        n = ::recv(ref->m_fd, pBuffer, static_cast<std::size_t>(nSize), 0);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : static_cast<int>(n);
}

int CTcpSocket::ReadLine(std::string& strLine, int nLimit, bool* pbEnded)
{
    strLine.clear();
    if (pbEnded)
        *pbEnded = false;
    while (static_cast<int>(strLine.size()) < nLimit) {
        char ch = 0;
        if (Receive(&ch, 1) <= 0) {
            strLine.clear();
            return 0;
        }
        if (ch == '\n') {
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
            if (pbEnded)
                *pbEnded = true;
            break;
        }
        strLine.push_back(ch);
    }
    return static_cast<int>(strLine.size());
}

bool CTcpSocket::IsInputWaiting()
{
    CSocketHandle::Ref ref = m_socket.Borrow();
    if (!ref)
        return false;
    // A non-blocking peek; the socket itself stays in blocking mode, so a
    // receive on another thread is never surprised by EAGAIN.
    char ch;
    ssize_t n = ::recv(ref->m_fd, &ch, 1, MSG_PEEK | MSG_DONTWAIT);
    return n > 0;
}

void CTcpSocket::DrainInput()
{
    char buffer[50];
    int nDrained = 0;
    while (nDrained < kMaxDrainBytes && IsInputWaiting()) {
        int n = Receive(buffer, sizeof buffer);
        if (n <= 0)
            break;
        nDrained += n;
    }
}

bool CTcpSocket::GetLocalName(std::string& strAddress) const
{
    CSocketHandle::Ref ref = m_socket.Borrow();
    if (!ref)
        return false;
    sockaddr_storage storage{};
    socklen_t len = sizeof storage;
    if (::getsockname(ref->m_fd, reinterpret_cast<sockaddr*>(&storage), &len) != 0)
        return false;
    const std::string strText =
        SSocketAddress::From(reinterpret_cast<const sockaddr*>(&storage), len).HostText();
    if (strText.empty())
        return false;
    strAddress = strText;
    return true;
}

} // namespace hpa
