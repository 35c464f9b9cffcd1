#include "accounting/AccText.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace hpa {

std::int32_t LeadingIntegerFull(std::string_view str)
{
    const char* p = str.data();
    const char* const pEnd = p + str.size();
    while (p < pEnd && IsAccSpace(*p))
        ++p;
    bool bNegative = false;
    if (p < pEnd && (*p == '+' || *p == '-')) {
        bNegative = *p == '-';
        ++p;
    }
    auto isDigit = [](char ch) { return static_cast<unsigned>(ch - '0') <= 9u; };
    // Nine digits cannot leave the 32-bit range, so the usual short numbers
    // are taken without range checks.
    std::int64_t nMagnitude = 0;
    const char* const pQuick = p + std::min<std::ptrdiff_t>(pEnd - p, 9);
    while (p < pQuick && isDigit(*p))
        nMagnitude = nMagnitude * 10 + (*p++ - '0');
    // Longer ones stop growing at the limit, so a printer writing an absurd
    // number cannot make us overflow.
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int64_t nLimit = bNegative ? kMax + 1 : kMax;
    for (; p < pEnd && isDigit(*p); ++p) {
        nMagnitude = nMagnitude * 10 + (*p - '0');
        if (nMagnitude >= nLimit) {
            nMagnitude = nLimit;
            break;
        }
    }
    return static_cast<std::int32_t>(bNegative ? -nMagnitude : nMagnitude);
}

std::string StripEnclosing(std::string_view str)
{
    if (str.size() <= 2)
        return {};
    return std::string(TrimLeadingSpace(str.substr(1, str.size() - 2)));
}

} // namespace hpa
