#pragma once
// Fuzz target for the FTP client's reply reading (ReadReply over ReadLine
// and DrainInput), driven through a real login on loopback so the bytes come
// through the same socket calls as from a printer.
//
// The input is the server's side of the conversation, in segments split at
// "@@": the first is sent on connect (the greeting), each further one after
// the next command line arrives, or after a short pause when the client sits
// in the middle of a reply and sends nothing. When the segments run out the
// server resets the connection. The client must finish with a result from
// its table, within its time-outs, whatever the bytes.
#include "fuzz/FuzzCheck.h"

#include "transfer/FtpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace hpa::fuzz {

// How long the server waits for a command before sending the next segment
// anyway, and the client's time-outs (never reached when all goes right).
constexpr int kFtpPauseMs = 5;
constexpr int kFtpClientTimeoutMs = 2000;
constexpr std::size_t kMaxFtpSegments = 32;

class CFuzzFtpListener {
public:
    CFuzzFtpListener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(m_fd, 4) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        m_nPort = ntohs(addr.sin_port);
    }
    ~CFuzzFtpListener()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFuzzFtpListener(const CFuzzFtpListener&) = delete;
    CFuzzFtpListener& operator=(const CFuzzFtpListener&) = delete;

    int Fd() const { return m_fd; }
    int Port() const { return m_nPort; }

    static const CFuzzFtpListener& Get()
    {
        static CFuzzFtpListener s_listener;
        HPA_FUZZ_CHECK(s_listener.Port() > 0);
        return s_listener;
    }

private:
    int m_fd = -1;
    int m_nPort = 0;
};

inline std::vector<std::string_view> SplitSegments(std::string_view input)
{
    std::vector<std::string_view> segments;
    while (segments.size() + 1 < kMaxFtpSegments) {
        const std::size_t nAt = input.find("@@");
        if (nAt == std::string_view::npos)
            break;
        segments.push_back(input.substr(0, nAt));
        input.remove_prefix(nAt + 2);
    }
    segments.push_back(input);
    return segments;
}

// Waits for one command line (or the client's hang-up); false when the
// client sent nothing for kFtpPauseMs or has gone.
inline bool AwaitCommand(int fd, bool& bGone)
{
    char ch = 0;
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, kFtpPauseMs) <= 0)
            return false;
        const ssize_t n = ::recv(fd, &ch, 1, 0);
        if (n <= 0) {
            bGone = true;
            return false;
        }
        if (ch == '\n')
            return true;
    }
}

inline void ServeSegments(const std::vector<std::string_view>& segments)
{
    const int fd = ::accept4(CFuzzFtpListener::Get().Fd(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    bool bGone = false;
    for (std::size_t n = 0; n < segments.size() && !bGone; ++n) {
        if (n > 0)
            AwaitCommand(fd, bGone);
        const std::string_view segment = segments[n];
        if (!segment.empty() && !bGone)
            ::send(fd, segment.data(), segment.size(), MSG_NOSIGNAL);
    }
    // Let the client read what is left, then reset: no TIME_WAIT pile-up
    // over millions of runs.
    while (!bGone && AwaitCommand(fd, bGone)) {
    }
    linger reset{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(fd);
}

inline int FuzzFtpReply(const std::uint8_t* pData, std::size_t nSize)
{
    const std::vector<std::string_view> segments =
        SplitSegments(std::string_view(reinterpret_cast<const char*>(pData), nSize));
    const std::string strHost = "127.0.0.1:" + std::to_string(CFuzzFtpListener::Get().Port());

    std::thread server(ServeSegments, std::cref(segments));
    const auto tStart = std::chrono::steady_clock::now();
    using LoginResult = CFtpClient::LoginResult;
    using TypeResult = CFtpClient::TypeResult;
    int nResult = -1;
    {
        CFtpClient client;
        client.SetTimeouts(kFtpClientTimeoutMs, kFtpClientTimeoutMs);
        nResult = static_cast<int>(client.Login(strHost, "admin", "secret"));
        if (nResult == static_cast<int>(LoginResult::loggedIn)) {
            // Replies the login left behind, then a command with a reply.
            for (int n = 0; n < 2; ++n)
                (void)client.ReadReply();
            const TypeResult type = client.SetType(1);
            HPA_FUZZ_CHECK(type == TypeResult::done || type == TypeResult::noReply ||
                           type == TypeResult::refused);
        }
        client.Quit();
    }
    server.join();
    HPA_FUZZ_CHECK(nResult >= static_cast<int>(LoginResult::loggedIn) &&
                   nResult <= static_cast<int>(LoginResult::acctRefused));
    HPA_FUZZ_CHECK(nResult != static_cast<int>(LoginResult::hostNotResolved) &&
                   nResult != static_cast<int>(LoginResult::connectFailed));
    // Segments and pauses are bounded, so the whole conversation is too: a
    // client that waited out a time-out was stuck on bytes already there.
    const auto elapsed = std::chrono::steady_clock::now() - tStart;
    HPA_FUZZ_CHECK(elapsed < std::chrono::milliseconds(kFtpClientTimeoutMs));
    return 0;
}

} // namespace hpa::fuzz
