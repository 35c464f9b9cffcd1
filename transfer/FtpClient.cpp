#include "transfer/FtpClient.h"

#include "transfer/FtpText.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

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

CFtpClient::AddressResult CFtpClient::ResolveAll(const std::string& strHost,
                                                 std::vector<std::string>& addresses) const
{
    addresses.clear();
    const std::string strName = HostAfterLastAt(strHost);
    addrinfo hints{};
    // Every family the resolver offers, in its order of preference. No
    // AI_ADDRCONFIG: it would hide ::1 on a host whose only IPv6 address is
    // the loopback one.
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pResult = nullptr;
    if (strName.empty() || strName.find('\0') != std::string::npos ||
        ::getaddrinfo(strName.c_str(), nullptr, &hints, &pResult) != 0 || !pResult)
        return AddressResult::notResolved;
    for (const addrinfo* p = pResult; p; p = p->ai_next) {
        const std::string strText = SSocketAddress::From(p->ai_addr, p->ai_addrlen).HostText();
        if (!strText.empty() &&
            std::find(addresses.begin(), addresses.end(), strText) == addresses.end())
            addresses.push_back(strText);
    }
    ::freeaddrinfo(pResult);
    return addresses.empty() ? AddressResult::notResolved : AddressResult::done;
}

CFtpClient::AddressResult CFtpClient::ResolveHost(const std::string& strHost,
                                                  std::string& strAddress,
                                                  std::size_t nBufferSize) const
{
    std::vector<std::string> addresses;
    if (ResolveAll(strHost, addresses) != AddressResult::done)
        return AddressResult::notResolved;
    if (addresses.front().size() + 1 > nBufferSize)
        return AddressResult::tooLong;
    strAddress = addresses.front();
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
    std::vector<std::string> addresses{strName};
    if (!IsDottedAddress(strName) && ResolveAll(strName, addresses) != AddressResult::done)
        return LoginResult::hostNotResolved;
    std::string strAddress;
    if (m_control.ConnectAny(nPort, addresses, &strAddress) != ConnectResult::done)
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
