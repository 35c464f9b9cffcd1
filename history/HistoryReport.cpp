// The report over the history's rollup rows.
#include "history/HistoryReport.h"

#include "history/HistoryValues.h"

#include <algorithm>

namespace hpa {

const char* ReportKeyHeading(ReportKey key)
{
    switch (key) {
    case ReportKey::User:
        return "User";
    case ReportKey::Printer:
        return "Printer";
    case ReportKey::Host:
        return "Host";
    case ReportKey::Day:
        return "Day";
    case ReportKey::Month:
        return "Month";
    }
    return "";
}

std::vector<std::string> ReportHeadings(ReportKey key)
{
    return {ReportKeyHeading(key), "Jobs", "Simplex Sheets", "Duplex Sheets",
            "Total Sheets",        "Jams", "Print Time (s)"};
}

std::vector<std::string> ReportCells(const CReportRow& row)
{
    return {row.m_strKey,
            std::to_string(row.m_nJobs),
            std::to_string(row.m_nSimplex),
            std::to_string(row.m_nDuplex),
            std::to_string(row.TotalSheets()),
            std::to_string(row.m_nJams),
            std::to_string(row.m_nPrintSeconds)};
}

bool ParseReportKey(std::string_view str, ReportKey& key)
{
    static constexpr std::pair<std::string_view, ReportKey> kKeys[] = {
        {"user", ReportKey::User},
        {"printer", ReportKey::Printer},
        {"host", ReportKey::Host},
        {"day", ReportKey::Day},
        {"month", ReportKey::Month}};
    for (const auto& [name, value] : kKeys) {
        if (str == name) {
            key = value;
            return true;
        }
    }
    return false;
}

bool IsReportDate(std::string_view str)
{
    if (str.size() != 10 || str[4] != '-' || str[7] != '-')
        return false;
    for (std::size_t n : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
        if (str[n] < '0' || str[n] > '9')
            return false;
    }
    // The day key of the same date written month/day/year must be itself.
    const std::string strMdy = std::string(str.substr(5, 2)) + "/" + std::string(str.substr(8, 2)) +
                               "/" + std::string(str.substr(0, 4));
    return DayKey(strMdy) == str;
}

namespace {

std::string UtcDay(std::int64_t nTimeUtc)
{
    return FormatUtc(nTimeUtc).substr(0, 10);
}

} // namespace

bool RunHistoryReport(CHistoryStore& store, const CReportQuery& query, CReport& report,
                      std::string& strError)
{
    report = CReport();
    report.m_query = query;
    report.m_total.m_strKey = "Total";
    if (!store.ReadReportSums(query.m_printers, query.m_key, query.m_strSince, query.m_strUntil,
                              report.m_rows, strError))
        return false;
    // Keys in byte order (std::string compares as unsigned bytes), whatever
    // order the database's collation gives.
    std::sort(report.m_rows.begin(), report.m_rows.end(),
              [](const CReportRow& a, const CReportRow& b) { return a.m_strKey < b.m_strKey; });
    for (const CReportRow& row : report.m_rows) {
        report.m_total.m_nJobs += row.m_nJobs;
        report.m_total.m_nSimplex += row.m_nSimplex;
        report.m_total.m_nDuplex += row.m_nDuplex;
        report.m_total.m_nJams += row.m_nJams;
        report.m_total.m_nPrintSeconds += row.m_nPrintSeconds;
    }

    std::vector<CHistoryGap> gaps;
    if (!store.ReadGaps(query.m_printers, gaps, strError))
        return false;
    for (CHistoryGap& gap : gaps) {
        // The lost jobs were printed between the two collections.
        if (!query.m_strSince.empty() && UtcDay(gap.m_nTimeUtc) < query.m_strSince)
            continue;
        if (!query.m_strUntil.empty() && UtcDay(gap.m_nAfterTimeUtc) > query.m_strUntil)
            continue;
        report.m_gaps.push_back(std::move(gap));
    }
    return true;
}

} // namespace hpa
