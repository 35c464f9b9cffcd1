#include "transfer/FtpText.h"

#include <arpa/inet.h>

#include <climits>

namespace hpa {

std::int64_t LeadingInt64(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    std::int64_t nValue = 0;
    // Past 18 digits the value only saturates; the callers clamp it anyway.
    constexpr std::int64_t kCap = 100000000000000000LL;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (nValue < kCap)
            nValue = nValue * 10 + (text[i] - '0');
    }
    return bNegative ? -nValue : nValue;
}

std::int32_t LeadingInt(std::string_view text)
{
    std::int64_t nValue = LeadingInt64(text);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<std::int32_t>(nValue);
}

bool IsSafeArgument(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

namespace {

// 1..65535 from a text of one to five digits, else 0.
int ParsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5)
        return 0;
    int nValue = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return 0;
        nValue = nValue * 10 + (ch - '0');
    }
    return nValue <= 65535 ? nValue : 0;
}

} // namespace

void SplitHostPort(const std::string& strText, std::string& strHost, int& nPort)
{
    strHost = strText;
    nPort = 21;
    // An IPv6 literal is written in brackets, "[fd00::5]" or "[fd00::5]:2121";
    // whatever stands before the bracket (a user part) is kept.
    const std::size_t nOpen = strText.find('[');
    const std::size_t nClose = strText.rfind(']');
    if (nOpen != std::string::npos && nClose != std::string::npos && nOpen < nClose) {
        const std::string_view rest = std::string_view(strText).substr(nClose + 1);
        int nValue = 21;
        if (!rest.empty()) {
            if (rest[0] != ':' || (nValue = ParsePort(rest.substr(1))) == 0)
                return;
        }
        strHost = strText.substr(0, nOpen) + strText.substr(nOpen + 1, nClose - nOpen - 1);
        nPort = nValue;
        return;
    }
    std::size_t colon = strText.rfind(':');
    if (colon == std::string::npos)
        return;
    // A bare IPv6 literal holds several colons: none of them starts a port.
    if (strText.find(':') != colon)
        return;
    const int nValue = ParsePort(std::string_view(strText).substr(colon + 1));
    if (nValue == 0)
        return;
    strHost = strText.substr(0, colon);
    nPort = nValue;
}

bool IsDottedAddress(const std::string& strText)
{
    in_addr addr{};
    return ::inet_pton(AF_INET, strText.c_str(), &addr) == 1;
}

std::string HostAfterLastAt(const std::string& strText)
{
    for (std::size_t i = strText.size(); i-- > 1;) {
        if (strText[i] == '@')
            return strText.substr(i + 1);
    }
    return strText;
}

std::string FormatEprtCommand(const std::string& strIpv6Address, int nPort)
{
    return "EPRT |2|" + strIpv6Address + "|" + std::to_string(nPort) + "|\r\n";
}

std::string FormatPortCommand(const std::string& strDottedAddress, int nPort)
{
    std::string strAddress = strDottedAddress;
    for (char& ch : strAddress) {
        if (ch == '.')
            ch = ',';
    }
    return "PORT " + strAddress + "," + std::to_string(nPort / 256) + "," +
           std::to_string(nPort % 256) + "\r\n";
}

} // namespace hpa
