#include "view/SummaryRows.h"

#include "accounting/Acc.h"

#include <cstdio>

namespace hpa {

namespace {

std::string FormatInt(long long nValue)
{
    char szText[32];
    std::snprintf(szText, sizeof szText, "%lld", nValue);
    return szText;
}

} // namespace

std::string FormatPrintingTime(std::int32_t nSeconds)
{
    const auto s = static_cast<std::uint32_t>(nSeconds);
    const std::uint32_t nHours = s / 3600;
    const std::uint32_t nMinutes = (s - nHours * 3600) / 60;
    const std::uint32_t nSecs = s - (nHours * 60 + nMinutes) * 60;
    char szText[32];
    std::snprintf(szText, sizeof szText, "%u:%02u:%02u", nHours, nMinutes, nSecs);
    return szText;
}

COLORREF ConsumptionBackColor(std::int32_t nPercent)
{
    if (nPercent >= 90)
        return MakeRGB(255, 0, 0);
    if (nPercent >= 80)
        return MakeRGB(255, 255, 0);
    return MakeRGB(255, 255, 255);
}

std::array<CSummaryRow, kSummaryRowCount> SummaryRows(const CAcc& acc)
{
    // Total Sheets is the plain sum, taken in 64 bits so it cannot overflow.
    const long long nTotalSheets =
        static_cast<long long>(acc.m_nDuplexSheets) + static_cast<long long>(acc.m_nSimplexSheets);
    return {{
        {"Host", acc.m_strHost},
        {"Download Date", acc.m_strDownloadDate},
        {"Download Time", acc.m_strDownloadTime},
        {"Job File Consumption", FormatInt(acc.m_nJobFileConsumption) + "%"},
        {"Jobs", FormatInt(acc.m_nJobs)},
        {"Simplex Sheets", FormatInt(acc.m_nSimplexSheets)},
        {"Duplex Sheets", FormatInt(acc.m_nDuplexSheets)},
        {"Total Sheets", FormatInt(nTotalSheets)},
        {"Jams", FormatInt(acc.m_nJams)},
        {"Printing Time", FormatPrintingTime(acc.m_nPrintingTime)},
        {"Users", FormatInt(acc.m_nUsers)},
    }};
}

} // namespace hpa
