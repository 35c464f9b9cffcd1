// The report over the history's rollup rows.
#include "history/HistoryReport.h"

#include "history/HistoryValues.h"

#include <map>

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

void Add(CReportRow& row, const CRollupRow& sums)
{
    row.m_nJobs += sums.m_nJobs;
    row.m_nSimplex += sums.m_nSimplex;
    row.m_nDuplex += sums.m_nDuplex;
    row.m_nJams += sums.m_nJams;
    row.m_nPrintSeconds += sums.m_nPrintSeconds;
}

std::string KeyOf(ReportKey key, const CRollupRow& row)
{
    switch (key) {
    case ReportKey::User:
        return row.m_strUser;
    case ReportKey::Printer:
        return row.m_strPrinter;
    case ReportKey::Host:
        return row.m_strHost;
    case ReportKey::Day:
        return row.m_strDay;
    case ReportKey::Month:
        return row.m_strDay == kUnknownDay ? row.m_strDay : row.m_strDay.substr(0, 7);
    }
    return {};
}

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
    std::vector<CRollupRow> rollup;
    if (!store.ReadRollup(query.m_printers, rollup, strError))
        return false;
    const bool bPeriod = !query.m_strSince.empty() || !query.m_strUntil.empty();
    // std::string orders bytewise (as unsigned bytes).
    std::map<std::string, CReportRow> rows;
    for (const CRollupRow& sums : rollup) {
        if (bPeriod) {
            if (sums.m_strDay == kUnknownDay)
                continue; // an unreadable date is in no period
            if (!query.m_strSince.empty() && sums.m_strDay < query.m_strSince)
                continue;
            if (!query.m_strUntil.empty() && sums.m_strDay > query.m_strUntil)
                continue;
        }
        const std::string strKey = KeyOf(query.m_key, sums);
        CReportRow& row = rows[strKey];
        row.m_strKey = strKey;
        Add(row, sums);
        Add(report.m_total, sums);
    }
    for (auto& [key, row] : rows)
        report.m_rows.push_back(std::move(row));

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
