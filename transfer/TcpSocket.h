#pragma once
// A blocking IPv4 or IPv6 stream socket, used for both the FTP control connection
// (Connect) and the active-mode data connection (Listen, then Accept one
// peer). Every operation reports a result (or a byte count); nothing throws. Close() may be called
// from another thread to release a thread blocked in Accept() or Receive().
#include "transfer/SocketAddress.h"
#include "transfer/SocketHandle.h"

#include <string>
#include <vector>

namespace hpa {

// Results of the socket operations. The numbers are fixed per operation (the
// FTP client passes them on as its own codes), so the same failure can carry
// a different number in two operations.
enum class ConnectResult { done = 0, noSocket = 1, failed = 2 };
enum class ListenResult { done = 0, noSocket = 2, bindFailed = 3, listenFailed = 4 };
enum class AcceptResult { done = 0, failed = 1 };
enum class CloseResult { done = 0, shutdownFailed = 1, listenShutdownFailed = 3 };

class CTcpSocket {
public:
    static constexpr int kDefaultTimeoutMs = 30000;

    CTcpSocket();
    ~CTcpSocket();
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Connects to a numeric IPv4 or IPv6 address (text that is neither fails).
    [[nodiscard]] ConnectResult Connect(int nPort, const char* pszAddress);
    // Tries the numeric addresses in order until one answers, all within one
    // send time-out; *pstrConnected (when given) gets the one that did. The
    // last attempt's result (failed for an empty list).
    [[nodiscard]] ConnectResult ConnectAny(int nPort, const std::vector<std::string>& addresses,
                                           std::string* pstrConnected = nullptr);
    // Listens on the numeric local address (its family decides the socket's),
    // or on any IPv4 address when none is given (ports 1..65535; another
    // port or an address that is not numeric fails to bind).
    [[nodiscard]] ListenResult Listen(int nPort, const char* pszLocalAddress = nullptr);
    // Waits at most the receive time-out for one connection on the listening
    // socket. With pszFromAddress (numeric, either family) set, a connection
    // from any other address is closed and the wait goes on. Fails on a
    // time-out too.
    [[nodiscard]] AcceptResult Accept(const char* pszFromAddress = nullptr);
    // Shuts down and closes the connected socket, then the listening socket.
    // Reports the first failed shut-down; both sockets are let go of either
    // way, so callers that only want them gone may ignore the result.
    CloseResult Close();

    // One send; a count of 0 or less sends the text's length. The byte count
    // sent, or -1. A peer that has gone away gives -1, never a signal.
    [[nodiscard]] int Send(const char* pszText, int nCount);
    // One receive of at most nSize bytes: the count, 0 at the end of the
    // stream, -1 on failure or time-out.
    [[nodiscard]] int Receive(char* pBuffer, int nSize);
    // Reads one line of at most nLimit bytes, without its LF and a CR before
    // it. Returns the length; 0 for an empty line, the end of the stream or a
    // failure (strLine is then empty). A longer line comes in pieces.
    // *pbEnded (when given) tells whether a line feed ended the read, as
    // opposed to the limit or a failure.
    [[nodiscard]] int ReadLine(std::string& strLine, int nLimit, bool* pbEnded = nullptr);
    // True when at least one byte can be received without blocking.
    [[nodiscard]] bool IsInputWaiting();
    // Throws away everything that has already arrived.
    void DrainInput();

    // Time-outs applied to each connected socket; the defaults are 30000 ms.
    void SetTimeouts(int nSendMs, int nReceiveMs);
    int SendTimeout() const { return m_nSendTimeout; }
    int ReceiveTimeout() const { return m_nReceiveTimeout; }

    // Numeric address (dotted IPv4 or IPv6 text) of the local end of the
    // connected socket.
    [[nodiscard]] bool GetLocalName(std::string& strAddress) const;
    bool IsConnected() const { return m_socket.IsOpen(); }
    bool IsListening() const { return m_listenSocket.IsOpen(); }

private:
    void ApplyTimeouts(int fd) const;
    ConnectResult ConnectWithin(int nPort, const char* pszAddress, int nTimeoutMs);

    int m_nProtocol = 0;
    CSocketHandle m_socket;
    SSocketAddress m_peerAddress;
    CSocketHandle m_listenSocket;
    SSocketAddress m_localAddress;
    int m_nSendTimeout = kDefaultTimeoutMs;
    int m_nReceiveTimeout = kDefaultTimeoutMs;
};

} // namespace hpa
