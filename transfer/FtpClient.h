#pragma once
// A small blocking FTP client for the printer's built-in server: one control
// connection (login, TYPE, Quit, reply reading) and active-mode retrieval of
// single files over a data connection the server opens to us.
//
// Replies are not read in lock step: RetrieveFile leaves the replies to PORT
// and RETR on the control connection, and the next ReadReply takes the first
// complete reply and throws away whatever already waits behind it.
#include "platform/Clock.h"
#include "transfer/TcpSocket.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace hpa {

// Bytes written to the local file by the retrieval in progress. Written by
// the transfer thread, read by the user interface thread for display.
extern std::atomic<std::int64_t> g_nBytesReceived;

class CFtpClient {
public:
    // Results of Login. The numbers are fixed: they are what the session
    // reports and what users quote back.
    enum class LoginResult {
        loggedIn = 0,
        hostNotResolved = 1,
        connectFailed = 2,
        noGreeting = 3,
        greetingRefused = 4,
        noUserReply = 5,
        userRefused = 6,
        noPassReply = 7,
        passRefused = 8,
        noAcctReply = 9,
        acctRefused = 10,
    };
    // Results of ResolveHost and GetLocalAddress (tooLong and noLocalName
    // share their number).
    enum class AddressResult { done = 0, tooLong = 1, noLocalName = 1, notResolved = 2 };
    // Results of SetType.
    enum class TypeResult { done = 0, unknownType = 1, noReply = 2, refused = 3 };

    // Longest reply line piece, and the most lines one reply may take.
    static constexpr int kReplyLineLimit = 100;
    static constexpr int kMaxReplyLines = 10000;
    static constexpr int kPortAttempts = 50;
    static constexpr int kBlockSize = 2048;

    // The first data port is taken from the clock's tick count: 5578..5643.
    explicit CFtpClient(const CClock& clock = SystemClock());
    // Quits (sends "Quit" once more and closes both sockets).
    ~CFtpClient();
    CFtpClient(const CFtpClient&) = delete;
    CFtpClient& operator=(const CFtpClient&) = delete;

    // Looks up the part of the host text after its last at sign: every
    // address (IPv6 and IPv4) as numeric text, in the resolver's order, each
    // once; notResolved when there is none. Thread-safe (getaddrinfo).
    [[nodiscard]] AddressResult ResolveAll(const std::string& strHost,
                                           std::vector<std::string>& addresses) const;
    // The first of those addresses, or tooLong if it would not fit a buffer
    // of nBufferSize bytes.
    [[nodiscard]] AddressResult ResolveHost(const std::string& strHost, std::string& strAddress,
                                            std::size_t nBufferSize = 100) const;
    // The address the server should connect back to: the local end of the
    // control connection, else the local host name's first address
    // (noLocalName when there is neither).
    [[nodiscard]] AddressResult GetLocalAddress(std::string& strAddress,
                                                std::size_t nBufferSize = 200) const;

    // Connects to the host (port 21, or the port after a final ":"; an IPv6
    // literal in brackets), trying each of its addresses in turn, and logs
    // in with USER, PASS and, when asked, ACCT with strAccount (empty unless
    // given; a 332 reply is answered only when an account was given).
    // User names, passwords and accounts holding CR, LF or NUL are refused
    // before anything is sent (userRefused, passRefused).
    [[nodiscard]] LoginResult Login(const std::string& strHost, const std::string& strUser,
                                    const std::string& strPassword,
                                    const std::string& strAccount = {});
    // Sends "Quit\r\n" without reading a reply and closes both connections.
    // Safe to call any number of times, and from another thread to release
    // a retrieval blocked on the data connection. Always 0.
    int Quit();
    // 0 ASCII ("TYPE A"), 1 binary ("TYPE I"); done on a 2xx reply, refused
    // on another. Any other type sends nothing (unknownType).
    [[nodiscard]] TypeResult SetType(int nType);
    // The code of the next complete reply, or 0 when none could be read.
    [[nodiscard]] int ReadReply();

    // Fetches one file over an active-mode data connection into a local file
    // (bCreate 1: created or emptied; 0: appended, the file must exist).
    // Resets *pnCounter and adds each block to it. Returns the bytes written;
    // 0 when nothing came or the retrieval failed.
    [[nodiscard]] std::int64_t RetrieveFile(const std::string& strRemoteName,
                                            const std::string& strLocalName, int bCreate,
                                            std::atomic<std::int64_t>* pnCounter);

    // Send and receive time-outs of both connections (default 30000 ms);
    // the receive time-out also bounds the wait for the data connection.
    void SetTimeouts(int nSendMs, int nReceiveMs);
    int DataPort() const { return m_nDataPort; }
    // Where the next data port search starts (tests; hosts whose firewall
    // opens another range).
    void SetDataPort(int nPort) { m_nDataPort = nPort; }
    // The address logged into; data connections are accepted from it only.
    const std::string& ServerAddress() const { return m_strServerAddress; }

private:
    int SendCommand(const std::string& strLine);
    bool FindDataPort(const std::string& strLocalAddress);
    std::int64_t ReceiveInto(const std::string& strLocalName, int bCreate,
                             std::atomic<std::int64_t>* pnCounter);

    CTcpSocket m_control;
    CTcpSocket m_data;
    int m_nDataPort;
    std::string m_strServerAddress;
};

} // namespace hpa
