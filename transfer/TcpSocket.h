#pragma once
// A blocking IPv4 or IPv6 stream socket, used for both the FTP control connection
// (Connect) and the active-mode data connection (Listen, then Accept one
// peer). Every operation reports an integer, 0 for success unless stated;
// nothing throws. Close() may be called from another thread to release a
// thread blocked in Accept() or Receive().
#include "transfer/SocketAddress.h"
#include "transfer/SocketHandle.h"

#include <string>
#include <vector>

namespace hpa {

class CTcpSocket {
public:
    static constexpr int kDefaultTimeoutMs = 30000;

    CTcpSocket();
    ~CTcpSocket();
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Connects to a numeric IPv4 or IPv6 address. 1: no socket; 2: connection
    // failed.
    int Connect(int nPort, const char* pszAddress);
    // Tries the numeric addresses in order until one answers, all within one
    // send time-out; *pstrConnected (when given) gets the one that did. As
    // Connect, with the last attempt's result.
    int ConnectAny(int nPort, const std::vector<std::string>& addresses,
                   std::string* pstrConnected = nullptr);
    // Listens on the numeric local address (its family decides the socket's),
    // or on any IPv4 address when none is given. 2: no socket; 3: bind
    // failed; 4: listen failed.
    int Listen(int nPort, const char* pszLocalAddress = nullptr);
    // Waits at most the receive time-out for one connection on the listening
    // socket. With pszFromAddress (numeric, either family) set, a connection from any
    // other address is closed and the wait goes on. 1: failed or timed out.
    int Accept(const char* pszFromAddress = nullptr);
    // Shuts down and closes the connected socket, then the listening socket.
    // 0, or the first failure: 1 shut-down of the connected socket, 3 shut-down
    // of the listening socket.
    int Close();

    // One send; a count of 0 or less sends the text's length. The byte count
    // sent, or -1. A peer that has gone away gives -1, never a signal.
    int Send(const char* pszText, int nCount);
    // One receive of at most nSize bytes: the count, 0 at the end of the
    // stream, -1 on failure or time-out.
    int Receive(char* pBuffer, int nSize);
    // Reads one line of at most nLimit bytes, without its LF and a CR before
    // it. Returns the length; 0 for an empty line, the end of the stream or a
    // failure (strLine is then empty). A longer line comes in pieces.
    // *pbEnded (when given) tells whether a line feed ended the read, as
    // opposed to the limit or a failure.
    int ReadLine(std::string& strLine, int nLimit, bool* pbEnded = nullptr);
    // 1 when at least one byte can be received without blocking.
    int IsInputWaiting();
    // Throws away everything that has already arrived.
    void DrainInput();

    // Time-outs applied to each connected socket; the defaults are 30000 ms.
    void SetTimeouts(int nSendMs, int nReceiveMs);
    int SendTimeout() const { return m_nSendTimeout; }
    int ReceiveTimeout() const { return m_nReceiveTimeout; }

    // Numeric address (dotted IPv4 or IPv6 text) of the local end of the connected socket.
    bool GetLocalName(std::string& strAddress) const;
    bool IsConnected() const { return m_socket.IsOpen(); }
    bool IsListening() const { return m_listenSocket.IsOpen(); }

private:
    void ApplyTimeouts(int fd) const;
    int ConnectWithin(int nPort, const char* pszAddress, int nTimeoutMs);

    int m_nProtocol = 0;
    CSocketHandle m_socket;
    SSocketAddress m_peerAddress;
    CSocketHandle m_listenSocket;
    SSocketAddress m_localAddress;
    int m_nSendTimeout = kDefaultTimeoutMs;
    int m_nReceiveTimeout = kDefaultTimeoutMs;
};

} // namespace hpa
