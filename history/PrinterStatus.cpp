// A printer's job file over its collections.
#include "history/PrinterStatus.h"

#include "accounting/AccText.h"
#include "history/HistoryValues.h"

#include <cmath>
#include <cstdio>

namespace hpa {

namespace {

// Status values by field number.
constexpr std::size_t kStatusFileSize = 30 - 28;
constexpr std::size_t kStatusFileUsage = 32 - 28;
constexpr std::size_t kStatusFileFull = 39 - 28;
// Collections a forecast looks back on at most.
constexpr std::size_t kForecastWindow = 10;
constexpr double kSecondsPerDay = 86400.0;

std::optional<double> DaysUntilFull(const std::vector<CCollectionRecord>& collections)
{
    if (collections.empty())
        return std::nullopt;
    const CCollectionRecord& last = collections.back();
    const double nSize = LeadingIntegerFull(last.m_strStatus[kStatusFileSize]);
    if (nSize <= 0)
        return std::nullopt;
    // The recent run of collections in which the usage never dropped.
    std::size_t nFirst = collections.size() - 1;
    while (nFirst > 0 && collections.size() - nFirst < kForecastWindow &&
           LeadingIntegerFull(collections[nFirst - 1].m_strStatus[kStatusFileUsage]) <=
               LeadingIntegerFull(collections[nFirst].m_strStatus[kStatusFileUsage]))
        --nFirst;
    const double nUsage = LeadingIntegerFull(last.m_strStatus[kStatusFileUsage]);
    if (nUsage >= nSize)
        return 0.0;
    // Least squares: usage over days.
    double nCount = 0, nSumX = 0, nSumY = 0, nSumXX = 0, nSumXY = 0;
    const double nT0 = static_cast<double>(collections[nFirst].m_nTimeUtc);
    for (std::size_t n = nFirst; n < collections.size(); ++n) {
        const double x = (static_cast<double>(collections[n].m_nTimeUtc) - nT0) / kSecondsPerDay;
        const double y = LeadingIntegerFull(collections[n].m_strStatus[kStatusFileUsage]);
        nCount += 1;
        nSumX += x;
        nSumY += y;
        nSumXX += x * x;
        nSumXY += x * y;
    }
    const double nDenominator = nCount * nSumXX - nSumX * nSumX;
    if (nCount < 2 || nDenominator <= 0)
        return std::nullopt;
    const double nSlope = (nCount * nSumXY - nSumX * nSumY) / nDenominator; // per day
    if (!(nSlope > 0))
        return std::nullopt;
    return (nSize - nUsage) / nSlope;
}

} // namespace

CPrinterStatus SummarizePrinter(const CPrinterHistory& printer)
{
    CPrinterStatus status;
    status.m_strName = printer.m_strName;
    status.m_nJobsHeld = printer.m_nJobsHeld;
    if (printer.m_collections.empty())
        return status;
    const CCollectionRecord& last = printer.m_collections.back();
    status.m_nLastCollectionUtc = last.m_nTimeUtc;
    const std::int64_t nSize = LeadingIntegerFull(last.m_strStatus[kStatusFileSize]);
    const std::int64_t nUsage = LeadingIntegerFull(last.m_strStatus[kStatusFileUsage]);
    if (nSize > 0)
        status.m_nConsumptionPercent = nUsage * 100 / nSize;
    status.m_strJobFileFull = last.m_strStatus[kStatusFileFull];
    status.m_bFull = LeadingIntegerFull(status.m_strJobFileFull) != 0;
    status.m_nDaysUntilFull = DaysUntilFull(printer.m_collections);
    return status;
}

std::vector<std::string> PrinterStatusHeadings()
{
    return {"Printer",       "Last Collection (UTC)", "Jobs Held", "Job File Consumption (%)",
            "Job File Full", "Days Until Full"};
}

std::vector<std::string> PrinterStatusCells(const CPrinterStatus& status)
{
    std::string strDays;
    if (status.m_nDaysUntilFull) {
        char szDays[32];
        std::snprintf(szDays, sizeof szDays, "%.1f", *status.m_nDaysUntilFull);
        strDays = szDays;
    }
    return {status.m_strName,
            status.m_nLastCollectionUtc ? FormatUtc(status.m_nLastCollectionUtc) : std::string(),
            std::to_string(status.m_nJobsHeld),
            status.m_nConsumptionPercent ? std::to_string(*status.m_nConsumptionPercent)
                                         : std::string(),
            status.m_strJobFileFull,
            strDays};
}

} // namespace hpa
