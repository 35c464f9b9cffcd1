#include "transfer/FtpClient.h"

#include "transfer/FtpText.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hpa {

std::atomic<std::int64_t> g_nBytesReceived{0};

CFtpClient::CFtpClient(const CClock& clock)
    : m_nDataPort(static_cast<int>((clock.TickCount() & 0xFFFFu) / 1000u) + 5578)
{
}

CFtpClient::~CFtpClient()
{
    Quit();
}

void CFtpClient::SetTimeouts(int nSendMs, int nReceiveMs)
{
    m_control.SetTimeouts(nSendMs, nReceiveMs);
    m_data.SetTimeouts(nSendMs, nReceiveMs);
}

CFtpClient::AddressResult CFtpClient::ResolveHost(const std::string& strHost,
                                                  std::string& strAddress,
                                                  std::size_t nBufferSize) const
{
    const std::string strName = HostAfterLastAt(strHost);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pResult = nullptr;
    if (strName.find('\0') != std::string::npos ||
        ::getaddrinfo(strName.c_str(), nullptr, &hints, &pResult) != 0 || !pResult)
        return AddressResult::notResolved;
    char text[INET_ADDRSTRLEN] = {};
    const auto* pAddr = reinterpret_cast<const sockaddr_in*>(pResult->ai_addr);
    const bool bConverted = ::inet_ntop(AF_INET, &pAddr->sin_addr, text, sizeof text) != nullptr;
    ::freeaddrinfo(pResult);
    if (!bConverted)
        return AddressResult::notResolved;
    const std::string strText = text;
    if (strText.size() + 1 > nBufferSize)
        return AddressResult::tooLong;
    strAddress = strText;
    return AddressResult::done;
}

CFtpClient::AddressResult CFtpClient::GetLocalAddress(std::string& strAddress,
                                                      std::size_t nBufferSize) const
{
    // The address the control connection runs from is the one the server can
    // reach us on (and the one servers that check PORT addresses accept).
    std::string strLocal;
    if (m_control.GetLocalName(strLocal)) {
        if (strLocal.size() + 1 > nBufferSize)
            return AddressResult::tooLong;
        strAddress = strLocal;
        return AddressResult::done;
    }
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return AddressResult::noLocalName;
    return ResolveHost(name, strAddress, nBufferSize);
}

int CFtpClient::SendCommand(const std::string& strLine)
{
    return m_control.Send(strLine.data(), static_cast<int>(strLine.size()));
}

int CFtpClient::ReadReply()
{
    std::string strLine;
    int nCode = 0;
    bool bMultiLine = false;
    bool bCut = false; // the last piece stopped at the limit, mid-line
    for (int nLines = 0;; ++nLines) {
        bool bEnded = false;
        if (nLines == kMaxReplyLines)
            return 0;
        if (m_control.ReadLine(strLine, kReplyLineLimit, &bEnded) == 0) {
            // The bare line end behind a piece of exactly the limit is the
            // end of that long line, not an empty reply line.
            if (bCut && bEnded) {
                bCut = false;
                continue;
            }
            return 0;
        }
        bCut = !bEnded;
        const int nLineCode = LeadingInt(std::string_view(strLine).substr(0, 3));
        const char chSeparator = strLine.size() > 3 ? strLine[3] : '\0';
        if (!bMultiLine) {
            nCode = nLineCode;
            if (chSeparator == ' ')
                break;
            bMultiLine = true;
        } else if (chSeparator == ' ' && nLineCode == nCode) {
            break;
        }
    }
    // Whatever already waits behind the reply (the unread answers to PORT
    // and RETR, for instance) is stale by now.
    m_control.DrainInput();
    return nCode;
}

CFtpClient::LoginResult CFtpClient::Login(const std::string& strHost, const std::string& strUser,
                                          const std::string& strPassword,
                                          const std::string& strAccount)
{
    Quit();
    if (!IsSafeArgument(strUser))
        return LoginResult::userRefused;
    if (!IsSafeArgument(strPassword))
        return LoginResult::passRefused;
    if (!IsSafeArgument(strAccount))
        return LoginResult::acctRefused;

    std::string strName;
    int nPort = 21;
    SplitHostPort(strHost, strName, nPort);
    std::string strAddress = strName;
    if (!IsDottedAddress(strName) && ResolveHost(strName, strAddress, 100) != AddressResult::done)
        return LoginResult::hostNotResolved;
    if (m_control.Connect(nPort, strAddress.c_str()) != ConnectResult::done)
        return LoginResult::connectFailed;
    m_strServerAddress = strAddress;

    int nCode = ReadReply();
    if (nCode == 0)
        return LoginResult::noGreeting;
    if (nCode < 200 || nCode > 399)
        return LoginResult::greetingRefused;

    SendCommand("USER " + strUser + "\r\n");
    nCode = ReadReply();
    if (nCode == 0)
        return LoginResult::noUserReply;
    if (nCode >= 200 && nCode <= 299)
        return LoginResult::loggedIn;
    if (nCode < 300 || nCode > 399)
        return LoginResult::userRefused;

    SendCommand("PASS " + strPassword + "\r\n");
    nCode = ReadReply();
    if (nCode == 0)
        return LoginResult::noPassReply;
    // 332 asks for an account: answered when one was given.
    const bool bAccountWanted = nCode == 300 || (nCode == 332 && !strAccount.empty());
    if (!bAccountWanted && ((nCode >= 200 && nCode <= 299) || (nCode >= 301 && nCode <= 399)))
        return LoginResult::loggedIn;
    if (!bAccountWanted)
        return LoginResult::passRefused;

    // Without a given account the account text is empty.
    SendCommand("ACCT " + strAccount + "\r\n");
    nCode = ReadReply();
    if (nCode == 0)
        return LoginResult::noAcctReply;
    if (nCode >= 200 && nCode <= 399)
        return LoginResult::loggedIn;
    return LoginResult::acctRefused;
}

int CFtpClient::Quit()
{
    SendCommand("Quit\r\n");
    m_control.Close();
    m_data.Close();
    return 0;
}

CFtpClient::TypeResult CFtpClient::SetType(int nType)
{
    if (nType != 0 && nType != 1)
        return TypeResult::unknownType;
    SendCommand(nType == 0 ? "TYPE A\r\n" : "TYPE I\r\n");
    const int nCode = ReadReply();
    if (nCode == 0)
        return TypeResult::noReply;
    return nCode >= 200 && nCode <= 299 ? TypeResult::done : TypeResult::refused;
}

} // namespace hpa
