#include "accounting/AccText.h"

#include <limits>

namespace hpa {

std::string_view TrimLeadingSpace(std::string_view str)
{
    std::size_t n = 0;
    while (n < str.size() && IsAccSpace(str[n]))
        ++n;
    return str.substr(n);
}

std::int32_t LeadingInteger(std::string_view str)
{
    std::size_t n = 0;
    while (n < str.size() && IsAccSpace(str[n]))
        ++n;
    bool bNegative = false;
    if (n < str.size() && (str[n] == '+' || str[n] == '-')) {
        bNegative = str[n] == '-';
        ++n;
    }
    // Accumulate with the sign applied and stop growing at the limit, so a
    // printer writing an absurd number cannot make us overflow.
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t nValue = 0;
    for (; n < str.size() && str[n] >= '0' && str[n] <= '9'; ++n) {
        const int nDigit = str[n] - '0';
        nValue = bNegative ? nValue * 10 - nDigit : nValue * 10 + nDigit;
        if (nValue > kMax)
            return static_cast<std::int32_t>(kMax);
        if (nValue < kMin)
            return static_cast<std::int32_t>(kMin);
    }
    return static_cast<std::int32_t>(nValue);
}

std::string StripEnclosing(std::string_view str)
{
    if (str.size() <= 2)
        return {};
    return std::string(TrimLeadingSpace(str.substr(1, str.size() - 2)));
}

bool CTokenizer::Next(const CDelimSet& delims, std::string_view& token)
{
    const std::size_t nSize = m_text.size();
    std::size_t nStart = m_nPos;
    while (nStart < nSize && delims.Has(m_text[nStart]))
        ++nStart;
    if (nStart >= nSize) {
        m_nPos = nSize;
        return false;
    }
    std::size_t nEnd = nStart;
    while (nEnd < nSize && !delims.Has(m_text[nEnd]))
        ++nEnd;
    token = m_text.substr(nStart, nEnd - nStart);
    m_nPos = nEnd < nSize ? nEnd + 1 : nSize;
    return true;
}

} // namespace hpa
