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

void SplitHostPort(const std::string& strText, std::string& strHost, int& nPort)
{
    strHost = strText;
    nPort = 21;
    std::size_t colon = strText.rfind(':');
    if (colon == std::string::npos || colon + 1 == strText.size() || strText.size() - colon > 6)
        return;
    int nValue = 0;
    for (std::size_t i = colon + 1; i < strText.size(); ++i) {
        if (strText[i] < '0' || strText[i] > '9')
            return;
        nValue = nValue * 10 + (strText[i] - '0');
    }
    if (nValue < 1 || nValue > 65535)
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
